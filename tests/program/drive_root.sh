#!/bin/sh
# drive_root.sh make|remove SESSION LETTER FOLDER
#
# Maps FOLDER as the drive LETTER: in the Wine session that tools/wine/session started
# in SESSION (a drive is a link in the prefix's dosdevices folder). The program tests
# start kobrant.exe in that drive's root.
set -eu
command=$1
session=$2
letter=$(printf '%s' "$3" | tr 'A-Z' 'a-z')
folder=$4
# shellcheck disable=SC1091
. "$session/session.env"
link=$WINEPREFIX/dosdevices/$letter:
case $command in
make)
    rm -rf "$folder"
    mkdir -p "$folder"
    rm -f "$link"
    ln -s "$folder" "$link"
    ;;
remove)
    rm -f "$link"
    rm -rf "$folder"
    ;;
*)
    echo "usage: drive_root.sh make|remove SESSION LETTER FOLDER" >&2
    exit 2
    ;;
esac
