// Fuzz target for the APN-list reader and the operator tables made from it. The input is an
// XML document.
//
// Beyond "no crash, no out-of-bounds access, no runaway memory" (expat's limits stop entity
// expansion) it checks that a table built from whatever the reader found stays within what
// oper.db can carry, and that the writer accepts it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "fleet/ApnList.h"
#include "fleet/WorldTable.h"
#include "network/OperatorDbWriter.h"
#include "network/OperatorTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const tarnwick::ApnList list = tarnwick::readApnList(xml);
  if (!list.ok()) {
    require(list.entries.empty());
    require(!list.error.empty());
    return 0;
  }
  tarnwick::WorldTable world = tarnwick::buildWorldTable(list.entries, {});
  if (!world.ok()) {
    require(world.countries.empty());
    return 0;
  }
  require(world.countries.size() <= 255);
  require(world.countries.size() == world.countryCodes.size());
  for (const tarnwick::CountryEntry& c : world.countries) {
    require(c.name.back() == 0);
    require(c.operatorCount >= 1 && c.operatorCount <= 32);
    require(c.operators.size() == c.operatorCount);
    for (const tarnwick::OperatorEntry& o : c.operators) {
      for (std::size_t f = 0; f < tarnwick::OperatorEntry::kFieldCount; ++f) {
        require(o.field(f).back() == 0);
      }
    }
  }
  tarnwick::OperatorTable table;
  table.adopt(std::move(world.countries));
  require(tarnwick::buildOperatorDb(table).ok());
  return 0;
}
