// Fuzz target for the CSV reader of the batch command. The input is the table's bytes.
//
// Beyond "no crash, no out-of-bounds access" it checks what the reader promises: every field's
// bytes come from the input, so the fields together are never longer than it; records start
// on lines that exist, in order; an error names a line that exists; and a table read
// successfully, written out again with every field quoted, reads back the same. Every field is
// also taken as a camera name, as batch takes it: the name rules and the caseless form a card
// compares by hold for any bytes, the form is its own form again (folding and decomposing once
// more changes nothing), and an accepted name is UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "fleet/CameraNames.h"
#include "fleet/CsvReader.h"
#include "fleet/NameFolding.h"

namespace {

std::string quoted(const tarnwick::CsvTable& table) {
  std::string out;
  for (const tarnwick::CsvRecord& record : table.records) {
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      if (i > 0) out.push_back(',');
      out.push_back('"');
      for (const char c : record.fields[i]) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
      }
      out.push_back('"');
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tarnwick::CsvTable table = tarnwick::readCsv(text);
  std::size_t lines = 1;
  for (const char c : text) lines += c == '\n' || c == '\r';
  if (!table.ok()) {
    require(table.errorLine >= 1 && table.errorLine <= lines);
    return 0;
  }
  std::size_t bytes = 0;
  std::size_t previousLine = 0;
  for (const tarnwick::CsvRecord& record : table.records) {
    require(!record.fields.empty());
    require(record.line > previousLine && record.line <= lines);
    previousLine = record.line;
    for (const std::string& field : record.fields) {
      bytes += field.size();
      const auto decoded = tarnwick::decodeUtf8(field);
      if (!tarnwick::refusedFolderName(field)) require(decoded.has_value());
      if (!decoded) continue;
      const std::u32string key = tarnwick::caselessName(*decoded);
      require(tarnwick::caselessName(key) == key);
    }
  }
  require(bytes <= size);
  const tarnwick::CsvTable again = tarnwick::readCsv(quoted(table));
  require(again.ok());
  require(again.records.size() == table.records.size());
  for (std::size_t r = 0; r < table.records.size(); ++r) {
    require(again.records[r].fields == table.records[r].fields);
  }
  return 0;
}
