// The byte conversions behind every text the tool reads or writes.

#include <gtest/gtest.h>

#include "cli/ByteText.h"

namespace tarnwick::cli {
namespace {

TEST(ByteText, EveryByteSurvivesLatin1AndWindows1252) {
  for (int b = 1; b < 256; ++b) {
    const std::vector<std::uint8_t> one{static_cast<std::uint8_t>(b)};
    const ByteText latin = utf8ToLatin1(latin1ToUtf8(one));
    ASSERT_TRUE(latin.ok()) << b << ": " << latin.error;
    EXPECT_EQ(latin.bytes, one) << b;
    const ByteText ansi = utf8ToAnsi(ansiToUtf8(one));
    ASSERT_TRUE(ansi.ok()) << b << ": " << ansi.error;
    EXPECT_EQ(ansi.bytes, one) << b;
  }
}

TEST(ByteText, CharactersWithoutAByteAreRefusedNotTruncated) {
  EXPECT_NE(utf8ToLatin1("\xE2\x82\xAC").error.find("U+20AC"), std::string::npos);
  EXPECT_EQ(utf8ToAnsi("\xE2\x82\xAC").bytes, std::vector<std::uint8_t>{0x80});
  EXPECT_FALSE(utf8ToLatin1("\xF0\x9F\x93\xB7").ok());  // outside the BMP
  EXPECT_FALSE(utf8ToLatin1("\xC3").ok());              // cut-off UTF-8
  EXPECT_FALSE(utf8ToLatin1(std::string("a\0", 2)).ok());
  EXPECT_TRUE(utf8ToLatin1(std::string("a\0", 2), /*allowZero=*/true).ok());
  EXPECT_FALSE(utf8ToAnsi(std::string("a\0", 2)).ok());
}

TEST(ByteText, ControlCharactersAreEscapedForOneLine) {
  EXPECT_EQ(escapeControls("a\nb\tc\x7F"), "a\\x0Ab\\x09c\\x7F");
  EXPECT_EQ(escapeControls("\xC2\x85\xC3\xA9"), "\\x85\xC3\xA9");  // U+0085 escaped, U+00E9 kept
  EXPECT_EQ(escapeControls("plain \\ text"), "plain \\ text");
  // Bytes that are not UTF-8 (a name from a disk in another encoding) are escaped one by one,
  // so that the line stays text; well-formed characters of any length stay.
  EXPECT_EQ(escapeControls("cam\xFF\xC3"), "cam\\xFF\\xC3");
  EXPECT_EQ(escapeControls("\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80"),
            "\\xC0\\xAF|\\xED\\xA0\\x80|\\xF4\\x90\\x80\\x80");
  EXPECT_EQ(escapeControls("\xF0\x9F\x93\xB7 \xE5\xB1\xB1"), "\xF0\x9F\x93\xB7 \xE5\xB1\xB1");
}

}  // namespace
}  // namespace tarnwick::cli
