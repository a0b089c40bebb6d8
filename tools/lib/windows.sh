# Sourced by the project's commands that run Windows programs under Wine. (They hand
# those programs Linux paths; each maps them to Wine's drive Z: itself, driver/wine.h.)
#
# window_name NAME
#   A caption of the program's windows, read from src/entry/window_names.h, where the
#   program, the test driver and the benchmark take it from:
#   window_name kEntryDialogCaption gives KOBRANT--V571.
window_name() {
    local header text
    header=$(dirname "${BASH_SOURCE[0]}")/../../src/entry/window_names.h
    text=$(sed -n "s/^inline constexpr char $1\[\] = \"\(.*\)\";.*/\1/p" "$header")
    if [ -z "$text" ]; then
        echo "window_name: no caption $1 in $header" >&2
        return 1
    fi
    printf '%s' "$text"
}
