#include "cli/RecordJson.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

#include "cli/ByteText.h"
#include "cli/JsonDocument.h"
#include "config/FieldCatalog.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string rangeKey(const ByteRange& range) {
  std::array<char, 24> buffer{};
  if (range.first == range.last) {
    std::snprintf(buffer.data(), buffer.size(), "0x%03x", static_cast<unsigned>(range.first));
  } else {
    std::snprintf(buffer.data(), buffer.size(), "0x%03x-0x%03x",
                  static_cast<unsigned>(range.first), static_cast<unsigned>(range.last));
  }
  return buffer.data();
}

std::string toHex(std::span<const std::uint8_t> bytes) {
  static constexpr std::string_view kDigits = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string twoDigits(unsigned v) {
  std::array<char, 8> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%02u", v);
  return buffer.data();
}

// The clock as text when the value is a valid time, else nothing.
std::optional<std::string> clockText(const FieldInfo& field, std::uint32_t v) {
  if (field.encoding == Encoding::ClockHMS) {
    const unsigned h = (v >> 16) & 0xFF, m = (v >> 8) & 0xFF, s = v & 0xFF;
    if ((v >> 24) != 0 || h > 23 || m > 59 || s > 59) return std::nullopt;
    return std::to_string(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
  }
  const unsigned h = (v >> 8) & 0xFF, m = v & 0xFF;
  if ((v >> 16) != 0 || h > 23 || m > 59) return std::nullopt;
  return std::to_string(h) + ":" + twoDigits(m);
}

Json fieldToJson(const ConfigRecord& record, const FieldInfo& field) {
  switch (field.encoding) {
    case Encoding::Index:
    case Encoding::OffFlag:
    case Encoding::Int32:
      return record.getInt32(field);
    case Encoding::ByteIndex:
    case Encoding::UInt8:
      return record.getUInt8(field);
    case Encoding::IntervalCode:
    case Encoding::Seconds:
      return record.getUInt32(field);
    case Encoding::ClockHM:
    case Encoding::ClockHMS: {
      const std::uint32_t v = record.getUInt32(field);
      if (const auto text = clockText(field, v)) return *text;
      return v;
    }
    case Encoding::Digits4: {
      const auto bytes = record.field(field);
      if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b <= 9; })) {
        std::string code;
        for (const std::uint8_t b : bytes) code.push_back(static_cast<char>('0' + b));
        return code;
      }
      Json array = Json::array();
      for (const std::uint8_t b : bytes) array.push_back(b);
      return array;
    }
    case Encoding::Text: {
      auto bytes = record.field(field);
      std::size_t end = bytes.size();
      while (end > 0 && bytes[end - 1] == 0) --end;
      return latin1ToUtf8(bytes.first(end));
    }
  }
  return nullptr;
}

// --- import ---

// A JSON integer within [min, max], or the reason it is not one.
std::optional<std::string> readInteger(const Json& value, std::int64_t min, std::int64_t max,
                                       std::int64_t& out) {
  const std::string expected =
      "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max);
  if (value.is_number_unsigned()) {
    const auto v = value.get<std::uint64_t>();
    if (v > static_cast<std::uint64_t>(max)) return expected;
    out = static_cast<std::int64_t>(v);
    return std::nullopt;
  }
  if (value.is_number_integer()) {
    const auto v = value.get<std::int64_t>();
    if (v < min || v > max) return expected;
    out = v;
    return std::nullopt;
  }
  return expected;
}

