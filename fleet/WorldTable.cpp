#include "fleet/WorldTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <string_view>

#include "fleet/CountryNames.h"
#include "network/AnsiText.h"
#include "network/OperatorEntry.h"

namespace tarnwick {

namespace {

constexpr std::size_t kMaxCountries = 255;
constexpr std::size_t kMaxOperators = CountryEntry::kLoadedOperatorRows;
constexpr std::size_t kMaxName = OperatorEntry::kTextWidth - 1;

// Widths of the settings record's fields that the values end up in.
constexpr std::size_t kApnWidth = 32;
constexpr std::size_t kMmscWidth = 50;
constexpr std::size_t kProxyWidth = 15;
constexpr std::size_t kPortWidth = 5;

bool printableAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool fits(std::string_view text, std::size_t width) {
  return text.size() <= width && printableAscii(text);
}

bool validPort(std::string_view port) {
  if (port.empty() || port.size() > kPortWidth) return false;
  if (!std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const long value = std::stol(std::string(port));
  return value >= 1 && value <= 65535;
}

// "http://host/path" and "host/path" are addresses; "http:host" is not.
bool plainOrSchemeSlashes(std::string_view url) {
  std::size_t i = 0;
  while (i < url.size() && std::isalpha(static_cast<unsigned char>(url[i])) != 0) ++i;
  if (i == 0 || i >= url.size() || url[i] != ':') return true;
  return url.substr(i, 3) == "://";
}

bool usableForData(const ApnEntry& e) {
  return apnServes(e, "default") && !e.apn.empty() && e.proxy.empty() &&
         fits(e.apn, kApnWidth) && fits(e.user, kApnWidth) && fits(e.password, kApnWidth);
}

bool usableForMms(const ApnEntry& e) {
  return apnServes(e, "mms") && !e.mmsc.empty() && fits(e.apn, kApnWidth) &&
         fits(e.user, kApnWidth) && fits(e.password, kApnWidth) && fits(e.mmsc, kMmscWidth) &&
         plainOrSchemeSlashes(e.mmsc) && fits(e.mmsProxy, kProxyWidth) &&
         (e.mmsPort.empty() || validPort(e.mmsPort));
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

constexpr std::array<std::string_view, 13> kServiceWords{
    "internet", "mms", "wap", "gprs", "data", "web", "net", "apn", "lte", "4g", "3g", "5g", "ims"};

bool isServiceWord(std::string_view word) {
  return std::any_of(kServiceWords.begin(), kServiceWords.end(),
                     [&](std::string_view w) { return equalIgnoringCase(w, word); });
}

// A carrier name without the trailing words that name a service rather than the operator.
std::string operatorName(std::string_view carrier) {
  std::string name(carrier);
  bool changed = true;
  while (changed) {
    changed = false;
    while (!name.empty() && (name.back() == ' ' || name.back() == '-')) name.pop_back();
    const std::size_t space = name.rfind(' ');
    if (space == std::string::npos) break;
    if (isServiceWord(std::string_view(name).substr(space + 1))) {
      name.resize(space);
      changed = true;
    }
  }
  return name;
}

// The letters of a Windows-1252 name without their accents, in lower case, for sorting.
std::string sortKey(std::string_view name) {
  // 0xC0-0xFF folded to plain letters; others kept.
  static constexpr std::string_view kFold =
      "aaaaaaaceeeeiiiidnooooo*ouuuuyts"   // 0xC0-0xDF
      "aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // 0xE0-0xFF
  static_assert(kFold.size() == 0x40);
  std::string key;
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0xC0) {
      key.push_back(kFold[b - 0xC0]);
    } else {
      key.push_back(static_cast<char>(std::tolower(b)));
    }
  }
  return key;
}

struct Candidate {
  std::string country;
  std::string mcc;
  std::string mnc;
  bool virtualOperator = false;
  std::size_t order = 0;
  std::vector<const ApnEntry*> entries;
  const ApnEntry* data = nullptr;
  const ApnEntry* mms = nullptr;
  std::string name;  // Windows-1252
};

void copyText(std::span<std::uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  const std::size_t n = std::min(text.size(), field.size() - 1);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), n, field.begin());
}

