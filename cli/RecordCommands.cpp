// The commands over settings files: new, show, get, set, export, import, diff.

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <numeric>
#include <system_error>

#include <nlohmann/json.hpp>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/FieldJson.h"
#include "cli/FieldValues.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/FieldCatalog.h"
#include "config/FileIO.h"
#include "config/Utf8Path.h"

namespace tarnwick::cli {

namespace {

std::string offsetText(std::uint32_t offset) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "0x%03x", static_cast<unsigned>(offset));
  return buffer.data();
}

// A value for a line of text: texts quoted (their spaces matter); list entries, switches and
// intervals with the stored number beside them. Times and codes read the same as their bytes,
// and an out-of-range value already names its number.
std::string describe(const FieldInfo& field, const FieldView& view) {
  switch (field.encoding) {
    case Encoding::Text: return "\"" + view.value + "\"";
    case Encoding::ClockHM:
    case Encoding::ClockHMS:
    case Encoding::Digits4: return view.value;
    default: break;
  }
  if (!view.inRange || view.raw.empty() || view.raw == view.value) return view.value;
  return view.value + " (" + view.raw + ")";
}

// Whether a command that makes `path` must refuse because something is there already: a
// file, a folder, a link (dangling or not). Standard output never is.
bool keptWithoutForce(const std::string& path, bool force) {
  if (force || path == kStandardOutput) return false;
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(pathFromUtf8(path), ec);
  return !ec && std::filesystem::exists(status);
}

// Whether two names lead to one file (links followed).
bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(pathFromUtf8(a), pathFromUtf8(b), ec) && !ec;
}

// Without --force the save itself refuses to replace, in the same step that writes: a file
// another program makes meanwhile is kept as well as one that was there before.
IfExists ifExistsFor(bool force) { return force ? IfExists::Replace : IfExists::Fail; }

}  // namespace

int commandNew(Io io, const std::string& path, bool force) {
  if (keptWithoutForce(path, force)) return reportFailure(io, path, kExistsWithoutForce);
  return saveSettings(io, path, startupRecord(), ifExistsFor(force)) ? kExitOk : kExitFailed;
}

int commandShow(Io io, const std::string& path, bool json) {
  const auto record = loadSettings(io, path);
  if (!record) return kExitFailed;
  if (json) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const FieldInfo* field : fieldCatalog()) {
      const FieldView view = viewField(*record, *field);
      nlohmann::ordered_json row = nlohmann::ordered_json::object();
      row["name"] = field->name;
      row["offset"] = field->offset;
      row["size"] = field->size;
      row["encoding"] = encodingName(field->encoding);
      row["value"] = view.value;
      row["raw"] = storedValueJson(view);
      row["inRange"] = view.inRange;
      rows.push_back(std::move(row));
    }
    io.out << rows.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return kExitOk;
  }
  for (const FieldInfo* field : fieldCatalog()) {
    const FieldView view = viewField(*record, *field);
    const std::string value =
        field->encoding == Encoding::Text ? "\"" + view.value + "\"" : view.value;
    io.out << std::left << std::setw(15) << field->name << ' ' << offsetText(field->offset)
           << "  " << std::setw(22) << value;
    if (!view.raw.empty()) io.out << "  " << view.raw;
    io.out << "\n";
  }
  return kExitOk;
}

int commandGet(Io io, const std::string& path, const std::vector<std::string>& names) {
  std::vector<const FieldInfo*> wanted;
  for (const std::string& name : names) {
    const FieldInfo* field = findField(name);
    if (field == nullptr) {
      io.err << "tarnwick-cfg: " << escapeControls(name)
             << ": no such field (tarnwick-cfg show lists them)\n";
      return kExitUsage;
    }
    wanted.push_back(field);
  }
  const auto record = loadSettings(io, path);
  if (!record) return kExitFailed;
  for (const FieldInfo* field : wanted) io.out << viewField(*record, *field).value << "\n";
  return kExitOk;
}

