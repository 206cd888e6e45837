// Camera names as folder names on a memory card: the names refused before anything is written,
// and the names a card takes for one folder.

#include <gtest/gtest.h>

#include "fleet/CameraNames.h"
#include "fleet/NameFolding.h"

namespace tarnwick {
namespace {

TEST(CameraNames, NamesNoCardFolderCanHaveAreRefused) {
  struct Case {
    std::string name;
    const char* refusal;  // part of the reason; nullptr: accepted
  };
  const Case cases[] = {
      {"cam-01", nullptr},
      {"Hochsitz \xC3\xB6stlich", nullptr},           // UTF-8 beyond ASCII
      {"\xE5\xB1\xB1", nullptr},                       // CJK
      {"CONSOLE", nullptr},                            // a device name only when whole
      {"COM10", nullptr},
      {"LPT", nullptr},
      {"nul-cam", nullptr},
      {"", "is empty"},
      {"..", "is not a folder name"},
      {std::string(256, 'x'), "longer than 255 bytes"},
      {"bad\xFF", "is not UTF-8 text"},
      {"cut\xC3", "is not UTF-8 text"},
      {"over\xC0\xAF", "is not UTF-8 text"},           // overlong "/"
      {"half\xED\xA0\x80", "is not UTF-8 text"},       // a surrogate
      {"a/b", "holds a character"},
      {"a\nb", "holds a character"},
      {"esc\x1B", "holds a character"},
      {"trail.", "ends in a space or a dot"},
      {"trail ", "ends in a space or a dot"},
      {"CON", "is a device on Windows"},
      {"aux", "is a device on Windows"},
      {"Nul.txt", "is a device on Windows"},
      {"LPT1.txt", "is a device on Windows"},
      {"com9", "is a device on Windows"},
      {"PRN .cfg", "is a device on Windows"},
      {"COM\xC2\xB9", "is a device on Windows"},      // COM with a superscript one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto refusal = refusedFolderName(c.name);
    if (c.refusal == nullptr) {
      EXPECT_FALSE(refusal) << *refusal;
    } else {
      ASSERT_TRUE(refusal);
      EXPECT_NE(refusal->find(c.refusal), std::string::npos) << *refusal;
    }
  }
}

std::u32string keyOf(const std::string& name) {
  const auto decoded = decodeUtf8(name);
  EXPECT_TRUE(decoded) << name;
  return caselessName(decoded.value_or(std::u32string()));
}

TEST(CameraNames, NamesACardTakesForOneFolder) {
  struct Pair {
    const char* a;
    const char* b;
    bool same;
  };
  const Pair pairs[] = {
      {"ECOLE", "ecole", true},
      {"\xC3\x89" "COLE", "\xC3\xA9" "cole", true},          // ÉCOLE, école
      {"\xC3\xA9" "cole", "e\xCC\x81" "cole", true},         // é as one character and as two
      {"\xC3\x89" "COLE", "e\xCC\x81" "cole", true},
      {"\xCE\xA3", "\xCF\x83", true},                        // Σ, σ
      {"\xCF\x83", "\xCF\x82", true},                        // σ, final ς
      {"Stra\xC3\x9F" "e", "STRASSE", true},                 // ß folds to ss
      {"\xE1\xBA\x9E", "ss", true},                          // capital ẞ
      {"\xEA\xB0\x80", "\xE1\x84\x80\xE1\x85\xA1", true},    // 가 and its jamo
      {"a\xCC\xA3\xCC\x87", "a\xCC\x87\xCC\xA3", true},      // marks in either order
      {"\xE1\xB8\x8A\xCC\xA3", "D\xCC\xA3\xCC\x87", true},   // Ḋ + dot below
      {"\xEF\xBC\xA1", "\xEF\xBD\x81", true},                // fullwidth A, a
      {"ecole", "\xC3\xA9" "cole", false},                   // an accent is not case
      {"cam1", "cam-1", false},
      {"\xE2\x84\xAA", "k", true},                           // Kelvin sign
      {"\xEF\xAC\x81", "fi", true},                          // the fi ligature
      {"\xC2\xB2", "2", false},                              // compatibility forms stay apart
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(std::string(p.a) + " / " + p.b);
    EXPECT_EQ(keyOf(p.a) == keyOf(p.b), p.same);
  }
  EXPECT_FALSE(decodeUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_EQ(decodeUtf8("\xF0\x9F\x93\xB7"), std::u32string(1, U'\U0001F4F7'));
}

}  // namespace
}  // namespace tarnwick
