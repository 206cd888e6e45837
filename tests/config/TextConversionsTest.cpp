#include "config/TextConversions.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tarnwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FieldTextTest, ReadingSkipsZerosSignExtendsAndTrimsTrailingSpaces) {
  struct Case {
    Bytes field;
    FormText text;
  };
  const Case cases[] = {
      {Bytes(8, 0x00), u""},
      {Bytes(8, 0x20), u""},
      {{'A', 'B', 0, 'C', ' ', ' ', 0, 0}, u"ABC"},
      {{'A', 'B', 0, 'C', 'D'}, u"ABCD"},
      {{' ', ' ', 'A', 'B', ' ', ' ', 0, 0}, u"  AB"},
      {{'A', ' ', 0, ' ', 'B'}, u"A  B"},
      {{'\t', ' '}, u"\t"},  // only spaces are trimmed
      {{0xE9, 0x80, 0xFF}, u"\uFFE9\uFF80\uFFFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(fieldToText(c.field), c.text);
}

TEST(FieldTextTest, WritingZeroPadsKeepsLowBytesAndStopsAtTheWidth) {
  struct Case {
    FormText text;
    std::size_t width;
    Bytes field;
  };
  const Case cases[] = {
      {u"ABC", 8, {'A', 'B', 'C', 0, 0, 0, 0, 0}},
      {u"ABCDE", 5, {'A', 'B', 'C', 'D', 'E'}},
      {u"ABCDEFG", 5, {'A', 'B', 'C', 'D', 'E'}},  // cut, never past the field
      {u"\uFFE9\u4E2D\u0100", 3, {0xE9, 0x2D, 0x00}},
      {u"", 2, {0, 0}},
  };
  for (const Case& c : cases) {
    Bytes field(c.width, 0x20);
    textToField(c.text, field);
    EXPECT_EQ(field, c.field);
  }
  // Every byte value but 0 comes back unchanged through a load and a store.
  Bytes all(255);
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::uint8_t>(i + 1);
  all.back() = 'x';  // keep the last byte from being a trimmed space
  Bytes back(all.size());
  textToField(fieldToText(all), back);
  EXPECT_EQ(back, all);
}

TEST(TrimTest, EachTrimRemovesOnlyItsOwnRun) {
  FormText t = u"  a b  ";
  EXPECT_EQ(trimTrailingSpaces(t), u"  a b");
  t = u"\t\r\n\v\f \u3000\u2028x y\u00A0\u2007\u202F \t";
  EXPECT_EQ(trimWhitespace(t), u"x y\u00A0\u2007\u202F");  // no-break spaces are content
  t = u" \t ";
  EXPECT_EQ(trimWhitespace(t), u"");
  t = u"000120";
  EXPECT_EQ(trimLeadingChar(t, u'0'), u"120");
  t = u"0000";
  EXPECT_EQ(trimLeadingChar(t, u'0'), u"");
  t = u"a-b--c-";
  EXPECT_EQ(removeChar(t, u'-'), u"abc");
  EXPECT_EQ(&removeChar(t, u'x'), &t);  // in place, returned
}

TEST(DigitCodeTest, TextStoresFourDigitValues) {
  struct Case {
    FormText text;
    std::array<std::uint8_t, 4> digits;
  };
  const Case cases[] = {
      {u"12", {0, 0, 1, 2}},    {u"0042", {0, 0, 4, 2}}, {u"7x", {0, 0, 0, 7}},
      {u"ab", {0, 0, 0, 0}},    {u" 8", {0, 0, 0, 8}},   {u"9999", {9, 9, 9, 9}},
      {u"+15", {0, 0, 1, 5}},   {u"2025", {2, 0, 2, 5}}, {u"", {0, 0, 0, 0}},
      // Not a code: a negative number or more than four digits stores "no number set"
      // instead of bytes outside 0-9.
      {u"-5", {0, 0, 0, 0}},    {u"-999", {0, 0, 0, 0}}, {u"12345", {0, 0, 0, 0}},
      {u"99999999999999999999", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::array<std::uint8_t, 4> digits{7, 7, 7, 7};
    textToDigitCode(c.text, digits);
    EXPECT_EQ(digits, c.digits) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(DigitCodeTest, DigitsShowAsFourCharactersAndForeignBytesAsQuestionMarks) {
  struct Case {
    std::array<std::uint8_t, 4> digits;
    FormText text;
  };
  const Case cases[] = {
      {{0, 0, 0, 0}, u"0000"}, {{0, 0, 4, 2}, u"0042"},   {{9, 9, 9, 9}, u"9999"},
      {{0, 0, 0, 0xFB}, u"000?"}, {{10, 0, 0, 0}, u"?000"}, {{1, 2, 0x0C, 4}, u"12?4"},
  };
  for (const Case& c : cases) EXPECT_EQ(digitCodeToText(c.digits), c.text);
}

TEST(ClockTest, PackedValuesAndTheirUnpacking) {
  EXPECT_EQ(packHourMinute(23, 59), 0x173Bu);
  EXPECT_EQ(packHourMinute(255, 255), 0xFFFFu);
  EXPECT_EQ(packHourMinuteSecond(1, 2, 3), 0x10203u);
  EXPECT_EQ(packHourMinuteSecond(255, 255, 255), 0xFFFFFFu);
  std::uint8_t h = 0, m = 0, s = 0;
  unpackHourMinute(0xABCD173Bu, h, m);  // upper bytes ignored
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 59);
  unpackHourMinuteSecond(0xFF010203u, h, m, s);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(s, 3);
}

TEST(Utf8Test, RoundTripsAndReplacesMalformedInput) {
  EXPECT_EQ(fromUtf8("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"A\u00E9\u4E2D\U0001F600");
  EXPECT_EQ(toUtf8(u"A\u00E9\u4E2D\U0001F600"), "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");     // overlong
  EXPECT_EQ(fromUtf8("\xED\xA0\x80x"), u"\uFFFDx");     // encoded surrogate
  EXPECT_EQ(fromUtf8("a\xE4\xB8"), u"a\uFFFD");         // truncated at the end
  EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), u"\uFFFD");   // above U+10FFFF
  EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(widenAscii("Off\x80"), u"Off\uFFFD");
}

}  // namespace
}  // namespace tarnwick
