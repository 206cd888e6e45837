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

inline constexpr std::size_t kMaxJsonDepth = 32;

// The shape a kind of document can have at most. Checked in a first pass that builds nothing,
// so that a hostile text is refused before any of it is built: a document of many small
// objects and arrays costs memory, and an object of many keys costs time (the ordered objects
// used here find a key by linear search, so building one of n keys takes n^2/2 comparisons).
struct JsonLimits {
  std::size_t depth = kMaxJsonDepth;  // objects and arrays nested in each other
  std::size_t members = 64;           // keys of any one object
  std::size_t elements = 64;          // elements of any one array
};

// Parses a whole document. Refuses malformed JSON (with the byte position), a key given twice
// in one object (with its path: which of the two is meant cannot be told), and nesting or
// containers larger than `limits` allow (with the container's path). Time and memory are
// linear in the text, with a factor bounded by `limits`.
JsonDocument parseJsonDocument(std::string_view text, const JsonLimits& limits = {});

// Paths in messages, JSONPath style: $.fields.imageSize, $.countries[3].name.
std::string jsonPathKey(const std::string& parent, std::string_view key);
std::string jsonPathIndex(const std::string& parent, std::size_t index);

}  // namespace tarnwick::cli
