#!/usr/bin/env bash
# make_zip.sh ZIP VERSION EPOCH EXE BEACON LICENSE LIESMICH README STAGING
#
# Makes the release zip ZIP (the CMake target release_zip runs this): kobrant.exe,
# kobrant-beacon.exe (BEACON, the console program for Dire Wolf's beacon), the operator
# texts LIESMICH.txt (German) and README.txt (English), LICENSE and SHA256SUMS,
# in this order, at the zip's top level, so that they land in the folder the operator
# unpacks it into. The same inputs give the same bytes:
#
# - the operator texts are written in Windows-1252 with CR LF line ends (their sources
#   are UTF-8 with LF), with @VERSION@ replaced by VERSION;
# - every entry carries the time EPOCH (seconds since 1970, SOURCE_DATE_EPOCH: the
#   commit's time), written in UTC, and fixed modes; no extra fields (zip -X), so no
#   owner, no access times; entries in a fixed order; no folder entries.
#
# STAGING is a folder of the build tree that is emptied and filled with the zip's files.
# Both programs must be stripped (the release build, MinSizeRel, links them with -s).
set -euo pipefail

if [ $# -ne 9 ]; then
    echo "usage: make_zip.sh ZIP VERSION EPOCH EXE BEACON LICENSE LIESMICH README STAGING" >&2
    exit 2
fi
zip_file=$(realpath -m "$1") version=$2 epoch=$3 exe=$4 beacon=$5 license=$6 liesmich=$7 readme=$8 staging=$9

. "$(dirname "$0")/checks.sh"
require_tools make_zip.sh "zip, libc-bin, coreutils, binutils-mingw-w64-x86-64" \
    zip iconv sha256sum x86_64-w64-mingw32-objdump
require_epoch make_zip.sh "$epoch"
# A zip entry's time cannot lie before 1980.
if [ "$epoch" -lt 315532800 ]; then epoch=315532800; fi

for program in "$exe" "$beacon"; do
    headers=$(x86_64-w64-mingw32-objdump -p "$program")
    if ! grep -q 'symbols stripped' <<<"$headers"; then
        echo "make_zip.sh: $program is not stripped; the release is made from the MinSizeRel build" >&2
        exit 1
    fi
done

rm -rf "$staging"
mkdir -p "$staging"

# An operator text: UTF-8 with LF in the source tree, Windows-1252 with CR LF in the zip.
# iconv fails on a character that Windows-1252 does not have.
operator_text() {
    local source=$1 target=$2
    if grep -q $'\r' "$source"; then
        echo "make_zip.sh: $source must have LF line ends (CR LF is made here)" >&2
        exit 1
    fi
    sed "s/@VERSION@/$version/g" "$source" | iconv -f UTF-8 -t WINDOWS-1252 | sed 's/$/\r/' >"$target"
}

cp "$exe" "$staging/kobrant.exe"
cp "$beacon" "$staging/kobrant-beacon.exe"
operator_text "$liesmich" "$staging/LIESMICH.txt"
operator_text "$readme" "$staging/README.txt"
cp "$license" "$staging/LICENSE"

files=(kobrant.exe kobrant-beacon.exe LIESMICH.txt README.txt LICENSE)
(cd "$staging" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)

chmod 0644 "$staging"/*
chmod 0755 "$staging/kobrant.exe" "$staging/kobrant-beacon.exe"
for file in "${files[@]}"; do
    touch -d "@$epoch" "$staging/$file"
done

rm -f "$zip_file"
# -X: no extra fields; -D: no folder entries; -9: the same compression every time.
# zip writes an entry's time as local time: TZ=UTC makes it the same on every machine.
(cd "$staging" && TZ=UTC zip -q -X -D -9 "$zip_file.tmp" "${files[@]}")
mv "$zip_file.tmp" "$zip_file"
