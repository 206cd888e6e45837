#include "ui/toolkit/headless/Script.h"

#include "config/TextConversions.h"

#include <charconv>
#include <optional>

namespace tarnwick::tk {

namespace {

struct Token {
  bool quoted = false;
  std::string text;  // UTF-8; escapes already resolved for quoted tokens
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Splits one line into words and quoted strings; '#' outside a string starts a comment.
// Quoted strings become UTF-16 through UTF-8, except \uXXXX, which is kept as one code unit.
struct Lexed {
  std::vector<Token> tokens;
  std::vector<std::u16string> quotedUnits;  // parallel to tokens (empty for words)
};

std::optional<std::string> lex(std::string_view line, Lexed& out) {
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    if (c == '"') {
      ++i;
      std::u16string units;
      std::string pendingUtf8;
      auto flush = [&] {
        units += fromUtf8(pendingUtf8);
        pendingUtf8.clear();
      };
      bool closed = false;
      while (i < line.size()) {
        const char d = line[i];
        if (d == '"') {
          closed = true;
          ++i;
          break;
        }
        if (d == '\\') {
          if (i + 1 >= line.size()) return "a backslash ends the line";
          const char e = line[i + 1];
          if (e == '"' || e == '\\') {
            pendingUtf8 += e;
            i += 2;
          } else if (e == 't') {
            pendingUtf8 += '\t';
            i += 2;
          } else if (e == 'u' && i + 6 <= line.size() && hexValue(line[i + 2]) >= 0 &&
                     hexValue(line[i + 3]) >= 0 && hexValue(line[i + 4]) >= 0 &&
                     hexValue(line[i + 5]) >= 0) {
            std::uint32_t cp = 0;
            for (std::size_t k = 2; k < 6; ++k) {
              cp = cp * 16 + static_cast<std::uint32_t>(hexValue(line[i + k]));
            }
            flush();
            units += static_cast<char16_t>(cp);
            i += 6;
          } else {
            // A backslash that starts none of the escapes above is an ordinary character, so a
            // Windows path such as "C:\Users\ana\menu.cfg" needs no doubling (but "\t" is still a
            // tab: such paths are safest written with "/", which Windows accepts too).
            pendingUtf8 += d;
            ++i;
          }
          continue;
        }
        pendingUtf8 += d;
        ++i;
      }
      if (!closed) return "a string is not closed";
      flush();
      Token t;
      t.quoted = true;
      t.text = toUtf8(units);
      out.tokens.push_back(std::move(t));
      out.quotedUnits.push_back(std::move(units));
      continue;
    }
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
           line[i] != '"' && line[i] != '#') {
      ++i;
    }
    Token t;
    t.text = std::string(line.substr(start, i - start));
    out.tokens.push_back(std::move(t));
    out.quotedUnits.emplace_back();
  }
  return std::nullopt;
}

std::optional<int> toInt(const Token& t) {
  if (t.quoted || t.text.empty()) return std::nullopt;
  int value = 0;
  const char* first = t.text.data();
  const char* last = first + t.text.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return value;
}

using K = ScriptStep::Kind;

struct Form {
  std::string_view keyword;
  K kind;
  std::string_view shape;  // I = id, N = number, S = string, B = yes|no
};

constexpr Form kForms[] = {
    {"expect-dialog", K::ExpectDialog, "I"},   {"click", K::Click, "I"},
    {"type", K::Type, "IS"},                    {"select", K::Select, "IN"},
    {"close", K::Close, ""},                    {"sysmenu", K::SysMenu, "I"},
    {"expect-text", K::ExpectText, "IS"},       {"expect-selection", K::ExpectSelection, "IN"},
    {"expect-count", K::ExpectCount, "IN"},     {"expect-item", K::ExpectItem, "INS"},
    {"expect-enabled", K::ExpectEnabled, "IB"}, {"expect-checked", K::ExpectChecked, "IB"},
    {"expect-visible", K::ExpectVisible, "IB"}, {"expect-caption", K::ExpectCaption, "S"},
    {"expect-masked", K::ExpectMasked, "IB"},   {"expect-focus", K::ExpectFocus, "I"},
};

std::optional<std::string> parseLine(const Lexed& lexed, ScriptStep& step) {
  const auto& tokens = lexed.tokens;
  const std::string& word = tokens[0].text;
  if (tokens[0].quoted) return "a line must start with an action, not a string";
  if (word == "key") {
    constexpr const char* kKeys = "key takes enter, esc, left, right, up or down";
    if (tokens.size() != 2 || tokens[1].quoted) return kKeys;
    const std::string& key = tokens[1].text;
    if (key == "enter") {
      step.kind = K::KeyEnter;
    } else if (key == "esc") {
      step.kind = K::KeyEscape;
    } else if (key == "left" || key == "right" || key == "up" || key == "down") {
      step.kind = K::KeyArrow;
      step.flag = key == "right" || key == "down";
      step.text = fromUtf8(key);
    } else {
      return std::string(kKeys) + ", not " + key;
    }
    return std::nullopt;
  }
  if (word == "message") {
    if (tokens.size() != 2) return "message takes one string, or *";
    if (!tokens[1].quoted && tokens[1].text == "*") {
      step.kind = K::MessageAny;
    } else if (tokens[1].quoted) {
      step.kind = K::Message;
      step.text = lexed.quotedUnits[1];
    } else {
      return "message takes one string, or *";
    }
    return std::nullopt;
  }
  if (word == "question") {
    // The answer is Yes, No, or Enter: whichever button the box makes the default.
    constexpr const char* kQuestion = "question takes a string and yes, no or enter";
    if (tokens.size() != 3 || !tokens[1].quoted || tokens[2].quoted) return kQuestion;
    const std::string& answer = tokens[2].text;
    if (answer != "yes" && answer != "no" && answer != "enter") return kQuestion;
    step.kind = answer == "enter" ? K::QuestionDefault : K::Question;
    step.flag = answer == "yes";
    step.text = lexed.quotedUnits[1];
    return std::nullopt;
  }
  if (word == "expect-file-dialog") {
    constexpr const char* kShape = "expect-file-dialog takes a folder and a file name in quotes";
    if (tokens.size() != 3 || !tokens[1].quoted || !tokens[2].quoted) return kShape;
    step.kind = K::ExpectFileDialog;
    step.path = tokens[1].text;
    step.text = lexed.quotedUnits[2];
    return std::nullopt;
  }
  if (word == "open-file" || word == "save-file") {
    const bool save = word == "save-file";
    if (tokens.size() != 2) return word + " takes a path in quotes, or cancel";
    if (tokens[1].quoted) {
      // A file name ends at its first zero byte for the system: "abc\u0000def.cfg" would
      // save as "abc", a file the script never named.
      if (tokens[1].text.find('\0') != std::string::npos) {
        return word + ": a file name cannot hold the character U+0000";
      }
      step.kind = save ? K::SaveFile : K::OpenFile;
      step.path = tokens[1].text;
    } else if (tokens[1].text == "cancel") {
      step.kind = save ? K::SaveFileCancel : K::OpenFileCancel;
    } else {
      return word + " takes a path in quotes, or cancel";
    }
    return std::nullopt;
  }
  for (const Form& form : kForms) {
    if (word != form.keyword) continue;
    step.kind = form.kind;
    if (tokens.size() != form.shape.size() + 1) {
      return std::string(form.keyword) + " takes " + std::to_string(form.shape.size()) +
             " argument(s)";
    }
    bool sawNumber = false;
    for (std::size_t k = 0; k < form.shape.size(); ++k) {
      const Token& t = tokens[k + 1];
      switch (form.shape[k]) {
        case 'I':
        case 'N': {
          const auto value = toInt(t);
          if (!value) return "\"" + t.text + "\" is not a whole number";
          if (form.shape[k] == 'I') {
            step.id = *value;
          } else {
            step.number = *value;
            sawNumber = true;
          }
          break;
        }
        case 'S':
          if (!t.quoted) return "expected a string in double quotes, found " + t.text;
          step.text = lexed.quotedUnits[k + 1];
          break;
        case 'B':
          if (t.quoted || (t.text != "yes" && t.text != "no")) {
            return "expected yes or no, found " + t.text;
          }
          step.flag = t.text == "yes";
          break;
        default:
          break;
      }
    }
    (void)sawNumber;
    return std::nullopt;
  }
  return "unknown action \"" + word + "\"";
}

}  // namespace

