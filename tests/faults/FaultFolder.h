#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::faults {

using Bytes = std::vector<std::uint8_t>;

// One entry of a folder tree, with enough detail to prove that nothing was touched: its kind,
// permission bits, owner, size, the bytes of a small regular file and a link's target.
struct EntryState {
  char kind = '?';  // 'f' regular file, 'd' folder, 'l' symbolic link, 'p' FIFO, '?' other
  unsigned mode = 0;
  unsigned owner = 0;
  std::uint64_t size = 0;
  Bytes content;           // regular files up to kContentLimit bytes; larger ones by size only
  std::string linkTarget;  // symbolic links only
  bool operator==(const EntryState&) const = default;
};

// Every entry below a folder, by path relative to it. The folder itself is "." so that its own
// mode and owner are compared too.
using TreeState = std::map<std::string, EntryState>;

inline constexpr std::uint64_t kContentLimit = 1u << 20;

// A readable account without privileges, for the cases that root's permission bypass would
// hide. Only available when the tests run as root (a child then switches to it).
struct Account {
  uid_t uid;
  gid_t gid;
};
std::optional<Account> unprivilegedAccount();

// A fresh folder under the system's temporary folder, removed with everything in it afterwards,
// also when a test left it (or a folder in it) read-only or immutable.
class FaultFolder {
 public:
  FaultFolder();
  ~FaultFolder();
  FaultFolder(const FaultFolder&) = delete;
  FaultFolder& operator=(const FaultFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  // `relative` empty names the folder itself.
  std::string file(const std::string& relative) const;

  void write(const std::string& relative, const Bytes& bytes, unsigned mode = 0644);
  void folder(const std::string& relative, unsigned mode = 0755);
  void fifo(const std::string& relative);
  void link(const std::string& relative, const std::string& target);
  void chmod(const std::string& relative, unsigned mode);
  // A sparse file of `length` bytes that starts with `head`.
  bool sparse(const std::string& relative, const Bytes& head, std::uint64_t length);

  // Hands the folder and everything in it to `account` (links themselves, not their targets).
  void giveTo(const Account& account);
  // Gives one entry back to the account running the tests.
  void keepOwn(const std::string& relative);

  // Sets the immutable attribute, which binds root as well: nothing in the folder can be
  // created, renamed or removed. False where the file system or the caller cannot do it.
  bool makeImmutable(const std::string& relative);

  TreeState state() const;

 private:
  void clearImmutable();

  std::string path_;
  std::vector<std::string> immutable_;
};

// The differences between two tree states, one line each, for failure messages.
std::string describeDifferences(const TreeState& before, const TreeState& after);

}  // namespace tarnwick::faults
