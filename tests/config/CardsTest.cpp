// Card discovery on a Linux system root prepared in a scratch folder.

#include "config/Cards.h"

#include "FakeSystemRoot.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

using testing::FakeSystemRoot;
using testing::ScratchDir;

std::vector<std::string> roots(const std::vector<Card>& cards) {
  std::vector<std::string> out;
  for (const Card& card : cards) out.push_back(card.root);
  return out;
}

TEST(MountedCards, RemovableAndPluggedVolumesAreCardsTheSystemsOwnAreNot) {
  ScratchDir folder;
  ASSERT_TRUE(folder.ok());
  const std::string root = (folder.path() / "root").string();
  FakeSystemRoot system(root);
  // A computer started from an SD card: its own disk is on the SD bus, yet never a card.
  system.addDisk("mmcblk0", "179:0", "mmc", false);
  system.addPartition("mmcblk0", "mmcblk0p1", "179:1");
  system.addPartition("mmcblk0", "mmcblk0p2", "179:2");
  system.addPartition("mmcblk0", "mmcblk0p3", "179:3");
  system.mount("179:2", "/", "ext4");
  system.mount("179:1", "/boot/firmware", "vfat");
  system.mount("179:3", "/srv", "ext4");
  // A fixed disk on the PCI bus.
  system.addDisk("nvme0n1", "259:0", "pci", false);
  system.addPartition("nvme0n1", "nvme0n1p1", "259:1");
  system.mount("259:1", "/home", "ext4");
  // Memory that is no block device at all.
  system.mount("0:25", "/run/user/1000", "tmpfs");
  // A card reader built in on the PCI bus: its disk is flagged removable. A card with a
  // partition, mounted twice and with a folder of it bound elsewhere: one card, at its first
  // mount point.
  system.addDisk("sdb", "8:16", "pci", true);
  system.addPartition("sdb", "sdb1", "8:17");
  system.label("sdb1", "CARD");
  system.mount("8:17", "/media/ann/CARD", "vfat");
  system.mount("8:17", "/mnt/again", "vfat");
  system.mount("8:17", "/mnt/pictures", "vfat", "/DCIM");
  // The laptop's own SD slot: not flagged removable, but on the SD bus; a card without a
  // partition table, whose label and mount point hold a space.
  system.addDisk("mmcblk1", "179:8", "mmc", false);
  system.label("mmcblk1", "my\\x20card");
  system.mount("179:8", "/media/ann/my card", "exfat");

  MountedCards finder(root);
  const std::vector<Card> cards = finder.cards();
  EXPECT_EQ(roots(cards), (std::vector<std::string>{root + "/media/ann/CARD",
                                                    root + "/media/ann/my card"}));
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[0].label, "CARD");
  EXPECT_EQ(cards[0].fileSystem, "vfat");
  EXPECT_TRUE(cards[0].freeBytes.has_value());
  EXPECT_EQ(cards[1].label, "my card");
  EXPECT_EQ(cards[1].fileSystem, "exfat");

  // Two cards: no folder is the obvious one.
  setCardFinder(&finder);
  EXPECT_FALSE(onlyCard().has_value());
  setCardFinder(nullptr);
}

TEST(MountedCards, WhateverTheRootHoldsFindingEndsAndFindsNothingItCannotRead) {
  ScratchDir folder;
  ASSERT_TRUE(folder.ok());
  // No such root, and a root without the kernel's folders.
  EXPECT_TRUE(MountedCards((folder.path() / "missing").string()).cards().empty());
  EXPECT_TRUE(MountedCards(folder.path().string()).cards().empty());

  const std::string root = (folder.path() / "root").string();
  FakeSystemRoot system(root);
  system.addDisk("sdc", "8:32", "usb", true);
  // Lines cut short, without the separator, with a device that names a path, a relative mount
  // point, an escape cut off at the end, and no line end at the end of the table.
  std::ofstream(folder.path() / "root" / "proc" / "self" / "mountinfo", std::ios::binary)
      << "\n\n1 2 8:32\n"
      << "1 2 8:32 / /media/a rw shared:1 vfat /dev/sdc rw\n"
      << "1 2 ../../../8:32 / /media/b rw - vfat /dev/sdc rw\n"
      << "1 2 8:32 / media/c rw - vfat /dev/sdc rw\n"
      << "1 2 8:32 / /media/d rw -\n"
      << "1 2 8:32 / /media/e\\04 rw - vfat";
  const std::vector<Card> cards = MountedCards(root).cards();
  EXPECT_EQ(roots(cards), (std::vector<std::string>{root + "/media/e\\04"}));
}

}  // namespace
}  // namespace tarnwick
