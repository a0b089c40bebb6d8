#!/usr/bin/env bash
# make_deb.sh DEB VERSION EPOCH ARCH PROGRAM BEACON STAGING
#
# Makes the Debian package DEB (kobrant_<VERSION>_<ARCH>.deb) of the terminal program
# PROGRAM and of BEACON (kobrant-beacon), built for the Debian architecture ARCH (amd64,
# arm64). tools/release and tools/test run it (tools/lib/release.sh) on a build made
# with dpkg-buildflags. It holds:
#
#   /usr/bin/kobrant                         PROGRAM } stripped with ARCH's strip
#   /usr/bin/kobrant-beacon                  BEACON  }
#   /usr/share/man/man1/kobrant.1.gz         man/kobrant.1      } @VERSION@ replaced,
#   /usr/share/man/de/man1/kobrant.1.gz      man/de/kobrant.1   } gzip -9n; the same
#                                            for kobrant-beacon.1 }
#   /usr/share/doc/kobrant/README            debian/README, the operator text
#   /usr/share/doc/kobrant/changelog.gz      debian/changelog (a native package's)
#   /usr/share/doc/kobrant/copyright         machine-readable, the text of LICENSE
#
# and the control fields of debian/control: Depends from dpkg-shlibdeps for ARCH,
# Installed-Size from dpkg-gencontrol. The same inputs give the same bytes: every time is
# EPOCH (SOURCE_DATE_EPOCH, the commit's time), owner and group are root, the modes are
# fixed (0755 for folders and the programs, 0644 for the rest), dpkg-deb orders the entries
# by name and compresses with one thread. STAGING is emptied and filled with the package
# tree (STAGING/debian/kobrant) and what dpkg-shlibdeps and dpkg-gencontrol need beside it.
set -euo pipefail

if [ $# -ne 7 ]; then
    echo "usage: make_deb.sh DEB VERSION EPOCH ARCH PROGRAM BEACON STAGING" >&2
    exit 2
fi
deb=$(realpath -m "$1") version=$2 epoch=$3 arch=$4 program=$(realpath "$5") beacon=$(realpath "$6") staging=$7
here=$(cd "$(dirname "$0")" && pwd)

. "$here/checks.sh"
require_tools make_deb.sh "dpkg-dev, gzip, binutils" \
    dpkg-deb dpkg-shlibdeps dpkg-gencontrol dpkg-architecture dpkg-parsechangelog gzip readelf
require_epoch make_deb.sh "$epoch"

# The programs must be ELFs of ARCH: a package that says arm64 around an x86-64
# program installs on a Pi and does not start.
case $arch in
amd64) machine='Advanced Micro Devices X86-64' ;;
arm64) machine='AArch64' ;;
*)
    echo "make_deb.sh: ARCH must be amd64 or arm64, not \"$arch\"" >&2
    exit 2
    ;;
esac
gnu_type=$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null)
for elf in "$program" "$beacon"; do
    if ! readelf -h "$elf" 2>/dev/null | grep -q "Machine: *$machine\$"; then
        echo "make_deb.sh: $elf is not an $arch program ($machine)" >&2
        exit 1
    fi
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

cp "$program" "$root/usr/bin/kobrant"
cp "$beacon" "$root/usr/bin/kobrant-beacon"
"$strip" --remove-section=.comment --remove-section=.note "$root/usr/bin/kobrant" "$root/usr/bin/kobrant-beacon"

# A manual page: @VERSION@ replaced, compressed without name and time (-n).
manual_page() {
    sed "s/@VERSION@/$version/g" "$1" | gzip -9n >"$2"
}
manual_page "$here/man/kobrant.1" "$root/usr/share/man/man1/kobrant.1.gz"
manual_page "$here/man/de/kobrant.1" "$root/usr/share/man/de/man1/kobrant.1.gz"
manual_page "$here/man/kobrant-beacon.1" "$root/usr/share/man/man1/kobrant-beacon.1.gz"
manual_page "$here/man/de/kobrant-beacon.1" "$root/usr/share/man/de/man1/kobrant-beacon.1.gz"

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
        dpkg-shlibdeps -Tdebian/kobrant.substvars debian/kobrant/usr/bin/kobrant debian/kobrant/usr/bin/kobrant-beacon
    CC=$gnu_type-gcc dpkg-architecture -a"$arch" -c \
        dpkg-gencontrol -pkobrant -Pdebian/kobrant -Tdebian/kobrant.substvars -fdebian/files
)
(cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums)

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/kobrant" "$root/usr/bin/kobrant-beacon"
find "$root" -exec touch -h -d "@$epoch" {} +

mkdir -p "$(dirname "$deb")"
rm -f "$deb"
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$deb.tmp" >/dev/null
mv "$deb.tmp" "$deb"
