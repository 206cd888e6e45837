// Fuzz target for the settings-file reader and everything that presents a loaded record.
//
// The input is the content of a menu.cfg. It is read through the real file path (an anonymous
// in-memory file), so the length checks and the exact-size read run as in the program. A file
// of 1792 bytes or more must load, a shorter one must be refused; a loaded record must show
// every field without fault; one input in four also goes through the main form's
// show-and-collect, which must leave the record a valid one. The JSON export and
// import of any record are fuzz_json_import's subject; keeping them out of this target leaves
// its executions for the reader.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "cli/FieldValues.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"
#include "ui/main/MainFormValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("menu.cfg", MFD_CLOEXEC);
  if (fd < 0) return 0;
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = write(fd, data + written, size - written);
    if (n <= 0) {
      close(fd);
      return 0;
    }
    written += static_cast<std::size_t>(n);
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  tarnwick::ConfigRecord record;
  for (auto& b : record.bytes()) b = 0x5A;
  const tarnwick::ConfigRecord before = record;
  const std::optional<tarnwick::FileError> result = tarnwick::readConfigFile(path, record);
  close(fd);

  if (size < tarnwick::kRecordSize) {
    require(tarnwick::errorKind(result) == tarnwick::FileErrorKind::TooShort);
    require(record == before);
    return 0;
  }
  require(tarnwick::errorKind(result) == std::nullopt);
  for (std::size_t i = 0; i < tarnwick::kRecordSize; ++i) {
    require(record.bytes()[i] == static_cast<std::uint8_t>(0u - data[i]));
  }

  for (const tarnwick::FieldInfo* field : tarnwick::fieldCatalog()) {
    (void)tarnwick::cli::viewField(record, *field);
  }

  if (sampled(data, size, 4)) {
    tarnwick::ConfigRecord collected = record;
    tarnwick::formValuesToRecord(tarnwick::recordToFormValues(record), collected);
  }

  return 0;
}
