#pragma once

#include <cstdint>
#include <span>

// The Unicode tables behind camera-name comparison (NameFolding.h), generated from the
// Unicode Character Database by tools/generate_name_folding.py into NameFoldingData.cpp.

namespace tarnwick::unicode {

// One code point's mapping: `length` code points from `offset` in its table's pool.
struct CodeMapping {
  char32_t from;
  std::uint16_t offset;
  std::uint8_t length;
};

// Mappings sorted by `from`, with the pool their targets are in.
struct MappingTable {
  std::span<const CodeMapping> entries;
  const char32_t* pool;
};

// Code points first-last (inclusive) with one canonical combining class other than 0.
struct ClassRange {
  char32_t first;
  char32_t last;
  std::uint8_t combiningClass;
};

extern const char kUnicodeVersion[];
// Full case folding (CaseFolding.txt, status C and F).
extern const MappingTable kFoldingTable;
// Full canonical decomposition of every code point that has one, Hangul syllables excepted.
extern const MappingTable kDecompositionTable;
// Sorted, not overlapping.
extern const std::span<const ClassRange> kCombiningClasses;

}  // namespace tarnwick::unicode
