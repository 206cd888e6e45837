#pragma once

// The one way the tests make a scratch folder (ScratchDir.h and the fixtures build on it).
// Header-only and portable: std::filesystem and a random name, no mkdtemp.

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace tarnwick::test_support {

// A new, empty folder "<prefix>-<random>" under the system's temporary folder; empty on
// failure. create_directory refuses a name that exists, so two tests never share a folder.
inline std::filesystem::path makeScratchFolder(const std::string& prefix) {
  std::random_device entropy;
  std::mt19937_64 rng((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy());
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / (prefix + "-" + std::to_string(rng() % 1000000000));
    if (std::filesystem::create_directory(candidate, ec)) return candidate;
  }
  return {};
}

}  // namespace tarnwick::test_support
