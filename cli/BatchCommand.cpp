// tarnwick-cfg batch: one settings file per camera, from a base file and a table with a row
// per camera.
//
// Every value of every row is checked as `set` checks it before anything is written, so one
// refused value leaves the output folder untouched, and every refusal is listed with its row
// and column, not just the first.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>

#include "cli/CommandSupport.h"
#include "cli/FieldValues.h"
#include "cli/FleetCommands.h"
#include "config/FieldCatalog.h"
#include "config/Utf8Path.h"
#include "fleet/CsvReader.h"

namespace tarnwick::cli {

namespace {

constexpr std::string_view kCameraColumn = "camera";
constexpr std::string_view kFileName = "menu.cfg";
constexpr std::size_t kMaxFolderName = 255;

struct Column {
  std::string header;
  const FieldInfo* field = nullptr;  // nullptr for the camera column
};

struct Camera {
  std::size_t row = 0;  // the table's row, the header being row 1
  std::string name;
  ConfigRecord record;
};

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Why a camera name cannot be a folder name on the systems the files are copied from, or
// nothing.
std::optional<std::string> badFolderName(std::string_view name) {
  if (name.empty()) return "the camera name is empty";
  if (name == "." || name == "..") return "\"" + std::string(name) + "\" is not a folder name";
  if (name.size() > kMaxFolderName) return "the camera name is longer than 255 bytes";
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos) {
      return "the camera name \"" + std::string(name) +
             "\" holds a character that folder names cannot (/ \\ < > : \" | ? * or a control "
             "character)";
    }
  }
  if (name.back() == ' ' || name.back() == '.') {
    return "the camera name \"" + std::string(name) + "\" ends in a space or a dot";
  }
  return std::nullopt;
}

std::string numbered(std::size_t n, std::size_t count) {
  const std::size_t width = std::max<std::size_t>(3, std::to_string(count).size());
  std::string text = std::to_string(n);
  return std::string(width - std::min(width, text.size()), '0') + text;
}

class Refusals {
 public:
  Refusals(Io io, const std::string& csvPath) : io_(io), csvPath_(csvPath) {}

  void add(std::size_t row, const std::string& what) {
    io_.err << "tarnwick-cfg: " << csvPath_ << ": row " << row << ": " << what << "\n";
    rows_.push_back(row);
  }
  void add(std::size_t row, std::size_t column, const std::string& header, const std::string& what) {
    add(row, "column " + std::to_string(column) + " (" + header + "): " + what);
  }
  std::size_t count() const { return rows_.size(); }
  std::size_t rowCount() const {
    std::vector<std::size_t> distinct = rows_;
    std::sort(distinct.begin(), distinct.end());
    return static_cast<std::size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
  }

 private:
  Io io_;
  const std::string& csvPath_;
  std::vector<std::size_t> rows_;
};

}  // namespace

