#pragma once

// The test memory card (support/fuse/ChangingCard.cpp, a FUSE file system) mounted over a
// folder for as long as the object lives: the folder's files stay visible, but saves into it
// meet a card that keeps other bytes (--corrupt) or has no modes (--no-modes), and that has
// neither hard links nor RENAME_NOREPLACE, as FAT and exFAT through FUSE.

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tarnwick::testing {

class CardMount {
 public:
  CardMount(const std::string& folder, const std::vector<std::string>& options) : folder_(folder) {
#ifndef TARNWICK_CHANGING_CARD
    (void)options;
    unavailable_ = "the test card was not built (no libfuse3-dev)";
#else
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
      unavailable_ = "no FUSE here (/dev/fuse cannot be opened)";
      return;
    }
    std::vector<std::string> args{TARNWICK_CHANGING_CARD};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(folder);
    if (run(args) != 0) {
      unavailable_ = "the test card could not be mounted over " + folder;
      return;
    }
    struct statfs fs {};
    constexpr long kFuseMagic = 0x65735546;
    if (::statfs(folder.c_str(), &fs) != 0 || static_cast<long>(fs.f_type) != kFuseMagic) {
      unavailable_ = "the test card did not appear over " + folder;
      return;
    }
    mounted_ = true;
#endif
  }
  ~CardMount() {
    if (!mounted_) return;
    // Root unmounts itself; anyone else through fusermount3. The card's process ends with it.
    if (::geteuid() != 0 || ::umount2(folder_.c_str(), 0) != 0) {
      run({"fusermount3", "-u", "-z", folder_});
    }
  }
  CardMount(const CardMount&) = delete;
  CardMount& operator=(const CardMount&) = delete;

  // Why the card cannot be had here; empty when it is mounted.
  const std::string& unavailable() const { return unavailable_; }

 private:
  // Runs a program to its end (the card's program returns once its file system is mounted).
  static int run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
      ::execvp(argv[0], argv.data());
      ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  std::string folder_;
  std::string unavailable_;
  bool mounted_ = false;
};

}  // namespace tarnwick::testing
