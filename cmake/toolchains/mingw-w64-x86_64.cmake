# Cross build for 64-bit Windows with Debian's mingw-w64 (packages mingw-w64 and
# g++-mingw-w64-x86-64). The "posix" flavour of the compiler is used: its C++ runtime has
# std::thread and std::mutex, which the "win32" flavour lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNWICK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNWICK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWICK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNWICK_MINGW_PREFIX}-windres)

# Only the cross compiler's own folder is searched for headers, libraries and packages; the
# build machine's /usr/include must never come in front of mingw's headers. Programs (the
# resource compiler, makensis, wine) come from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNWICK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file per program, nothing to install beside it: the C and C++ runtimes and winpthread
# are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libstdc++ -static-libgcc")

# GCC 12 reports overlapping or overflowing memcpy calls inside libstdc++'s own std::string and
# std::copy code at -O2 and above (GCC bugs 105329 and 106199, false positives); with warnings
# as errors they would stop the build in files that merely append to strings.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict -Wno-stringop-overflow")
