# Options every target of the project shares.

# The number rules rely on x87 extended arithmetic with no contraction into fused
# multiply-add: every rounding step is written out in the code and must stay one.
add_compile_options(-ffp-contract=off)

if(KOBRANT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

# Warnings for the project's own targets only (GoogleTest brings its own). The presets
# take the flags from their hidden "warnings" part; CI makes them errors.
set(KOBRANT_WARNING_FLAGS "-Wall;-Wextra" CACHE STRING "Warning flags of the project's own targets")
option(KOBRANT_WERROR "Treat the project's warnings as errors (CI)" OFF)
function(kobrant_warnings target)
    target_compile_options(${target} PRIVATE ${KOBRANT_WARNING_FLAGS} $<$<BOOL:${KOBRANT_WERROR}>:-Werror>)
endfunction()
