#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "config/FileIO.h"
#include "network/OperatorTable.h"

// The operator database "oper.db": an optional file that replaces the built-in operator table
// while the network form is open.
//
// Every byte of the file is stored negated ((256 - b) mod 256, negateBytes). Decoded, it is:
//
//   offset 0  0xFF, the file mark
//   offset 1  N, the number of countries, 1 to 255
//   offset 2  items, each starting with the mark 0xFF and a tag byte:
//     0xFF 0xCC k L name[L]  country k (1 to N) becomes current and receives the name
//     0xFF 0xFB              opens the next operator row of the current country
//     0xFF 0xFC L text[L]    the next field (0 to 9) of the current operator row
//     0xFF 0xFE              closes the country: its operator count becomes the number of the
//                            last row opened, counting from 0 - one less than the operator
//                            items since the country item, so a well-formed file carries one
//                            more operator item than it lists, just before the end item
//
// Lengths are single bytes and texts carry no terminating zero. A byte that starts no item is
// skipped. After a country item the scan resumes at its length byte and walks through the name
// byte by byte, so the name's bytes are examined for items like any other bytes; after a field
// item it resumes behind the text.

namespace tarnwick {

inline constexpr std::uint8_t kOperatorDbMark = 0xFF;
inline constexpr std::uint8_t kOperatorDbCountryTag = 0xCC;
inline constexpr std::uint8_t kOperatorDbOperatorTag = 0xFB;
inline constexpr std::uint8_t kOperatorDbFieldTag = 0xFC;
inline constexpr std::uint8_t kOperatorDbEndTag = 0xFE;

// The largest oper.db that is read. The largest meaningful file (255 countries, each with 33
// operator items of ten filled fields) is about 4.9 MiB; a larger file is not an operator
// database and keeps the built-in table, so no file can make the program allocate without
// bound.
inline constexpr std::uint64_t kMaxOperatorDbSize = std::uint64_t{16} * 1024 * 1024;

// The program's one operator table.
OperatorTable& programOperatorTable();

// Puts the built-in table in use (55 countries). Frees nothing: a loaded table has always been
// released before.
void resetOperatorTable(OperatorTable& table);
void resetOperatorTable();

// Reads oper.db (by default "oper.db" in the working directory) and, if it is usable, replaces
// the table through parseOperatorDb: nothing is returned then. In every other case the table
// keeps what it held and the error says why: CannotOpen or ReadError with the system's reason
// ("Permission denied", "Not a regular file", a read that ended early), TooShort (2 bytes or
// fewer), TooLarge (above kMaxOperatorDbSize) or NotUsable (first decoded byte not 0xFF, or a
// country count of 0). The program ignores it (the form shows no message either way); tools and
// tests use it.
std::optional<FileError> loadOperatorDb(OperatorTable& table,
                                        const std::filesystem::path& path = "oper.db");
std::optional<FileError> loadOperatorDb();

// Why the reader keeps the built-in table for a file loadOperatorDb refused, for the user:
// "too short to be an operator database (2 bytes or fewer)", "too large ...", "not an operator
// database (...)", or "cannot be read: " and the system's reason.
std::string operatorDbRefusal(const FileError& error);

// Builds the table from decoded oper.db bytes. Returns false, leaving the table unchanged, when
// the header is not usable (fewer than 2 bytes, first byte not 0xFF, or N = 0); otherwise the
// table is replaced by N countries filled from the items, whatever the items hold, and true is
// returned. A country gets the operator rows (at most 32) that its items fill or list.
//
// The reader never reads past the data and never writes outside the table. Items outside the
// format's limits are handled so:
//   - a country item whose number is 0 or above N is skipped, and so is everything after it up
//     to the next usable country item: its operators and fields belong to no country;
//   - a text longer than its field (a name above 63 bytes, a field above 63 or, for the port,
//     5 bytes) keeps its first 63 (5) bytes; the scan goes on where it would for a fitting
//     text (behind a field item's whole text, at a country item's length byte);
//   - field items beyond the tenth of a row, field items for a 33rd or later row, and field
//     items while no operator row is open are skipped;
//   - an end item after more than 33 operator items, or while no row is open (which would give
//     a count of 32+ or -1), is skipped: the count keeps its earlier value;
//   - an item cut off by the end of the data ends the scan; what was read before stays.
bool parseOperatorDb(OperatorTable& table, std::span<const std::uint8_t> decoded);

// Frees a loaded table; the table then reads as empty until the next reset. Does nothing for
// the built-in table or an already released one.
void releaseOperatorTable(OperatorTable& table);
void releaseOperatorTable();

}  // namespace tarnwick
