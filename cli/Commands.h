#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The commands of tarnwick-cfg, one function each, after the arguments have been read. Each
// returns the process's exit status and writes its errors as one line on `err`.

namespace tarnwick::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a refused value or input, a failed check, a difference,
                                       // a file that cannot be read or written
inline constexpr int kExitUsage = 2;   // wrong arguments; also diff's "cannot compare"

struct Io {
  std::ostream& out;
  std::ostream& err;
};

int commandNew(Io io, const std::string& path, bool force);
int commandShow(Io io, const std::string& path, bool json);
int commandGet(Io io, const std::string& path, const std::vector<std::string>& names);
int commandSet(Io io, const std::string& path, const std::vector<std::string>& assignments,
               const std::optional<std::string>& outPath);
// Refuses to write the JSON over the settings file it reads unless `force`.
int commandExport(Io io, const std::string& path, const std::optional<std::string>& outPath,
                  bool force);
// Refuses to replace an existing output file unless `force`; jsonPath "-" is standard input.
int commandImport(Io io, const std::string& jsonPath, const std::string& outPath, bool force);
int commandDiff(Io io, const std::string& pathA, const std::string& pathB);
int commandOperators(Io io, const std::optional<std::string>& dbPath, bool json);
int commandOperDbDump(Io io, const std::string& path, bool json);
int commandOperDbBuild(Io io, const std::string& jsonPath, const std::string& outPath);
// With `systemRoot`, memory cards are looked for in the Linux system laid out below it.
int commandUi(Io io, const std::string& scriptPath, const std::optional<std::string>& systemRoot);

}  // namespace tarnwick::cli
