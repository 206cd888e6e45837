// The CSV reader on what spreadsheets write: quoting, line ends, a byte-order mark, and the
// malformed inputs it must refuse with the right line.

#include <gtest/gtest.h>

#include "fleet/CsvReader.h"

namespace tarnwick {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const CsvTable& table) {
  Rows rows;
  for (const CsvRecord& r : table.records) rows.push_back(r.fields);
  return rows;
}

TEST(CsvReader, QuotedFieldsHoldCommasQuotesAndLineEnds) {
  const CsvTable t = readCsv("camera,orgName\n\"Ridge, North\",\"say \"\"hi\"\"\"\n"
                             "\"two\nlines\",\"\"\n");
  ASSERT_TRUE(t.ok()) << t.error;
  EXPECT_EQ(rowsOf(t), (Rows{{"camera", "orgName"}, {"Ridge, North", "say \"hi\""},
                             {"two\nlines", ""}}));
  // A record's line is where it starts; a line end inside quotes counts.
  EXPECT_EQ(t.records[1].line, 2u);
  EXPECT_EQ(t.records[2].line, 3u);
}

TEST(CsvReader, EveryLineEndAndAByteOrderMarkReadTheSame) {
  const Rows expected{{"a", "b"}, {"1", "2"}};
  for (const char* text : {"a,b\n1,2\n", "a,b\r\n1,2\r\n", "a,b\r1,2\r", "a,b\n1,2",
                           "\xEF\xBB\xBF" "a,b\r\n1,2\r\n", "a,b\n\n1,2\n\n\n"}) {
    SCOPED_TRACE(text);
    const CsvTable t = readCsv(text);
    ASSERT_TRUE(t.ok()) << t.error;
    EXPECT_EQ(rowsOf(t), expected);
  }
  // CRLF inside quotes is kept as written; the line count still advances once.
  const CsvTable t = readCsv("x\r\n\"a\r\nb\"\r\ny\r\n");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(rowsOf(t), (Rows{{"x"}, {"a\r\nb"}, {"y"}}));
  EXPECT_EQ(t.records[2].line, 4u);
}

TEST(CsvReader, EmptyFieldsAreKeptAndAQuotedEmptyLineIsARecord) {
  const CsvTable t = readCsv(",\na,,\n\"\"\n");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(rowsOf(t), (Rows{{"", ""}, {"a", "", ""}, {""}}));
  EXPECT_TRUE(readCsv("").records.empty());
  EXPECT_TRUE(readCsv("\xEF\xBB\xBF").records.empty());
  // Only a leading mark is dropped; the same bytes later are text.
  EXPECT_EQ(rowsOf(readCsv("a\n\xEF\xBB\xBF" "b\n")), (Rows{{"a"}, {"\xEF\xBB\xBF" "b"}}));
}

TEST(CsvReader, MalformedQuotingIsRefusedWithItsLine) {
  struct Case {
    const char* text;
    const char* error;
    std::size_t line;
  };
  for (const Case& c : {Case{"a,b\n1,\"open\n\n", "never closed", 2},
                        Case{"a\nb\"c\n", "does not start with one", 2},
                        Case{"a\n\"x\"y\n", "after the closing quote", 2},
                        Case{"\"a\nb\" c\n", "after the closing quote", 2},
                        Case{"\"", "never closed", 1}}) {
    SCOPED_TRACE(c.text);
    const CsvTable t = readCsv(c.text);
    EXPECT_FALSE(t.ok());
    EXPECT_NE(t.error.find(c.error), std::string::npos) << t.error;
    EXPECT_EQ(t.errorLine, c.line);
  }
}

TEST(CsvReader, BytesAreKeptAsTheyAre) {
  // UTF-8, tabs, spaces around fields and a zero byte: the reader interprets none of them.
  const std::string text = std::string("  \xC3\xA9t\xC3\xA9\t , x") + '\0' + "y\n";
  const CsvTable t = readCsv(text);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(rowsOf(t), (Rows{{"  \xC3\xA9t\xC3\xA9\t ", std::string(" x") + '\0' + "y"}}));
}

}  // namespace
}  // namespace tarnwick
