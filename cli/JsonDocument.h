#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// Reading JSON that comes from outside: never throws, and says where a document goes wrong.

namespace tarnwick::cli {

struct JsonDocument {
  std::optional<nlohmann::ordered_json> value;
  std::string error;  // when there is no value: "at byte N: ..." or "$.a.b: ..."
};

// Parses a whole document. Refuses malformed JSON (with the byte position), a key given twice
// in one object (with its path: which of the two is meant cannot be told), and nesting deeper
// than kMaxJsonDepth.
JsonDocument parseJsonDocument(std::string_view text);

inline constexpr std::size_t kMaxJsonDepth = 32;

// Paths in messages, JSONPath style: $.fields.imageSize, $.countries[3].name.
std::string jsonPathKey(const std::string& parent, std::string_view key);
std::string jsonPathIndex(const std::string& parent, std::size_t index);

}  // namespace tarnwick::cli
