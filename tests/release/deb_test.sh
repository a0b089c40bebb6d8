#!/usr/bin/env bash
# tests/release/deb_test.sh AMD64_DEB ARM64_DEB PACKAGE_PROGRAM_TESTS
#
# The Debian packages as an operator gets them (tools/test runs this on the packages it
# builds with build_deb): the amd64 one installed with dpkg -i, run from /usr/bin and
# removed again at the end, whatever happened; its manual pages rendered and its
# kobrant-beacon run on a fresh record and with a bad option; the arm64 one unpacked and
# its programs run under qemu-aarch64. PACKAGE_PROGRAM_TESTS (the native
# build's package_program_tests) types the worked example into each program in tmux and
# compares both files. Prints one line per check and at the end "package checks: N
# passed, N failed"; fails when a check failed.
set -uo pipefail
if [ $# -ne 3 ]; then
    echo "usage: deb_test.sh AMD64_DEB ARM64_DEB PACKAGE_PROGRAM_TESTS" >&2
    exit 2
fi
amd64_deb=$(realpath "$1") arm64_deb=$(realpath "$2") program_tests=$(realpath "$3")

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

# worked_example_gives_both_files PROGRAM [EMULATOR]: the worked example typed into
# PROGRAM (run by EMULATOR) gives both files.
worked_example_gives_both_files() {
    KOBRANT_PROGRAM=$1 KOBRANT_PROGRAM_EMULATOR=${2:-} "$program_tests" >"$work/program_tests.log" 2>&1 ||
        { cat "$work/program_tests.log"; false; }
}

# manual_page_renders_cleanly PAGE TITLE: man renders the page with its title (KOBRANT(1)),
# and says nothing on stderr.
manual_page_renders_cleanly() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >"$work/page.txt")
    [ -z "$warnings" ] && grep -qF "$2" "$work/page.txt" || { printf '%s\n' "$warnings"; false; }
}

# beacon_answers BEACON [EMULATOR]: kobrant-beacon (run by EMULATOR) prints the packet of
# a record written now, exit status 0, and refuses a bad option with exit status 2 and
# nothing on standard output.
beacon_answers() {
    local beacon=$1 emulator=${2:-} out status
    mkdir -p "$work/wetter"
    { LC_ALL=C date +'%b %d %Y %H:%M' | sed 's/^May/Mai/'
      echo 270/011g018t068r000p006P008h65b10132; } >"$work/wetter/WX-DATA.txt"
    out=$($emulator "$beacon" 5231.00N/01324.00E "$work/wetter") || { echo "exit status $?: $out"; return 1; }
    [[ $out =~ ^@[0-9]{6}z5231\.00N/01324\.00E_270/011g018t068r000p006P008h65b10132$ ]] ||
        { echo "printed \"$out\""; return 1; }
    out=$($emulator "$beacon" 5231.00N/01324.00E --max-agee 5 2>"$work/beacon.err")
    status=$?
    [ "$status" -eq 2 ] && [ -z "$out" ] && grep -q '^Aufruf: kobrant-beacon' "$work/beacon.err" ||
        { echo "a bad option: exit status $status, printed \"$out\""; cat "$work/beacon.err"; return 1; }
}

version=$(dpkg-deb -f "$amd64_deb" Version)
check "dpkg -i $(basename "$amd64_deb")" install_package "$amd64_deb"
check "/usr/bin/kobrant --version prints \"kobrant $version\"" \
    test "$(/usr/bin/kobrant --version 2>&1)" = "kobrant $version"
check "the worked example typed into /usr/bin/kobrant gives both files" \
    worked_example_gives_both_files /usr/bin/kobrant
check "/usr/bin/kobrant-beacon prints a fresh record's packet and refuses a bad option with 2" \
    beacon_answers /usr/bin/kobrant-beacon
check "man renders kobrant(1) without warnings" \
    manual_page_renders_cleanly /usr/share/man/man1/kobrant.1.gz 'KOBRANT(1)'
check "man renders the German kobrant(1) without warnings" \
    manual_page_renders_cleanly /usr/share/man/de/man1/kobrant.1.gz 'KOBRANT(1)'
check "man renders kobrant-beacon(1) without warnings" \
    manual_page_renders_cleanly /usr/share/man/man1/kobrant-beacon.1.gz 'KOBRANT-BEACON(1)'
check "man renders the German kobrant-beacon(1) without warnings" \
    manual_page_renders_cleanly /usr/share/man/de/man1/kobrant-beacon.1.gz 'KOBRANT-BEACON(1)'
check "dpkg -r kobrant removes /usr/bin/kobrant and /usr/bin/kobrant-beacon" \
    eval 'dpkg -r kobrant >/dev/null && [ ! -e /usr/bin/kobrant ] && [ ! -e /usr/bin/kobrant-beacon ]'

arm64_program=$work/arm64-root/usr/bin/kobrant
check "dpkg-deb -x $(basename "$arm64_deb")" dpkg-deb -x "$arm64_deb" "$work/arm64-root"
check "its program is an AArch64 ELF" eval "readelf -h '$arm64_program' | grep -q 'Machine: *AArch64'"
check "the worked example typed into it under qemu-aarch64 gives both files" \
    worked_example_gives_both_files "$arm64_program" "qemu-aarch64 -L /usr/aarch64-linux-gnu"
check "its kobrant-beacon under qemu-aarch64 prints a fresh record's packet and refuses a bad option" \
    beacon_answers "$work/arm64-root/usr/bin/kobrant-beacon" "qemu-aarch64 -L /usr/aarch64-linux-gnu"

echo "package checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
