#include "TextConversions.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace tarnwick {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

FormText fieldToText(std::span<const std::uint8_t> field) {
  FormText text;
  text.reserve(field.size());
  for (const std::uint8_t b : field) {
    if (b == 0) continue;  // a zero byte is "no character" here, not the end of the text
    // Sign extension from 8 bits: 0x80-0xFF become U+FF80-U+FFFF. The low byte is kept, so
    // textToField writes the very same byte back.
    const auto signedByte = static_cast<std::int8_t>(b);
    text.push_back(static_cast<char16_t>(static_cast<std::uint16_t>(signedByte)));
  }
  return trimTrailingSpaces(text);
}

void textToField(const FormText& text, std::span<std::uint8_t> field) {
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  const std::size_t n = std::min(text.size(), field.size());
  for (std::size_t i = 0; i < n; ++i) {
    field[i] = static_cast<std::uint8_t>(text[i] & 0xFF);
  }
}

FormText& trimTrailingSpaces(FormText& t) {
  const auto keep = t.find_last_not_of(u' ');
  t.erase(keep == FormText::npos ? 0 : keep + 1);
  return t;
}

bool isFormWhitespace(char16_t u) {
  return (u >= 0x0009 && u <= 0x000D) || u == 0x0020 || u == 0x1680 ||
         (u >= 0x2000 && u <= 0x2006) || (u >= 0x2008 && u <= 0x200A) || u == 0x2028 ||
         u == 0x2029 || u == 0x205F || u == 0x3000;
}

FormText& trimWhitespace(FormText& t) {
  const auto end = std::find_if_not(t.rbegin(), t.rend(), isFormWhitespace).base();
  t.erase(end, t.end());
  const auto begin = std::find_if_not(t.begin(), t.end(), isFormWhitespace);
  t.erase(t.begin(), begin);
  return t;
}

FormText& trimLeadingChar(FormText& t, char16_t c) {
  const auto begin = std::find_if(t.begin(), t.end(), [c](char16_t u) { return u != c; });
  t.erase(t.begin(), begin);
  return t;
}

FormText& removeChar(FormText& t, char16_t c) {
  t.erase(std::remove(t.begin(), t.end(), c), t.end());
  return t;
}

FormText digitCodeToText(std::span<const std::uint8_t, 4> digits) {
  // For digit values 0-9 this is the code zero-padded to four places. Any other byte would
  // make the arithmetic value wrong (or more than four digits), so it shows as '?' instead
  // and the user sees that the field does not hold a valid code.
  FormText text;
  for (const std::uint8_t d : digits) {
    text.push_back(d <= 9 ? static_cast<char16_t>(u'0' + d) : u'?');
  }
  return text;
}

long long parseLeadingInteger(const FormText& text) {
  constexpr long long kLimit = std::numeric_limits<int>::max();
  std::size_t i = 0;
  while (i < text.size() && isFormWhitespace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = std::min(kLimit + 1, value * 10 + (text[i] - u'0'));
  }
  return negative ? -value : value;
}

void textToDigitCode(const FormText& text, std::span<std::uint8_t, 4> digits) {
  long long v = parseLeadingInteger(text);
  // Only 0-9999 is a code. Anything else would need digit bytes outside 0-9 (the file format
  // cannot hold them), so it is stored as "no number set".
  if (v < 0 || v > 9999) v = 0;
  digits[0] = static_cast<std::uint8_t>(v / 1000);
  digits[1] = static_cast<std::uint8_t>(v % 1000 / 100);
  digits[2] = static_cast<std::uint8_t>(v % 100 / 10);
  digits[3] = static_cast<std::uint8_t>(v % 10);
}

std::uint32_t packHourMinute(std::uint8_t h, std::uint8_t m) {
  return static_cast<std::uint32_t>(h) << 8 | m;
}

void unpackHourMinute(std::uint32_t v, std::uint8_t& h, std::uint8_t& m) {
  h = static_cast<std::uint8_t>(v >> 8);
  m = static_cast<std::uint8_t>(v);
}

std::uint32_t packHourMinuteSecond(std::uint8_t h, std::uint8_t m, std::uint8_t s) {
  return static_cast<std::uint32_t>(h) << 16 | static_cast<std::uint32_t>(m) << 8 | s;
}

void unpackHourMinuteSecond(std::uint32_t v, std::uint8_t& h, std::uint8_t& m, std::uint8_t& s) {
  h = static_cast<std::uint8_t>(v >> 16);
  m = static_cast<std::uint8_t>(v >> 8);
  s = static_cast<std::uint8_t>(v);
}

bool clockInRange(std::uint32_t v, bool withSeconds) {
  std::uint8_t h = 0;
  std::uint8_t m = 0;
  std::uint8_t s = 0;
  if (withSeconds) {
    unpackHourMinuteSecond(v, h, m, s);
    if (v != packHourMinuteSecond(h, m, s)) return false;
  } else {
    unpackHourMinute(v, h, m);
    if (v != packHourMinute(h, m)) return false;
  }
  return h <= 23 && m <= 59 && s <= 59;
}

std::optional<char32_t> decodeUtf8At(std::string_view utf8, std::size_t& length) {
  const auto byteAt = [&](std::size_t k) { return static_cast<std::uint8_t>(utf8[k]); };
  length = 1;
  if (utf8.empty()) return std::nullopt;
  const std::uint8_t b0 = byteAt(0);
  if (b0 < 0x80) return b0;
  // Lead byte: length of the sequence and the smallest code point it may encode (shorter
  // forms are overlong and rejected).
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, cp = b0 & 0x1Fu, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, cp = b0 & 0x0Fu, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, cp = b0 & 0x07u, min = 0x10000;
  } else {
    return std::nullopt;
  }
  std::size_t k = 1;
  for (; k < len && k < utf8.size() && (byteAt(k) & 0xC0) == 0x80; ++k) {
    cp = cp << 6 | (byteAt(k) & 0x3Fu);
  }
  length = k;
  if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return cp;
}

FormText fromUtf8(std::string_view utf8) {
  FormText out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 1;
    const std::optional<char32_t> decoded = decodeUtf8At(utf8.substr(i), length);
    // A broken part is replaced once, and reading resumes at the first byte not part of it.
    char32_t cp = decoded.value_or(kReplacement);
    i += length;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string toUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  auto put = [&out](unsigned v) { out.push_back(static_cast<char>(v)); };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // an unpaired surrogate has no UTF-8 form
    }
    if (cp < 0x80) {
      put(static_cast<unsigned>(cp));
    } else if (cp < 0x800) {
      put(0xC0 | (cp >> 6));
      put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      put(0xE0 | (cp >> 12));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    } else {
      put(0xF0 | (cp >> 18));
      put(0x80 | ((cp >> 12) & 0x3F));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

FormText widenAscii(std::string_view ascii) {
  FormText out;
  out.reserve(ascii.size());
  for (const char c : ascii) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(b < 0x80 ? static_cast<char16_t>(b) : kReplacement);
  }
  return out;
}

}  // namespace tarnwick
