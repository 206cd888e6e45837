#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Text on the command line and in JSON is UTF-8; the settings record and the operator table
// hold one byte per character. These are the conversions between the two.

namespace tarnwick::cli {

// Bytes for a text, or why the text cannot be held as bytes.
struct ByteText {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Settings-record text: byte b is the character U+00bb (ISO 8859-1). This is what the windows
// store for a typed character U+0000-U+00FF (they keep the low byte of each UTF-16 unit), so a
// text written here reads back in the windows as typed.
std::string latin1ToUtf8(std::span<const std::uint8_t> bytes);
// Refuses characters above U+00FF (the windows would keep only their low byte, a different
// character) and, unless allowZero, U+0000.
ByteText utf8ToLatin1(std::string_view utf8, bool allowZero = false);

// Operator-table text in the ANSI code page (Windows-1252, see network/AnsiText.h), up to the
// first zero byte.
std::string ansiToUtf8(std::span<const std::uint8_t> bytes);
// Refuses U+0000 and characters Windows-1252 has no byte for.
ByteText utf8ToAnsi(std::string_view utf8);

// A text for one line of terminal output: C0 controls, DEL and the C1 controls U+0080-U+009F
// are written as \xNN, and so is every byte that is not part of well-formed UTF-8 (a file
// name from a disk that is not UTF-8); everything else as it is. Every message that repeats a
// name, a value or a reason from outside goes through this.
std::string escapeControls(std::string_view utf8);
// The reverse for what escapeControls writes: \xNN naming a control character (00-1F, 7F,
// 80-9F) becomes that character; anything else, another \x included, stays as it is.
std::string unescapeControls(std::string_view text);

// A character for messages: "U+00E9", "U+1F600" (a character outside the Basic Multilingual
// Plane by its code point, not by the first half of its UTF-16 pair).
std::string describeCodePoint(char32_t c);

}  // namespace tarnwick::cli
