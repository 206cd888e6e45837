#include "cli/ByteText.h"

#include <array>
#include <cstdio>
#include <optional>

#include "config/TextConversions.h"
#include "network/AnsiText.h"

namespace tarnwick::cli {

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character starting at text[i] (a surrogate pair read as one), and how many units it takes.
char32_t characterAt(const FormText& text, std::size_t i, std::size_t& units) {
  const char16_t unit = text[i];
  units = 1;
  if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
      text[i + 1] <= 0xDFFF) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  return unit;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What Windows-1252 makes of every byte, taken from the forward conversion of network/ so
// that the two directions cannot disagree.
const std::array<char16_t, 256>& ansiCharacters() {
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> t{};
    for (int b = 1; b < 256; ++b) {
      const std::array<std::uint8_t, 1> one{static_cast<std::uint8_t>(b)};
      const std::u16string text = ansiToFormText(one);
      t[static_cast<std::size_t>(b)] = text.size() == 1 ? text[0] : char16_t{0};
    }
    return t;
  }();
  return table;
}

// The byte for a character, or -1 when Windows-1252 has none (U+0000 has none either).
int ansiByteFor(char16_t unit) {
  const auto& table = ansiCharacters();
  if (unit == 0) return -1;
  if (unit < 256 && table[unit] == unit) return unit;
  for (int b = 0x80; b <= 0x9F; ++b) {
    if (table[static_cast<std::size_t>(b)] == unit) return b;
  }
  return -1;
}

}  // namespace

std::string latin1ToUtf8(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const std::uint8_t b : bytes) appendUtf8(out, b);
  return out;
}

ByteText utf8ToLatin1(std::string_view utf8, bool allowZero) {
  ByteText result;
  // fromUtf8 turns malformed input into U+FFFD, which is refused below like any other
  // character outside the byte range.
  const FormText text = fromUtf8(utf8);
  for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
    const char32_t c = characterAt(text, i, units);
    const char16_t unit = text[i];
    if (c > 0xFF) {
      result.error = "the character " + describeCodePoint(c) +
                     " cannot be stored (only U+0001-U+00FF fit one byte)";
      return result;
    }
    if (unit == 0 && !allowZero) {
      result.error = "the character U+0000 cannot be stored";
      return result;
    }
    result.bytes.push_back(static_cast<std::uint8_t>(unit));
  }
  return result;
}

std::string ansiToUtf8(std::span<const std::uint8_t> bytes) { return toUtf8(ansiToFormText(bytes)); }

ByteText utf8ToAnsi(std::string_view utf8) {
  ByteText result;
  const FormText text = fromUtf8(utf8);
  for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
    const char32_t c = characterAt(text, i, units);
    const char16_t unit = text[i];
    const int b = units == 1 ? ansiByteFor(unit) : -1;
    if (b < 0) {
      result.error = "the character " + describeCodePoint(c) +
                     (unit == 0 ? " cannot be stored" : " has no Windows-1252 byte");
      return result;
    }
    result.bytes.push_back(static_cast<std::uint8_t>(b));
  }
  return result;
}

std::string escapeControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto escape = [&out](unsigned code) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "\\x%02X", code);
    out += buffer.data();
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F) {
        escape(c);
      } else {
        out.push_back(utf8[i]);
      }
      ++i;
      continue;
    }
    std::size_t length = 1;
    const std::optional<char32_t> decoded = decodeUtf8At(utf8.substr(i), length);
    if (!decoded) {  // not UTF-8: the byte itself, so the line stays valid text
      escape(c);
      ++i;
    } else if (*decoded <= 0x9F) {
      escape(static_cast<unsigned>(*decoded));  // U+0080-U+009F
      i += length;
    } else {
      out.append(utf8.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::string unescapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      const int high = hexDigit(text[i + 2]);
      const int low = hexDigit(text[i + 3]);
      const int code = high < 0 || low < 0 ? -1 : high * 16 + low;
      if (code >= 0 && (code < 0x20 || code == 0x7F)) {
        out.push_back(static_cast<char>(code));
        i += 3;
        continue;
      }
      if (code >= 0x80 && code <= 0x9F) {
        out.push_back(static_cast<char>(0xC2));
        out.push_back(static_cast<char>(code));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string describeCodePoint(char32_t c) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "U+%04X", static_cast<unsigned>(c));
  return buffer.data();
}

}  // namespace tarnwick::cli