// "H:MM" or "H:MM:SS" with a valid time; a one- or two-digit hour, two-digit minutes and
// seconds.
std::optional<std::uint32_t> parseClockText(const std::string& text, bool withSeconds) {
  const std::size_t first = text.find(':');
  if (first == std::string::npos || first == 0 || first > 2) return std::nullopt;
  const std::size_t parts = withSeconds ? 3 : 2;
  if (text.size() != first + 3 * (parts - 1)) return std::nullopt;
  std::array<unsigned, 3> v{};
  for (std::size_t p = 0, i = 0; p < parts; ++p) {
    const std::size_t len = p == 0 ? first : 2;
    unsigned n = 0;
    for (std::size_t k = 0; k < len; ++k, ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
      n = n * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (p + 1 < parts) {
      if (text[i] != ':') return std::nullopt;
      ++i;
    }
    v[p] = n;
  }
  if (v[0] > 23 || v[1] > 59 || v[2] > 59) return std::nullopt;
  return withSeconds ? (v[0] << 16 | v[1] << 8 | v[2]) : (v[0] << 8 | v[1]);
}

std::optional<std::string> jsonToField(const Json& value, const FieldInfo& field,
                                       ConfigRecord& record) {
  std::int64_t n = 0;
  switch (field.encoding) {
    case Encoding::Index:
    case Encoding::OffFlag:
    case Encoding::Int32:
      if (auto e = readInteger(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max(), n)) {
        return e;
      }
      record.setInt32(field, static_cast<std::int32_t>(n));
      return std::nullopt;
    case Encoding::ByteIndex:
    case Encoding::UInt8:
      if (auto e = readInteger(value, 0, 255, n)) return e;
      record.setUInt8(field, static_cast<std::uint8_t>(n));
      return std::nullopt;
    case Encoding::IntervalCode:
    case Encoding::Seconds:
      if (auto e = readInteger(value, 0, std::numeric_limits<std::uint32_t>::max(), n)) return e;
      record.setUInt32(field, static_cast<std::uint32_t>(n));
      return std::nullopt;
    case Encoding::ClockHM:
    case Encoding::ClockHMS: {
      const bool withSeconds = field.encoding == Encoding::ClockHMS;
      if (value.is_string()) {
        const auto v = parseClockText(value.get<std::string>(), withSeconds);
        if (!v) {
          return std::string(withSeconds ? "expected a valid time as \"H:MM:SS\""
                                         : "expected a valid time as \"H:MM\"") +
                 " or the stored number";
        }
        record.setUInt32(field, *v);
        return std::nullopt;
      }
      if (auto e = readInteger(value, 0, std::numeric_limits<std::uint32_t>::max(), n)) {
        return *e + (withSeconds ? ", or a time as \"H:MM:SS\"" : ", or a time as \"H:MM\"");
      }
      record.setUInt32(field, static_cast<std::uint32_t>(n));
      return std::nullopt;
    }
    case Encoding::Digits4: {
      const auto bytes = record.field(field);
      constexpr std::string_view kExpected =
          "expected four digits as a string (\"2025\") or an array of four bytes";
      if (value.is_string()) {
        const std::string code = value.get<std::string>();
        if (code.size() != 4 ||
            !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
          return std::string(kExpected);
        }
        for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(code[i] - '0');
        return std::nullopt;
      }
      if (!value.is_array() || value.size() != 4) return std::string(kExpected);
      std::array<std::uint8_t, 4> digits{};
      for (std::size_t i = 0; i < 4; ++i) {
        if (auto e = readInteger(value[i], 0, 255, n)) return "[" + std::to_string(i) + "]: " + *e;
        digits[i] = static_cast<std::uint8_t>(n);
      }
      std::copy(digits.begin(), digits.end(), bytes.begin());
      return std::nullopt;
    }
    case Encoding::Text: {
      if (!value.is_string()) return std::string("expected a string");
      const ByteText text = utf8ToLatin1(value.get<std::string>(), /*allowZero=*/true);
      if (!text.ok()) return text.error;
      if (text.bytes.size() > field.size) {
        return "longer than the field's " + std::to_string(field.size) + " bytes";
      }
      const auto bytes = record.field(field);
      std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
      std::copy(text.bytes.begin(), text.bytes.end(), bytes.begin());
      return std::nullopt;
    }
  }
  return std::string("unsupported field");
}

RecordImport fail(std::string error) {
  RecordImport result;
  result.error = std::move(error);
  return result;
}

}  // namespace

