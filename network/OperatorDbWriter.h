#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "network/OperatorTable.h"

namespace tarnwick {

// The bytes of an oper.db file, or why the table cannot be written as one.
struct OperatorDbBuild {
  std::vector<std::uint8_t> fileBytes;  // as stored on disk: every byte negated
  std::string error;                    // empty on success

  bool ok() const { return error.empty(); }
};

// Writes a table as a well-formed oper.db that the reader turns back into the same countries,
// names, operator counts and field texts: per country a country item, per listed operator an
// operator item followed by its fields up to the last non-empty one, then the extra operator
// item the count rule needs, then the end item.
//
// Refused, with a reason, when the table is outside what the format can carry: no country or
// more than 255, more than 32 listed operators in a country, a text without its terminating
// zero (64 bytes, or 6 for the port), or a country name holding the byte 0xFF followed by an
// item tag (the reader scans names for items, so such a name would read as an item).
OperatorDbBuild buildOperatorDb(const OperatorTable& table);

// buildOperatorDb, then the program's one way of saving (a temporary file renamed over the
// target). Returns the reason on failure.
std::optional<std::string> saveOperatorDb(const OperatorTable& table,
                                          const std::filesystem::path& path);

}  // namespace tarnwick
