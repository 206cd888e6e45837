#pragma once

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "network/OperatorEntry.h"

namespace tarnwick::testing {

// Builds decoded oper.db bytes item by item, so a test reads like the file it describes.
class DbBytes {
 public:
  explicit DbBytes(std::uint8_t countries) : bytes_{0xFF, countries} {}

  DbBytes& country(std::uint8_t k, std::string_view name) {
    raw({0xFF, 0xCC, k, static_cast<std::uint8_t>(name.size())});
    return text(name);
  }
  DbBytes& op() { return raw({0xFF, 0xFB}); }
  DbBytes& field(std::string_view value) {
    raw({0xFF, 0xFC, static_cast<std::uint8_t>(value.size())});
    return text(value);
  }
  DbBytes& end() { return raw({0xFF, 0xFE}); }
  DbBytes& raw(std::initializer_list<std::uint8_t> b) {
    bytes_.insert(bytes_.end(), b);
    return *this;
  }
  DbBytes& text(std::string_view s) {
    for (const char c : s) bytes_.push_back(static_cast<std::uint8_t>(c));
    return *this;
  }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// A field's text as a std::string (bytes up to the first zero).
inline std::string textOf(std::span<const std::uint8_t> field) {
  const auto t = fieldText(field);
  return {t.begin(), t.end()};
}

inline std::vector<std::uint8_t> negated(std::vector<std::uint8_t> bytes) {
  for (auto& b : bytes) b = static_cast<std::uint8_t>(0x100 - b);
  return bytes;
}

// A fresh folder, removed with its contents afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    path_ = tarnwick::test_support::makeScratchFolder("tarnwick-network");
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::filesystem::path file(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tarnwick::testing
