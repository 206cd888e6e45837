#include "ui/toolkit/web/PageText.h"

#include <gtest/gtest.h>

namespace tarnwick::tk::web {
namespace {

TEST(PageEventTest, EveryKindParsesWithItsFields) {
  const struct {
    const char* line;
    PageEventKind kind;
  } cases[] = {
      {"3\tclick\t4\t0\t", PageEventKind::Click},   {"3\ttype\t4\t0\tab", PageEventKind::Type},
      {"3\tselect\t4\t2\t", PageEventKind::Select}, {"3\tfocus\t4\t0\t", PageEventKind::Focus},
      {"3\tenter\t-1\t0\t", PageEventKind::Enter},  {"3\tescape\t-1\t0\t", PageEventKind::Escape},
      {"3\tclose\t-1\t0\t", PageEventKind::Close},  {"3\tsyscmd\t-1\t16\t", PageEventKind::SystemCommand},
      {"3\tarrow\t-1\t-1\t", PageEventKind::Arrow},   {"3\tmenu\t-1\t0\t", PageEventKind::MenuKey},
      {"3\tpagefile\t-1\t0\toper-table", PageEventKind::PageFile},
      {"3\tresize\t-1\t0\t", PageEventKind::Resize},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto event = parsePageEvent(c.line);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->window, 3);
    EXPECT_EQ(event->kind, c.kind);
  }
  const auto select = parsePageEvent("12\tselect\t7\t-1\t");
  ASSERT_TRUE(select);
  EXPECT_EQ(select->index, 7);
  EXPECT_EQ(select->number, -1);
  EXPECT_TRUE(select->text.empty());
}

// An edit's text is the rest of the line, whatever it holds: tabs, non-ASCII text, nothing.
TEST(PageEventTest, TypedTextIsTheWholeRestOfTheLine) {
  const auto event = parsePageEvent("1\ttype\t2\t0\ta\tb\xC3\xA9\xE4\xB8\xAD");
  ASSERT_TRUE(event);
  EXPECT_EQ(event->text, u"a\tb\u00E9\u4E2D");
  const auto cleared = parsePageEvent("1\ttype\t2\t0\t");
  ASSERT_TRUE(cleared);
  EXPECT_TRUE(cleared->text.empty());
}

TEST(PageEventTest, MalformedLinesAreRefused) {
  for (const char* line : {"", "1", "1\tclick", "1\tclick\t2", "1\tclick\t2\t0",  // fields missing
                           "x\tclick\t2\t0\t", "1\tclick\t2x\t0\t", "1\tclick\t2\t\t",
                           "1\tpress\t2\t0\t", "1\tCLICK\t2\t0\t", " 1\tclick\t2\t0\t",
                           "99999999999\tclick\t2\t0\t"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(parsePageEvent(line));
  }
}

TEST(PageJsonTest, StringsAreEscapedForJson) {
  EXPECT_EQ(jsonString(std::string_view("plain")), "\"plain\"");
  EXPECT_EQ(jsonString(std::string_view("a\"b\\c")), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(jsonString(std::string_view("\n\t\x01")), "\"\\u000a\\u0009\\u0001\"");
  // Text of the program's own (UTF-16) goes out as UTF-8, unescaped above U+007F.
  EXPECT_EQ(jsonString(std::u16string_view(u"\u00E9</script>")), "\"\xC3\xA9</script>\"");
  EXPECT_EQ(jsonColour(std::nullopt), "null");
  EXPECT_EQ(jsonColour(Rgb{215, 220, 240}), "\"#d7dcf0\"");
}

TEST(PageJsonTest, ControlCarriesItsStateAndLook) {
  ControlState s;
  s.id = 1064;
  s.kind = ControlKind::Edit;
  s.style = kPasswordEdit | kBorder | kRightText;
  s.text = u"12\"34";
  s.enabled = false;
  s.passwordChar = kDefaultPasswordChar;
  s.textLimit = 4;
  ControlLook look;
  look.fill = Rgb{1, 2, 3};
  look.text = Rgb{4, 5, 6};
  look.focus = Rgb{7, 8, 9};
  Accessible said;
  said.role = AccessibleRole::Edit;
  said.name = u"Password";
  said.description = u"SMTP Server";
  said.labelIndex = 4;
  const std::string json = controlJson(5, s, {10, 20, 30, 40}, true, look, said);
  for (const char* part : {"\"index\":5", "\"id\":1064", "\"kind\":\"edit\"", "\"x\":10", "\"y\":20",
                           "\"w\":30", "\"h\":40", "\"text\":\"12\\\"34\"", "\"enabled\":false",
                           "\"visible\":true", "\"tabStop\":true", "\"border\":true",
                           "\"align\":\"right\"", "\"password\":true", "\"limit\":4",
                           "\"look\":{\"fill\":\"#010203\",\"text\":\"#040506\","
                           "\"focus\":\"#070809\",\"native\":false}",
                           "\"said\":{\"role\":\"edit\",\"name\":\"Password\","
                           "\"description\":\"SMTP Server\",\"label\":4}"}) {
    EXPECT_NE(json.find(part), std::string::npos) << part << " in " << json;
  }
  ControlState list;
  list.kind = ControlKind::ComboBox;
  list.items = {u"A", u"B\""};
  list.selection = 1;
  const std::string listJson = controlJson(0, list, {0, 0, 90, 23}, false, {}, {});
  EXPECT_NE(listJson.find("\"items\":[\"A\",\"B\\\"\"]"), std::string::npos) << listJson;
  EXPECT_NE(listJson.find("\"selection\":1"), std::string::npos) << listJson;
  // The text stands 3 pixels in from the left, 17 from the right: the narrow drop button.
  EXPECT_NE(listJson.find("\"field\":[3,17]"), std::string::npos) << listJson;
}

TEST(PageFontTest, SystemDialogFontsFallBackLikeTheDesktop) {
  const std::string fallback = cssFontFamilies("MS Shell Dlg");
  EXPECT_EQ(fallback.rfind("\"DejaVu Sans\"", 0), 0u) << fallback;
  EXPECT_NE(fallback.find("\"Noto Sans CJK SC\""), std::string::npos);
  EXPECT_EQ(fallback.substr(fallback.size() - 10), "sans-serif");
  EXPECT_EQ(cssFontFamilies(""), fallback);
  EXPECT_EQ(cssFontFamilies("\xE5\xAE\x8B\xE4\xBD\x93"), fallback);
  // Any other font is asked for first, quoted.
  EXPECT_EQ(cssFontFamilies("Arial \"Narrow\""), "\"Arial \\\"Narrow\\\"\", " + fallback);
  EXPECT_EQ(fontPixels(9), 12);
  EXPECT_EQ(fontPixels(8), 11);
  EXPECT_EQ(fontPixels(0), 11);
}

TEST(PageFilterTest, FiltersBecomePickerTypes) {
  EXPECT_EQ(pickerTypesJson(u"Config File(*.cfg)|*.cfg||"),
            "[{\"description\":\"Config File(*.cfg)\",\"extensions\":[\".cfg\"]}]");
  EXPECT_EQ(pickerTypesJson(u"Config(*.cfg;*.bin)|*.cfg; *.bin|Db|*.db||"),
            "[{\"description\":\"Config(*.cfg;*.bin)\",\"extensions\":[\".cfg\",\".bin\"]},"
            "{\"description\":\"Db\",\"extensions\":[\".db\"]}]");
  // The pickers offer every file besides the types: an every-file entry is left to them.
  EXPECT_EQ(pickerTypesJson(u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||"),
            pickerTypesJson(u"Config file(*.cfg)|*.cfg||"));
  // A pattern that is no plain extension lets every file through.
  EXPECT_EQ(pickerTypesJson(u"Config|*.cfg|Any|menu?.cfg||"), "[]");
  EXPECT_EQ(pickerTypesJson(u""), "[]");
}

}  // namespace
}  // namespace tarnwick::tk::web
