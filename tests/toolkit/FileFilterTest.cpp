// The file-dialog filter as the program writes it, read into names and patterns, and the
// program's icon as every backend finds it.

#include "ui/toolkit/FileFilter.h"

#include "resources/Icons.h"
#include "resources/Strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::tk {
namespace {

using Entries = std::vector<FileFilterEntry>;

TEST(FileFilterParse, NamesAndPatternsInPairs) {
  EXPECT_EQ(parseFileFilter(u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||"),
            (Entries{{u"Config file(*.cfg)", {u"*.cfg"}}, {u"All files(*.*)", {u"*.*"}}}));
  EXPECT_EQ(parseFileFilter(u"Pictures|*.jpg;*.png||"),
            (Entries{{u"Pictures", {u"*.jpg", u"*.png"}}}));
  // Without the closing "||" the last pair still counts.
  EXPECT_EQ(parseFileFilter(u"Config file(*.cfg)|*.cfg"),
            (Entries{{u"Config file(*.cfg)", {u"*.cfg"}}}));
}

TEST(FileFilterParse, EmptyNamesPatternsAndDanglingNamesAreSkipped) {
  EXPECT_EQ(parseFileFilter(u"Nothing||Config|*.cfg|Dangling"), (Entries{{u"Config", {u"*.cfg"}}}));
  EXPECT_TRUE(parseFileFilter(u"").empty());
  EXPECT_TRUE(parseFileFilter(u"||||").empty());
  EXPECT_TRUE(parseFileFilter(u"|*.cfg||").empty());
  // White space around names and patterns goes, also Unicode's no-break space.
  EXPECT_EQ(parseFileFilter(u"Spaces| *.a ; ;*.b |"), (Entries{{u"Spaces", {u"*.a", u"*.b"}}}));
  EXPECT_EQ(parseFileFilter(u"\u00A0Cfg\t|\u3000*.cfg\u00A0||"), (Entries{{u"Cfg", {u"*.cfg"}}}));
}

TEST(FileFilterParse, EveryFilePatterns) {
  EXPECT_TRUE(matchesEveryFile(u"*.*"));
  EXPECT_TRUE(matchesEveryFile(u"*"));
  EXPECT_FALSE(matchesEveryFile(u"*.cfg"));
  EXPECT_FALSE(matchesEveryFile(u""));
}

TEST(IconDescription, TheApplicationIconNamesFilesThatExistInGrowingSizes) {
  const resources::IconDescription* icon = resources::findIcon(resources::kIconApplication);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->resourceId, resources::kIconApplication);
  ASSERT_FALSE(icon->images.empty());
  int previous = 0;
  for (const resources::IconImage& image : icon->images) {
    SCOPED_TRACE(std::string(image.file));
    EXPECT_GT(image.pixels, previous);
    previous = image.pixels;
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(TARNWICK_ICONS_DIR) /
                                                 std::string(image.file)));
  }
  EXPECT_EQ(resources::findIcon(0), nullptr);
  EXPECT_EQ(resources::findIcon(resources::kIconApplication + 1), nullptr);
}

}  // namespace
}  // namespace tarnwick::tk
