// Fuzz target for the whole desktop program on the headless backend, driven by a UI script:
// any script either plays to its end or fails with a reason, and the program always ends (a user that makes no progress fails the run rather than keeping a dialog open).
//
// Files live in memory for the run: a script may name any path for its file dialogs, and none
// of them must reach the file system of the machine that fuzzes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "config/ConfigRecord.h"
#include "config/FileAccess.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/ScriptRunner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tarnwick::MemoryFiles files;
  tarnwick::setFileAccess(&files);
  tarnwick::programRecord() = tarnwick::ConfigRecord{};
  const tarnwick::tk::ScriptOutcome outcome =
      tarnwick::tk::runScriptText(text, [] { tarnwick::CTarnwickApp().InitInstance(); });
  tarnwick::setFileAccess(nullptr);
  require(outcome.ok || !outcome.message.empty());
  return 0;
}
