#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Memory cards in the PC: the volumes a camera's card shows up as when it sits in a reader, a
// USB adapter or a laptop's slot. The camera reads its settings from menu.cfg at the card's
// root, so that folder is where the file dialogs start and where `tarnwick-cfg cards` looks.

namespace tarnwick {

// One mounted removable volume.
struct Card {
  std::string root;        // UTF-8: the folder the volume is mounted at ("/media/ann/CARD", "E:\")
  std::string label;       // the volume's label; empty when it has none or it cannot be told
  std::string fileSystem;  // as the system names it: "vfat", "exfat", "FAT32", ...
  std::optional<std::uint64_t> freeBytes;  // room left for the caller; nothing when unknown
};

// Where cards are found: the running system, or a prepared system root (tests, the command
// line's --root). Finding never fails: what cannot be read is no card.
class CardFinder {
 public:
  virtual ~CardFinder() = default;
  // The cards, in the order the system mounted them.
  virtual std::vector<Card> cards() = 0;
};

// The running system's cards: the mounts of /proc/self/mountinfo on Linux, the drives Windows
// calls removable on Windows; none in a browser.
CardFinder& systemCardFinder();

// The cards every caller sees: systemCardFinder() unless replaced.
CardFinder& cardFinder();
// Replaces the active finder (nullptr: the system's again).
void setCardFinder(CardFinder* finder);

// The card when exactly one is in the PC; with none or several there is no obvious choice.
std::optional<Card> onlyCard();

// The cards of a Linux system whose root is `systemRoot` ("/" for this one, or a folder that
// holds proc/self/mountinfo, sys/ and dev/disk/by-label/ laid out as Linux has them). A card is
// a mounted block device whose disk says it is removable (the `removable` flag of a card
// reader) or sits on a bus made for plugging in and out (USB, SD/MMC, FireWire, PC Card),
// unless it is where the system itself runs from: the disk holding "/" and the /boot and /efi
// folders are never cards. Mount points are read below the root, so a card's root is
// systemRoot joined with its mount point.
class MountedCards : public CardFinder {
 public:
  explicit MountedCards(std::string systemRoot) : systemRoot_(std::move(systemRoot)) {}
  std::vector<Card> cards() override;

 private:
  std::string systemRoot_;
};

}  // namespace tarnwick
