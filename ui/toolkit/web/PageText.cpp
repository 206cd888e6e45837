#include "ui/toolkit/web/PageText.h"

#include "config/TextConversions.h"
#include "ui/toolkit/DialogUnits.h"
#include "ui/toolkit/FileFilter.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tarnwick::tk::web {

namespace {
std::optional<int> parseInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::optional<PageEventKind> parseKind(std::string_view kind) {
  struct Name {
    std::string_view name;
    PageEventKind kind;
  };
  static constexpr Name kNames[] = {
      {"click", PageEventKind::Click},   {"type", PageEventKind::Type},
      {"select", PageEventKind::Select}, {"focus", PageEventKind::Focus},
      {"enter", PageEventKind::Enter},   {"escape", PageEventKind::Escape},
      {"arrow", PageEventKind::Arrow},   {"close", PageEventKind::Close},
      {"syscmd", PageEventKind::SystemCommand}, {"menu", PageEventKind::MenuKey},
      {"pagefile", PageEventKind::PageFile}, {"resize", PageEventKind::Resize},
  };
  for (const Name& n : kNames) {
    if (n.name == kind) return n.kind;
  }
  return std::nullopt;
}

std::string_view nextField(std::string_view& rest, bool& found) {
  const std::size_t tab = rest.find('\t');
  found = tab != std::string_view::npos;
  const std::string_view field = rest.substr(0, found ? tab : rest.size());
  rest.remove_prefix(found ? tab + 1 : rest.size());
  return field;
}

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Static:
      return "static";
    case ControlKind::GroupBox:
      return "group";
    case ControlKind::Edit:
      return "edit";
    case ControlKind::ComboBox:
      return "list";
    case ControlKind::CheckBox:
      return "check";
    case ControlKind::RadioButton:
      return "radio";
    case ControlKind::PushButton:
      return "button";
    case ControlKind::Icon:
      return "icon";
  }
  return "static";
}

const char* alignment(std::uint32_t style) {
  if ((style & kCenterText) != 0) return "center";
  if ((style & kRightText) != 0) return "right";
  return "left";
}

const char* boolText(bool value) { return value ? "true" : "false"; }

// Names the templates use for the system's dialog fonts.
constexpr std::string_view kSystemDialogFonts[] = {
    "MS Shell Dlg", "MS Shell Dlg 2",  "MS Sans Serif", "Tahoma",
    "Segoe UI",     "Microsoft YaHei", "\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91",
    "\xE5\xAE\x8B\xE4\xBD\x93"};

constexpr std::string_view kFallbackFonts =
    "\"DejaVu Sans\", \"Noto Sans CJK SC\", \"WenQuanYi Micro Hei\", \"Droid Sans Fallback\", "
    "sans-serif";
}  // namespace

std::string cssFontFamilies(std::string_view templateFontName) {
  bool systemFont = templateFontName.empty();
  for (std::string_view name : kSystemDialogFonts) systemFont = systemFont || name == templateFontName;
  std::string families;
  if (!systemFont) {
    std::string quoted = jsonString(templateFontName);  // a CSS string: same escapes suffice
    families = quoted + ", ";
  }
  families += kFallbackFonts;
  return families;
}

int fontPixels(int pointSize) { return tk::mulDiv(pointSize > 0 ? pointSize : 8, 96, 72); }



std::optional<PageEvent> parsePageEvent(std::string_view line) {
  std::string_view rest = line;
  bool more = false;
  PageEvent event;
  const std::optional<int> window = parseInt(nextField(rest, more));
  if (!window || !more) return std::nullopt;
  const std::optional<PageEventKind> kind = parseKind(nextField(rest, more));
  if (!kind || !more) return std::nullopt;
  const std::optional<int> index = parseInt(nextField(rest, more));
  if (!index || !more) return std::nullopt;
  const std::optional<int> number = parseInt(nextField(rest, more));
  if (!number || !more) return std::nullopt;
  event.window = *window;
  event.kind = *kind;
  event.index = *index;
  event.number = *number;
  event.text = fromUtf8(rest);
  return event;
}

