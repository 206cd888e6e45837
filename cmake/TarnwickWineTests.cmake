# The Windows test programs run under Wine, through CMAKE_CROSSCOMPILING_EMULATOR: a script
# (cmake/windows/wine-run.sh.in) that uses a Wine prefix inside the build folder, never ~/.wine.
# Included after GoogleTest, when the tests are built.
find_program(TARNWICK_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNWICK_WINE wine64)
find_program(TARNWICK_WINESERVER wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TARNWICK_WINESERVER wineserver)
set(TARNWICK_WINE_FONTS "/usr/share/wine/fonts" CACHE PATH "Debian's fonts-wine files")
if(TARNWICK_WINE AND TARNWICK_WINESERVER)
  set(TARNWICK_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/windows/wine-run.sh.in"
                 "${CMAKE_BINARY_DIR}/wine-run.sh" @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run.sh" CACHE FILEPATH
      "Runs the Windows test programs" FORCE)
else()
  message(WARNING "wine64 not found: the Windows tests are built but cannot run here")
endif()

# The prefix is made while building (target tarnwick_wine_prefix), not by the first test: making
# it takes Wine half a minute, far longer than a test list may take to come.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_custom_command(OUTPUT "${TARNWICK_WINE_PREFIX}/.tarnwick-ready"
    COMMAND "${CMAKE_CROSSCOMPILING_EMULATOR}" cmd /c exit
    DEPENDS "${CMAKE_BINARY_DIR}/wine-run.sh"
    COMMENT "Making the Wine prefix for the tests"
    VERBATIM)
  add_custom_target(tarnwick_wine_prefix ALL DEPENDS "${TARNWICK_WINE_PREFIX}/.tarnwick-ready")
endif()

# Test lists are read when ctest starts (PRE_TEST, set by the windows preset), since running a
# Windows program at build time would need Wine in every build step. A cold Wine start can take
# a few seconds, more than the 5 s that discovery allows by default.
function(gtest_discover_tests target)
  _gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 ${ARGN})
endfunction()