OperatorEntry rowOf(const Candidate& c) {
  OperatorEntry row;
  copyText(row.name, c.name);
  if (c.mms != nullptr) {
    copyText(row.mmsApn, c.mms->apn);
    copyText(row.mmsAccount, c.mms->user);
    copyText(row.mmsPassword, c.mms->password);
    copyText(row.mmscUrl, c.mms->mmsc);
    copyText(row.mmsProxy, c.mms->mmsProxy);
    copyText(row.mmsPort, c.mms->mmsPort);
  }
  if (c.data != nullptr) {
    copyText(row.dataApn, c.data->apn);
    copyText(row.dataAccount, c.data->user);
    copyText(row.dataPassword, c.data->password);
  }
  return row;
}

std::string nameFor(const Candidate& c) {
  std::vector<const ApnEntry*> order;
  if (c.data != nullptr) order.push_back(c.data);
  if (c.mms != nullptr) order.push_back(c.mms);
  order.insert(order.end(), c.entries.begin(), c.entries.end());
  for (const ApnEntry* e : order) {
    std::string name;
    if (!utf8ToWindows1252(operatorName(e->carrier), name)) {
      // "中国移动 (China Mobile)": the part in brackets, when Windows-1252 can write it.
      const std::size_t open = e->carrier.find('(');
      const std::size_t close = e->carrier.find(')', open == std::string::npos ? 0 : open);
      if (open == std::string::npos || close == std::string::npos ||
          !utf8ToWindows1252(e->carrier.substr(open + 1, close - open - 1), name)) {
        continue;
      }
    }
    if (name.empty() || isServiceWord(name)) continue;  // "Internet" names no operator
    if (std::any_of(name.begin(), name.end(), [](char ch) {
          const auto b = static_cast<unsigned char>(ch);
          return b < 0x20 || b == 0x7F;
        })) {
      continue;
    }
    if (name.size() > kMaxName) name.resize(kMaxName);
    return name;
  }
  return "Network " + c.mcc + "-" + c.mnc;
}

// Makes the names of one country's operators unique: a name shared by operators with
// different values gets the network's MCC-MNC, and any that still clash a number.
void uniqueNames(std::vector<Candidate*>& kept) {
  std::map<std::string, int> uses;
  for (const Candidate* c : kept) ++uses[c->name];
  for (Candidate* c : kept) {
    if (uses[c->name] < 2) continue;
    const std::string suffix = " " + c->mcc + "-" + c->mnc;
    std::string base = c->name.substr(0, kMaxName - std::min(kMaxName, suffix.size()));
    c->name = base + suffix;
  }
  std::map<std::string, int> seen;
  for (Candidate* c : kept) {
    const int n = ++seen[c->name];
    if (n < 2) continue;
    const std::string suffix = " (" + std::to_string(n) + ")";
    c->name = c->name.substr(0, kMaxName - suffix.size()) + suffix;
  }
}

}  // namespace

bool utf8ToWindows1252(std::string_view utf8, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    char32_t cp = 0;
    std::size_t len = 0;
    if (b0 < 0x80) {
      cp = b0;
      len = 1;
    } else if ((b0 & 0xE0) == 0xC0) {
      cp = b0 & 0x1F;
      len = 2;
    } else if ((b0 & 0xF0) == 0xE0) {
      cp = b0 & 0x0F;
      len = 3;
    } else if ((b0 & 0xF8) == 0xF0) {
      cp = b0 & 0x07;
      len = 4;
    } else {
      return false;
    }
    if (i + len > utf8.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    i += len;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    // 0x80-0x9F: the Windows-1252 characters of those bytes.
    bool found = false;
    for (unsigned byte = 0x80; byte <= 0x9F && !found; ++byte) {
      const std::uint8_t one = static_cast<std::uint8_t>(byte);
      const std::u16string wide = ansiToFormText(std::span<const std::uint8_t>(&one, 1));
      if (wide.size() == 1 && wide.front() == cp && cp > 0x9F) {
        out.push_back(static_cast<char>(byte));
        found = true;
      }
    }
    if (!found) return false;
  }
  return true;
}