std::string jsonString(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() + 2);
  out += '"';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

std::string jsonString(std::u16string_view text) { return jsonString(toUtf8(text)); }

std::string jsonColour(const std::optional<Rgb>& colour) {
  if (!colour) return "null";
  char text[16];
  std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", colour->red, colour->green, colour->blue);
  return text;
}

std::string controlJson(int index, const ControlState& s, const Rect& px, bool tabStop,
                        const ControlLook& look, const Accessible& said) {
  std::string json = "{\"index\":" + std::to_string(index) + ",\"id\":" + std::to_string(s.id) +
                     ",\"kind\":\"" + kindName(s.kind) + "\"" + ",\"x\":" + std::to_string(px.x) +
                     ",\"y\":" + std::to_string(px.y) + ",\"w\":" + std::to_string(px.width) +
                     ",\"h\":" + std::to_string(px.height) + ",\"text\":" + jsonString(s.text) +
                     ",\"enabled\":" + boolText(s.enabled) + ",\"visible\":" + boolText(s.visible) +
                     ",\"tabStop\":" + boolText(tabStop) +
                     ",\"defaultButton\":" + boolText((s.style & kDefaultButton) != 0) +
                     ",\"border\":" + boolText((s.style & kBorder) != 0) + ",\"align\":\"" +
                     alignment(s.style) + "\"" + ",\"password\":" + boolText(s.passwordChar != 0) +
                     ",\"limit\":" + std::to_string(s.textLimit) +
                     ",\"check\":" + std::to_string(s.check) +
                     ",\"selection\":" + std::to_string(s.selection) + ",\"items\":[";
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    if (i > 0) json += ',';
    json += jsonString(s.items[i]);
  }
  json += "],\"look\":{\"fill\":" + jsonColour(look.fill) + ",\"text\":" + jsonColour(look.text) +
          ",\"focus\":" + jsonColour(look.focus) + ",\"native\":" + boolText(look.nativeFace) + "}";
  json += ",\"said\":{\"role\":\"" + std::string(roleName(said.role)) + "\",\"name\":" +
          jsonString(said.name) + ",\"description\":" + jsonString(said.description) +
          ",\"label\":" + std::to_string(said.labelIndex) + "}";
  if (s.kind == ControlKind::ComboBox) {
    // The field the entry's text stands in: the page pads the list to it.
    const Rect field = listTextField(px.width, px.height);
    json += ",\"field\":[" + std::to_string(field.x + kListPadding) + "," +
            std::to_string(px.width - field.x - field.width + kListPadding) + "]";
  }
  json += "}";
  return json;
}

std::string columnJson(const std::optional<std::vector<ColumnRow>>& rows) {
  if (!rows) return "null";
  std::string json = "[";
  for (const ColumnRow& row : *rows) {
    if (json.size() > 1) json += ',';
    json += '[' + std::to_string(row.group);
    for (const int index : row.controls) json += ',' + std::to_string(index);
    json += ']';
  }
  return json + "]";
}

std::string pickerTypesJson(const std::u16string& filter) {
  std::string types;
  for (const FileFilterEntry& entry : parseFileFilter(filter)) {
    if (std::all_of(entry.patterns.begin(), entry.patterns.end(), matchesEveryFile)) continue;
    std::string extensions;
    for (const std::u16string& pattern : entry.patterns) {
      if (pattern.size() < 3 || !pattern.starts_with(u"*.") ||
          pattern.find_first_of(u"*?", 2) != std::u16string::npos) {
        return "[]";
      }
      if (!extensions.empty()) extensions += ',';
      extensions += jsonString(pattern.substr(1));
    }
    if (!types.empty()) types += ',';
    types += "{\"description\":" + jsonString(entry.name) + ",\"extensions\":[" + extensions + "]}";
  }
  return "[" + types + "]";
}

}  // namespace tarnwick::tk::web
