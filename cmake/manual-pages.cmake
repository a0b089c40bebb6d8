# kobrant_manual_pages(PROGRAM): installs PROGRAM's manual pages with it, the English
# release/man/PROGRAM.1 as man1/PROGRAM.1 and the German release/man/de/PROGRAM.1 as
# de/man1/PROGRAM.1 under CMAKE_INSTALL_MANDIR (/usr/local/share/man by default), each
# with @VERSION@ replaced by the project's version, as release/make_deb.sh packs them:
#   kobrant_manual_pages(kobrant) -> /usr/local/share/man/man1/kobrant.1, .../de/man1/kobrant.1
include_guard(GLOBAL)
include(GNUInstallDirs)

function(kobrant_manual_pages program)
    foreach(language IN ITEMS "" de)
        if(language)
            set(source ${PROJECT_SOURCE_DIR}/release/man/${language}/${program}.1)
            set(section ${language}/man1)
        else()
            set(source ${PROJECT_SOURCE_DIR}/release/man/${program}.1)
            set(section man1)
        endif()
        set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${section}/${program}.1)
        file(READ ${source} text)
        string(REPLACE "@VERSION@" "${PROJECT_VERSION}" text "${text}")
        file(WRITE ${page} "${text}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
        install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/${section})
    endforeach()
endfunction()
