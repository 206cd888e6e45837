// tarnwick-cfg check: what in a settings file the camera is unlikely to accept.

#include <nlohmann/json.hpp>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/FieldJson.h"
#include "cli/FieldValues.h"
#include "cli/FleetCommands.h"
#include "fleet/SettingsCheck.h"
#include "config/Utf8Path.h"
#include "network/OperatorDb.h"

namespace tarnwick::cli {

namespace {

// A value for a line of text: texts quoted, list entries with their stored number.
std::string shown(const FieldInfo& field, const FieldView& view) {
  switch (field.encoding) {
    case Encoding::Text: return "\"" + view.value + "\"";
    case Encoding::ClockHM:
    case Encoding::ClockHMS:
    case Encoding::Digits4: return view.value;
    default: break;
  }
  if (view.raw.empty() || view.raw == view.value ||
      view.value.find(view.raw) != std::string::npos) {
    return view.value;
  }
  return view.value + " (" + view.raw + ")";
}

}  // namespace

int commandCheck(Io io, const std::vector<std::string>& paths, bool json,
                 const std::optional<std::string>& dbPath) {
  OperatorTable table;  // the built-in table, unless the settings go with an oper.db
  if (dbPath) {
    if (const auto error = loadOperatorDb(table, pathFromUtf8(*dbPath))) {
      const bool unread =
          error->kind == FileErrorKind::CannotOpen || error->kind == FileErrorKind::ReadError;
      reportFailure(io, *dbPath, unread ? "cannot be read: " + error->reason
                                        : "not an operator database the program would use");
      return kExitUsage;
    }
  }
  bool unreadable = false;
  bool problems = false;
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  for (const std::string& path : paths) {
    nlohmann::ordered_json file = nlohmann::ordered_json::object();
    file["file"] = path;
    std::string reason;
    const auto record = loadSettings(io, path, &reason);
    if (!record) {
      unreadable = true;
      file["error"] = reason;
      files.push_back(std::move(file));
      continue;
    }
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const CheckFinding& finding : checkSettings(*record, table)) {
      problems = true;
      const FieldView view = viewField(*record, *finding.field);
      if (!json) {
        io.out << escapeControls(path) << ": " << finding.field->name << " = " << shown(*finding.field, view)
               << ": " << finding.reason << "\n";
        continue;
      }
      nlohmann::ordered_json item = nlohmann::ordered_json::object();
      item["field"] = finding.field->name;
      item["value"] = view.value;
      item["raw"] = storedValueJson(view);
      item["reason"] = finding.reason;
      list.push_back(std::move(item));
    }
    file["problems"] = std::move(list);
    files.push_back(std::move(file));
  }
  if (json) {
    io.out << files.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
  }
  if (unreadable) return kExitUsage;
  return problems ? kExitFailed : kExitOk;
}

}  // namespace tarnwick::cli