std::variant<Script, ScriptSyntaxError> parseScript(std::string_view text) {
  Script script;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    ++lineNumber;
    pos = end + 1;
    Lexed lexed;
    if (auto error = lex(line, lexed)) return ScriptSyntaxError{lineNumber, *error};
    if (!lexed.tokens.empty()) {
      ScriptStep step;
      step.line = lineNumber;
      if (auto error = parseLine(lexed, step)) return ScriptSyntaxError{lineNumber, *error};
      script.steps.push_back(std::move(step));
    }
    if (end == text.size()) break;
  }
  return script;
}

std::string describeStep(const ScriptStep& step) {
  const auto quoted = [](const std::u16string& s) { return "\"" + toUtf8(s) + "\""; };
  const auto yesNo = [](bool b) { return std::string(b ? "yes" : "no"); };
  const std::string id = std::to_string(step.id);
  const std::string n = std::to_string(step.number);
  switch (step.kind) {
    case K::ExpectDialog: return "expect-dialog " + id;
    case K::Click: return "click " + id;
    case K::Type: return "type " + id + " " + quoted(step.text);
    case K::Select: return "select " + id + " " + n;
    case K::KeyEnter: return "key enter";
    case K::KeyEscape: return "key esc";
    case K::KeyArrow: return "key " + toUtf8(step.text);
    case K::ExpectFocus: return "expect-focus " + id;
    case K::Close: return "close";
    case K::SysMenu: return "sysmenu " + id;
    case K::ExpectText: return "expect-text " + id + " " + quoted(step.text);
    case K::ExpectSelection: return "expect-selection " + id + " " + n;
    case K::ExpectCount: return "expect-count " + id + " " + n;
    case K::ExpectItem: return "expect-item " + id + " " + n + " " + quoted(step.text);
    case K::ExpectEnabled: return "expect-enabled " + id + " " + yesNo(step.flag);
    case K::ExpectChecked: return "expect-checked " + id + " " + yesNo(step.flag);
    case K::ExpectVisible: return "expect-visible " + id + " " + yesNo(step.flag);
    case K::ExpectCaption: return "expect-caption " + quoted(step.text);
    case K::ExpectMasked: return "expect-masked " + id + " " + yesNo(step.flag);
    case K::Message: return "message " + quoted(step.text);
    case K::MessageAny: return "message *";
    case K::Question: return "question " + quoted(step.text) + " " + yesNo(step.flag);
    case K::QuestionDefault: return "question " + quoted(step.text) + " enter";
    case K::ExpectFileDialog:
      return "expect-file-dialog \"" + step.path + "\" " + quoted(step.text);
    case K::OpenFile: return "open-file \"" + step.path + "\"";
    case K::SaveFile: return "save-file \"" + step.path + "\"";
    case K::OpenFileCancel: return "open-file cancel";
    case K::SaveFileCancel: return "save-file cancel";
  }
  return "?";
}

}  // namespace tarnwick::tk
