// tarnwick-cfg ui SCRIPT: the whole program on the headless backend, driven by a UI script.

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "config/Cards.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/ScriptRunner.h"

namespace tarnwick::cli {

namespace {
constexpr std::uint64_t kMaxScriptBytes = std::uint64_t{16} * 1024 * 1024;
}

int commandUi(Io io, const std::string& scriptPath, const std::optional<std::string>& systemRoot) {
  const auto script = loadText(io, scriptPath, kMaxScriptBytes);
  if (!script) return kExitFailed;
  MountedCards rootCards(systemRoot.value_or(""));
  if (systemRoot) setCardFinder(&rootCards);
  // The program starts as it does for a user: from InitInstance, in the current directory (so
  // an oper.db there is read), and ends when its main window closes.
  const tk::ScriptOutcome outcome =
      tk::runScriptText(*script, [] { CTarnwickApp().InitInstance(); });
  setCardFinder(nullptr);
  if (!outcome.ok) return reportFailure(io, scriptPath, outcome.message);
  return kExitOk;
}

}  // namespace tarnwick::cli
