#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A reader for comma-separated tables as spreadsheets save them.
//
// Fields are separated by commas and records by line ends (CRLF, LF or a lone CR). A field
// that starts with a double quote runs to the next lone double quote: inside it, commas and
// line ends are text and "" stands for one double quote. A UTF-8 byte-order mark at the start
// is dropped. A line end after the last record is optional, and records holding nothing at
// all (blank lines) are skipped.
//
// Refused, naming the line: a double quote inside an unquoted field, anything but a comma or a
// line end after a closing quote, and a quoted field that the end of the input cuts off.
//
// One pass over the input, each byte looked at once; fields are copied out, nothing points
// into the input afterwards. CsvCursor hands out one record at a time, so that a table of a
// million rows can be checked and written without holding all its records.

namespace tarnwick {

struct CsvRecord {
  std::size_t line = 0;  // the line the record starts on, counting from 1
  std::vector<std::string> fields;
};

struct CsvTable {
  std::vector<CsvRecord> records;  // the header is records[0] when the table has one
  std::string error;               // empty when the whole input was read
  std::size_t errorLine = 0;       // the line of the error, counting from 1

  bool ok() const { return error.empty(); }
};

CsvTable readCsv(std::string_view text);

// The records of `text` one after the other, as readCsv reads them.
class CsvCursor {
 public:
  explicit CsvCursor(std::string_view text);
  // The next record; false at the end of the input and at an error (then error() is set).
  bool next(CsvRecord& record);
  const std::string& error() const { return error_; }
  std::size_t errorLine() const { return errorLine_; }

 private:
  bool quotedField();
  void skipLineEnd();
  void endField();
  bool endRecord(CsvRecord& out);
  void fail(std::string why, std::size_t line);

  std::string_view text_;
  std::size_t i_ = 0;
  std::size_t line_ = 1;
  CsvRecord record_;
  std::string field_;
  bool fieldQuoted_ = false;   // the current field was written in quotes
  bool recordQuoted_ = false;  // some field of the current record was
  bool done_ = false;
  std::string error_;
  std::size_t errorLine_ = 0;
};

}  // namespace tarnwick