std::vector<std::string> parseCountryList(std::string_view list, std::string& error) {
  std::vector<std::string> codes;
  while (true) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    if (!item.empty()) {
      std::string upper(item);
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      std::string code;
      if (upper.size() == 2 && !countryName(upper).empty()) {
        code = upper;
      } else if (std::string name; utf8ToWindows1252(item, name)) {
        code = std::string(countryCodeForName(name));
      }
      if (code.empty()) {
        error = "\"" + std::string(item) + "\" is neither an ISO 3166 country code nor a country name";
        return {};
      }
      codes.push_back(std::move(code));
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  if (codes.empty()) error = "no country named";
  return codes;
}

WorldTable buildWorldTable(const std::vector<ApnEntry>& entries, const WorldTableOptions& options) {
  WorldTable table;
  table.stats.entries = entries.size();
  const std::set<std::string> wanted(options.countries.begin(), options.countries.end());

  // One candidate per network and per virtual operator on it, in document order.
  std::vector<Candidate> candidates;
  std::map<std::string, std::size_t> byKey;
  for (const ApnEntry& e : entries) {
    std::string country = e.countryCode;
    if (country.empty() || countryName(country).empty()) country = countryOfMcc(e.mcc);
    if (country.empty() || (!wanted.empty() && wanted.count(country) == 0)) continue;
    std::string key = country;
    for (const std::string* part : {&e.mcc, &e.mnc, &e.mvnoType, &e.mvnoMatchData}) {
      key.push_back('\0');
      key += *part;
    }
    auto [it, fresh] = byKey.emplace(key, candidates.size());
    if (fresh) {
      Candidate c;
      c.country = country;
      c.mcc = e.mcc;
      c.mnc = e.mnc;
      c.virtualOperator = !e.mvnoType.empty();
      c.order = candidates.size();
      candidates.push_back(std::move(c));
    }
    Candidate& c = candidates[it->second];
    c.entries.push_back(&e);
    if (c.data == nullptr && usableForData(e)) c.data = &e;
    if (c.mms == nullptr && usableForMms(e)) c.mms = &e;
  }
  table.stats.networks = candidates.size();

  std::map<std::string, std::vector<Candidate*>> byCountry;
  for (Candidate& c : candidates) {
    if (c.data == nullptr && c.mms == nullptr) continue;
    c.name = nameFor(c);
    byCountry[c.country].push_back(&c);
  }

  struct Built {
    std::string key;
    std::string code;
    CountryEntry entry;
  };
  std::vector<Built> built;
  for (auto& [code, list] : byCountry) {
    // Operators identical in name and values are one.
    std::vector<Candidate*> distinct;
    std::set<std::vector<std::uint8_t>> rows;
    for (Candidate* c : list) {
      const OperatorEntry row = rowOf(*c);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(&row);
      if (rows.emplace(bytes, bytes + sizeof row).second) distinct.push_back(c);
    }
    std::stable_sort(distinct.begin(), distinct.end(), [](const Candidate* a, const Candidate* b) {
      const int ca = (a->data != nullptr) + (a->mms != nullptr);
      const int cb = (b->data != nullptr) + (b->mms != nullptr);
      if (ca != cb) return ca > cb;
      if (a->virtualOperator != b->virtualOperator) return !a->virtualOperator;
      return a->order < b->order;
    });
    if (distinct.size() > kMaxOperators) {
      table.stats.droppedOverLimit += distinct.size() - kMaxOperators;
      distinct.resize(kMaxOperators);
    }
    uniqueNames(distinct);
    std::stable_sort(distinct.begin(), distinct.end(), [](const Candidate* a, const Candidate* b) {
      return sortKey(a->name) < sortKey(b->name);
    });
    Built country;
    country.code = code;
    const std::string_view name = countryName(code);
    country.key = sortKey(name);
    std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(std::min(name.size(), kMaxName)),
              country.entry.name.begin());
    for (const Candidate* c : distinct) {
      country.entry.operators.push_back(rowOf(*c));
      ++table.stats.operators;
      table.stats.withDataApn += c->data != nullptr;
      table.stats.withMms += c->mms != nullptr;
    }
    country.entry.operatorCount = static_cast<std::uint32_t>(country.entry.operators.size());
    built.push_back(std::move(country));
  }
  std::stable_sort(built.begin(), built.end(),
                   [](const Built& a, const Built& b) { return a.key < b.key; });

  if (built.empty()) {
    table.error = "no country has an operator with usable access points";
    return table;
  }
  if (built.size() > kMaxCountries) {
    table.error = std::to_string(built.size()) +
                  " countries; an oper.db holds at most 255 (choose some with --countries)";
    return table;
  }
  for (Built& b : built) {
    table.countryCodes.push_back(b.code);
    table.countries.push_back(std::move(b.entry));
  }
  return table;
}

}  // namespace tarnwick
