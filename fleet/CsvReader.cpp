#include "fleet/CsvReader.h"

#include <utility>

namespace tarnwick {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

CsvCursor::CsvCursor(std::string_view text) : text_(text) {
  if (text_.substr(0, kUtf8Bom.size()) == kUtf8Bom) text_.remove_prefix(kUtf8Bom.size());
  record_.line = line_;
}

bool CsvCursor::next(CsvRecord& out) {
  while (!done_ && i_ < text_.size()) {
    const char c = text_[i_];
    if (c == '"' && field_.empty() && !fieldQuoted_) {
      if (!quotedField()) return false;
    } else if (c == ',') {
      endField();
      ++i_;
    } else if (c == '\n' || c == '\r') {
      skipLineEnd();
      if (endRecord(out)) return true;
    } else if (c == '"') {
      fail("a double quote inside a field that does not start with one", line_);
      return false;
    } else {
      field_.push_back(c);
      ++i_;
    }
  }
  if (done_) return false;
  done_ = true;
  // The last record, when the input does not end with a line end.
  return (!field_.empty() || fieldQuoted_ || !record_.fields.empty()) && endRecord(out);
}

// From the opening quote at i_ to just after the closing one.
bool CsvCursor::quotedField() {
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

void CsvCursor::skipLineEnd() {
  if (text_[i_] == '\r' && i_ + 1 < text_.size() && text_[i_ + 1] == '\n') ++i_;
  ++i_;
  ++line_;
}

void CsvCursor::endField() {
  record_.fields.push_back(std::move(field_));
  field_.clear();
  fieldQuoted_ = false;
}

// Ends the record; true when it is one (a blank line is none: a line holding only "" is a
// record of one empty field) and has been handed to `out`.
bool CsvCursor::endRecord(CsvRecord& out) {
  endField();
  const bool blank =
      record_.fields.size() == 1 && record_.fields.front().empty() && !recordQuoted_;
  if (!blank) out = std::move(record_);
  record_ = CsvRecord{};
  record_.line = line_;
  recordQuoted_ = false;
  return !blank;
}

void CsvCursor::fail(std::string why, std::size_t line) {
  error_ = std::move(why);
  errorLine_ = line;
  done_ = true;
}

CsvTable readCsv(std::string_view text) {
  CsvTable table;
  CsvCursor cursor(text);
  CsvRecord record;
  while (cursor.next(record)) table.records.push_back(std::move(record));
  table.error = cursor.error();
  table.errorLine = cursor.errorLine();
  return table;
}

}  // namespace tarnwick
