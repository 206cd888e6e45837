#pragma once

// A Linux system root in a folder, laid out as the kernel and udev lay out theirs, for the
// tests of card discovery: proc/self/mountinfo, the disks' folders under sys/devices with the
// bus each sits on, the sys/dev/block/MAJ:MIN links to them, and dev/disk/by-label. Links are
// relative, as the kernel's are, so the folder can live anywhere. Header-only.

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace tarnwick::testing {

class FakeSystemRoot {
 public:
  explicit FakeSystemRoot(std::filesystem::path root) : root_(std::move(root)) {
    std::filesystem::create_directories(root_ / "proc" / "self");
    std::filesystem::create_directories(root_ / "sys" / "dev" / "block");
    std::filesystem::create_directories(root_ / "sys" / "bus");
    std::filesystem::create_directories(root_ / "dev" / "disk" / "by-label");
    std::ofstream(root_ / "proc" / "self" / "mountinfo", std::ios::binary);
  }

  // A whole disk with the kernel's name `name` ("sdb") and number `device` ("8:16"), attached
  // through a controller on `bus` ("usb", "mmc", "pci", ...); `removable` is its flag.
  void addDisk(const std::string& name, const std::string& device, const std::string& bus,
               bool removable) {
    const std::filesystem::path controller =
        std::filesystem::path("devices") / (bus + "-" + name) / "port";
    const std::filesystem::path folder = controller / "block" / name;
    std::filesystem::create_directories(sys() / folder);
    std::filesystem::create_directories(sys() / "bus" / bus);
    // devices/BUS-NAME/port/subsystem -> ../../../bus/BUS
    std::filesystem::create_directory_symlink(std::filesystem::path("../../../bus") / bus,
                                              sys() / controller / "subsystem");
    write(sys() / folder / "removable", removable ? "1\n" : "0\n");
    disks_[name] = folder;
    link(device, folder);
  }

  // A partition `name` ("sdb1") of a disk added before.
  void addPartition(const std::string& disk, const std::string& name, const std::string& device) {
    const std::filesystem::path folder = disks_.at(disk) / name;
    std::filesystem::create_directories(sys() / folder);
    write(sys() / folder / "partition", "1\n");
    link(device, folder);
  }

  // A mount of `device` at `mountPoint` (absolute, as the system sees it); the folder is made
  // below the root. `fsRoot` is the folder of the file system that is mounted ("/": all of it).
  void mount(const std::string& device, const std::string& mountPoint, const std::string& fsType,
             const std::string& fsRoot = "/") {
    std::filesystem::create_directories(root_ / std::filesystem::path(mountPoint).relative_path());
    std::ofstream out(root_ / "proc" / "self" / "mountinfo", std::ios::binary | std::ios::app);
    const int id = ++mounts_;
    out << id + 20 << " 1 " << device << " " << escaped(fsRoot) << " " << escaped(mountPoint)
        << " rw,nosuid,nodev shared:" << id << " - " << fsType << " /dev/x rw\n";
  }

  // udev's label link for a volume, with the label written the way udev writes it.
  void label(const std::string& volume, const std::string& labelAsUdevWritesIt) {
    std::filesystem::create_directory_symlink(
        std::filesystem::path("../..") / volume,
        root_ / "dev" / "disk" / "by-label" / labelAsUdevWritesIt);
  }

  // Where a mount point of the fake system is, seen from here.
  std::filesystem::path below(const std::string& mountPoint) const {
    return root_ / std::filesystem::path(mountPoint).relative_path();
  }

 private:
  std::filesystem::path sys() const { return root_ / "sys"; }

  void link(const std::string& device, const std::filesystem::path& folder) {
    std::filesystem::create_directory_symlink(std::filesystem::path("../..") / folder,
                                              sys() / "dev" / "block" / device);
  }

  static void write(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }

  // mountinfo writes a space as \040.
  static std::string escaped(const std::string& name) {
    std::string out;
    for (const char c : name) out += c == ' ' ? std::string("\\040") : std::string(1, c);
    return out;
  }

  std::filesystem::path root_;
  std::map<std::string, std::filesystem::path> disks_;
  int mounts_ = 0;
};

}  // namespace tarnwick::testing
