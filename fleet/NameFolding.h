#pragma once

#include <optional>
#include <string>
#include <string_view>

// Folder names compared the way the systems a memory card meets compare them. exFAT, FAT and
// NTFS ignore case across all of Unicode ("ÉCOLE" and "école", "Σ" and "σ" name one folder),
// and macOS keeps names decomposed (an "é" typed as one character and one written as "e" and
// a combining accent name one folder). Two names are one folder here when their canonical
// caseless forms are equal: NFD(casefold(NFD(name))), with Unicode's full case folding.

namespace tarnwick {

// The code points of well-formed UTF-8 text, or nothing when it is not well formed (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, a value above
// U+10FFFF).
std::optional<std::u32string> decodeUtf8(std::string_view text);

// The canonical caseless form of a name.
std::u32string caselessName(std::u32string_view name);

}  // namespace tarnwick
