// Fuzz target for the oper.db reader. The input is decoded oper.db bytes.
//
// Beyond "no crash, no out-of-bounds access" it checks two properties: everything the reader
// builds stays within the format's limits (a count of at most 32, terminated texts), and a
// table the writer accepts reads back with the same listing. The limits are checked on every
// input; the texts' conversion for the window and the round trip through the writer, which
// cost several times the reading, on one input in eight.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "network/AnsiText.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"

namespace {

using tarnwick::CountryEntry;
using tarnwick::OperatorEntry;
using tarnwick::OperatorTable;
using tarnwick::fieldText;

bool sameText(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  const auto ta = fieldText(a);
  const auto tb = fieldText(b);
  return std::equal(ta.begin(), ta.end(), tb.begin(), tb.end());
}

void checkLimits(const OperatorTable& table, bool convert) {
  for (const CountryEntry& c : table.countries()) {
    require(c.name.back() == 0);
    require(c.operatorCount <= CountryEntry::kLoadedOperatorRows);
    require(c.operators.size() >= c.operatorCount);
    require(c.operators.size() <= CountryEntry::kLoadedOperatorRows);
    for (const OperatorEntry& o : c.listedOperators()) {
      for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
        require(o.field(f).back() == 0);
        if (convert) (void)tarnwick::ansiToFormText(o.field(f));
      }
    }
  }
}

void checkRoundTrip(const OperatorTable& table) {
  const tarnwick::OperatorDbBuild build = tarnwick::buildOperatorDb(table);
  if (!build.ok()) return;  // e.g. a name holding item bytes: refused, which is fine
  std::vector<std::uint8_t> decoded = build.fileBytes;
  for (auto& b : decoded) b = static_cast<std::uint8_t>(0x100 - b);
  OperatorTable back;
  require(tarnwick::parseOperatorDb(back, decoded));
  require(back.countryCount() == table.countryCount());
  for (std::size_t i = 0; i < table.countryCount(); ++i) {
    const CountryEntry& a = table.countries()[i];
    const CountryEntry& b = back.countries()[i];
    require(sameText(a.name, b.name));
    require(a.operatorCount == b.operatorCount);
    for (std::size_t r = 0; r < a.operatorCount; ++r) {
      for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
        require(sameText(a.operators[r].field(f), b.operators[r].field(f)));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  OperatorTable table;
  if (!tarnwick::parseOperatorDb(table, std::span<const std::uint8_t>(data, size))) {
    require(table.state() == OperatorTable::State::BuiltIn);
    return 0;
  }
  require(table.loaded());
  const bool costly = sampled(data, size, 8);
  checkLimits(table, costly);
  if (costly) checkRoundTrip(table);
  tarnwick::releaseOperatorTable(table);
  require(table.countryCount() == 0);
  return 0;
}
