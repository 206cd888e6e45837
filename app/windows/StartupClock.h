#pragma once

// The start-up measurement of the Windows programs (tarnwick.exe --benchmark-startup and the
// benchmark's bare dialog): the time from the process's creation, as the system recorded it, to
// now. Counting from the creation, not from the program's own first code, counts the loading of
// the program and of the libraries it imports as well, which a person waits for just the same.

#include <windows.h>

#include <cstdint>

namespace tarnwick::startup {

// Milliseconds since the process was created; 0 when the system cannot say.
inline double millisecondsSinceProcessCreation() {
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {  // 100-nanosecond units
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

}  // namespace tarnwick::startup
