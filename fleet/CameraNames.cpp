#include "fleet/CameraNames.h"

#include <algorithm>
#include <array>

#include "fleet/NameFolding.h"

namespace tarnwick {

namespace {

constexpr std::size_t kMaxFolderName = 255;

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

// Windows takes a device's name wherever it appears as a file or folder name, whatever
// follows its first dot and whatever spaces end it.
bool windowsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"}) {
    if (sameIgnoringAsciiCase(base, device)) return true;
  }
  if (base.size() < 4) return false;
  const std::string_view stem = base.substr(0, 3);
  if (!sameIgnoringAsciiCase(stem, "COM") && !sameIgnoringAsciiCase(stem, "LPT")) return false;
  const std::string_view number = base.substr(3);
  static constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2",
                                                                    "\xC2\xB3"};
  return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') ||
         std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

}  // namespace

std::optional<std::string> refusedFolderName(std::string_view name) {
  if (name.empty()) return "the camera name is empty";
  if (name == "." || name == "..") return quoted(name) + " is not a folder name";
  if (name.size() > kMaxFolderName) return "the camera name is longer than 255 bytes";
  if (!decodeUtf8(name)) return "the camera name " + quoted(name) + " is not UTF-8 text";
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos) {
      return "the camera name " + quoted(name) +
             " holds a character that folder names cannot (/ \\ < > : \" | ? * or a control "
             "character)";
    }
  }
  if (name.back() == ' ' || name.back() == '.') {
    return "the camera name " + quoted(name) + " ends in a space or a dot";
  }
  if (windowsDeviceName(name)) {
    return "the camera name " + quoted(name) +
           " is a device on Windows (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, also with an "
           "extension)";
  }
  return std::nullopt;
}

}  // namespace tarnwick
