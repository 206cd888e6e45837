#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Conversions between record fields and the UTF-16 texts the forms edit, and the trims the
// forms apply before storing a value. All are pure and never fail.

namespace tarnwick {

// A form's text: UTF-16 code units, no embedded zero unit.
using FormText = std::u16string;

// Reads a fixed-width text field: zero bytes are skipped (they do not end the text), every
// other byte becomes one unit sign-extended from 8 bits (0x80-0xFF -> U+FF80-U+FFFF, so that
// storing the text back gives the same byte), then trailing spaces are removed.
FormText fieldToText(std::span<const std::uint8_t> field);

// Zeroes the whole field, then stores the low byte of each unit. Writes exactly field.size()
// bytes; a text longer than the field is cut at the field's width.
void textToField(const FormText& text, std::span<std::uint8_t> field);

// Each of these changes the text in place and returns it.
FormText& trimTrailingSpaces(FormText& t);  // trailing U+0020 only
FormText& trimWhitespace(FormText& t);      // both ends, see isFormWhitespace
FormText& trimLeadingChar(FormText& t, char16_t c);
FormText& removeChar(FormText& t, char16_t c);

// The white space trimWhitespace removes, independent of the process locale: the set a
// C.UTF-8 wide-character classification reports, i.e. U+0009-U+000D, U+0020, U+1680,
// U+2000-U+2006, U+2008-U+200A, U+2028, U+2029, U+205F and U+3000. No-break spaces
// (U+00A0, U+2007, U+202F) are not white space, nor are U+0085 and U+180E.
bool isFormWhitespace(char16_t unit);

// A four-digit code (four digit values, most significant first) as four decimal characters.
// A byte outside 0-9 (possible only in a foreign file) is shown as '?', so the text never
// looks like a valid but different code: bytes 1, 2, 0x0C, 4 read as "12?4".
FormText digitCodeToText(std::span<const std::uint8_t, 4> digits);

// Reads a form text as a decimal number (leading white space, optional sign, digits up to the
// first non-digit; no digits = 0) and stores its four decimal digits: "12" -> 0, 0, 1, 2.
// A number outside 0-9999 (a minus sign, or more than four digits) is not a code and stores
// four zero digits, "no number set", never a byte outside 0-9; callers should refuse such
// text with a message before storing.
void textToDigitCode(const FormText& text, std::span<std::uint8_t, 4> digits);

// The value textToDigitCode would read from a text (for callers that validate first);
// saturates far outside the int range instead of overflowing.
long long parseLeadingInteger(const FormText& text);

// Clock values: hour * 256 + minute, and hour * 65536 + minute * 256 + second. No range
// checks; the upper bytes of a packed value are ignored when unpacking.
std::uint32_t packHourMinute(std::uint8_t h, std::uint8_t m);
void unpackHourMinute(std::uint32_t v, std::uint8_t& h, std::uint8_t& m);
std::uint32_t packHourMinuteSecond(std::uint8_t h, std::uint8_t m, std::uint8_t s);
void unpackHourMinuteSecond(std::uint32_t v, std::uint8_t& h, std::uint8_t& m, std::uint8_t& s);
// Whether a packed clock value is a time a clock shows: hour 0-23, minute (and second) 0-59,
// and nothing in the bytes above the hour.
bool clockInRange(std::uint32_t v, bool withSeconds);

// The code point that the UTF-8 text starts with, and in `length` how many bytes it takes; or
// nothing when the text does not start with a well-formed sequence (a stray continuation byte,
// a sequence cut short, an overlong form, a surrogate, a value above U+10FFFF), `length` then
// being the bytes the broken part takes (at least 1). The one UTF-8 reader of the program.
std::optional<char32_t> decodeUtf8At(std::string_view utf8, std::size_t& length);

// UTF-8 <-> UTF-16. Malformed input (bad UTF-8 sequences, unpaired surrogates) becomes U+FFFD;
// never undefined behaviour.
FormText fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view text);

// Widens 7-bit ASCII text unit by unit (bytes above 0x7F become U+FFFD).
FormText widenAscii(std::string_view ascii);

}  // namespace tarnwick
