#include "fleet/CsvReader.h"

#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The reader's state over one pass of the input.
class CsvScan {
 public:
  explicit CsvScan(std::string_view text) : text_(text) {}

  CsvTable run() {
    record_.line = line_;
    while (i_ < text_.size()) {
      const char c = text_[i_];
      if (c == '"' && field_.empty() && !fieldQuoted_) {
        if (!quotedField()) return std::move(table_);
      } else if (c == ',') {
        endField();
        ++i_;
      } else if (c == '\n' || c == '\r') {
        skipLineEnd();
        endRecord();
      } else if (c == '"') {
        fail("a double quote inside a field that does not start with one", line_);
        return std::move(table_);
      } else {
        field_.push_back(c);
        ++i_;
      }
    }
    // The last record, when the input does not end with a line end.
    if (!field_.empty() || fieldQuoted_ || !record_.fields.empty()) endRecord();
    return std::move(table_);
  }

 private:
  // From the opening quote at i_ to just after the closing one.
  bool quotedField() {
    const std::size_t startLine = line_;
    ++i_;
    while (true) {
      if (i_ >= text_.size()) {
        fail("a quoted field that is never closed", startLine);
        return false;
      }
      const char q = text_[i_];
      if (q == '"') {
        if (i_ + 1 < text_.size() && text_[i_ + 1] == '"') {
          field_.push_back('"');
          i_ += 2;
          continue;
        }
        ++i_;
        break;
      }
      // A line end inside quotes is text; CRLF counts as one line.
      if (q == '\n' || (q == '\r' && !(i_ + 1 < text_.size() && text_[i_ + 1] == '\n'))) ++line_;
      field_.push_back(q);
      ++i_;
    }
    fieldQuoted_ = true;
    recordQuoted_ = true;
    if (i_ < text_.size() && text_[i_] != ',' && text_[i_] != '\n' && text_[i_] != '\r') {
      fail("text after the closing quote of a field", line_);
      return false;
    }
    return true;
  }

  void skipLineEnd() {
    if (text_[i_] == '\r' && i_ + 1 < text_.size() && text_[i_ + 1] == '\n') ++i_;
    ++i_;
    ++line_;
  }

  void endField() {
    record_.fields.push_back(std::move(field_));
    field_.clear();
    fieldQuoted_ = false;
  }

  void endRecord() {
    endField();
    // A blank line is no record; a line holding only "" is a record of one empty field.
    const bool blank =
        record_.fields.size() == 1 && record_.fields.front().empty() && !recordQuoted_;
    if (!blank) table_.records.push_back(std::move(record_));
    record_ = CsvRecord{};
    record_.line = line_;
    recordQuoted_ = false;
  }

  void fail(std::string why, std::size_t line) {
    table_.error = std::move(why);
    table_.errorLine = line;
  }

  std::string_view text_;
  std::size_t i_ = 0;
  std::size_t line_ = 1;
  CsvTable table_;
  CsvRecord record_;
  std::string field_;
  bool fieldQuoted_ = false;   // the current field was written in quotes
  bool recordQuoted_ = false;  // some field of the current record was
};

}  // namespace

CsvTable readCsv(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return CsvScan(text).run();
}

}  // namespace tarnwick
