#!/usr/bin/env bash
# tests/release/deb_test.sh PACKAGE_PROGRAM_TESTS AMD64_DEB [FOREIGN_DEB...]
#
# The Debian packages as an operator gets them (tools/test runs this on the packages it
# builds with build_deb): the amd64 one installed with dpkg -i, each of its programs
# (/usr/bin/*) run from there and its manual pages rendered, and removed again at the
# end, whatever happened; each FOREIGN_DEB (arm64, armhf) unpacked, each of its programs
# checked to be an ELF of the package's architecture and run under that architecture's
# qemu (the table below). PACKAGE_PROGRAM_TESTS (the native build's
# package_program_tests) types the worked example into each package's kobrant in tmux
# and compares both files; each package's kobrant-beacon answers a fresh record and a
# bad option. Prints one line per check and at the end "package checks: N
# passed, N failed"; fails when a check failed.
set -uo pipefail
if [ $# -lt 2 ]; then
    echo "usage: deb_test.sh PACKAGE_PROGRAM_TESTS AMD64_DEB [FOREIGN_DEB...]" >&2
    exit 2
fi
program_tests=$(realpath "$1") amd64_deb=$(realpath "$2")
shift 2

# For each foreign architecture: what readelf -h prints of its programs' ELF header
# (class, machine, the float ABI; blanks in a row as one) and what runs them here.
declare -A elf_header=(
    [arm64]='Class: ELF64|Machine: AArch64'
    [armhf]='Class: ELF32|Machine: ARM|hard-float ABI'
)
# The processor architecture the README names for the package (readelf -A), where it
# names one: the armhf package is for a Pi 2 or later, not for a Pi Zero or Pi 1.
declare -A processor_architecture=(
    [armhf]='Tag_CPU_arch: v7$'
)
declare -A emulator=(
    [arm64]='qemu-aarch64 -L /usr/aarch64-linux-gnu'
    # The processor of the first Pi 2, the oldest the armhf package is for.
    [armhf]='qemu-arm -L /usr/arm-linux-gnueabihf -cpu cortex-a7'
)

if dpkg-query -W -f='${Status}' kobrant 2>/dev/null | grep -q 'installed'; then
    echo "deb_test.sh: the package kobrant is installed on this machine; the test installs and" >&2
    echo "removes its own, so remove it first (dpkg -r kobrant)" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'dpkg -r kobrant >/dev/null 2>&1; rm -rf "$work"' EXIT

passed=0 failed=0
check() {
    local name=$1
    shift
    if "$@"; then
        echo "ok    $name"
        passed=$((passed + 1))
    else
        echo "FAIL  $name"
        failed=$((failed + 1))
    fi
}

# dpkg waits for no one: another apt or dpkg holding its lock makes it fail at once.
install_package() {
    for _ in $(seq 60); do
        dpkg -i "$1" >"$work/dpkg.log" 2>&1 && return 0
        grep -q 'lock' "$work/dpkg.log" || break
        sleep 5
    done
    cat "$work/dpkg.log"
    return 1
}

# programs_of DEB: the names of the programs in DEB's /usr/bin, one a line.
programs_of() {
    dpkg-deb --contents "$1" | sed -n 's|.* \./usr/bin/\([^/]\{1,\}\)$|\1|p'
}

# prints_version VERSION PROGRAM [EMULATOR]: PROGRAM --version prints "NAME VERSION".
prints_version() {
    local text
    # shellcheck disable=SC2086 # the emulator is a command with its arguments
    text=$(${3:-} "$2" --version 2>&1)
    [ "$text" = "$(basename "$2") $1" ] || { printf 'it printed: %s\n' "$text"; false; }
}

# worked_example_gives_both_files PROGRAM [EMULATOR]: the worked example typed into
# PROGRAM (run by EMULATOR) gives both files.
worked_example_gives_both_files() {
    KOBRANT_PROGRAM=$1 KOBRANT_PROGRAM_EMULATOR=${2:-} "$program_tests" >"$work/program_tests.log" 2>&1 ||
        { cat "$work/program_tests.log"; false; }
}

# manual_page_renders_cleanly PAGE: man renders the page, and says nothing on stderr.
manual_page_renders_cleanly() {
    local warnings name
    name=$(basename "$1" .1.gz)
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >"$work/page.txt")
    [ -z "$warnings" ] && grep -q "${name^^}(1)" "$work/page.txt" || { printf '%s\n' "$warnings"; false; }
}

