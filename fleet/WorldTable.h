#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/ApnList.h"
#include "network/CountryEntry.h"

// An operator table for oper.db made from Android's list of access points (ApnList.h).
//
// Countries: each entry belongs to the country its file comment names, else to the country of
// its MCC (CountryNames.h); entries of neither are left out. Each country is named in English,
// and the countries are sorted by name (accents read as their plain letters).
//
// Operators: the entries of one network (MCC and MNC) make one operator, and the entries of
// each virtual operator on it (the same mvno_type and mvno_match_data) make another. Of an
// operator's entries, in document order:
//   - the data access point (dataApn, dataAccount, dataPassword) is the first entry serving
//     "default" that names an access point, has no data proxy (an entry with one is a WAP
//     gateway, which the camera cannot use) and whose texts fit the settings record's fields;
//   - the MMS settings (mmsApn, mmsAccount, mmsPassword, mmscUrl, mmsProxy, mmsPort) are the
//     first entry serving "mms" with an MMS centre, whose texts fit the record (32 bytes for
//     access point, user and password, 50 for the MMS centre, 15 for the proxy, a port of 1
//     to 65535) and whose MMS centre, when it names a scheme, continues with "//".
// Only printable ASCII is taken for those nine values. An operator with neither is left out.
// Its name is the carrier name of the entry its values come from, without a trailing word
// that names a service ("Internet", "MMS", "WAP", ...); a name that Windows-1252 cannot write
// is replaced by another of the operator's carrier names, or by "Network MCC-MNC".
//
// At most 32 operators a country: the most complete first (data and MMS, then one of them),
// host networks before virtual operators, then document order. The ones kept are listed by
// name; two of the same name but different values get their MCC-MNC after the name, and
// operators identical in name and values are listed once.

namespace tarnwick {

struct WorldTableOptions {
  // ISO 3166-1 alpha-2 codes of the countries to keep (upper case); empty keeps all.
  std::vector<std::string> countries;
};

struct WorldTableStats {
  std::size_t entries = 0;        // entries in the list
  std::size_t networks = 0;       // operators found before the limits
  std::size_t operators = 0;      // operators in the table
  std::size_t withDataApn = 0;
  std::size_t withMms = 0;
  std::size_t droppedOverLimit = 0;  // complete enough, but beyond a country's 32
};

struct WorldTable {
  std::vector<CountryEntry> countries;
  std::vector<std::string> countryCodes;  // the ISO code of each country, in table order
  WorldTableStats stats;
  std::string error;  // empty on success

  bool ok() const { return error.empty(); }
};

WorldTable buildWorldTable(const std::vector<ApnEntry>& entries, const WorldTableOptions& options);

// A text in Windows-1252, from UTF-8: nothing when the UTF-8 is malformed or holds a character
// Windows-1252 has not.
bool utf8ToWindows1252(std::string_view utf8, std::string& out);

// Reads a --countries list: ISO codes or English names separated by commas, in any case.
// Returns the codes; an unknown item is named in `error`.
std::vector<std::string> parseCountryList(std::string_view list, std::string& error);

}  // namespace tarnwick
