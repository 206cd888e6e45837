#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"

// A settings field's value in the user's terms: list texts, "On"/"Off", H:MM and H:MM:SS
// times, four-digit codes, texts, the capture interval in seconds or minutes. Reading shows
// every stored value, out-of-range ones included; writing checks a typed value with the rules
// the windows apply to the same field and refuses it with a reason.

namespace tarnwick::cli {

struct FieldView {
  std::string value;     // what the user reads (UTF-8, control characters escaped); a value
                         // the field does not allow says so: "(out of range: 7)"
  std::string raw;       // the stored number in decimal, a code's four bytes in hex; empty
                         // for texts
  std::optional<std::int64_t> number;  // the stored number, for the fields that hold one
  bool inRange = true;   // false when the stored value is none the field allows
};

FieldView viewField(const ConfigRecord& record, const FieldInfo& field);

// Bytes as two-digit hexadecimal numbers separated by spaces ("02 00 02 05").
std::string hexBytes(std::span<const std::uint8_t> bytes);

// One FIELD=VALUE of the set command.
struct Assignment {
  std::string field;
  std::string value;
};

// Splits "FIELD=VALUE" at its first '='; nothing when there is no '=' or no name before it.
std::optional<Assignment> parseAssignment(std::string_view text);

// Checks a value typed in the user's terms and writes it into the field. Returns the reason
// when the value is refused; the record is then unchanged.
std::optional<std::string> assignField(ConfigRecord& record, const FieldInfo& field,
                                       std::string_view value);

struct Refusal {
  std::string field;
  std::string value;
  std::string reason;
};

// Applies the assignments in order (every field name must be in the catalogue), then checks
// what only the fields together can show: a timer that is on must not start when it stops.
// On a refusal the record may hold some of the assignments; callers work on a copy.
std::optional<Refusal> applyAssignments(ConfigRecord& record,
                                        std::span<const Assignment> assignments);

// The catalogue's name for an encoding ("index", "clockHM", ...).
std::string_view encodingName(Encoding encoding);

}  // namespace tarnwick::cli
