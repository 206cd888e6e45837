// The commands over operator tables: operators, oper-db dump, oper-db build.

#include <algorithm>
#include <vector>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/OperatorJson.h"
#include "config/Codec.h"
#include "config/Utf8Path.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"

namespace tarnwick::cli {

namespace {

std::size_t operatorCount(const OperatorTable& table) {
  std::size_t n = 0;
  for (const CountryEntry& c : table.countries()) n += c.listedOperators().size();
  return n;
}

int writeTable(Io io, const OperatorTable& table, const std::string& source, bool json) {
  if (json) {
    io.out << operatorTableJson(table);
    return kExitOk;
  }
  const std::size_t countries = table.countryCount();
  const std::size_t operators = operatorCount(table);
  io.out << "# " << escapeControls(source) << ": " << counted(countries, "country", "countries")
         << ", " << counted(operators, "operator", "operators") << "\n";
  writeOperatorListing(io.out, table);
  return kExitOk;
}

// Listed rows equal: the same countries, names, counts and operator fields.
bool sameListing(const OperatorTable& a, const OperatorTable& b) {
  const auto ca = a.countries();
  const auto cb = b.countries();
  if (ca.size() != cb.size()) return false;
  for (std::size_t i = 0; i < ca.size(); ++i) {
    if (ca[i].name != cb[i].name) return false;
    const auto oa = ca[i].listedOperators();
    const auto ob = cb[i].listedOperators();
    if (!std::equal(oa.begin(), oa.end(), ob.begin(), ob.end())) return false;
  }
  return true;
}

}  // namespace

int commandOperators(Io io, const std::optional<std::string>& dbPath, bool json) {
  if (dbPath) return commandOperDbDump(io, *dbPath, json);
  const OperatorTable table;  // the built-in table
  return writeTable(io, table, "built-in table", json);
}

int commandOperDbDump(Io io, const std::string& path, bool json) {
  OperatorTable table;
  if (const auto error = loadOperatorDb(table, pathFromUtf8(path))) {
    return reportFailure(io, path, operatorDbRefusal(*error));
  }
  return writeTable(io, table, path, json);
}

int commandOperDbBuild(Io io, const std::string& jsonPath, const std::string& outPath) {
  const auto text = loadText(io, jsonPath, kMaxInputBytes);
  if (!text) return kExitFailed;
  OperatorTableImport imported = importOperatorTableJson(*text);
  if (!imported.ok()) return reportFailure(io, jsonPath, imported.error);
  OperatorTable table;
  table.adopt(std::move(imported.countries));
  const OperatorDbBuild build = buildOperatorDb(table);
  if (!build.ok()) return reportFailure(io, jsonPath, build.error);
  // Read the bytes back with the program's own reader before anything is written: a table the
  // reader would see differently is refused rather than stored.
  std::vector<std::uint8_t> decoded = build.fileBytes;
  negateBytes(decoded.data(), static_cast<std::uint32_t>(decoded.size()));
  OperatorTable readBack;
  if (!parseOperatorDb(readBack, decoded) || !sameListing(table, readBack)) {
    return reportFailure(io, jsonPath, "the table would not read back the same from oper.db");
  }
  const std::span<const std::uint8_t> bytes(build.fileBytes);
  const std::string_view asText(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return saveText(io, outPath, asText) ? kExitOk : kExitFailed;
}

}  // namespace tarnwick::cli
