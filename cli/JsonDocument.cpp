#include "cli/JsonDocument.h"

#include <algorithm>
#include <set>
#include <vector>

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

// A first pass over the text that builds nothing: it finds syntax errors with their position,
// duplicate keys with their path, and excessive nesting. Every event returns false to stop.
class CheckingSax {
 public:
  bool null() { return value(); }
  bool boolean(bool) { return value(); }
  bool number_integer(Json::number_integer_t) { return value(); }
  bool number_unsigned(Json::number_unsigned_t) { return value(); }
  bool number_float(Json::number_float_t, const Json::string_t&) { return value(); }
  bool string(Json::string_t&) { return value(); }
  bool binary(Json::binary_t&) { return value(); }

  bool start_object(std::size_t) { return open(true); }
  bool end_object() { return close(); }
  bool start_array(std::size_t) { return open(false); }
  bool end_array() { return close(); }

  bool key(Json::string_t& name) {
    Frame& frame = frames_.back();
    if (!frame.keys.insert(name).second) {
      error_ = jsonPathKey(containerPath(), name) + ": the key is given twice";
      return false;
    }
    frame.currentKey = name;
    return true;
  }

  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& ex) {
    // The library's text starts with its own error class ("[json.exception.parse_error.101]
    // parse error at line 1, column 5: ..."); keep the human part after "parse error".
    std::string what = ex.what();
    const std::size_t at = what.find("parse error");
    if (at != std::string::npos) what = what.substr(at);
    error_ = "at byte " + std::to_string(position) + ": " + what;
    return false;
  }

  const std::string& error() const { return error_; }

 private:
  struct Frame {
    bool object = false;
    std::size_t count = 0;  // array elements so far
    std::set<std::string> keys;
    std::string currentKey;
  };

  // The path of the innermost open object or array.
  std::string containerPath() const {
    std::string p = "$";
    for (std::size_t i = 0; i + 1 < frames_.size(); ++i) {
      const Frame& f = frames_[i];
      p = f.object ? jsonPathKey(p, f.currentKey) : jsonPathIndex(p, f.count - 1);
    }
    return p;
  }

  bool value() {
    if (!frames_.empty() && !frames_.back().object) ++frames_.back().count;
    return true;
  }

  bool open(bool object) {
    if (!frames_.empty() && !frames_.back().object) ++frames_.back().count;
    if (frames_.size() >= kMaxJsonDepth) {
      error_ = "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
      return false;
    }
    frames_.push_back(Frame{object, 0, {}, {}});
    return true;
  }

  bool close() {
    frames_.pop_back();
    return true;
  }

  std::vector<Frame> frames_;
  std::string error_;
};

bool isIdentifier(std::string_view key) {
  if (key.empty() || (key.front() >= '0' && key.front() <= '9')) return false;
  return std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

}  // namespace

std::string jsonPathKey(const std::string& parent, std::string_view key) {
  if (isIdentifier(key)) return parent + "." + std::string(key);
  std::string quoted = parent + "['";
  for (const char c : key) {
    if (c == '\'' || c == '\\') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + "']";
}

std::string jsonPathIndex(const std::string& parent, std::size_t index) {
  return parent + "[" + std::to_string(index) + "]";
}

JsonDocument parseJsonDocument(std::string_view text) {
  JsonDocument doc;
  CheckingSax checker;
  // sax_parse reports every problem through the handler and throws nothing itself.
  if (!Json::sax_parse(text, &checker)) {
    doc.error = checker.error().empty() ? std::string("not a JSON document") : checker.error();
    return doc;
  }
  Json value = Json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (value.is_discarded()) {
    doc.error = "not a JSON document";
    return doc;
  }
  doc.value = std::move(value);
  return doc;
}

}  // namespace tarnwick::cli
