#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "FaultFolder.h"
#include "config/ConfigRecord.h"

namespace tarnwick::faults {

// Who acts in the child: the account running the tests, or the unprivileged account (root
// ignores permission bits, so permission faults need someone who does not).
enum class Runner { Self, Unprivileged };

struct Limits {
  Runner runner = Runner::Self;
  // Largest file size the child may write (RLIMIT_FSIZE), 0 for no limit. A write that would
  // cross it fails with EFBIG part-way; the signal that would otherwise kill the process is
  // ignored, as a program that handles its write errors would see it.
  std::uint64_t fileSizeLimit = 0;
  // Largest address space the child may have (RLIMIT_AS), 0 for no limit: allocations beyond
  // it fail as they do when memory runs out.
  std::uint64_t memoryLimit = 0;
};

// How a child ended and what it wrote.
struct ChildRun {
  bool exited = false;  // false: killed by a signal, the watchdog's included
  int status = -1;      // exit status when exited, the signal number otherwise
  std::string out;
  std::string err;
};

// A child is killed after this long, so that an operation that blocks (opening a FIFO that
// nobody writes, reading a device without end) fails its test instead of hanging the suite.
inline constexpr unsigned kWatchdogSeconds = 30;

// Runs `body` in a forked child whose working folder is `folder`, under `limits`; its return
// value is the child's exit status. Standard output and error are collected.
ChildRun runChild(const std::string& folder, const Limits& limits,
                  const std::function<int()>& body);

// Runs the real tarnwick-cfg program with `args` in `folder`, under `limits`.
ChildRun runCli(const std::string& folder, const Limits& limits,
                const std::vector<std::string>& args);

// The line tarnwick-cfg writes for a failure: "tarnwick-cfg: FILE: REASON".
std::string cliError(const std::string& file, const std::string& reason);

// A message box the program showed: its style flags (0x30 warning, 0x40 information) and text.
struct ShownMessage {
  std::uint32_t flags = 0;
  std::string text;
  bool operator==(const ShownMessage&) const = default;
};
void PrintTo(const ShownMessage& message, std::ostream* os);

struct GuiRun {
  ChildRun child;
  std::string scriptFailure;  // empty when the script ran to its end as written
  std::vector<ShownMessage> messages;
  std::string recordDifference;  // empty when the record ended as expected
};

// Runs the whole desktop program on the headless backend in a child, driven by `script`, in
// `folder` and under `limits`; afterwards the program's record is compared with `expected`.
GuiRun runGui(const std::string& folder, const Limits& limits, const std::string& script,
              const ConfigRecord& expected);

// A text quoted for a UI script.
std::string scriptQuote(const std::string& text);

}  // namespace tarnwick::faults
