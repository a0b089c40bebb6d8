# KOBRANT_SOURCE_DATE_EPOCH: the one time the Windows build writes into what it makes,
# in seconds since 1970, so that two builds of one commit give the same bytes: the PE
# header's time stamp of kobrant.exe (the linker reads SOURCE_DATE_EPOCH) and the
# times of the release zip's entries. It is SOURCE_DATE_EPOCH from the environment
# when set (tools/release sets it), else the time of the commit checked out, read
# when the build folder is configured; a new commit configures the folder again.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(KOBRANT_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(
        COMMAND git -C "${PROJECT_SOURCE_DIR}" log -1 --format=%ct
        OUTPUT_VARIABLE KOBRANT_SOURCE_DATE_EPOCH
        RESULT_VARIABLE git_result
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET)
    if(NOT git_result EQUAL 0)
        # Not a git checkout: the earliest time a zip entry can hold, 1980-01-01.
        set(KOBRANT_SOURCE_DATE_EPOCH 315532800)
        message(STATUS "No git commit to take the build time from; using ${KOBRANT_SOURCE_DATE_EPOCH} (1980-01-01)")
    endif()
    # Configure again after the next commit: HEAD names the branch, the branch's ref
    # file the commit (a packed ref has no file of its own; then HEAD alone).
    execute_process(
        COMMAND git -C "${PROJECT_SOURCE_DIR}" rev-parse --path-format=absolute --git-path HEAD
        OUTPUT_VARIABLE git_head OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(
        COMMAND git -C "${PROJECT_SOURCE_DIR}" symbolic-ref -q HEAD
        OUTPUT_VARIABLE git_branch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(git_branch)
        execute_process(
            COMMAND git -C "${PROJECT_SOURCE_DIR}" rev-parse --path-format=absolute --git-path "${git_branch}"
            OUTPUT_VARIABLE git_ref OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    foreach(file IN ITEMS "${git_head}" "${git_ref}")
        if(file AND EXISTS "${file}")
            set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
        endif()
    endforeach()
endif()
if(NOT KOBRANT_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH must be seconds since 1970, not \"${KOBRANT_SOURCE_DATE_EPOCH}\"")
endif()
