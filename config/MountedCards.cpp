// The cards of a Linux system, from the files the kernel and udev keep:
//
//   proc/self/mountinfo      one mount a line: "36 25 8:17 / /media/ann/CARD rw,... - vfat
//                            /dev/sdb1 rw,...", the device as major:minor, the folder of the
//                            file system that is mounted (a bind mount shows a subfolder), the
//                            mount point, and after the " - " the file system type. Spaces,
//                            tabs, newlines and backslashes in names are written \040, \011,
//                            \012 and \134.
//   sys/dev/block/MAJ:MIN    a link to the device's folder under sys/devices; a partition's
//                            folder holds a file "partition" and sits inside its disk's folder.
//   DISK/removable           "1" when the disk's medium can be taken out (card readers).
//   .../subsystem            in each folder on the way up from the disk, a link to the bus the
//                            device sits on: "usb", "mmc" (SD slots), "ieee1394", "pcmcia" and
//                            "ccw" are made for plugging in and out.
//   dev/disk/by-label/NAME   udev's link to the volume ("../../sdb1") named after its label, with
//                            characters such as space written \x20.
//
// Every file is read with a size limit and every walk is bounded, whatever the root holds.

#include "config/Cards.h"
#include "config/Utf8Path.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

namespace tarnwick {

namespace {

namespace fs = std::filesystem;

// Far above the mount table of a busy container host (a few hundred bytes a mount).
constexpr std::size_t kMaxMountTableBytes = std::size_t{16} * 1024 * 1024;
constexpr std::size_t kMaxAttributeBytes = 4096;
// A device sits a dozen folders below sys/devices; a walk up stops long before it could loop.
constexpr int kMaxDeviceDepth = 64;
constexpr std::size_t kMaxLabelLinks = 4096;

constexpr std::array<std::string_view, 5> kPluggableBuses{"usb", "mmc", "ieee1394", "pcmcia",
                                                          "ccw"};

struct Mount {
  std::string device;      // "8:17"
  std::string fsRoot;      // the folder of the file system that is mounted: "/" for all of it
  std::string mountPoint;  // absolute, as seen from the system's root
  std::string fsType;
};

// Reads at most `limit` bytes of a regular file (the kernel's files are regular files that
// report no size); anything else, or a file that cannot be opened, reads as empty.
std::string readSmall(const fs::path& path, std::size_t limit) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return text;
}

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// mountinfo's "\040" (three octal digits) and udev's "\x20" (two hexadecimal digits); a
// backslash that starts neither stays as it is.
std::string unescaped(std::string_view text, bool hex) {
  std::string out;
  out.reserve(text.size());
  const std::size_t digits = hex ? 2 : 3;
  const std::size_t lead = hex ? 2 : 1;
  const int base = hex ? 16 : 8;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + lead + digits <= text.size() && (!hex || text[i + 1] == 'x')) {
      int value = 0;
      bool ok = true;
      for (std::size_t k = 0; k < digits && ok; ++k) {
        const int d = digitValue(text[i + lead + k], base);
        ok = d >= 0;
        value = value * base + d;
      }
      if (ok && value <= 0xFF) {
        out.push_back(static_cast<char>(value));
        i += lead + digits - 1;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::optional<Mount> parseMountLine(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    if (end > pos) fields.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  // id, parent, MAJ:MIN, root, mount point, options, optional fields..., "-", type, source, ...
  constexpr std::ptrdiff_t kFixedFields = 6;
  if (fields.size() <= kFixedFields) return std::nullopt;
  const auto separator = std::find(fields.begin() + kFixedFields, fields.end(), "-");
  if (separator == fields.end() || separator + 1 == fields.end()) return std::nullopt;
  Mount mount;
  mount.device = std::string(fields[2]);
  mount.fsRoot = unescaped(fields[3], false);
  mount.mountPoint = unescaped(fields[4], false);
  mount.fsType = unescaped(*(separator + 1), false);
  if (mount.mountPoint.empty() || mount.mountPoint.front() != '/') return std::nullopt;
  return mount;
}

std::vector<Mount> readMounts(const fs::path& root) {
  const std::string table = readSmall(root / "proc" / "self" / "mountinfo", kMaxMountTableBytes);
  std::vector<Mount> mounts;
  std::size_t pos = 0;
  while (pos < table.size()) {
    const std::size_t end = std::min(table.find('\n', pos), table.size());
    if (auto mount = parseMountLine(std::string_view(table).substr(pos, end - pos))) {
      mounts.push_back(std::move(*mount));
    }
    pos = end + 1;
  }
  return mounts;
}

// A block device as sysfs shows it: its own folder (its name is the kernel's, "sdb1") and the
// folder of the whole disk it is on (the same folder for an unpartitioned disk).
struct BlockDevice {
  fs::path folder;
  fs::path disk;
};

std::optional<BlockDevice> blockDevice(const fs::path& root, const std::string& device) {
  // "8:17" names a folder; anything else (a stray "/" or "..") names none.
  if (device.find_first_not_of("0123456789:") != std::string::npos) return std::nullopt;
  std::error_code error;
  const fs::path folder = fs::canonical(root / "sys" / "dev" / "block" / device, error);
  if (error) return std::nullopt;
  const bool partition = fs::exists(folder / "partition", error);
  return BlockDevice{folder, partition ? folder.parent_path() : folder};
}

// Walks up from the disk's folder to sys/ itself.
bool onPluggableBus(const fs::path& disk, const fs::path& sys) {
  fs::path folder = disk;
  for (int depth = 0; depth < kMaxDeviceDepth && folder != sys && folder.has_relative_path();
       ++depth) {
    std::error_code error;
    const fs::path bus = fs::read_symlink(folder / "subsystem", error);
    if (!error) {
      const std::string name = bus.filename().string();
      if (std::find(kPluggableBuses.begin(), kPluggableBuses.end(), name) !=
          kPluggableBuses.end()) {
        return true;
      }
    }
    folder = folder.parent_path();
  }
  return false;
}

bool removableDisk(const fs::path& disk, const fs::path& sys) {
  return trimmed(readSmall(disk / "removable", kMaxAttributeBytes)) == "1" ||
         onPluggableBus(disk, sys);
}

// The labels udev knows, by the kernel's name of the volume.
std::map<std::string, std::string> labelsByDevice(const fs::path& root) {
  std::map<std::string, std::string> labels;
  std::error_code error;
  fs::directory_iterator it(root / "dev" / "disk" / "by-label", error);
  std::size_t seen = 0;
  for (; !error && it != fs::directory_iterator() && seen < kMaxLabelLinks; it.increment(error)) {
    ++seen;
    std::error_code linkError;
    const fs::path target = fs::read_symlink(it->path(), linkError);
    if (linkError) continue;
    labels.emplace(target.filename().string(), unescaped(it->path().filename().string(), true));
  }
  return labels;
}

// Where the system itself lives: never a card, even on a disk that could be unplugged (a
// computer started from an SD card or a USB stick).
bool systemMountPoint(std::string_view mountPoint) {
  for (const std::string_view folder : {std::string_view("/boot"), std::string_view("/efi")}) {
    if (mountPoint.substr(0, folder.size()) == folder &&
        (mountPoint.size() == folder.size() || mountPoint[folder.size()] == '/')) {
      return true;
    }
  }
  return mountPoint == "/";
}

}  // namespace

std::vector<Card> MountedCards::cards() {
  const fs::path root = pathFromUtf8(systemRoot_);
  const std::vector<Mount> mounts = readMounts(root);
  std::error_code sysError;
  const fs::path sys = fs::canonical(root / "sys", sysError);

  // The disks the system runs from.
  std::set<fs::path> systemDisks;
  for (const Mount& mount : mounts) {
    if (mount.mountPoint != "/") continue;
    if (const auto device = blockDevice(root, mount.device)) systemDisks.insert(device->disk);
  }

  std::vector<Card> found;
  std::set<std::string> devicesSeen;
  std::optional<std::map<std::string, std::string>> labels;
  for (const Mount& mount : mounts) {
    // A volume mounted twice is one card; a bind mount of a folder on it is not its root.
    if (mount.fsRoot != "/" || systemMountPoint(mount.mountPoint)) continue;
    if (devicesSeen.count(mount.device) != 0) continue;
    const auto device = blockDevice(root, mount.device);
    if (!device || systemDisks.count(device->disk) != 0 || !removableDisk(device->disk, sys)) {
      continue;
    }
    devicesSeen.insert(mount.device);

    if (!labels) labels = labelsByDevice(root);
    Card card;
    const fs::path cardRoot = root / pathFromUtf8(mount.mountPoint).relative_path();
    card.root = utf8FromPath(cardRoot.lexically_normal());
    if (const auto label = labels->find(device->folder.filename().string());
        label != labels->end()) {
      card.label = label->second;
    }
    card.fileSystem = mount.fsType;
    std::error_code error;
    const fs::space_info space = fs::space(cardRoot, error);
    if (!error) card.freeBytes = space.available;
    found.push_back(std::move(card));
  }
  return found;
}

}  // namespace tarnwick
