#include "network/OperatorDb.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "config/Codec.h"
#include "config/FileAccess.h"
#include "config/FileIO.h"
#include "config/Utf8Path.h"

namespace tarnwick {

namespace {

// Copies `text` into the first bytes of `field`; the rest of the field keeps what it held, so
// a second, shorter text leaves the end of the first one in place. At most field.size() - 1
// bytes are copied, so the field's last byte stays zero and its text stays terminated.
void overwriteStart(std::span<std::uint8_t> field, std::span<const std::uint8_t> text) {
  if (field.empty()) return;
  const std::size_t n = std::min(text.size(), field.size() - 1);
  std::copy_n(text.begin(), n, field.begin());
}

class Scanner {
 public:
  Scanner(std::span<const std::uint8_t> data, std::vector<CountryEntry>& countries)
      : data_(data), countries_(countries) {}

  void run() {
    std::size_t p = 2;
    while (p < data_.size()) {
      if (data_[p] != kOperatorDbMark || p + 1 >= data_.size()) {
        ++p;
        continue;
      }
      std::optional<std::size_t> next;
      switch (data_[p + 1]) {
        case kOperatorDbCountryTag: next = countryItem(p); break;
        case kOperatorDbOperatorTag: next = operatorItem(p); break;
        case kOperatorDbFieldTag: next = fieldItem(p); break;
        case kOperatorDbEndTag: next = endItem(p); break;
        default: next = p + 1; break;
      }
      if (!next) return;  // an item cut off by the end of the data ends the scan
      p = *next;
    }
  }

 private:
  // Number of bytes from `p` to the end of the data.
  std::size_t remaining(std::size_t p) const { return data_.size() - p; }

  // Row `row` of `country`, creating it and the rows before it (all zero) on first use. Rows
  // are made only when a field item or an end item reaches them, so a header announcing 255
  // countries costs nothing until the file fills them in. The first row reserves room for all
  // 32, so a country filled row by row is never moved.
  static OperatorEntry& rowFor(CountryEntry& country, std::size_t row) {
    if (country.operators.size() <= row) {
      country.operators.reserve(CountryEntry::kLoadedOperatorRows);
      country.operators.resize(row + 1);
    }
    return country.operators[row];
  }

  CountryEntry* currentCountry() {
    return current_ ? &countries_[*current_] : nullptr;
  }

  std::optional<std::size_t> countryItem(std::size_t p) {
    if (remaining(p) < 4) return std::nullopt;
    const std::size_t k = data_[p + 2];
    const std::size_t length = data_[p + 3];
    if (remaining(p) - 4 < length) return std::nullopt;
    if (k >= 1 && k <= countries_.size()) {
      current_ = k - 1;
      overwriteStart(countries_[k - 1].name, data_.subspan(p + 4, length));
    } else {
      current_.reset();  // its operators and fields belong to no country
    }
    row_ = -1;
    // Resume at the length byte: the name's bytes are scanned like any others.
    return p + 3;
  }

  std::optional<std::size_t> operatorItem(std::size_t p) {
    // Counting stops mattering beyond the last row an end item may name; holding it there
    // keeps the counter small whatever the file repeats.
    if (row_ <= static_cast<std::int64_t>(CountryEntry::kLoadedOperatorRows)) ++row_;
    field_ = 0;
    return p + 2;
  }

  std::optional<std::size_t> fieldItem(std::size_t p) {
    if (remaining(p) < 3) return std::nullopt;
    const std::size_t length = data_[p + 2];
    if (remaining(p) - 3 < length) return std::nullopt;
    CountryEntry* country = currentCountry();
    if (country != nullptr && row_ >= 0 &&
        row_ < static_cast<std::int64_t>(CountryEntry::kLoadedOperatorRows) &&
        field_ < OperatorEntry::kFieldCount) {
      overwriteStart(rowFor(*country, static_cast<std::size_t>(row_)).field(field_),
                     data_.subspan(p + 3, length));
    }
    ++field_;
    return p + 3 + length;
  }

  std::optional<std::size_t> endItem(std::size_t p) {
    CountryEntry* country = currentCountry();
    if (country != nullptr && row_ >= 0 &&
        row_ <= static_cast<std::int64_t>(CountryEntry::kLoadedOperatorRows)) {
      country->operatorCount = static_cast<std::uint32_t>(row_);
      if (row_ > 0) rowFor(*country, static_cast<std::size_t>(row_ - 1));  // listed rows exist
    }
    return p + 2;
  }

  std::span<const std::uint8_t> data_;
  std::vector<CountryEntry>& countries_;
  // Items before the first country item belong to the first country.
  std::optional<std::size_t> current_ = 0;
  std::int64_t row_ = -1;  // -1: no operator row open
  std::size_t field_ = 0;
};

}  // namespace

OperatorTable& programOperatorTable() {
  static OperatorTable table;
  return table;
}

void resetOperatorTable(OperatorTable& table) { table.useBuiltIn(); }
void resetOperatorTable() { resetOperatorTable(programOperatorTable()); }

bool parseOperatorDb(OperatorTable& table, std::span<const std::uint8_t> decoded) {
  if (decoded.size() < 2 || decoded[0] != kOperatorDbMark || decoded[1] == 0) return false;
  std::vector<CountryEntry> countries(decoded[1]);
  Scanner(decoded, countries).run();
  table.adopt(std::move(countries));
  return true;
}

std::optional<FileError> loadOperatorDb(OperatorTable& table, const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes;
  if (auto error = fileAccess().readWholeFile(utf8FromPath(path), kMaxOperatorDbSize, bytes)) {
    // readWholeFile reports an oversized file as a read error before reading anything; tell
    // the two apart for callers that report what happened.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxOperatorDbSize) error->kind = FileErrorKind::TooLarge;
    return error;
  }
  if (bytes.size() <= 2) {
    return FileError{utf8FromPath(path), "The file is shorter than expected", 0, FileErrorKind::TooShort};
  }
  negateBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  if (!parseOperatorDb(table, bytes)) {
    return FileError{utf8FromPath(path), "Not an operator database", 0, FileErrorKind::NotUsable};
  }
  return std::nullopt;
}

std::optional<FileError> loadOperatorDb() { return loadOperatorDb(programOperatorTable()); }

std::string operatorDbRefusal(const FileError& error) {
  switch (error.kind) {
    case FileErrorKind::TooShort: return "too short to be an operator database (2 bytes or fewer)";
    case FileErrorKind::TooLarge: return "too large to be an operator database";
    case FileErrorKind::NotUsable:
      return "not an operator database (no file mark, or no countries)";
    case FileErrorKind::CannotOpen:
    case FileErrorKind::ReadError:
    case FileErrorKind::SaveError:
      break;
  }
  return "cannot be read: " + error.reason;
}

void releaseOperatorTable(OperatorTable& table) { table.release(); }
void releaseOperatorTable() { releaseOperatorTable(programOperatorTable()); }

}  // namespace tarnwick
