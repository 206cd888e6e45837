# tarnwick_warnings(target): the project's warning set, applied to our own
# targets only (not to third-party code pulled in by find_package).
function(tarnwick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor
                         -Woverloaded-virtual)
endfunction()
