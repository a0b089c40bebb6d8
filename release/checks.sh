# Sourced by the release's packing scripts (make_zip.sh, make_deb.sh): the checks of
# their arguments and tools that both make first. Each prints why and exits.
#
# require_tools SCRIPT PACKAGES TOOL...
#   Exits 1 naming SCRIPT's missing tool and the Debian packages that bring the tools.
require_tools() {
    local script=$1 packages=$2 tool
    shift 2
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$script: $tool is missing (Debian packages: $packages)" >&2
            exit 1
        fi
    done
}

# require_epoch SCRIPT EPOCH
#   Exits 2 unless EPOCH is a whole number of seconds since 1970.
require_epoch() {
    case $2 in
    '' | *[!0-9]*)
        echo "$1: EPOCH must be seconds since 1970, not \"$2\"" >&2
        exit 2
        ;;
    esac
}
