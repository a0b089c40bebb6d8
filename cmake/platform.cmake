# The platform the build is for, as the file names say it: KOBRANT_PLATFORM is the
# suffix of the platform files a target builds, foo_win.cpp or foo_posix.cpp. The
# platform is chosen here once; the sources hold no #if for it.
if(WIN32)
    set(KOBRANT_PLATFORM win)
else()
    set(KOBRANT_PLATFORM posix)
endif()
