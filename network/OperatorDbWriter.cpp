#include "network/OperatorDbWriter.h"

#include <string_view>

#include "config/Codec.h"
#include "config/FileAccess.h"
#include "config/FileIO.h"
#include "config/Utf8Path.h"
#include "network/OperatorDb.h"

namespace tarnwick {

namespace {

bool isTag(std::uint8_t b) {
  return b == kOperatorDbCountryTag || b == kOperatorDbOperatorTag || b == kOperatorDbFieldTag ||
         b == kOperatorDbEndTag;
}

// A country name whose bytes the reader would take for an item: the scan walks through names.
bool holdsItem(std::span<const std::uint8_t> name) {
  for (std::size_t i = 0; i + 1 < name.size(); ++i) {
    if (name[i] == kOperatorDbMark && isTag(name[i + 1])) return true;
  }
  return false;
}

// The messages below are built only when something is refused: a table that writes cleanly
// costs no text at all.
std::string countryWhere(std::size_t index) { return "country " + std::to_string(index + 1); }

class Writer {
 public:
  std::string error;
  std::vector<std::uint8_t> out;

  void country(std::size_t index, const CountryEntry& c) {
    const auto name = fieldText(c.name);
    if (!fits(name, c.name.size())) {
      failTooLong(countryWhere(index) + " name", c.name.size());
      return;
    }
    if (holdsItem(name)) {
      fail(countryWhere(index) + " name holds the bytes of an item (0xFF followed by a tag)");
      return;
    }
    if (c.operatorCount > CountryEntry::kLoadedOperatorRows) {
      fail(countryWhere(index) + " lists " + std::to_string(c.operatorCount) +
           " operators; the format carries at most 32");
      return;
    }
    if (c.operatorCount > c.operators.size()) {
      fail(countryWhere(index) + " lists more operators than it has rows");
      return;
    }
    put({kOperatorDbMark, kOperatorDbCountryTag, static_cast<std::uint8_t>(index + 1),
         static_cast<std::uint8_t>(name.size())});
    out.insert(out.end(), name.begin(), name.end());
    const auto listed = c.listedOperators();
    for (std::size_t r = 0; r < listed.size() && error.empty(); ++r) {
      operatorRow(listed[r], index, r);
    }
    // One more operator item than listed rows: the end item sets the count to the number of
    // the last row opened, counting from 0.
    put({kOperatorDbMark, kOperatorDbOperatorTag, kOperatorDbMark, kOperatorDbEndTag});
  }

 private:
  void fail(std::string reason) {
    if (error.empty()) error = std::move(reason);
  }

  // A text fits its field when the field keeps at least one terminating zero byte.
  static bool fits(std::span<const std::uint8_t> text, std::size_t width) {
    return text.size() < width;
  }

  void failTooLong(const std::string& what, std::size_t width) {
    fail(what + " is " + std::to_string(width) + " bytes without a terminating zero; at most " +
         std::to_string(width - 1) + " are allowed");
  }

  void put(std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }

  void operatorRow(const OperatorEntry& row, std::size_t countryIndex, std::size_t rowIndex) {
    std::size_t lastUsed = 0;  // fields 0 .. lastUsed - 1 are written
    for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
      const auto text = fieldText(row.field(f));
      if (!fits(text, OperatorEntry::fieldWidth(f))) {
        failTooLong(countryWhere(countryIndex) + " operator " + std::to_string(rowIndex + 1) +
                        " field " + std::to_string(f),
                    OperatorEntry::fieldWidth(f));
        return;
      }
      if (!text.empty()) lastUsed = f + 1;
    }
    put({kOperatorDbMark, kOperatorDbOperatorTag});
    for (std::size_t f = 0; f < lastUsed; ++f) {
      const auto text = fieldText(row.field(f));
      put({kOperatorDbMark, kOperatorDbFieldTag, static_cast<std::uint8_t>(text.size())});
      out.insert(out.end(), text.begin(), text.end());
    }
  }
};

}  // namespace

OperatorDbBuild buildOperatorDb(const OperatorTable& table) {
  const auto countries = table.countries();
  if (countries.empty()) return {{}, "the table has no countries"};
  if (countries.size() > 255) {
    return {{}, "the table has " + std::to_string(countries.size()) +
                    " countries; the format carries at most 255"};
  }
  Writer w;
  w.out = {kOperatorDbMark, static_cast<std::uint8_t>(countries.size())};
  for (std::size_t i = 0; i < countries.size() && w.error.empty(); ++i) {
    w.country(i, countries[i]);
  }
  if (!w.error.empty()) return {{}, w.error};
  negateBytes(w.out.data(), static_cast<std::uint32_t>(w.out.size()));
  return {std::move(w.out), {}};
}

std::optional<std::string> saveOperatorDb(const OperatorTable& table,
                                          const std::filesystem::path& path) {
  OperatorDbBuild build = buildOperatorDb(table);
  if (!build.ok()) return build.error;
  if (auto failure = fileAccess().save(utf8FromPath(path), build.fileBytes)) {
    return failure->path + ": " + failure->reason;
  }
  return std::nullopt;
}

}  // namespace tarnwick
