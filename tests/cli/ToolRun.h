#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchDir.h"
#include "config/ConfigRecord.h"

namespace tarnwick::cli::test {

struct ToolResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the tarnwick-cfg program with the arguments, in `workDir`, and collects its output.
ToolResult runTool(const std::vector<std::string>& args, const std::filesystem::path& workDir);
// The same with `input` on standard input, through a pipe.
ToolResult runToolWithInput(const std::vector<std::string>& args,
                            const std::filesystem::path& workDir, const std::string& input);

using tarnwick::testing::readBytes;
using tarnwick::testing::ScratchDir;
using tarnwick::testing::writeBytes;
using tarnwick::testing::writeText;

// A record whose bytes come from a seeded generator.
ConfigRecord randomRecord(std::uint32_t seed);

}  // namespace tarnwick::cli::test
