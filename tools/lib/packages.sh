# Sourced by the project's commands: installs the Debian packages a command needs.
#
# require_packages PACKAGE...
#   Installs the packages that are not installed yet, with apt-get, when running as
#   root, and says so; without root it names what is missing and stops. A package of
#   another architecture (libmpfr-dev:arm64) first adds that architecture to dpkg,
#   once, when it is not there yet.

require_packages() {
    local missing=() package
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them as root (apt-get install ${missing[*]}) or run this command as root." >&2
        exit 1
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    add_foreign_architectures "${missing[@]}"
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    echo "Installed: ${missing[*]}"
}

# package_installed PACKAGE
#   Whether PACKAGE is installed: name:arch for that architecture, a bare name for the
#   machine's own (or "all"). dpkg-query lists a bare name once per architecture
#   installed, so the architecture is looked at too.
package_installed() {
    local name=${1%%:*} architectures
    architectures="$(dpkg --print-architecture)|all"
    [[ $1 == *:* ]] && architectures=${1##*:}
    dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
        grep -qE "^install ok installed ($architectures)\$"
}

# add_foreign_architectures PACKAGE...
#   Adds to dpkg each architecture named by a package (name:arch) that is neither the
#   machine's own nor added yet, and says so; apt-get update must follow.
add_foreign_architectures() {
    local package architecture
    for package in "$@"; do
        [[ $package == *:* ]] || continue
        architecture=${package##*:}
        [ "$architecture" = "$(dpkg --print-architecture)" ] && continue
        dpkg --print-foreign-architectures | grep -qx "$architecture" && continue
        echo "Adding the $architecture architecture to dpkg (dpkg --add-architecture $architecture)"
        dpkg --add-architecture "$architecture"
    done
}

# What building and testing needs: the native toolchain with GoogleTest, the MinGW-w64
# cross toolchain (posix threads), Wine to run the Windows build and Xvfb for its windows,
# zip to make the release zip (iconv comes with libc-bin), unzip to smoke-test it, git
# for the commit whose time the build writes, and Dire Wolf (direwolf, decode_aprs), the
# APRS sender and decoder of the on-air tests, with Xastir's bridge script for weather
# files (xastir-data, run by perl); Wine's own fonts (fonts-wine, which
# tools/wine/prefix links into each prefix) and the host font that Wine takes without
# them (fonts-dejavu-core, for the test of that case); MPFR, the software arithmetic of
# the number rules (natively for the differential test); ncurses (wide-character build)
# for the Linux program's terminal form, and tmux, the terminal its tests type into; for
# the arm64 and armhf presets the ARM64 and 32-bit ARM cross compilers, the :arm64 and
# :armhf libraries the portable code and its tests link and qemu-user to run them.
readonly KOBRANT_BUILD_PACKAGES=(
    cmake make g++ libgtest-dev googletest libmpfr-dev libncurses-dev tmux
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine fonts-dejavu-core xvfb e2fsprogs zip unzip git direwolf xastir-data perl
    g++-aarch64-linux-gnu qemu-user libgtest-dev:arm64 libmpfr-dev:arm64 libncurses-dev:arm64
    g++-arm-linux-gnueabihf libgtest-dev:armhf libmpfr-dev:armhf libncurses-dev:armhf
)

# What making and testing the Debian packages needs beyond that (tools/release, and the
# package test of tools/test; the cross compilers, the :arm64 and :armhf libraries,
# qemu-user and tmux are above): dpkg-dev (dpkg-buildflags, dpkg-shlibdeps, dpkg-gencontrol), lintian,
# and man-db with groff to render the manual pages.
readonly KOBRANT_DEB_PACKAGES=(dpkg-dev lintian man-db groff-base)
