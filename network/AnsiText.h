#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarnwick {

// Converts operator-table text (country and operator names and the access-point fields) from
// the ANSI code page to UTF-16, up to the first zero byte (all bytes when there is none).
//
// The operator table's texts are in the ANSI code page of the Windows systems the camera's
// tools come from; this program takes that code page to be Windows-1252 on every platform, so
// the built-in Lithuanian operator "Bit" 0xC4 0x97 shows as "Bit\u00C4\u2014" ("Bit" followed
// by A-umlaut and an em dash). 0x00-0x7F and 0xA0-0xFF map to the same code points; 0x80-0x9F
// take the Windows-1252 characters, and its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the C1 control of the same value, as Windows itself does.
//
// This is not fieldToText: settings-record fields are widened byte by byte instead.
std::u16string ansiToFormText(std::span<const std::uint8_t> bytes);

}  // namespace tarnwick
