#include "cli/JsonDocument.h"

#include <algorithm>
#include <set>
#include <vector>

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

// The one pass over the text: it finds syntax errors with their position, duplicate keys with
// their path, excessive nesting and containers larger than the limits, and builds the document
// from the events that pass. Every event returns false to stop, so a refused text is never
// built further than where it went wrong.
class CheckingSax {
 public:
  explicit CheckingSax(const JsonLimits& limits) : limits_(limits) {}

  bool null() { return value() && dom_.null(); }
  bool boolean(bool b) { return value() && dom_.boolean(b); }
  bool number_integer(Json::number_integer_t n) { return value() && dom_.number_integer(n); }
  bool number_unsigned(Json::number_unsigned_t n) { return value() && dom_.number_unsigned(n); }
  bool number_float(Json::number_float_t n, const Json::string_t& s) {
    return value() && dom_.number_float(n, s);
  }
  bool string(Json::string_t& s) { return value() && dom_.string(s); }
  bool binary(Json::binary_t& b) { return value() && dom_.binary(b); }

  bool start_object(std::size_t n) { return open(true) && dom_.start_object(n); }
  bool end_object() { return close() && dom_.end_object(); }
  bool start_array(std::size_t n) { return open(false) && dom_.start_array(n); }
  bool end_array() { return close() && dom_.end_array(); }

  bool key(Json::string_t& name) {
    Frame& frame = frames_.back();
    if (frame.keys.size() >= limits_.members) {
      error_ = containerPath() + ": more than " + std::to_string(limits_.members) +
               " keys, more than a valid document has";
      return false;
    }
    if (!frame.keys.insert(name).second) {
      error_ = jsonPathKey(containerPath(), name) + ": the key is given twice";
      return false;
    }
    frame.currentKey = name;
    return dom_.key(name);
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
  Json& document() { return root_; }

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

  // Counts an element of the innermost array; false (with the reason) past the limit.
  bool countElement() {
    if (frames_.empty() || frames_.back().object) return true;
    if (frames_.back().count >= limits_.elements) {
      error_ = containerPath() + ": more than " + std::to_string(limits_.elements) +
               " elements, more than a valid document has";
      return false;
    }
    ++frames_.back().count;
    return true;
  }

  bool value() { return countElement(); }

  bool open(bool object) {
    if (!countElement()) return false;
    if (frames_.size() >= limits_.depth) {
      error_ = "nested deeper than " + std::to_string(limits_.depth) + " levels";
      return false;
    }
    frames_.push_back(Frame{object, 0, {}, {}});
    return true;
  }

  bool close() {
    frames_.pop_back();
    return true;
  }

  JsonLimits limits_;
  std::vector<Frame> frames_;
  std::string error_;
  Json root_;
  nlohmann::detail::json_sax_dom_parser<Json> dom_{root_, /*allow_exceptions=*/false};
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

JsonDocument parseJsonDocument(std::string_view text, const JsonLimits& limits) {
  JsonDocument doc;
  CheckingSax checker(limits);
  // sax_parse reports every problem through the handler and throws nothing itself.
  if (!Json::sax_parse(text, &checker)) {
    doc.error = checker.error().empty() ? std::string("not a JSON document") : checker.error();
    return doc;
  }
  Json value = std::move(checker.document());
  doc.value = std::move(value);
  return doc;
}

}  // namespace tarnwick::cli
