#include "WindowCheck.h"

#include <charconv>
#include <optional>

namespace tarnwick::windowcheck {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::optional<int> number(std::string_view s) {
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

// The next word of `s`, or the text of a string in double quotes; `s` moves past it.
std::optional<std::string> nextToken(std::string_view& s, bool& quoted) {
  s = trim(s);
  if (s.empty()) return std::nullopt;
  quoted = s.front() == '"';
  if (quoted) {
    const std::size_t close = s.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string token(s.substr(1, close - 1));
    s.remove_prefix(close + 1);
    return token;
  }
  const std::size_t end = s.find_first_of(" \t");
  std::string token(s.substr(0, end));
  s.remove_prefix(end == std::string_view::npos ? s.size() : end);
  return token;
}

// The steps after ':', separated by ';' (outside strings).
std::vector<Step> stepsOf(std::string_view s) {
  std::vector<Step> steps;
  std::string current;
  bool inString = false;
  for (const char c : s) {
    if (c == '"') inString = !inString;
    if (c == ';' && !inString) {
      if (!trim(current).empty()) steps.push_back({std::string(trim(current))});
      current.clear();
    } else {
      current += c;
    }
  }
  if (!trim(current).empty()) steps.push_back({std::string(trim(current))});
  return steps;
}

// The colon that ends a row's head: the first one outside a string.
std::size_t headEnd(std::string_view line) {
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') inString = !inString;
    if (line[i] == ':' && !inString) return i;
  }
  return std::string_view::npos;
}

// The rest of "control TEMPLATE ID ROLE \"NAME\" [\"DESCRIPTION\"]".
ControlRow controlRow(std::string_view rest, int templateId, int line,
                      std::vector<TableError>& errors) {
  ControlRow row{templateId, tk::kNoControlId, {}, {}, {}, line};
  bool quoted = false;
  const std::optional<std::string> id = nextToken(rest, quoted);
  if (id && !quoted && number(*id)) row.id = *number(*id);
  int strings = 0;
  while (const std::optional<std::string> token = nextToken(rest, quoted)) {
    if (!quoted && strings == 0) {
      row.role += (row.role.empty() ? "" : " ") + *token;
    } else if (quoted && strings < 2) {
      (strings++ == 0 ? row.name : row.description) = *token;
    } else {
      errors.push_back({line, "unexpected \"" + *token + "\""});
    }
  }
  if (row.id == tk::kNoControlId || row.role.empty() || row.name.empty()) {
    errors.push_back({line, "expected: control TEMPLATE ID ROLE \"NAME\" [\"DESCRIPTION\"]"});
  }
  return row;
}

}  // namespace

const WindowRow* Table::window(int templateId) const {
  for (const WindowRow& w : windows) {
    if (w.templateId == templateId) return &w;
  }
  return nullptr;
}

Table parseTable(std::string_view text, std::vector<TableError>& errors) {
  Table table;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t colon = headEnd(line);
    std::string_view head = line.substr(0, colon);
    const std::vector<Step> steps =
        colon == std::string_view::npos ? std::vector<Step>{} : stepsOf(line.substr(colon + 1));
    bool quoted = false;
    const std::optional<std::string> kind = nextToken(head, quoted);
    const std::optional<std::string> templateText = nextToken(head, quoted);
    const std::optional<int> templateId = templateText ? number(*templateText) : std::nullopt;
    if (!kind || !templateId) {
      errors.push_back({lineNumber, "expected: window|state|control TEMPLATE ..."});
      continue;
    }
    if (*kind == "control") {
      table.controls.push_back(controlRow(head, *templateId, lineNumber, errors));
      continue;
    }
    std::string name;
    int focusId = tk::kNoControlId;
    while (const std::optional<std::string> token = nextToken(head, quoted)) {
      if (quoted) {
        name = *token;
      } else if (token->rfind("focus=", 0) == 0 && number(token->substr(6))) {
        focusId = *number(token->substr(6));
      } else {
        errors.push_back({lineNumber, "unknown word \"" + *token + "\""});
      }
    }
    if (name.empty()) errors.push_back({lineNumber, "a row needs a name in double quotes"});
    if (*kind == "window") {
      if (focusId == tk::kNoControlId) errors.push_back({lineNumber, "a window needs focus=ID"});
      table.windows.push_back({*templateId, name, focusId, steps});
    } else if (*kind == "state") {
      table.states.push_back({*templateId, name, steps, lineNumber});
    } else {
      errors.push_back({lineNumber, "unknown row \"" + *kind + "\""});
    }
  }
  for (const StateRow& state : table.states) {
    if (table.window(state.templateId) == nullptr) {
      errors.push_back({state.line, "no window row for template " +
                                        std::to_string(state.templateId)});
    }
  }
  for (const ControlRow& control : table.controls) {
    if (table.window(control.templateId) == nullptr) {
      errors.push_back({control.line, "no window row for template " +
                                          std::to_string(control.templateId)});
    }
  }
  return table;
}

std::string Case::name() const { return window->name + ", " + state->name; }

std::vector<Step> Case::steps() const {
  std::vector<Step> all = window->open;
  all.insert(all.end(), state->steps.begin(), state->steps.end());
  return all;
}

std::vector<Case> casesOf(const Table& table) {
  std::vector<Case> cases;
  for (const StateRow& state : table.states) {
    if (const WindowRow* window = table.window(state.templateId)) cases.push_back({window, &state});
  }
  return cases;
}

}  // namespace tarnwick::windowcheck
