#pragma once

#include <cstdlib>

// A property every fuzz target checks: a broken one aborts, which libFuzzer reports as a
// finding with the input that broke it.
inline void require(bool condition) {
  if (!condition) std::abort();
}
