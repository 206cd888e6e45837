# Settings of the browser edition: a build with emscripten's toolchain (the "web" preset).
#
# The platform-free libraries and their tests build unchanged; the tests run under node. What
# needs a desktop (Qt, the command-line tool with CLI11, child processes) stays out of this build.

# Tests run as node programs. Node 20 loads the wasm file through fetch() unless told not to, and
# refuses the thread flag that emcmake's own emulator setting passes, so the emulator is set here
# whether the build was configured by the preset or by emcmake.
find_program(TARNWICK_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${TARNWICK_NODE};--no-experimental-fetch"
    CACHE STRING "How the build runs its wasm test programs" FORCE)

# Folders the page does not use: skipped by the layer and test lists of the top CMakeLists.txt.
# Qt and the desktop program; the command-line tool (CLI11) and its many-camera tools (fleet,
# with expat).
set(TARNWICK_NATIVE_ONLY_DIRS ui/toolkit/qt app cli fleet)
# cli and faults run the real tarnwick-cfg and child processes; qt, x11 and package need the
# desktop program; fleet tests the command-line tool's fleet layer.
set(TARNWICK_NATIVE_ONLY_TEST_DIRS cli faults fleet qt x11 package)

# Test programs see the machine's real file system (NODERAWFS), return main's status as node's
# exit status and may grow their memory.
set(TARNWICK_NODE_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)

# GoogleTest from Debian's source package, built with the same compiler as the tests (there is
# no prebuilt wasm GoogleTest).
if(TARNWICK_BUILD_TESTS AND NOT TARGET GTest::gtest)
  set(TARNWICK_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources (libgtest-dev)")
  if(NOT EXISTS "${TARNWICK_GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${TARNWICK_GTEST_SOURCE_DIR} "
                        "(Debian: apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory("${TARNWICK_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    # GoogleTest's own code is not held to this project's warning flags.
    target_compile_options(${lib} PRIVATE -w)
  endforeach()
endif()
