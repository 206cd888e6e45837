# tarnwick_warnings(target): the project's warning set, applied to our own
# targets only (not to third-party code pulled in by find_package).
function(tarnwick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor
                         -Woverloaded-virtual)
  # Once GCC 12 inlines libstdc++ (-O2 and above, so release builds only) it reports an
  # overlapping memcpy inside operator+(const char*, string&&) and writes past the end of
  # std::copy's destination: known false positives of that compiler, which would fail a
  # release build with warnings as errors.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
     AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # Only where it optimises: the debug builds' compile database is also read by clang-tidy,
    # which does not know these two options.
    target_compile_options(${target} PRIVATE
                           "$<$<NOT:$<CONFIG:Debug>>:-Wno-restrict;-Wno-stringop-overflow>")
  endif()
endfunction()
