#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::tk {

// One entry of a file-dialog filter: the name the user sees and its patterns.
struct FileFilterEntry {
  std::u16string name;
  std::vector<std::u16string> patterns;
  bool operator==(const FileFilterEntry&) const = default;
};

// Reads a filter in the "Name|patterns|Name|patterns||" form the program writes:
// "Config file(*.cfg)|*.cfg|All files(*.*)|*.*||" gives {"Config file(*.cfg)", {"*.cfg"}} and
// {"All files(*.*)", {"*.*"}}. Patterns are separated by ';'. Names and patterns are trimmed of
// white space; empty patterns are dropped; a name without patterns, an empty name, and a name
// left without its pattern part at the end are skipped.
std::vector<FileFilterEntry> parseFileFilter(std::u16string_view filter);

// Whether a pattern stands for every file, with or without a dot ("*.*" or "*").
bool matchesEveryFile(std::u16string_view pattern);

}  // namespace tarnwick::tk
