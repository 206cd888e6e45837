// Fuzz target for tarnwick-cfg's JSON readers: the settings import and the operator-table
// input of oper-db build. The input is a JSON text, read as both.
//
// Beyond "no crash, no exception, no out-of-bounds access" it checks that a refusal always
// says why, and that an accepted settings document exports to a document that imports to the
// same record (on one accepted input in four: the export and second import cost more than the
// first reading).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "cli/OperatorJson.h"
#include "cli/RecordJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const tarnwick::cli::RecordImport record = tarnwick::cli::importRecordJson(text);
  if (record.record && sampled(data, size, 4)) {
    const tarnwick::cli::RecordImport again =
        tarnwick::cli::importRecordJson(tarnwick::cli::exportRecordJson(*record.record));
    require(again.record.has_value() && *again.record == *record.record);
  } else if (!record.record) {
    require(!record.error.empty());
  }

  const tarnwick::cli::OperatorTableImport table = tarnwick::cli::importOperatorTableJson(text);
  if (table.ok()) {
    require(!table.countries.empty() && table.countries.size() <= 255);
    for (const tarnwick::CountryEntry& c : table.countries) {
      require(c.operatorCount == c.operators.size() && c.operatorCount <= 32);
    }
  }
  return 0;
}
