// Fuzz target for the save: the input's first byte picks what the target is (a new name, an
// existing file with some mode, a link to one, a link to a missing file, a folder) and whether
// an existing file may be replaced, the rest is the content saved. Whatever is picked, a save
// that reports success leaves exactly the content behind the name, a link stays a link, and no
// temporary file is left in the folder; a save that fails says why and leaves an existing file
// as it was, and a save that may not replace fails wherever a file was.
//
// The scratch folder is made once, in /dev/shm where there is one (a memory file system, so
// the fsyncs cost nothing), and emptied before every input.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "config/FileIO.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Kept for the whole run (never destroyed, so the exit handler that removes it can use it).
const std::string& scratch() {
  static const std::string* folder = [] {
    std::string pattern = (fs::exists("/dev/shm") ? std::string("/dev/shm")
                                                  : fs::temp_directory_path().string()) +
                          "/tarnwick-fuzz-save-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return new std::string(pattern);
  }();
  static const bool cleanup = std::atexit([] {
    std::error_code ec;
    fs::remove_all(*folder, ec);
  }) == 0;
  (void)cleanup;
  return *folder;
}

Bytes readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string& folder = scratch();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) fs::remove_all(entry.path(), ec);

  const std::uint8_t pick = data[0];
  const Bytes content(data + 1, data + size);
  const Bytes old(17, 0x5A);
  const std::string target = folder + "/menu.cfg";
  const std::string real = folder + "/real.cfg";
  const tarnwick::TempFiles temps = (pick & 0x80) != 0 ? tarnwick::TempFiles::NamedOnly
                                             : tarnwick::TempFiles::UnnamedWherePossible;
  const tarnwick::IfExists ifExists =
      (pick & 0x40) != 0 ? tarnwick::IfExists::Fail : tarnwick::IfExists::Replace;
  const mode_t modes[] = {0644, 0600, 0444, 06755};
  const mode_t mode = modes[(pick >> 3) & 3];
  std::string path = target;
  bool existed = false;
  switch (pick & 7) {
    case 0:  // a new file
      break;
    case 1:  // an existing file
      writeAll(target, old);
      ::chmod(target.c_str(), mode);
      existed = true;
      break;
    case 2:  // a link to an existing file
      writeAll(real, old);
      ::chmod(real.c_str(), mode);
      fs::create_symlink("real.cfg", target, ec);
      existed = true;
      break;
    case 3:  // a link to a file not there yet
      fs::create_symlink("real.cfg", target, ec);
      break;
    case 4:  // a folder
      fs::create_directory(target, ec);
      break;
    case 5:  // a name in a folder that does not exist
      path = folder + "/missing/menu.cfg";
      break;
    case 6:  // a link to itself
      fs::create_symlink("menu.cfg", target, ec);
      break;
    default:  // a stale temporary file of ours beside an existing file
      writeAll(target, old);
      writeAll(folder + "/.tarnwick-save-Stale1", old);
      {
        const timespec times[2] = {{1, 0}, {1, 0}};
        ::utimensat(AT_FDCWD, (folder + "/.tarnwick-save-Stale1").c_str(), times, 0);
      }
      existed = true;
      break;
  }
  const bool link = fs::is_symlink(path, ec);

  const auto failure = tarnwick::saveFileAtomically(path, content, ifExists, temps);
  if (existed && ifExists == tarnwick::IfExists::Fail) require(failure.has_value());
  if (failure) {
    require(!failure->reason.empty());
    if (existed) require(readAll(link ? real : path) == old);
  } else {
    require(readAll(path) == content);
    require(fs::is_symlink(path, ec) == link);
  }
  // A save that may not replace and finds a file writes nothing at all, so it leaves an earlier
  // save's leftover for the next save that writes.
  const bool refusedUpFront = existed && ifExists == tarnwick::IfExists::Fail;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    require(refusedUpFront || !entry.path().filename().string().starts_with(".tarnwick-save-"));
  }
  return 0;
}
