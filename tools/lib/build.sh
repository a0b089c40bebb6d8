# Sourced by the project's commands: configuring a CMake preset, and what a build of
# the program is called.
#
# configure_preset PRESET [BUILD_DIR]
#   Configures the preset (in its own build folder, or in BUILD_DIR) with its output in
#   a log that is shown only when configuring fails; false then. KOBRANT_WERROR=ON in
#   the environment (as CI sets it) turns the project's warnings into errors.
configure_preset() {
    local preset=$1 dir=${2:-} log
    local args=(--preset "$preset" "-DKOBRANT_WERROR=${KOBRANT_WERROR:-OFF}")
    [ -n "$dir" ] && args+=(-B "$dir")
    mkdir -p build
    log=build/configure-$preset.log
    if ! cmake "${args[@]}" >"$log" 2>&1; then
        cat "$log"
        echo "configuring the $preset preset failed" >&2
        return 1
    fi
    rm -f "$log"
}