# beacon_answers BEACON [EMULATOR]: kobrant-beacon (run by EMULATOR) prints the packet of
# a record written now, exit status 0, and refuses a bad option with exit status 2 and
# nothing on standard output.
beacon_answers() {
    local beacon=$1 emulator=${2:-} out status
    mkdir -p "$work/wetter"
    { LC_ALL=C date +'%b %d %Y %H:%M' | sed 's/^May/Mai/'
      echo 270/011g018t068r000p006P008h65b10132; } >"$work/wetter/WX-DATA.txt"
    # shellcheck disable=SC2086 # the emulator is a command with its arguments
    out=$($emulator "$beacon" 5231.00N/01324.00E "$work/wetter") || { echo "exit status $?: $out"; return 1; }
    [[ $out =~ ^@[0-9]{6}z5231\.00N/01324\.00E_270/011g018t068r000p006P008h65b10132$ ]] ||
        { echo "printed \"$out\""; return 1; }
    # shellcheck disable=SC2086
    out=$($emulator "$beacon" 5231.00N/01324.00E --max-agee 5 2>"$work/beacon.err")
    status=$?
    [ "$status" -eq 2 ] && [ -z "$out" ] && grep -q '^Aufruf: kobrant-beacon' "$work/beacon.err" ||
        { echo "a bad option: exit status $status, printed \"$out\""; cat "$work/beacon.err"; return 1; }
}

# has_elf_header PROGRAM PATTERNS: readelf -h of PROGRAM has a line for each of the
# |-separated PATTERNS.
has_elf_header() {
    local header pattern patterns
    header=$(readelf -h "$1" 2>&1 | tr -s ' ') || { printf '%s\n' "$header"; return 1; }
    IFS='|' read -ra patterns <<<"$2"
    for pattern in "${patterns[@]}"; do
        grep -qF "$pattern" <<<"$header" || { printf 'readelf -h: no "%s"\n' "$pattern"; return 1; }
    done
}

# removes_package PACKAGE NAME...: dpkg -r PACKAGE leaves none of /usr/bin/NAME...
removes_package() {
    local name
    dpkg -r "$1" >/dev/null || return 1
    shift
    for name in "$@"; do
        [ ! -e "/usr/bin/$name" ] || { echo "/usr/bin/$name is still there"; return 1; }
    done
}

version=$(dpkg-deb -f "$amd64_deb" Version)
mapfile -t amd64_programs < <(programs_of "$amd64_deb")
check "dpkg -i $(basename "$amd64_deb")" install_package "$amd64_deb"
for name in "${amd64_programs[@]}"; do
    check "/usr/bin/$name --version prints \"$name $version\"" prints_version "$version" "/usr/bin/$name"
    check "man renders $name(1) without warnings" manual_page_renders_cleanly "/usr/share/man/man1/$name.1.gz"
    check "man renders the German $name(1) without warnings" \
        manual_page_renders_cleanly "/usr/share/man/de/man1/$name.1.gz"
done
check "the worked example typed into /usr/bin/kobrant gives both files" \
    worked_example_gives_both_files /usr/bin/kobrant
check "/usr/bin/kobrant-beacon prints a fresh record's packet and refuses a bad option with 2" \
    beacon_answers /usr/bin/kobrant-beacon
check "dpkg -r kobrant removes $(printf '/usr/bin/%s' "${amd64_programs[0]}"; printf ', /usr/bin/%s' "${amd64_programs[@]:1}")" \
    removes_package kobrant "${amd64_programs[@]}"

for deb in "$@"; do
    arch=$(dpkg-deb -f "$deb" Architecture)
    root=$work/$(basename "$deb" .deb)
    check "dpkg-deb -x $(basename "$deb")" dpkg-deb -x "$deb" "$root"
    mapfile -t programs < <(programs_of "$deb")
    for name in "${programs[@]}"; do
        check "its $name is an $arch ELF (${elf_header[$arch]//|/, })" has_elf_header "$root/usr/bin/$name" "${elf_header[$arch]}"
        if [ -n "${processor_architecture[$arch]:-}" ]; then
            check "its $name is for the processor the README names (readelf -A: ${processor_architecture[$arch]%$})" \
                eval "readelf -A '$root/usr/bin/$name' | grep -q '${processor_architecture[$arch]}'"
        fi
        check "its $name --version under ${emulator[$arch]%% *} prints \"$name $version\"" \
            prints_version "$version" "$root/usr/bin/$name" "${emulator[$arch]}"
    done
    check "the worked example typed into its kobrant under ${emulator[$arch]%% *} gives both files" \
        worked_example_gives_both_files "$root/usr/bin/kobrant" "${emulator[$arch]}"
    check "its kobrant-beacon under ${emulator[$arch]%% *} prints a fresh record's packet and refuses a bad option" \
        beacon_answers "$root/usr/bin/kobrant-beacon" "${emulator[$arch]}"
done

echo "package checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