std::string exportRecordJson(const ConfigRecord& record) {
  Json doc = Json::object();
  doc["format"] = kRecordJsonFormat;
  doc["version"] = kRecordJsonVersion;
  Json fieldsJson = Json::object();
  for (const FieldInfo* field : fieldCatalog()) {
    fieldsJson[std::string(field->name)] = fieldToJson(record, *field);
  }
  doc["fields"] = std::move(fieldsJson);
  Json unnamed = Json::object();
  const auto bytes = record.bytes();
  for (const ByteRange& range : unnamedRanges()) {
    unnamed[rangeKey(range)] = toHex(bytes.subspan(range.first, range.last - range.first + 1));
  }
  doc["unnamed"] = std::move(unnamed);
  // Every string here is valid UTF-8 (built from bytes above); replace keeps dump() from ever
  // throwing all the same.
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// Twice the largest containers of a settings document (the object of fields, of unnamed
// ranges, or the four top-level keys; a four-byte code as an array): room enough that a
// document with a few keys too many is refused by name ("unknown field"), small enough that
// no object is slow to build.
JsonLimits recordJsonLimits() {
  JsonLimits limits;
  limits.members = 2 * std::max({fieldCatalog().size(), unnamedRanges().size(), std::size_t{4}});
  limits.elements = 2 * std::size_t{4};
  return limits;
}

RecordImport importRecordJson(std::string_view text) {
  if (text.size() > kMaxRecordJsonBytes) {
    return fail("$: " + std::to_string(text.size()) +
                " bytes, more than the 1 MiB a settings document may have (an export is about "
                "4.4 KB)");
  }
  static const JsonLimits limits = recordJsonLimits();
  JsonDocument parsed = parseJsonDocument(text, limits);
  if (!parsed.value) return fail(parsed.error);
  const Json& doc = *parsed.value;
  if (!doc.is_object()) return fail("$: expected an object");
  for (const auto& [key, value] : doc.items()) {
    if (key != "format" && key != "version" && key != "fields" && key != "unnamed") {
      return fail(jsonPathKey("$", key) + ": unknown key");
    }
  }
  const auto format = doc.find("format");
  if (format == doc.end()) return fail("$.format: missing");
  if (!format->is_string() || format->get<std::string>() != kRecordJsonFormat) {
    return fail("$.format: expected \"" + std::string(kRecordJsonFormat) + "\"");
  }
  const auto version = doc.find("version");
  if (version == doc.end()) return fail("$.version: missing");
  std::int64_t v = 0;
  if (readInteger(*version, 0, std::numeric_limits<std::int32_t>::max(), v) ||
      v != kRecordJsonVersion) {
    return fail("$.version: expected " + std::to_string(kRecordJsonVersion));
  }

  ConfigRecord record;
  const auto fieldsJson = doc.find("fields");
  if (fieldsJson == doc.end()) return fail("$.fields: missing");
  if (!fieldsJson->is_object()) return fail("$.fields: expected an object");
  for (const auto& [key, value] : fieldsJson->items()) {
    if (findField(key) == nullptr) return fail(jsonPathKey("$.fields", key) + ": unknown field");
  }
  for (const FieldInfo* field : fieldCatalog()) {
    const std::string path = jsonPathKey("$.fields", field->name);
    const auto value = fieldsJson->find(std::string(field->name));
    if (value == fieldsJson->end()) return fail(path + ": missing");
    if (auto e = jsonToField(*value, *field, record)) return fail(path + ": " + *e);
  }

  const auto unnamed = doc.find("unnamed");
  if (unnamed == doc.end()) return fail("$.unnamed: missing");
  if (!unnamed->is_object()) return fail("$.unnamed: expected an object");
  const auto ranges = unnamedRanges();
  for (const auto& item : unnamed->items()) {
    const std::string& key = item.key();
    if (std::none_of(ranges.begin(), ranges.end(),
                     [&key](const ByteRange& r) { return rangeKey(r) == key; })) {
      return fail(jsonPathKey("$.unnamed", key) + ": not a range of unnamed bytes");
    }
  }
  const auto bytes = record.bytes();
  for (const ByteRange& range : ranges) {
    const std::string key = rangeKey(range);
    const std::string path = jsonPathKey("$.unnamed", key);
    const auto value = unnamed->find(key);
    if (value == unnamed->end()) return fail(path + ": missing");
    const std::size_t length = range.last - range.first + 1;
    const std::string expected =
        "expected " + std::to_string(length * 2) + " hexadecimal digits (" +
        std::to_string(length) + " bytes)";
    if (!value->is_string()) return fail(path + ": " + expected);
    const std::string hex = value->get<std::string>();
    if (hex.size() != length * 2) return fail(path + ": " + expected);
    for (std::size_t i = 0; i < length; ++i) {
      const int high = hexValue(hex[2 * i]);
      const int low = hexValue(hex[2 * i + 1]);
      if (high < 0 || low < 0) return fail(path + ": " + expected);
      bytes[range.first + i] = static_cast<std::uint8_t>(high << 4 | low);
    }
  }
  RecordImport result;
  result.record = record;
  return result;
}

}  // namespace tarnwick::cli
