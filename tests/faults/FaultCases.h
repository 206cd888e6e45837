#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <string>

#include "ChildRun.h"
#include "FaultFolder.h"
#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"

// What the fault tables share: who may run a case, the file images they use and the checks
// that prove a failed operation left every file as it was.

namespace tarnwick::faults {

// What a case needs of the machine beyond an ordinary folder.
enum class Needs {
  Nothing,
  Root,          // the expected result is root's (root may write any file)
  Immutable,     // the immutable attribute, which only root can set and only some file
                 // systems offer
  ShortReading,  // a kernel file that claims more bytes than it delivers
};

// A kernel attribute file: its size says 4096 bytes, a read delivers a few dozen. It stands in
// for a file that shrinks between the length check and the read.
inline const std::string kShortReadingFile = "/sys/kernel/mm/transparent_hugepage/enabled";

inline bool shortReadingFileAvailable() {
  struct stat st {};
  return ::stat(kShortReadingFile.c_str(), &st) == 0 && st.st_size >= 1792 &&
         ::access(kShortReadingFile.c_str(), R_OK) == 0;
}

// Why a case cannot run here, or empty when it can. Immutable cases are checked when their
// setup runs (the attribute either takes or it does not).
inline std::string unavailable(Runner runner, Needs needs) {
  if (runner == Runner::Unprivileged && !unprivilegedAccount()) {
    return "needs root to switch to an unprivileged account";
  }
  if ((needs == Needs::Root || needs == Needs::Immutable) && ::geteuid() != 0) {
    return "needs root";
  }
  if (needs == Needs::ShortReading && !shortReadingFileAvailable()) {
    return "no kernel file that reads shorter than its size";
  }
  return {};
}

inline Bytes imageOf(const ConfigRecord& record) {
  const auto image = encodeConfigImage(record);
  return {image.begin(), image.end()};
}

// A record unlike the defaults in every byte, to stand for the user's existing file.
inline ConfigRecord existingRecord() {
  ConfigRecord record;
  std::uint32_t state = 0x2545F491u;
  for (std::uint8_t& b : record.bytes()) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    b = static_cast<std::uint8_t>(state);
  }
  return record;
}

inline mode_t processUmask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// The account a runner acts as.
inline unsigned uidOf(Runner runner) {
  if (runner == Runner::Unprivileged) {
    if (const auto account = unprivilegedAccount()) return account->uid;
  }
  return ::geteuid();
}

}  // namespace tarnwick::faults
