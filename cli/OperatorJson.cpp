#include "cli/OperatorJson.h"

#include <array>
#include <iomanip>

#include "cli/ByteText.h"
#include "cli/JsonDocument.h"
#include "config/FieldCatalog.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kMaxCountries = 255;

// Fields 1 to 9 take the names of the settings fields they fill.
const std::array<const FieldInfo*, OperatorEntry::kFieldCount> kFeeds{
    nullptr,          &fields::mmsApn,      &fields::mmsAccount, &fields::mmsPassword,
    &fields::dataApn, &fields::dataAccount, &fields::dataPassword, &fields::mmscUrl,
    &fields::mmsProxy, &fields::mmsPort};

std::string text(std::span<const std::uint8_t> field) { return ansiToUtf8(fieldText(field)); }

std::string countText(std::size_t n, std::string_view what) {
  return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

// A text for a fixed-width table field, or the reason it does not fit.
std::optional<std::string> readText(const Json& value, std::span<std::uint8_t> field) {
  if (!value.is_string()) return std::string("expected a string");
  const ByteText bytes = utf8ToAnsi(value.get<std::string>());
  if (!bytes.ok()) return bytes.error;
  // Every field keeps a terminating zero byte.
  if (bytes.bytes.size() >= field.size()) {
    return "longer than " + std::to_string(field.size() - 1) + " bytes";
  }
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy(bytes.bytes.begin(), bytes.bytes.end(), field.begin());
  return std::nullopt;
}

std::optional<std::string> checkIndex(const Json& object, std::size_t position,
                                      const std::string& path) {
  const auto index = object.find("index");
  if (index == object.end()) return std::nullopt;
  if (!index->is_number_integer() || index->get<std::int64_t>() < 0 ||
      static_cast<std::uint64_t>(index->get<std::int64_t>()) != position) {
    return path + ".index: expected " + std::to_string(position) + ", the position in the list";
  }
  return std::nullopt;
}

std::optional<std::string> readOperator(const Json& value, std::size_t position,
                                        const std::string& path, OperatorEntry& row) {
  if (!value.is_object()) return path + ": expected an object";
  for (const auto& [key, v] : value.items()) {
    bool known = key == "index";
    for (std::size_t f = 0; f < OperatorEntry::kFieldCount && !known; ++f) {
      known = key == operatorFieldName(f);
    }
    if (!known) return jsonPathKey(path, key) + ": unknown key";
  }
  if (auto e = checkIndex(value, position, path)) return e;
  for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
    const std::string name(operatorFieldName(f));
    const auto v = value.find(name);
    if (v == value.end()) {
      if (f == 0) return jsonPathKey(path, name) + ": missing";
      continue;  // an empty field
    }
    if (auto e = readText(*v, row.field(f))) return jsonPathKey(path, name) + ": " + *e;
  }
  return std::nullopt;
}

std::optional<std::string> readCountry(const Json& value, std::size_t position,
                                       const std::string& path, CountryEntry& country) {
  if (!value.is_object()) return path + ": expected an object";
  for (const auto& [key, v] : value.items()) {
    if (key != "index" && key != "name" && key != "operators") {
      return jsonPathKey(path, key) + ": unknown key";
    }
  }
  if (auto e = checkIndex(value, position, path)) return e;
  const auto name = value.find("name");
  if (name == value.end()) return path + ".name: missing";
  if (auto e = readText(*name, country.name)) return path + ".name: " + *e;
  const auto operators = value.find("operators");
  if (operators == value.end()) return path + ".operators: missing";
  if (!operators->is_array()) return path + ".operators: expected an array";
  if (operators->size() > CountryEntry::kLoadedOperatorRows) {
    return path + ".operators: " + countText(operators->size(), "operator") +
           "; an oper.db country holds at most 32";
  }
  country.operators.assign(operators->size(), OperatorEntry{});
  for (std::size_t i = 0; i < operators->size(); ++i) {
    const std::string rowPath = jsonPathIndex(path + ".operators", i);
    if (auto e = readOperator((*operators)[i], i, rowPath, country.operators[i])) return e;
  }
  country.operatorCount = static_cast<std::uint32_t>(operators->size());
  return std::nullopt;
}

}  // namespace

