#!/bin/sh
# release_folder.sh make|remove FOLDER ZIP
#
# Unpacks the release zip as an operator would: into the fresh folder
# FOLDER/Wetter Station/Ä, a path with a blank and a letter outside ASCII (Ä, 0xC4 in
# Windows-1252; on Linux its UTF-8 bytes, which Wine shows to Windows programs as that
# letter). Checks on the way that the zip holds exactly the six files in their order
# and that SHA256SUMS matches them. release_tests then starts kobrant.exe there.
set -eu
command=$1
folder=$2
zip=$3
case $command in
make)
    rm -rf "$folder"
    target="$folder/Wetter Station/Ä"
    mkdir -p "$target"
    expected="kobrant.exe kobrant-beacon.exe LIESMICH.txt README.txt LICENSE SHA256SUMS"
    listed=$(unzip -Z1 "$zip" | tr '\n' ' ' | sed 's/ $//')
    if [ "$listed" != "$expected" ]; then
        echo "release_folder.sh: $zip holds \"$listed\", expected \"$expected\"" >&2
        exit 1
    fi
    unzip -q "$zip" -d "$target"
    (cd "$target" && sha256sum --quiet -c SHA256SUMS)
    ;;
remove)
    rm -rf "$folder"
    ;;
*)
    echo "usage: release_folder.sh make|remove FOLDER ZIP" >&2
    exit 2
    ;;
esac
