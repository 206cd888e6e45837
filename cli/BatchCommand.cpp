// tarnwick-cfg batch: one settings file per camera, from a base file and a table with a row
// per camera.
//
// The table is read row by row, three times over its text. The first reading checks that it
// is a table at all and counts its rows. The second checks every value of every row as `set`
// checks it, every camera name as a memory card's file systems take it, and what is already
// at each camera's place in the output folder, and writes nothing: one refusal leaves the
// output folder untouched, and every refusal is listed with its row and column, not just the
// first. The third builds and saves each camera's file. Across rows only a hash and a row
// number per camera name are kept, so the memory a table needs beyond its own text is 16 bytes
// a camera.

#include <algorithm>
#include <filesystem>
#include <map>
#include <new>
#include <system_error>

#include "cli/ByteText.h"
#include "cli/CommandSupport.h"
#include "cli/FieldValues.h"
#include "cli/FleetCommands.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"
#include "config/Utf8Path.h"
#include "fleet/CameraNames.h"
#include "fleet/CsvReader.h"
#include "fleet/NameFolding.h"

namespace tarnwick::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCameraColumn = "camera";
constexpr std::string_view kFileName = "menu.cfg";

struct Column {
  std::string header;
  const FieldInfo* field = nullptr;  // nullptr for the camera column
};

struct Header {
  std::vector<Column> columns;
  std::optional<std::size_t> cameraColumn;
};

struct Camera {
  std::size_t row = 0;  // the table's row, the header being row 1
  std::string name;
  ConfigRecord record;
};

// A camera name as a card compares it, reduced to 64 bits; equal hashes are compared in full.
struct NameSlot {
  std::uint64_t hash = 0;
  std::size_t row = 0;
};

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

std::string numbered(std::size_t n, std::size_t count) {
  const std::size_t width = std::max<std::size_t>(3, std::to_string(count).size());
  std::string text = std::to_string(n);
  return std::string(width - std::min(width, text.size()), '0') + text;
}

std::string rows(std::size_t n) { return std::to_string(n) + (n == 1 ? " row" : " rows"); }

std::u32string cardKey(std::string_view name) {
  const auto decoded = decodeUtf8(name);
  return decoded ? caselessName(*decoded) : std::u32string();
}

std::uint64_t hashOf(const std::u32string& key) {
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (const char32_t c : key) hash = (hash ^ c) * 0x100000001b3ull;
  return hash;
}

// The refusals of one run: each written at once as one line, counted with the rows they are in.
class Refusals {
 public:
  Refusals(Io io, const std::string& csvPath) : io_(io), csvPath_(csvPath) {}

  void add(std::size_t row, const std::string& what) {
    reportFailure(io_, csvPath_, "row " + std::to_string(row) + ": " + what);
    ++count_;
    if (refusedRows_.size() <= row) refusedRows_.resize(row + 1);
    if (!refusedRows_[row]) ++rowCount_;
    refusedRows_[row] = true;
  }
  void add(std::size_t row, std::size_t column, const std::string& header, const std::string& what) {
    add(row, "column " + std::to_string(column) + " (" + header + "): " + what);
  }
  std::size_t count() const { return count_; }
  std::size_t rowCount() const { return rowCount_; }

 private:
  Io io_;
  const std::string& csvPath_;
  std::size_t count_ = 0;
  std::size_t rowCount_ = 0;
  std::vector<bool> refusedRows_;
};

// The header: field names as `set` takes them, and at most one camera column.
Header readHeader(const CsvRecord& record, Refusals& refusals) {
  Header header;
  for (const std::string& cell : record.fields) {
    Column column{trimmed(cell), nullptr};
    const std::size_t number = header.columns.size() + 1;
    if (column.header == kCameraColumn) {
      if (header.cameraColumn) refusals.add(1, number, column.header, "a second camera column");
      header.cameraColumn = header.columns.size();
    } else if ((column.field = findField(column.header)) == nullptr) {
      refusals.add(1, number, column.header,
                   "no such field (tarnwick-cfg show lists them; \"camera\" names the folder)");
    } else if (std::any_of(header.columns.begin(), header.columns.end(),
                           [&](const Column& c) { return c.field == column.field; })) {
      refusals.add(1, number, column.header, "a second column for the same field");
    }
    header.columns.push_back(std::move(column));
  }
  return header;
}

