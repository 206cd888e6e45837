#pragma once

#include <optional>
#include <string>
#include <string_view>

// Camera names as folder names on a memory card: batch makes FOLDER/NAME/menu.cfg, and the
// card is read and written on Linux, Windows and macOS, with FAT or exFAT on it.

namespace tarnwick {

// Why `name` cannot be a camera's folder, or nothing. Refused: an empty name, "." and "..",
// more than 255 bytes, text that is not well-formed UTF-8, control characters and
// / \ < > : " | ? *, a last character that is a space or a dot (Windows drops them), and the
// names Windows keeps for devices on every folder: CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9
// and COM/LPT with a superscript 1, 2 or 3, in any case, with or without an extension
// ("aux", "LPT1.txt"). The reason quotes the name as it is; callers escape it for output.
std::optional<std::string> refusedFolderName(std::string_view name);

}  // namespace tarnwick