std::string_view operatorFieldName(std::size_t number) {
  if (number == 0) return "name";
  if (number < kFeeds.size()) return kFeeds[number]->name;
  return {};
}

void writeOperatorListing(std::ostream& out, const OperatorTable& table) {
  const auto countries = table.countries();
  for (std::size_t c = 0; c < countries.size(); ++c) {
    out << c << "  " << escapeControls(text(countries[c].name)) << "\n";
    const auto operators = countries[c].listedOperators();
    for (std::size_t o = 0; o < operators.size(); ++o) {
      out << "    " << o << "  " << escapeControls(text(operators[o].name)) << "\n";
      for (std::size_t f = 1; f < OperatorEntry::kFieldCount; ++f) {
        const std::string value = text(operators[o].field(f));
        if (value.empty()) continue;
        out << "        " << std::left << std::setw(14) << operatorFieldName(f) << std::right
            << escapeControls(value) << "\n";
      }
    }
  }
}

std::string operatorTableJson(const OperatorTable& table) {
  Json countriesJson = Json::array();
  const auto countries = table.countries();
  for (std::size_t c = 0; c < countries.size(); ++c) {
    Json operatorsJson = Json::array();
    const auto operators = countries[c].listedOperators();
    for (std::size_t o = 0; o < operators.size(); ++o) {
      Json row = Json::object();
      row["index"] = o;
      for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
        row[std::string(operatorFieldName(f))] = text(operators[o].field(f));
      }
      operatorsJson.push_back(std::move(row));
    }
    Json country = Json::object();
    country["index"] = c;
    country["name"] = text(countries[c].name);
    country["operators"] = std::move(operatorsJson);
    countriesJson.push_back(std::move(country));
  }
  Json doc = Json::object();
  doc["countries"] = std::move(countriesJson);
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

OperatorTableImport importOperatorTableJson(std::string_view textIn) {
  OperatorTableImport result;
  if (textIn.size() > kMaxOperatorJsonBytes) {
    result.error = "$: " + std::to_string(textIn.size()) +
                   " bytes, more than the 24 MiB the largest operator table needs";
    return result;
  }
  // Twice the document's largest containers (an operator's index and ten fields; 255
  // countries), so that a few too many are still refused by name below.
  JsonLimits limits;
  limits.members = 2 * (1 + OperatorEntry::kFieldCount);
  limits.elements = 2 * kMaxCountries;
  JsonDocument parsed = parseJsonDocument(textIn, limits);
  if (!parsed.value) {
    result.error = parsed.error;
    return result;
  }
  const Json& doc = *parsed.value;
  if (!doc.is_object()) {
    result.error = "$: expected an object";
    return result;
  }
  for (const auto& [key, v] : doc.items()) {
    if (key != "countries") {
      result.error = jsonPathKey("$", key) + ": unknown key";
      return result;
    }
  }
  const auto countries = doc.find("countries");
  if (countries == doc.end()) {
    result.error = "$.countries: missing";
    return result;
  }
  if (!countries->is_array() || countries->empty() || countries->size() > kMaxCountries) {
    result.error = "$.countries: expected an array of 1 to 255 countries";
    return result;
  }
  std::vector<CountryEntry> rows(countries->size());
  for (std::size_t c = 0; c < countries->size(); ++c) {
    if (auto e = readCountry((*countries)[c], c, jsonPathIndex("$.countries", c), rows[c])) {
      result.error = *e;
      return result;
    }
  }
  result.countries = std::move(rows);
  return result;
}

}  // namespace tarnwick::cli
