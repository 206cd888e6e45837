#pragma once

#include <string_view>

// Country names for operator tables: ISO 3166-1 alpha-2 codes with their English short names,
// and the country of each mobile country code (MCC, ITU-T E.212).
//
// The names are ISO 3166-1's English short names written the way people look for them in a
// list: qualifiers and inverted forms give way to the common name ("Bolivia", not "Bolivia
// (Plurinational State of)"; "South Korea", not "Korea, Republic of"). They are Windows-1252
// text, as oper.db holds it.

namespace tarnwick {

// The English name of an ISO 3166-1 alpha-2 code (upper case), or empty for an unknown code.
std::string_view countryName(std::string_view isoCode);

// The code of the country whose name this is, compared ignoring case; empty when none is.
std::string_view countryCodeForName(std::string_view name);

// The country of a mobile country code ("262" -> "DE"), or empty. A code that several
// territories share gives the one that uses it most (340 -> "GP" for the French Antilles).
std::string_view countryOfMcc(std::string_view mcc);

}  // namespace tarnwick
