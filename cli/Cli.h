#pragma once

#include <ostream>

namespace tarnwick::cli {

// Runs tarnwick-cfg: reads the arguments, runs one command, returns the exit status (0 done,
// 1 a refusal, failed check or difference, 2 a usage error). Normal output goes to `out`,
// help and version included; errors go to `err` as one line.
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace tarnwick::cli
