#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/ConfigRecord.h"

// The settings record as a JSON document, byte for byte:
//
//   {
//     "format": "tarnwick-cfg settings",
//     "version": 1,
//     "fields": { "imageSize": 1, ..., "timeLapse": "1:02:03", "serialNo": "2025",
//                 "orgName": "ABC", ... },
//     "unnamed": { "0x000-0x003": "00000000", ..., "0x6ff": "00" }
//   }
//
// Every named field in catalogue order:
//   - list positions, switches and other numbers as JSON integers, exactly as stored;
//   - times as "H:MM" / "H:MM:SS" when the stored value is a valid time, else the integer;
//   - four-digit codes as a four-digit string, or an array of the four bytes when one is no
//     digit;
//   - texts as a string of the field's bytes, byte b being the character U+00bb, with the
//     zero bytes at the end left out (so "ABC" is ABC and zero padding, and the factory
//     default of eight spaces is "        "); a zero byte before the end is "\u0000".
// The bytes no field names, by range, as hexadecimal.
//
// Any 1792 bytes export to a document that imports to the same 1792 bytes.

namespace tarnwick::cli {

inline constexpr std::string_view kRecordJsonFormat = "tarnwick-cfg settings";
inline constexpr int kRecordJsonVersion = 1;

std::string exportRecordJson(const ConfigRecord& record);

struct RecordImport {
  std::optional<ConfigRecord> record;
  std::string error;  // "$.fields.imageSize: expected ..." when there is no record
};

// The largest settings document read: an export is about 4.4 KB, so 1 MiB leaves room for any
// hand-made layout while keeping hostile input cheap to refuse.
inline constexpr std::size_t kMaxRecordJsonBytes = std::size_t{1} << 20;

// Refuses a text over kMaxRecordJsonBytes, malformed JSON, objects with more keys and arrays
// with more elements than a settings document has, unknown keys, missing fields or ranges and
// values the field cannot hold, naming the JSON path of the first problem.
RecordImport importRecordJson(std::string_view text);

}  // namespace tarnwick::cli
