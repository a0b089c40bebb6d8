# Sourced by tools/release and tools/test: what the release is made of, and the Debian
# packages of the terminal program.
#
# project_version
#   The version from project(... VERSION ...) in CMakeLists.txt: project_version gives
#   5.7.1. Fails when there is none.
project_version() {
    local root version
    root=$(dirname "${BASH_SOURCE[0]}")/../..
    version=$(sed -n 's/^ *VERSION \([0-9][0-9.]*\)$/\1/p' "$root/CMakeLists.txt" | head -n 1)
    if [ -z "$version" ]; then
        echo "no VERSION in project(...) of CMakeLists.txt" >&2
        return 1
    fi
    printf '%s\n' "$version"
}

# The Linux programs the package holds: each a CMake target NAME whose program the build
# puts at the top of its folder (RUNTIME_OUTPUT_DIRECTORY), packed as /usr/bin/NAME with
# its manual pages release/man/NAME.1 and release/man/de/NAME.1.
readonly KOBRANT_DEB_PROGRAMS=(kobrant kobrant-beacon)

# The Debian architectures a package is made for: the machine's own (amd64) and, cross-
# compiled with the toolchain file named, the Raspberry Pi's two.
readonly KOBRANT_DEB_ARCHITECTURES=(amd64 arm64 armhf)
declare -A KOBRANT_DEB_TOOLCHAINS=([arm64]=cmake/aarch64-linux-gnu.cmake [armhf]=cmake/arm-linux-gnueabihf.cmake)
readonly KOBRANT_DEB_TOOLCHAINS

# build_deb ARCH DIR
#   Builds kobrant_<version>_ARCH.deb (ARCH one of KOBRANT_DEB_ARCHITECTURES) in the
#   fresh folder DIR and prints its path: the sources configured as Debian builds a
#   package (build type None, the compiler and linker flags of dpkg-buildflags for ARCH
#   with every hardening feature, no sanitizers, no tests), the programs
#   (KOBRANT_DEB_PROGRAMS) built and packed by release/make_deb.sh with the time
#   SOURCE_DATE_EPOCH (the commit's when unset). lintian must find no error and no
#   warning in the package. The build's output is in DIR.log, shown when a step fails.
build_deb() {
    local arch=$1 dir log root version epoch
    dir=$(realpath -m "$2")
    log=$dir.log
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    version=$(project_version) || return 1
    epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
    local -a cmake_args=(-S "$root" -B "$dir" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=None
        -DKOBRANT_TESTS=OFF -DKOBRANT_SANITIZE=OFF "-DKOBRANT_WERROR=${KOBRANT_WERROR:-OFF}"
        # The shared C++ runtime, as Debian links it: its security updates reach the
        # program, and its pages are shared with every other C++ program running.
        -DKOBRANT_STATIC_CXX_RUNTIME=OFF)
    local toolchain=${KOBRANT_DEB_TOOLCHAINS[$arch]:-}
    [ -n "$toolchain" ] && cmake_args+=("-DCMAKE_TOOLCHAIN_FILE=$root/$toolchain")
    # dpkg-buildflags maps the folder it runs in to "." in the debugging paths; the build
    # folder, which differs from build to build, is mapped to one name as well, since the
    # program's build id is a hash of its unstripped bytes.
    local flag value
    for flag in CPPFLAGS CFLAGS CXXFLAGS LDFLAGS; do
        value=$(cd "$root" && DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_LDFLAGS_MAINT_APPEND=-Wl,--as-needed \
            dpkg-architecture -a"$arch" -c dpkg-buildflags --get "$flag" 2>/dev/null) || return 1
        local "$flag=$value"
    done
    local map="-ffile-prefix-map=$dir=build"
    cmake_args+=("-DCMAKE_C_FLAGS=$CPPFLAGS $CFLAGS $map" "-DCMAKE_CXX_FLAGS=$CPPFLAGS $CXXFLAGS $map"
        "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS")
    local deb=$dir/kobrant_${version}_$arch.deb program
    local -a programs=()
    for program in "${KOBRANT_DEB_PROGRAMS[@]}"; do
        programs+=("$dir/$program")
    done
    rm -rf "$dir"
    mkdir -p "$dir"
    if ! { cmake "${cmake_args[@]}" && cmake --build "$dir" --target "${KOBRANT_DEB_PROGRAMS[@]}" -j 2 &&
        "$root/release/make_deb.sh" "$deb" "$version" "$epoch" "$arch" "$dir/deb-staging" "${programs[@]}"; } >"$log" 2>&1; then
        cat "$log" >&2
        echo "building the $arch package in $dir failed (log: $log)" >&2
        return 1
    fi
    if ! lintian_clean "$deb"; then
        echo "lintian finds errors or warnings in $deb" >&2
        return 1
    fi
    printf '%s\n' "$deb"
}

# lintian_clean DEB
#   True when lintian reports no error and no warning for the package DEB; prints what
#   it reports at any level (its note that it runs as root left out).
lintian_clean() {
    lintian --fail-on error,warning --display-info "$1" 2>&1 | grep -v '^running with root privileges' >&2
    return "${PIPESTATUS[0]}"
}
