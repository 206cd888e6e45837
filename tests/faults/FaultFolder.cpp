#include "FaultFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tarnwick::faults {

namespace fs = std::filesystem;

std::optional<Account> unprivilegedAccount() {
  if (::geteuid() != 0) return std::nullopt;
  const passwd* entry = ::getpwnam("nobody");
  if (entry == nullptr || entry->pw_uid == 0) return std::nullopt;
  return Account{entry->pw_uid, entry->pw_gid};
}

FaultFolder::FaultFolder() {
  std::string pattern = (fs::temp_directory_path() / "tarnwick-fault-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

FaultFolder::~FaultFolder() {
  if (path_.empty()) return;
  clearImmutable();
  // Root removes anything; an ordinary user needs its folders writable again first.
  std::error_code ec;
  ::chmod(path_.c_str(), 0700);
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
  }
  fs::remove_all(path_, ec);
}

std::string FaultFolder::file(const std::string& relative) const {
  return relative.empty() ? path_ : path_ + "/" + relative;
}

void FaultFolder::write(const std::string& relative, const Bytes& bytes, unsigned mode) {
  const std::string target = file(relative);
  {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  ::chmod(target.c_str(), mode);
}

void FaultFolder::folder(const std::string& relative, unsigned mode) {
  ::mkdir(file(relative).c_str(), 0755);
  ::chmod(file(relative).c_str(), mode);
}

void FaultFolder::fifo(const std::string& relative) { ::mkfifo(file(relative).c_str(), 0644); }

void FaultFolder::link(const std::string& relative, const std::string& target) {
  std::error_code ec;
  fs::create_symlink(target, file(relative), ec);
}

void FaultFolder::chmod(const std::string& relative, unsigned mode) {
  ::chmod(file(relative).c_str(), mode);
}

bool FaultFolder::sparse(const std::string& relative, const Bytes& head, std::uint64_t length) {
  write(relative, head);
  return ::truncate(file(relative).c_str(), static_cast<off_t>(length)) == 0;
}

void FaultFolder::giveTo(const Account& account) {
  ::lchown(path_.c_str(), account.uid, account.gid);
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    ::lchown(it->path().c_str(), account.uid, account.gid);
  }
}

void FaultFolder::keepOwn(const std::string& relative) {
  ::lchown(file(relative).c_str(), ::geteuid(), ::getegid());
}

bool FaultFolder::makeImmutable(const std::string& relative) {
  const std::string target = file(relative);
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags |= FS_IMMUTABLE_FL;
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  if (done) immutable_.push_back(target);
  return done;
}

void FaultFolder::clearImmutable() {
  for (const std::string& target : immutable_) {
    const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
  }
  immutable_.clear();
}

namespace {

EntryState entryState(const std::string& path) {
  EntryState e;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return e;
  e.mode = st.st_mode & 07777;
  e.owner = st.st_uid;
  e.size = static_cast<std::uint64_t>(st.st_size);
  if (S_ISREG(st.st_mode)) {
    e.kind = 'f';
    if (e.size <= kContentLimit) {
      std::ifstream in(path, std::ios::binary);
      e.content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  } else if (S_ISDIR(st.st_mode)) {
    e.kind = 'd';
    e.size = 0;  // a folder's size depends on its history, not on what it holds
  } else if (S_ISLNK(st.st_mode)) {
    e.kind = 'l';
    std::error_code ec;
    e.linkTarget = fs::read_symlink(path, ec).string();
  } else if (S_ISFIFO(st.st_mode)) {
    e.kind = 'p';
  }
  return e;
}

}  // namespace

TreeState FaultFolder::state() const {
  TreeState tree;
  tree["."] = entryState(path_);
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    // By the path's text: resolving it would follow the links this state has to record.
    const std::string full = it->path().string();
    tree[full.substr(path_.size() + 1)] = entryState(full);
  }
  return tree;
}

std::string describeDifferences(const TreeState& before, const TreeState& after) {
  std::ostringstream out;
  auto describe = [](const EntryState& e) {
    std::ostringstream s;
    s << e.kind << " mode " << std::oct << e.mode << std::dec << " owner " << e.owner
      << " size " << e.size;
    if (!e.linkTarget.empty()) s << " -> " << e.linkTarget;
    return s.str();
  };
  for (const auto& [name, entry] : before) {
    const auto found = after.find(name);
    if (found == after.end()) {
      out << name << ": removed\n";
    } else if (!(found->second == entry)) {
      out << name << ": " << describe(entry) << " became " << describe(found->second)
          << (found->second.content != entry.content ? " (content changed)" : "") << "\n";
    }
  }
  for (const auto& [name, entry] : after) {
    if (before.find(name) == before.end()) out << name << ": added (" << describe(entry) << ")\n";
  }
  return out.str();
}

}  // namespace tarnwick::faults
