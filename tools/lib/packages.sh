# Sourced by the project's commands: installs the Debian packages a command needs.
#
# require_packages PACKAGE...
#   Installs the packages that are not installed yet, with apt-get, when running as
#   root, and says so; without root it names what is missing and stops.

require_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them as root (apt-get install ${missing[*]}) or run this command as root." >&2
        exit 1
    fi
    echo "Installing missing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    echo "Installed: ${missing[*]}"
}

# What building and testing needs: the native toolchain with GoogleTest, the MinGW-w64
# cross toolchain (posix threads), Wine to run the Windows build and Xvfb for its windows,
# zip to make the release zip (iconv comes with libc-bin), unzip to smoke-test it, git
# for the commit whose time the build writes, Dire Wolf (direwolf, decode_aprs), the
# APRS sender and decoder of the on-air tests, ncurses (wide-character build) for the
# Linux program's terminal form, and tmux, the terminal its tests type into.
readonly KOBRANT_BUILD_PACKAGES=(
    cmake make g++ libgtest-dev googletest libncurses-dev tmux
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb e2fsprogs zip unzip git direwolf
)
