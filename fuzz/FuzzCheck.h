#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// A property every fuzz target checks: a broken one aborts, which libFuzzer reports as a
// finding with the input that broke it.
inline void require(bool condition) {
  if (!condition) std::abort();
}

// Whether this input is one of the 1 in `oneIn` that also get a target's costlier checks (a
// round trip through a writer, say). Decided by the input's bytes, so a finding replays the
// same way; the cheap checks run on every input, which keeps the executions per second up.
inline bool sampled(const std::uint8_t* data, std::size_t size, std::uint32_t oneIn) {
  std::uint32_t hash = 2166136261u ^ static_cast<std::uint32_t>(size);
  for (std::size_t i = 0; i < size && i < 64; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash % oneIn == 0;
}