// One row's camera: its name and the base file with the row's values. False when something
// is refused; each refusal goes to `refusals`.
bool readCamera(const Header& header, const CsvRecord& record, std::size_t row,
                std::size_t cameraCount, const ConfigRecord& base, Refusals& refusals,
                Camera& camera) {
  const auto& columns = header.columns;
  if (record.fields.size() != columns.size()) {
    refusals.add(row, std::to_string(record.fields.size()) + " values, the header has " +
                          std::to_string(columns.size()) + " columns (line " +
                          std::to_string(record.line) + ")");
    return false;
  }
  camera.row = row;
  camera.name = header.cameraColumn ? record.fields[*header.cameraColumn]
                                    : numbered(row - 1, cameraCount);
  camera.record = base;
  bool refused = false;
  if (const auto bad = refusedFolderName(camera.name)) {
    refusals.add(row, *header.cameraColumn + 1, columns[*header.cameraColumn].header, *bad);
    refused = true;
  }
  // Each value on its own, so that every refused one is listed; an empty cell keeps the base
  // file's value.
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
  if (refused) return false;
  // Then all of them together, exactly as `set` applies them (timers are checked whole).
  camera.record = base;
  if (const auto refusal = applyAssignments(camera.record, assignments)) {
    std::size_t c = 0;
    for (std::size_t a = 0; a < assignments.size(); ++a) {
      if (assignments[a].field == refusal->field) c = columnOf[a];
    }
    refusals.add(row, c + 1, columns[c].header,
                 "\"" + refusal->value + "\" refused: " + refusal->reason);
    return false;
  }
  return true;
}

// What is at a camera's place in the output folder, checked before anything is written. Only
// folders are entered, never links, so that nothing is written outside the output folder; a
// settings file there is kept unless `force`, and is never a link or anything but a file.
std::optional<std::string> refusedPlace(const fs::path& folder, const std::string& name, bool force) {
  const fs::path dir = folder / pathFromUtf8(name);
  std::error_code ec;
  const fs::file_status place = fs::symlink_status(dir, ec);
  if (place.type() == fs::file_type::not_found) return std::nullopt;
  if (ec) return utf8FromPath(dir) + ": " + ec.message();
  if (fs::is_symlink(place)) {
    return utf8FromPath(dir) + " is a symbolic link (batch writes only into folders it finds or "
                               "makes in the output folder)";
  }
  if (!fs::is_directory(place)) return utf8FromPath(dir) + " is there and is not a folder";
  const fs::path file = dir / kFileName;
  const fs::file_status existing = fs::symlink_status(file, ec);
  if (existing.type() == fs::file_type::not_found) return std::nullopt;
  if (ec) return utf8FromPath(file) + ": " + ec.message();
  if (fs::is_symlink(existing)) return utf8FromPath(file) + " is a symbolic link (batch replaces no links)";
  if (!fs::is_regular_file(existing)) return utf8FromPath(file) + " is there and is not a file";
  if (!force) return utf8FromPath(file) + " " + std::string(kExistsWithoutForce);
  return std::nullopt;
}

// The entries already in the output folder, by their names' caseless form: a camera whose
// name a card takes for one of them, but written otherwise ("école" beside "École"), would be a
// second folder on this disk and the same folder on the card.
class ExistingNames {
 public:
  explicit ExistingNames(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = utf8FromPath(it->path().filename());
      const std::u32string key = cardKey(name);
      if (!key.empty()) entries_.emplace_back(hashOf(key), std::move(name));
    }
    std::sort(entries_.begin(), entries_.end());
  }
  // The entry a card takes for `name` but that is written otherwise, or nothing.
  const std::string* sameOnCard(const std::string& name, const std::u32string& key) const {
    const auto range = std::equal_range(entries_.begin(), entries_.end(),
                                        std::pair<std::uint64_t, std::string>{hashOf(key), {}},
                                        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = range.first; it != range.second; ++it) {
      if (it->second != name && cardKey(it->second) == key) return &it->second;
    }
    return nullptr;
  }

 private:
  std::vector<std::pair<std::uint64_t, std::string>> entries_;
};

