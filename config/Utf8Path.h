#pragma once

// Paths from and to the UTF-8 text the program keeps every name in (arguments, table cells,
// the file dialogs' choices).
//
// On Windows a std::filesystem::path made from a std::string reads the bytes in the ANSI code
// page (1252 on most systems), so "Kamera-ö.cfg" would name "Kamera-Ã¶.cfg" and a character
// outside that page could not be named at all. These go through UTF-16, the system's own
// form, instead; malformed UTF-8 becomes U+FFFD as everywhere else. Elsewhere a path is the
// bytes themselves, so a Linux name that is not UTF-8 still names its file.

#include <filesystem>
#include <string>
#include <string_view>

#include "config/TextConversions.h"

namespace tarnwick {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
  const FormText wide = fromUtf8(utf8);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
  return std::filesystem::path(std::string(utf8));
#endif
}

inline std::string utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& wide = path.native();
  return toUtf8(std::u16string(wide.begin(), wide.end()));
#else
  return path.string();
#endif
}

}  // namespace tarnwick
