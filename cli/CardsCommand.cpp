// tarnwick-cfg cards: the memory cards in the PC, and what the settings file at each card's
// root (the one place the camera reads it from) holds.

#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include <nlohmann/json.hpp>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/FieldValues.h"
#include "cli/FleetCommands.h"
#include "config/Cards.h"
#include "config/ConfigFile.h"
#include "config/Utf8Path.h"
#include "fleet/SettingsCheck.h"
#include "network/OperatorDb.h"
#include "ui/main/MainFormValues.h"

namespace tarnwick::cli {

namespace {

constexpr char kSettingsName[] = "menu.cfg";

// What a card's menu.cfg holds, in a few words a person checks before the card goes out.
struct SettingsSummary {
  std::string path;
  bool present = false;
  std::string error;  // why it is not a settings file the camera can use; empty when it is
  std::string mode;
  std::string networkMode;
  std::string country;   // Auto mode: the chosen country and operator of the table
  std::string operatorName;
  std::string dataOption;
  std::vector<std::string> switchesOn;
  std::size_t findings = 0;
};

// "password" for passwordOff: the switch, named after its flag.
std::string switchName(const FieldInfo& offFlag) {
  std::string name(offFlag.name);
  constexpr std::string_view kOff = "Off";
  if (name.size() > kOff.size() && name.ends_with(kOff)) name.resize(name.size() - kOff.size());
  return name;
}

SettingsSummary summarise(const Card& card, const OperatorTable& table) {
  SettingsSummary summary;
  const std::filesystem::path path = pathFromUtf8(card.root) / kSettingsName;
  summary.path = utf8FromPath(path);
  std::error_code error;
  summary.present = std::filesystem::exists(std::filesystem::symlink_status(path, error));
  if (!summary.present) return summary;

  ConfigRecord record;
  if (const auto failure = readConfigFile(summary.path, record)) {
    summary.error = failure->kind == FileErrorKind::TooShort
                        ? "shorter than the 1792 bytes of a settings file"
                        : "cannot be read: " + failure->reason;
    return summary;
  }
  summary.mode = viewField(record, fields::workMode).value;
  summary.networkMode = viewField(record, fields::networkMode).value;
  if (record.getUInt8(fields::networkMode) == 0) {
    const std::int64_t country = record.getUInt8(fields::countryIndex);
    const std::int64_t chosen = record.getUInt8(fields::operatorIndex);
    const CountryEntry* entry = table.country(country);
    const OperatorEntry* op = table.operatorAt(country, chosen);
    summary.country = entry != nullptr
                          ? ansiToUtf8(entry->name)
                          : "(country " + std::to_string(country) + " not in the table)";
    summary.operatorName = op != nullptr
                               ? ansiToUtf8(op->name)
                               : "(operator " + std::to_string(chosen) + " not in the table)";
  }
  summary.dataOption = viewField(record, fields::dataOption).value;
  for (const SwitchBinding& binding : mainFormSwitches()) {
    if (record.getInt32(*binding.offFlag) == 0) {
      summary.switchesOn.push_back(switchName(*binding.offFlag));
    }
  }
  summary.findings = checkSettings(record, table).size();
  return summary;
}

// Free space as a card's maker counts it: 1 GB is 10^9 bytes.
std::string freeText(std::uint64_t bytes) {
  constexpr double kUnits[] = {1e12, 1e9, 1e6, 1e3};
  constexpr const char* kNames[] = {"TB", "GB", "MB", "kB"};
  for (std::size_t i = 0; i < std::size(kUnits); ++i) {
    if (static_cast<double>(bytes) >= kUnits[i]) {
      std::array<char, 32> text{};
      std::snprintf(text.data(), text.size(), "%.1f %s", static_cast<double>(bytes) / kUnits[i],
                    kNames[i]);
      return text.data();
    }
  }
  return std::to_string(bytes) + " bytes";
}

std::string cardLine(const Card& card) {
  std::string line = escapeControls(card.root) + " (";
  line += card.label.empty() ? std::string("no label")
                             : "label \"" + escapeControls(card.label) + "\"";
  line += ", " + (card.fileSystem.empty() ? std::string("file system unknown")
                                          : escapeControls(card.fileSystem));
  if (card.freeBytes) line += ", " + freeText(*card.freeBytes) + " free";
  return line + ")";
}

std::string settingsLine(const SettingsSummary& s) {
  std::string line = std::string("  ") + kSettingsName + ": ";
  if (!s.present) return line + "none at the card's root";
  if (!s.error.empty()) return line + "not valid: " + escapeControls(s.error);
  line += "valid; Mode " + s.mode + "; network " + s.networkMode;
  if (!s.country.empty()) {
    line += ": " + escapeControls(s.country) + " / " + escapeControls(s.operatorName);
  }
  line += "; Data Option " + s.dataOption + "; on: ";
  for (std::size_t i = 0; i < s.switchesOn.size(); ++i) {
    line += (i > 0 ? ", " : "") + s.switchesOn[i];
  }
  if (s.switchesOn.empty()) line += "none";
  if (s.findings == 0) return line + "; no findings";
  return line + "; " + std::to_string(s.findings) + (s.findings == 1 ? " finding" : " findings") +
         " (see tarnwick-cfg check)";
}

nlohmann::ordered_json cardJson(const Card& card, const SettingsSummary& s) {
  nlohmann::ordered_json settings = nlohmann::ordered_json::object();
  settings["path"] = s.path;
  settings["present"] = s.present;
  if (s.present) settings["valid"] = s.error.empty();
  if (!s.error.empty()) settings["error"] = s.error;
  if (s.present && s.error.empty()) {
    settings["mode"] = s.mode;
    settings["networkMode"] = s.networkMode;
    if (!s.country.empty()) {
      settings["country"] = s.country;
      settings["operator"] = s.operatorName;
    }
    settings["dataOption"] = s.dataOption;
    settings["switchesOn"] = s.switchesOn;
    settings["findings"] = s.findings;
  }
  nlohmann::ordered_json item = nlohmann::ordered_json::object();
  item["root"] = card.root;
  item["label"] = card.label;
  item["fileSystem"] = card.fileSystem;
  item["freeBytes"] = card.freeBytes ? nlohmann::ordered_json(*card.freeBytes) : nullptr;
  item["settings"] = std::move(settings);
  return item;
}

}  // namespace

int commandCards(Io io, const CardsOptions& options) {
  OperatorTable table;  // the built-in table, unless the cameras go with an oper.db
  if (options.dbPath) {
    if (const auto error = loadOperatorDb(table, pathFromUtf8(*options.dbPath))) {
      return reportFailure(io, *options.dbPath, "cannot be used as the operator table: " +
                                                    error->reason);
    }
  }
  const std::vector<Card> cards = options.systemRoot ? MountedCards(*options.systemRoot).cards()
                                                     : cardFinder().cards();

  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Card& card : cards) {
    const SettingsSummary summary = summarise(card, table);
    if (options.json) {
      list.push_back(cardJson(card, summary));
    } else {
      io.out << cardLine(card) << "\n" << settingsLine(summary) << "\n";
    }
  }
  if (options.json) {
    io.out << list.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  } else if (cards.empty()) {
    io.out << "no memory card found\n";
  }
  return cards.empty() ? kExitFailed : kExitOk;
}

}  // namespace tarnwick::cli
