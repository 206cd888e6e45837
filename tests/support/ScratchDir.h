#pragma once

// File helpers shared by the test folders: a scratch folder per test and whole-file reads and
// writes. Header-only; every test target gets this folder on its include path.

#include <sys/stat.h>

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace tarnwick::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. With Enter::Yes it is also the current directory while it lives, so that UI
// scripts can name files by relative paths, as a user running the program there would.
class ScratchDir {
 public:
  enum class Enter { No, Yes };

  explicit ScratchDir(Enter enter = Enter::No) {
    path_ = test_support::makeScratchFolder("tarnwick-test");
    if (path_.empty()) return;
    if (enter == Enter::Yes) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  // Names of the entries directly in the folder.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path_, ec)) {
      names.insert(e.path().filename().string());
    }
    return names;
  }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// The whole file; empty when it cannot be read.
inline std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Permission bits of a file, 0 when it cannot be examined.
inline unsigned modeOf(const std::string& path) {
#ifdef _WIN32
  struct _stat64 st {};
  if (::_stat64(path.c_str(), &st) != 0) return 0;
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 0;
#endif
  return st.st_mode & 07777;
}

}  // namespace tarnwick::testing
