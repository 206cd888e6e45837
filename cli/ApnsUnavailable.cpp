// tarnwick-cfg oper-db build --from-apns in a build without an XML parser (the Windows cross
// build: Debian has no expat for mingw-w64). The command exists and says why it cannot run.

#include "cli/CommandSupport.h"
#include "cli/FleetCommands.h"

namespace tarnwick::cli {

int commandOperDbFromApns(Io io, const std::string& xmlPath, const std::string& /*outPath*/,
                          const std::optional<std::string>& /*countries*/) {
  return reportFailure(io, xmlPath,
                       "this build cannot read apns-conf.xml (it was made without expat)");
}

}  // namespace tarnwick::cli