int commandSet(Io io, const std::string& path, const std::vector<std::string>& texts,
               const std::optional<std::string>& outPath) {
  std::vector<Assignment> assignments;
  for (const std::string& text : texts) {
    const auto assignment = parseAssignment(text);
    if (!assignment) {
      io.err << "tarnwick-cfg: " << escapeControls(text) << ": expected FIELD=VALUE\n";
      return kExitUsage;
    }
    if (findField(assignment->field) == nullptr) {
      io.err << "tarnwick-cfg: " << escapeControls(assignment->field)
             << ": no such field (tarnwick-cfg show lists them)\n";
      return kExitUsage;
    }
    assignments.push_back(*assignment);
  }
  // Locked from the read to the end of the save: two set commands on one file each keep the
  // other's change instead of saving over it what they read before it.
  const FileLock lock = lockForUpdate(outPath.value_or(path));
  const auto loaded = loadSettings(io, path);
  if (!loaded) return kExitFailed;
  ConfigRecord record = *loaded;
  if (const auto refusal = applyAssignments(record, assignments)) {
    return reportFailure(io, path,
                         refusal->field + "=" + refusal->value + " refused: " + refusal->reason);
  }
  return saveSettings(io, outPath.value_or(path), record) ? kExitOk : kExitFailed;
}

int commandExport(Io io, const std::string& path, const std::optional<std::string>& outPath,
                  bool force) {
  const auto record = loadSettings(io, path);
  if (!record) return kExitFailed;
  const std::string json = exportRecordJson(*record);
  if (!outPath || *outPath == kStandardOutput) {
    io.out << json;
    return kExitOk;
  }
  // "export menu.cfg -o menu.cfg" would replace the settings with their JSON.
  if (!force && sameFile(path, *outPath)) {
    return reportFailure(io, *outPath,
                         "is the settings file being exported (use --force to replace it)");
  }
  return saveText(io, *outPath, json) ? kExitOk : kExitFailed;
}

int commandImport(Io io, const std::string& jsonPath, const std::string& outPath, bool force) {
  if (keptWithoutForce(outPath, force)) return reportFailure(io, outPath, kExistsWithoutForce);
  const auto text =
      jsonPath == kStandardInput
          ? loadStandardInput(io, kMaxRecordJsonBytes,
                              "more than the 1 MiB a settings document may have (an export is "
                              "about 4.4 KB)")
          : loadText(io, jsonPath, kMaxInputBytes);
  if (!text) return kExitFailed;
  const RecordImport imported = importRecordJson(*text);
  if (!imported.record) return reportFailure(io, jsonPath, imported.error);
  const FileLock lock = lockForUpdate(outPath);  // waits for a set that is changing the file
  return saveSettings(io, outPath, *imported.record, ifExistsFor(force)) ? kExitOk : kExitFailed;
}

int commandDiff(Io io, const std::string& pathA, const std::string& pathB) {
  const auto a = loadSettings(io, pathA);
  if (!a) return kExitUsage;
  const auto b = loadSettings(io, pathB);
  if (!b) return kExitUsage;
  bool differ = false;
  for (const FieldInfo* field : fieldCatalog()) {
    const auto bytesA = a->field(*field);
    const auto bytesB = b->field(*field);
    if (std::equal(bytesA.begin(), bytesA.end(), bytesB.begin(), bytesB.end())) continue;
    differ = true;
    const FieldView viewA = viewField(*a, *field);
    const FieldView viewB = viewField(*b, *field);
    io.out << field->name << ": " << describe(*field, viewA) << " -> " << describe(*field, viewB);
    // Texts that read the same may still differ in their padding (spaces or zero bytes).
    if (viewA.value == viewB.value && viewA.raw == viewB.raw) {
      io.out << " (bytes " << hexBytes(bytesA) << " -> " << hexBytes(bytesB) << ")";
    }
    io.out << "\n";
  }
  for (const ByteRange& range : unnamedRanges()) {
    const auto bytesA = a->bytes().subspan(range.first, range.last - range.first + 1);
    const auto bytesB = b->bytes().subspan(range.first, range.last - range.first + 1);
    const auto changed = static_cast<std::size_t>(std::inner_product(
        bytesA.begin(), bytesA.end(), bytesB.begin(), std::size_t{0}, std::plus<>(),
        [](std::uint8_t x, std::uint8_t y) { return x != y ? std::size_t{1} : std::size_t{0}; }));
    if (changed == 0) continue;
    differ = true;
    io.out << "unnamed bytes " << offsetText(range.first) << "-" << offsetText(range.last) << ": "
           << changed << (changed == 1 ? " byte differs" : " bytes differ") << "\n";
  }
  return differ ? kExitFailed : kExitOk;
}

}  // namespace tarnwick::cli
