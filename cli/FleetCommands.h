#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"

// The commands for many cameras at once: batch, check, cards and oper-db build --from-apns.

namespace tarnwick::cli {

// The most cameras one batch takes: far above any fleet, and a bound on the memory a table
// needs (besides its text, 16 bytes a camera).
inline constexpr std::size_t kMaxBatchCameras = 1'000'000;

struct BatchOptions {
  std::string basePath;
  std::string csvPath;
  std::string folder;
  bool force = false;
};

int commandBatch(Io io, const BatchOptions& options);
int commandCheck(Io io, const std::vector<std::string>& paths, bool json,
                 const std::optional<std::string>& dbPath);
struct CardsOptions {
  std::optional<std::string> systemRoot;  // a Linux system root to read instead of this system
  std::optional<std::string> dbPath;
  bool json = false;
};

// Lists the memory cards in the PC and what the menu.cfg at each one's root holds. Exit 0 when
// there is a card, 1 when there is none.
int commandCards(Io io, const CardsOptions& options);
int commandOperDbFromApns(Io io, const std::string& xmlPath, const std::string& outPath,
                          const std::optional<std::string>& countries);

}  // namespace tarnwick::cli