int commandBatch(Io io, const BatchOptions& options) {
  const auto base = loadSettings(io, options.basePath);
  if (!base) return kExitFailed;
  const auto text = loadText(io, options.csvPath, kMaxInputBytes);
  if (!text) return kExitFailed;
  const CsvTable table = readCsv(*text);
  if (!table.ok()) {
    return reportFailure(io, options.csvPath,
                         "line " + std::to_string(table.errorLine) + ": " + table.error);
  }
  if (table.records.size() < 2) {
    return reportFailure(io, options.csvPath,
                         "needs a header row of field names and a row per camera");
  }

  // The header: field names as `set` takes them, and at most one camera column.
  Refusals refusals(io, options.csvPath);
  std::vector<Column> columns;
  std::optional<std::size_t> cameraColumn;
  for (const std::string& cell : table.records.front().fields) {
    Column column{trimmed(cell), nullptr};
    const std::size_t number = columns.size() + 1;
    if (column.header == kCameraColumn) {
      if (cameraColumn) refusals.add(1, number, column.header, "a second camera column");
      cameraColumn = columns.size();
    } else if ((column.field = findField(column.header)) == nullptr) {
      refusals.add(1, number, column.header,
                   "no such field (tarnwick-cfg show lists them; \"camera\" names the folder)");
    } else if (std::any_of(columns.begin(), columns.end(),
                           [&](const Column& c) { return c.field == column.field; })) {
      refusals.add(1, number, column.header, "a second column for the same field");
    }
    columns.push_back(std::move(column));
  }
  if (refusals.count() > 0) {
    io.err << "tarnwick-cfg: " << options.csvPath << ": the header is refused; nothing written\n";
    return kExitFailed;
  }

  // Every row, every value, before anything is written.
  const std::size_t cameraCount = table.records.size() - 1;
  std::vector<Camera> cameras;
  cameras.reserve(cameraCount);
  std::map<std::string, std::size_t> rowOfName;  // lower case: FAT and NTFS ignore case
  for (std::size_t r = 1; r < table.records.size(); ++r) {
    const CsvRecord& record = table.records[r];
    const std::size_t row = r + 1;
    if (record.fields.size() != columns.size()) {
      refusals.add(row, std::to_string(record.fields.size()) + " values, the header has " +
                            std::to_string(columns.size()) + " columns (line " +
                            std::to_string(record.line) + ")");
      continue;
    }
    Camera camera{row, cameraColumn ? record.fields[*cameraColumn] : numbered(r, cameraCount), *base};
    bool refused = false;
    if (const auto bad = badFolderName(camera.name)) {
      refusals.add(row, *cameraColumn + 1, columns[*cameraColumn].header, *bad);
      refused = true;
    } else if (const auto [it, fresh] = rowOfName.emplace(lowered(camera.name), row); !fresh) {
      refusals.add(row, *cameraColumn + 1, columns[*cameraColumn].header,
                   "camera \"" + camera.name + "\" is also row " + std::to_string(it->second) +
                       " (folder names ignore case)");
      refused = true;
    }
    // Each value on its own, so that every refused one is listed; an empty cell keeps the
    // base file's value.
    std::vector<Assignment> assignments;
    std::vector<std::size_t> columnOf;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].field == nullptr || record.fields[c].empty()) continue;
      const std::string& value = record.fields[c];
      if (const auto why = assignField(camera.record, *columns[c].field, value)) {
        refusals.add(row, c + 1, columns[c].header, "\"" + value + "\" refused: " + *why);
        refused = true;
      }
      assignments.push_back({columns[c].header, value});
      columnOf.push_back(c);
    }
    if (refused) continue;
    // Then all of them together, exactly as `set` applies them (timers are checked whole).
    camera.record = *base;
    if (const auto refusal = applyAssignments(camera.record, assignments)) {
      std::size_t c = 0;
      for (std::size_t a = 0; a < assignments.size(); ++a) {
        if (assignments[a].field == refusal->field) c = columnOf[a];
      }
      refusals.add(row, c + 1, columns[c].header,
                   "\"" + refusal->value + "\" refused: " + refusal->reason);
      continue;
    }
    cameras.push_back(std::move(camera));
  }

  // Files already there are kept unless --force says otherwise.
  const std::filesystem::path folder = pathFromUtf8(options.folder);
  if (!options.force) {
    for (const Camera& camera : cameras) {
      const std::filesystem::path path = folder / pathFromUtf8(camera.name) / kFileName;
      std::error_code ec;
      const auto status = std::filesystem::symlink_status(path, ec);
      if (!ec && std::filesystem::exists(status)) {
        refusals.add(camera.row, utf8FromPath(path) + " already exists (use --force to replace it)");
      }
    }
  }
  if (refusals.count() > 0) {
    io.err << "tarnwick-cfg: " << options.csvPath << ": " << refusals.count()
           << (refusals.count() == 1 ? " refusal" : " refusals") << " in " << refusals.rowCount()
           << " of " << cameraCount << (cameraCount == 1 ? " row" : " rows")
           << "; nothing written\n";
    return kExitFailed;
  }

  std::size_t written = 0;
  for (const Camera& camera : cameras) {
    const std::filesystem::path dir = folder / pathFromUtf8(camera.name);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
      reportFailure(io, utf8FromPath(dir), "cannot be made: " + ec.message());
    } else if (saveSettings(io, utf8FromPath(dir / kFileName), camera.record)) {
      ++written;
      continue;
    }
    io.err << "tarnwick-cfg: " << options.csvPath << ": " << written << " of " << cameras.size()
           << " cameras written before the failure\n";
    return kExitFailed;
  }
  io.out << written << (written == 1 ? " camera" : " cameras") << " written to "
         << utf8FromPath(folder) << " (NAME/" << kFileName << ")\n";
  return kExitOk;
}

}  // namespace tarnwick::cli
