#include "fleet/NameFolding.h"

#include <algorithm>

#include "config/TextConversions.h"
#include "fleet/NameFoldingData.h"

namespace tarnwick {

namespace {

using unicode::CodeMapping;
using unicode::MappingTable;

const CodeMapping* findMapping(const MappingTable& table, char32_t c) {
  const auto it = std::lower_bound(table.entries.begin(), table.entries.end(), c,
                                   [](const CodeMapping& m, char32_t x) { return m.from < x; });
  return it != table.entries.end() && it->from == c ? &*it : nullptr;
}

void appendMapped(std::u32string& out, const MappingTable& table, char32_t c) {
  const CodeMapping* mapping = findMapping(table, c);
  if (mapping == nullptr) {
    out.push_back(c);
    return;
  }
  out.append(table.pool + mapping->offset, mapping->length);
}

// Hangul syllables decompose by arithmetic into two or three conjoining jamo.
constexpr char32_t kSyllableBase = 0xAC00;
constexpr char32_t kLeadBase = 0x1100;
constexpr char32_t kVowelBase = 0x1161;
constexpr char32_t kTrailBase = 0x11A7;
constexpr char32_t kVowelCount = 21;
constexpr char32_t kTrailCount = 28;
constexpr char32_t kSyllableCount = 19 * kVowelCount * kTrailCount;

std::uint8_t combiningClass(char32_t c) {
  if (c < 0x300) return 0;  // the first combining marks; most names never get there
  const auto classes = unicode::kCombiningClasses;
  const auto it = std::upper_bound(classes.begin(), classes.end(), c,
                                   [](char32_t x, const unicode::ClassRange& r) { return x < r.first; });
  if (it == classes.begin()) return 0;
  const unicode::ClassRange& range = *(it - 1);
  return c <= range.last ? range.combiningClass : 0;
}

// NFD: every code point fully decomposed, then each run of combining marks (class not 0) put
// in the order of their classes, keeping the order of marks of one class.
std::u32string decomposed(std::u32string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (const char32_t c : text) {
    if (c >= kSyllableBase && c < kSyllableBase + kSyllableCount) {
      const char32_t s = c - kSyllableBase;
      out.push_back(kLeadBase + s / (kVowelCount * kTrailCount));
      out.push_back(kVowelBase + (s % (kVowelCount * kTrailCount)) / kTrailCount);
      if (s % kTrailCount != 0) out.push_back(kTrailBase + s % kTrailCount);
    } else if (c < 0xC0) {
      out.push_back(c);  // nothing below U+00C0 decomposes
    } else {
      appendMapped(out, unicode::kDecompositionTable, c);
    }
  }
  for (std::size_t i = 0; i < out.size();) {
    if (combiningClass(out[i]) == 0) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < out.size() && combiningClass(out[end]) != 0) ++end;
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(i),
                     out.begin() + static_cast<std::ptrdiff_t>(end),
                     [](char32_t a, char32_t b) { return combiningClass(a) < combiningClass(b); });
    i = end;
  }
  return out;
}

}  // namespace

std::optional<std::u32string> decodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 1;
    const std::optional<char32_t> c = decodeUtf8At(text.substr(i), length);
    if (!c) return std::nullopt;
    out.push_back(*c);
    i += length;
  }
  return out;
}

std::u32string caselessName(std::u32string_view name) {
  const std::u32string first = decomposed(name);
  std::u32string folded;
  folded.reserve(first.size());
  for (const char32_t c : first) {
    if (c < 0x80) {
      folded.push_back(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    } else {
      appendMapped(folded, unicode::kFoldingTable, c);
    }
  }
  return decomposed(folded);
}

}  // namespace tarnwick
