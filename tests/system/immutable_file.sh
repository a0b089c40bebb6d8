#!/bin/sh
# immutable_file.sh make|remove FILE
#
# Under Wine, root ignores the read-only attribute (Wine keeps it as the Unix file
# mode), so the Windows file tests get a file that nobody may write or delete from
# here: immutable as root, without write permission on it and its folder otherwise.
set -eu
command=$1
file=$2
folder=$(dirname "$file")
undo() {
    [ -e "$file" ] && chattr -i "$file" 2>/dev/null || true
    [ -d "$folder" ] && chmod u+w "$folder" || true
    [ -e "$file" ] && chmod u+w "$file" || true
}
case $command in
make)
    mkdir -p "$folder"
    undo
    printf '"000","000",5,5\r\n' >"$file"
    if [ "$(id -u)" -eq 0 ]; then
        chattr +i "$file"
    else
        chmod a-w "$file" "$folder"
    fi
    ;;
remove)
    undo
    rm -rf "$folder"
    ;;
*)
    echo "usage: immutable_file.sh make|remove FILE" >&2
    exit 2
    ;;
esac
