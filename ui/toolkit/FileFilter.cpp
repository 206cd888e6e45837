#include "ui/toolkit/FileFilter.h"

namespace tarnwick::tk {

namespace {
// The white space a name or pattern is trimmed of: ASCII's and Unicode's space separators.
bool isSpace(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

std::u16string_view trimmed(std::u16string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::u16string_view> split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    if (end == std::u16string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}
}  // namespace

std::vector<FileFilterEntry> parseFileFilter(std::u16string_view filter) {
  const std::vector<std::u16string_view> parts = split(filter, u'|');
  std::vector<FileFilterEntry> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileFilterEntry entry;
    entry.name = trimmed(parts[i]);
    for (std::u16string_view raw : split(parts[i + 1], u';')) {
      if (const std::u16string_view pattern = trimmed(raw); !pattern.empty()) {
        entry.patterns.emplace_back(pattern);
      }
    }
    if (entry.name.empty() || entry.patterns.empty()) continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool matchesEveryFile(std::u16string_view pattern) { return pattern == u"*.*" || pattern == u"*"; }

}  // namespace tarnwick::tk
