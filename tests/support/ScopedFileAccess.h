#pragma once

#include "config/FileAccess.h"

namespace tarnwick::testing {

// Makes `access` the program's active file access for as long as the object lives.
class ScopedFileAccess {
 public:
  explicit ScopedFileAccess(FileAccess& access) { setFileAccess(&access); }
  ~ScopedFileAccess() { setFileAccess(nullptr); }
  ScopedFileAccess(const ScopedFileAccess&) = delete;
  ScopedFileAccess& operator=(const ScopedFileAccess&) = delete;
};

}  // namespace tarnwick::testing
