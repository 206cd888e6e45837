// tarnwick-cfg oper-db build --from-apns: an oper.db from Android's list of access points.

#include <algorithm>
#include <vector>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/FleetCommands.h"
#include "config/Codec.h"
#include "fleet/ApnList.h"
#include "fleet/WorldTable.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"

namespace tarnwick::cli {

int commandOperDbFromApns(Io io, const std::string& xmlPath, const std::string& outPath,
                          const std::optional<std::string>& countries) {
  WorldTableOptions options;
  if (countries) {
    std::string error;
    options.countries = parseCountryList(*countries, error);
    if (!error.empty()) {
      reportFailure(io, "--countries", error);
      return kExitUsage;
    }
  }
  const auto xml = loadText(io, xmlPath, kMaxInputBytes);
  if (!xml) return kExitFailed;
  const ApnList list = readApnList(*xml);
  if (!list.ok()) {
    return reportFailure(io, xmlPath, "line " + std::to_string(list.errorLine) + ": " + list.error);
  }
  WorldTable world = buildWorldTable(list.entries, options);
  if (!world.ok()) return reportFailure(io, xmlPath, world.error);
  const WorldTableStats stats = world.stats;
  const std::size_t countryCount = world.countries.size();

  OperatorTable table;
  table.adopt(std::move(world.countries));
  const OperatorDbBuild build = buildOperatorDb(table);
  if (!build.ok()) return reportFailure(io, xmlPath, build.error);
  // The program's own reader must see the same table before anything is written.
  std::vector<std::uint8_t> decoded = build.fileBytes;
  negateBytes(decoded.data(), static_cast<std::uint32_t>(decoded.size()));
  OperatorTable readBack;
  bool same = parseOperatorDb(readBack, decoded) && readBack.countryCount() == table.countryCount();
  for (std::size_t i = 0; same && i < table.countryCount(); ++i) {
    const auto a = table.countries()[i].listedOperators();
    const auto b = readBack.countries()[i].listedOperators();
    same = table.countries()[i].name == readBack.countries()[i].name &&
           std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  if (!same) return reportFailure(io, xmlPath, "the table would not read back the same from oper.db");

  const std::string_view bytes(reinterpret_cast<const char*>(build.fileBytes.data()),
                               build.fileBytes.size());
  if (!saveText(io, outPath, bytes)) return kExitFailed;
  // The summary goes where it does not mix with the table.
  std::ostream& summary = outPath == kStandardOutput ? io.err : io.out;
  summary << escapeControls(outPath) << ": " << counted(countryCount, "country", "countries")
          << ", " << counted(stats.operators, "operator", "operators") << " ("
          << stats.withDataApn << " with a data access point, " << stats.withMms
          << " with MMS settings) from " << counted(stats.entries, "entry", "entries");
  if (stats.droppedOverLimit > 0) {
    summary << "; " << stats.droppedOverLimit << " left out beyond 32 a country";
  }
  summary << "\n";
  return kExitOk;
}

}  // namespace tarnwick::cli
