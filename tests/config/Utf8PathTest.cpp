// Paths made from the program's UTF-8 names, and back: the name typed is the file the system
// opens, whatever the code page, and what comes back is the name typed.

#include <gtest/gtest.h>

#include <fstream>

#include "ScratchDir.h"
#include "config/FileIO.h"
#include "config/Utf8Path.h"

namespace tarnwick {
namespace {

const std::string kUmlaut = "Kamera-\xC3\xB6.cfg";                 // Kamera-ö.cfg
const std::string kCjk = "\xE7\x9B\xB8\xE6\x9C\xBA-\xE4\xB8\x81.cfg";  // 相机-丁.cfg
const std::string kEmoji = "Wild \xF0\x9F\xA6\x8C.cfg";            // U+1F98C, a surrogate pair

TEST(Utf8Path, NamesRoundTripAndNameTheFileTheFileLayerOpens) {
  testing::ScratchDir dir;
  for (const std::string& name : {kUmlaut, kCjk, kEmoji}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(utf8FromPath(pathFromUtf8(name)), name);
    // Written through the path, read through the file layer by the UTF-8 name.
    const std::filesystem::path file = dir.path() / pathFromUtf8(name);
    std::ofstream(file, std::ios::binary) << "x";
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(readWholeFile(utf8FromPath(dir.path()) + "/" + name, 10, bytes));
    EXPECT_EQ(bytes, std::vector<std::uint8_t>{'x'});
    EXPECT_EQ(utf8FromPath(file.filename()), name);
  }
  const std::filesystem::path joined =
      pathFromUtf8("Karten-\xC3\xBC") / pathFromUtf8("H\xC3\xBCtte") / "menu.cfg";
  EXPECT_EQ(utf8FromPath(joined.parent_path().filename()), "H\xC3\xBCtte");
}

TEST(Utf8Path, BytesThatAreNotUtf8) {
#ifdef _WIN32
  // Windows names are UTF-16: a malformed sequence becomes U+FFFD, never an exception.
  EXPECT_EQ(pathFromUtf8("a\xFF" "b.cfg").native(), L"a\uFFFDb.cfg");
  EXPECT_EQ(pathFromUtf8(kCjk).native(), L"\u76F8\u673A-\u4E01.cfg");
#else
  // A Linux name is bytes; one that is not UTF-8 still names its own file.
  EXPECT_EQ(pathFromUtf8("a\xFF" "b.cfg").native(), "a\xFF" "b.cfg");
  EXPECT_EQ(utf8FromPath(std::filesystem::path("a\xFF" "b.cfg")), "a\xFF" "b.cfg");
#endif
}

}  // namespace
}  // namespace tarnwick