// Rows whose camera names a card takes for one folder: every row after the first of such a
// group is refused, naming that first row. The names are hashed in `slots`; rows with equal
// hashes are read again and compared in full.
void refuseSameFolders(std::vector<NameSlot>& slots, const Header& header, std::string_view text,
                       Refusals& refusals) {
  std::sort(slots.begin(), slots.end(), [](const NameSlot& a, const NameSlot& b) {
    return a.hash != b.hash ? a.hash < b.hash : a.row < b.row;
  });
  std::map<std::size_t, std::string> names;  // only rows that share a hash with another
  for (std::size_t i = 1; i < slots.size(); ++i) {
    if (slots[i].hash != slots[i - 1].hash) continue;
    names.emplace(slots[i - 1].row, std::string());
    names.emplace(slots[i].row, std::string());
  }
  if (names.empty()) return;
  CsvCursor cursor(text);
  CsvRecord record;
  for (std::size_t row = 1; cursor.next(record); ++row) {
    if (const auto it = names.find(row); it != names.end()) {
      it->second = record.fields[*header.cameraColumn];
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> found;  // row, first row of its folder
  for (std::size_t start = 0; start < slots.size();) {
    std::size_t end = start + 1;
    while (end < slots.size() && slots[end].hash == slots[start].hash) ++end;
    for (std::size_t i = start + 1; i < end; ++i) {
      const std::u32string key = cardKey(names[slots[i].row]);
      for (std::size_t j = start; j < i; ++j) {
        if (cardKey(names[slots[j].row]) == key) {
          found.emplace_back(slots[i].row, slots[j].row);
          break;
        }
      }
    }
    start = end;
  }
  std::sort(found.begin(), found.end());
  const std::size_t column = *header.cameraColumn;
  for (const auto& [row, first] : found) {
    const std::string& name = names[row];
    const std::string& other = names[first];
    std::string why = "camera \"" + name + "\" is also row " + std::to_string(first);
    if (name != other) {
      why += " as \"" + other +
             "\" (one folder on a memory card, which ignores case and how accents are written)";
    }
    refusals.add(row, column + 1, header.columns[column].header, why);
  }
}

int batch(Io io, const BatchOptions& options, const ConfigRecord& base, std::string_view text) {
  // First: the table as a whole, and its size.
  std::size_t records = 0;
  {
    CsvCursor cursor(text);
    CsvRecord record;
    while (cursor.next(record)) ++records;
    if (!cursor.error().empty()) {
      return reportFailure(io, options.csvPath,
                           "line " + std::to_string(cursor.errorLine()) + ": " + cursor.error());
    }
  }
  if (records < 2) {
    return reportFailure(io, options.csvPath,
                         "needs a header row of field names and a row per camera");
  }
  const std::size_t cameraCount = records - 1;
  if (cameraCount > kMaxBatchCameras) {
    return reportFailure(io, options.csvPath,
                         "has " + std::to_string(cameraCount) + " rows of cameras; batch takes " +
                             std::to_string(kMaxBatchCameras) + " at most");
  }

  Refusals refusals(io, options.csvPath);
  CsvCursor cursor(text);
  CsvRecord record;
  cursor.next(record);
  const Header header = readHeader(record, refusals);
  if (refusals.count() > 0) {
    return reportFailure(io, options.csvPath, "the header is refused; nothing written");
  }
  const fs::path folder = pathFromUtf8(options.folder);
  if (const auto error = prepareFolder(options.folder, false)) return reportFailure(io, *error);

  // Every row, every value, every place, before anything is written.
  const ExistingNames existing(folder);
  std::vector<NameSlot> slots;
  if (header.cameraColumn) slots.reserve(cameraCount);
  Camera camera;
  for (std::size_t row = 2; cursor.next(record); ++row) {
    const bool ok = readCamera(header, record, row, cameraCount, base, refusals, camera);
    const bool named = header.cameraColumn && record.fields.size() == header.columns.size() &&
                       !refusedFolderName(camera.name);
    if (named) {
      const std::u32string key = cardKey(camera.name);
      slots.push_back({hashOf(key), row});
      if (const std::string* there = existing.sameOnCard(camera.name, key)) {
        refusals.add(row, *header.cameraColumn + 1, header.columns[*header.cameraColumn].header,
                     "camera \"" + camera.name + "\" would be " +
                         utf8FromPath(folder / pathFromUtf8(*there)) +
                         " on a memory card, which ignores case and how accents are written");
      }
    }
    if (!ok) continue;
    if (const auto why = refusedPlace(folder, camera.name, options.force)) {
      refusals.add(row, *why);
    }
  }
  refuseSameFolders(slots, header, text, refusals);
  slots = {};
  if (refusals.count() > 0) {
    return reportFailure(io, options.csvPath,
                         std::to_string(refusals.count()) +
                             (refusals.count() == 1 ? " refusal" : " refusals") + " in " +
                             std::to_string(refusals.rowCount()) + " of " + rows(cameraCount) +
                             "; nothing written");
  }

  // Then the files. A file is created only where none is (unless --force), at the moment of
  // saving, so two batches into one folder never both write a camera.
  const IfExists ifExists = options.force ? IfExists::Replace : IfExists::Fail;
  std::size_t written = 0;
  CsvCursor again(text);
  again.next(record);
  for (std::size_t row = 2; again.next(record); ++row) {
    // The same text as checked above, so the same camera (the text is held, not read again).
    if (readCamera(header, record, row, cameraCount, base, refusals, camera)) {
      const fs::path dir = folder / pathFromUtf8(camera.name);
      if (auto error = prepareFolder(utf8FromPath(dir), true)) {
        reportFailure(io, *error);
      } else if (saveSettings(io, utf8FromPath(dir / kFileName), camera.record, ifExists)) {
        ++written;
        continue;
      }
    }
    return reportFailure(io, options.csvPath,
                         std::to_string(written) + " of " + std::to_string(cameraCount) +
                             " cameras written before the failure");
  }
  io.out << written << (written == 1 ? " camera" : " cameras") << " written to "
         << escapeControls(utf8FromPath(folder)) << " (NAME/" << kFileName << ")\n";
  return kExitOk;
}

}  // namespace

int commandBatch(Io io, const BatchOptions& options) {
  try {
    const auto base = loadSettings(io, options.basePath);
    if (!base) return kExitFailed;
    const auto text = loadText(io, options.csvPath, kMaxInputBytes);
    if (!text) return kExitFailed;
    return batch(io, options, *base, *text);
  } catch (const std::bad_alloc&) {
    return reportFailure(io, options.csvPath,
                         "not enough memory for this table (batch holds its text, at most 64 MiB, "
                         "and 16 bytes a camera, at most " +
                             std::to_string(kMaxBatchCameras) + " cameras)");
  }
}

}  // namespace tarnwick::cli
