#!/usr/bin/env bash
# make_deb.sh DEB VERSION EPOCH ARCH STAGING PROGRAM...
#
# Makes the Debian package DEB (kobrant_<VERSION>_<ARCH>.deb) of the Linux programs
# PROGRAM... (build/.../kobrant, ...), built for the Debian architecture ARCH (amd64,
# arm64, armhf). tools/release and tools/test run it (build_deb, tools/lib/release.sh)
# on a build made with dpkg-buildflags. For each program NAME it holds:
#
#   /usr/bin/NAME                            the program, stripped with ARCH's strip
#   /usr/share/man/man1/NAME.1.gz            man/NAME.1      } @VERSION@ replaced,
#   /usr/share/man/de/man1/NAME.1.gz         man/de/NAME.1   } gzip -9n
#
# and once:
#
#   /usr/share/doc/kobrant/README            debian/README, the operator text
#   /usr/share/doc/kobrant/changelog.gz      debian/changelog (a native package's)
#   /usr/share/doc/kobrant/copyright         machine-readable, the text of LICENSE
#
# and the control fields of debian/control: Depends from dpkg-shlibdeps for ARCH,
# Installed-Size from dpkg-gencontrol. The same inputs give the same bytes: every time is
# EPOCH (SOURCE_DATE_EPOCH, the commit's time), owner and group are root, the modes are
# fixed (0755 for folders and the programs, 0644 for the rest), dpkg-deb orders the
# entries by name and compresses with one thread. STAGING is emptied and filled with the
# package tree (STAGING/debian/kobrant) and what dpkg-shlibdeps and dpkg-gencontrol need
# beside it.
set -euo pipefail

if [ $# -lt 6 ]; then
    echo "usage: make_deb.sh DEB VERSION EPOCH ARCH STAGING PROGRAM..." >&2
    exit 2
fi
deb=$(realpath -m "$1") version=$2 epoch=$3 arch=$4 staging=$5
shift 5
programs=("$@")
here=$(cd "$(dirname "$0")" && pwd)

. "$here/checks.sh"
require_tools make_deb.sh "dpkg-dev, gzip, binutils" \
    dpkg-deb dpkg-shlibdeps dpkg-gencontrol dpkg-architecture dpkg-parsechangelog gzip readelf
require_epoch make_deb.sh "$epoch"

# Each program must be an ELF of ARCH: a package that says arm64 around an x86-64
# program installs on a Pi and does not start; one that says armhf around a soft-float
# (armel) program does not find its libraries there.
case $arch in
amd64) machine='Advanced Micro Devices X86-64' class=ELF64 abi='' ;;
arm64) machine='AArch64' class=ELF64 abi='' ;;
armhf) machine='ARM' class=ELF32 abi='hard-float ABI' ;;
*)
    echo "make_deb.sh: ARCH must be amd64, arm64 or armhf, not \"$arch\"" >&2
    exit 2
    ;;
esac
gnu_type=$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null)
for program in "${programs[@]}"; do
    if [ ! -f "$program" ]; then
        echo "make_deb.sh: there is no program $program" >&2
        exit 1
    fi
    header=$(readelf -h "$program" 2>/dev/null) || header=''
    if ! grep -q "Machine: *$machine\$" <<<"$header" || ! grep -q "Class: *$class\$" <<<"$header" ||
        ! grep -q "Flags:.*$abi" <<<"$header"; then
        echo "make_deb.sh: $program is not an $arch program ($class $machine${abi:+, $abi})" >&2
        exit 1
    fi
    name=$(basename "$program")
    for page in "$here/man/$name.1" "$here/man/de/$name.1"; do
        if [ ! -f "$page" ]; then
            echo "make_deb.sh: $name has no manual page $page" >&2
            exit 1
        fi
    done
done
strip=$gnu_type-strip
if ! command -v "$strip" >/dev/null 2>&1; then
    echo "make_deb.sh: $strip is missing (Debian package: binutils-$gnu_type)" >&2
    exit 1
fi

changelog_version=$(dpkg-parsechangelog -l "$here/debian/changelog" -S Version)
if [ "$changelog_version" != "$version" ]; then
    echo "make_deb.sh: the newest entry of release/debian/changelog is $changelog_version, the program is $version;" >&2
    echo "add an entry for $version at its top" >&2
    exit 1
fi

umask 022
rm -rf "$staging"
root=$staging/debian/kobrant
doc=$root/usr/share/doc/kobrant
mkdir -p "$root/DEBIAN" "$root/usr/bin" "$root/usr/share/man/man1" "$root/usr/share/man/de/man1" "$doc"

# A manual page: @VERSION@ replaced, compressed without name and time (-n).
manual_page() {
    sed "s/@VERSION@/$version/g" "$1" | gzip -9n >"$2"
}
installed=()
for program in "${programs[@]}"; do
    name=$(basename "$program")
    cp "$program" "$root/usr/bin/$name"
    "$strip" --remove-section=.comment --remove-section=.note "$root/usr/bin/$name"
    installed+=("debian/kobrant/usr/bin/$name")
    manual_page "$here/man/$name.1" "$root/usr/share/man/man1/$name.1.gz"
    manual_page "$here/man/de/$name.1" "$root/usr/share/man/de/man1/$name.1.gz"
done

cp "$here/debian/README" "$doc/README"
gzip -9n <"$here/debian/changelog" >"$doc/changelog.gz"
{
    cat <<'EOF'
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: kobrant

Files: *
Copyright: 2026 The KOBRANT developers
License: Expat
Comment: The MIT licence, as in the file LICENSE of the sources.

License: Expat
EOF
    # The licence text from its second paragraph on (the first is its title and the
    # copyright line above), indented; an empty line becomes " ." as the format asks.
    sed -n '/^Permission/,$p' "$here/../LICENSE" | sed 's/^$/./; s/^/ /'
} >"$doc/copyright"

# Depends and Installed-Size: the dpkg tools read debian/control and debian/changelog
# from the folder they run in, as in a source package.
cp "$here/debian/control" "$here/debian/changelog" "$staging/debian/"
(
    cd "$staging"
    CC=$gnu_type-gcc dpkg-architecture -a"$arch" -c \
        dpkg-shlibdeps -Tdebian/kobrant.substvars "${installed[@]}"
    CC=$gnu_type-gcc dpkg-architecture -a"$arch" -c \
        dpkg-gencontrol -pkobrant -Pdebian/kobrant -Tdebian/kobrant.substvars -fdebian/files
)
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums)

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root"/usr/bin/*
find "$root" -exec touch -h -d "@$epoch" {} +

mkdir -p "$(dirname "$deb")"
rm -f "$deb"
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$deb.tmp" >/dev/null
mv "$deb.tmp" "$deb"
