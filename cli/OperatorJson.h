#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "network/CountryEntry.h"
#include "network/OperatorTable.h"

// The operator table for people and scripts: a listing, a JSON document, and a table read
// back from that JSON document (to build an oper.db).
//
//   {
//     "countries": [
//       { "index": 0, "name": "America",
//         "operators": [ { "index": 0, "name": "AT&T", "mmsApn": "...", "mmsAccount": "",
//                          "mmsPassword": "", "dataApn": "...", "dataAccount": "",
//                          "dataPassword": "", "mmscUrl": "...", "mmsProxy": "...",
//                          "mmsPort": "80" } ] }
//     ]
//   }
//
// "index" is a country's or operator's position in its list: the value countryIndex and
// operatorIndex hold for it. Texts are the table's Windows-1252 bytes as UTF-8.

namespace tarnwick::cli {

// The JSON names of an operator row's ten fields, in oper.db order. Fields 1 to 9 are named
// after the settings fields they fill.
std::string_view operatorFieldName(std::size_t number);

// One line a country, one an operator, then its non-empty access-point fields.
void writeOperatorListing(std::ostream& out, const OperatorTable& table);

std::string operatorTableJson(const OperatorTable& table);

// The largest operator-table document read: what the largest table takes in this program's
// own layout (255 countries of 32 operators, ten full fields each, every character up to three
// bytes of UTF-8: about 19 MB), with some room for another layout.
inline constexpr std::size_t kMaxOperatorJsonBytes = std::size_t{24} << 20;

struct OperatorTableImport {
  std::vector<CountryEntry> countries;
  std::string error;  // "$.countries[2].operators[0].mmsPort: ..." on failure
  bool ok() const { return error.empty(); }
};

// Reads a table in the JSON form above. "index" may be left out; when given it must be the
// position. An operator's fields other than "name" may be left out (empty). Refused, with the
// path of the problem: malformed JSON, unknown keys, no country or more than 255, more than
// 32 operators in a country, a text above 63 bytes (the port above 5), and characters that
// Windows-1252 cannot hold.
OperatorTableImport importOperatorTableJson(std::string_view text);

}  // namespace tarnwick::cli
