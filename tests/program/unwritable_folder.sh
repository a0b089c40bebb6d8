#!/bin/sh
# unwritable_folder.sh make|remove FOLDER
#
# An empty folder in which nothing can be created, for the program tests under Wine.
# Wine keeps Windows rights as Unix modes, which root ignores, so as root the folder is
# made immutable; otherwise its write permission is taken away.
set -eu
command=$1
folder=$2
undo() {
    [ -d "$folder" ] || return 0
    chattr -i "$folder" 2>/dev/null || true
    chmod u+w "$folder"
}
case $command in
make)
    undo
    rm -rf "$folder"
    mkdir -p "$folder"
    if [ "$(id -u)" -eq 0 ]; then
        chattr +i "$folder"
    else
        chmod a-w "$folder"
    fi
    ;;
remove)
    undo
    rm -rf "$folder"
    ;;
*)
    echo "usage: unwritable_folder.sh make|remove FOLDER" >&2
    exit 2
    ;;
esac
