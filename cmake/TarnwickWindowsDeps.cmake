# Third-party pieces of the Windows cross build, taken from the build machine's Debian packages
# without letting the machine's /usr/include into the compile:
#  - CLI11 and nlohmann-json are header-only. Their headers are copied into a staged folder of
#    the build, with config files of our own that point there (Debian's config files point at
#    /usr/include, which would put glibc's headers before mingw's).
#  - GoogleTest is built from Debian's source package (/usr/src/googletest) with the cross
#    compiler, as part of this build.
#  - Tests run under Wine (cmake/TarnwickWineTests.cmake).
# The resource compiler (windres) for the programs' manifests, icons and version information.
enable_language(RC)

set(tarnwick_staged "${CMAKE_BINARY_DIR}/staged")

function(tarnwick_stage_headers package target header_dir)
  if(NOT EXISTS "/usr/include/${header_dir}")
    message(FATAL_ERROR "${package}: /usr/include/${header_dir} not found (install its Debian "
                        "package, see scripts/install-deps.sh)")
  endif()
  file(COPY "/usr/include/${header_dir}" DESTINATION "${tarnwick_staged}/include")
  set(config_dir "${tarnwick_staged}/cmake/${package}")
  file(WRITE "${config_dir}/${package}Config.cmake"
       "# Staged by cmake/TarnwickWindowsDeps.cmake: headers only, in this build.\n"
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES\n"
       "    INTERFACE_INCLUDE_DIRECTORIES \"${tarnwick_staged}/include\")\n"
       "endif()\n")
  set(${package}_DIR "${config_dir}" CACHE PATH "Staged ${package} config folder" FORCE)
endfunction()

tarnwick_stage_headers(CLI11 CLI11::CLI11 CLI)
tarnwick_stage_headers(nlohmann_json nlohmann_json::nlohmann_json nlohmann)

if(TARNWICK_BUILD_TESTS)
  set(TARNWICK_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
  if(NOT EXISTS "${TARNWICK_GOOGLETEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${TARNWICK_GOOGLETEST_SOURCE} "
                        "(Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory("${TARNWICK_GOOGLETEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock gmock_main)
    # Third-party code: its warnings are not ours to fix.
    set_target_properties(${lib} PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()
