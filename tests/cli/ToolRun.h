#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigRecord.h"

namespace tarnwick::cli::test {

struct ToolResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the tarnwick-cfg program with the arguments, in `workDir`, and collects its output.
ToolResult runTool(const std::vector<std::string>& args, const std::filesystem::path& workDir);

// A fresh folder for one test, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, const std::string& text);

// A record whose bytes come from a seeded generator.
ConfigRecord randomRecord(std::uint32_t seed);

}  // namespace tarnwick::cli::test
