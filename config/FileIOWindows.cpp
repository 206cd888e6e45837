// The file operations of FileIO.h on Windows: the same promises as the POSIX build, made with
// Win32 calls. Paths are UTF-8 and go to the wide-character API.
//
// This file includes windows.h and no toolkit header.
#include "FileIO.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tarnwick {

namespace {

// Update locks are named mutexes, one per file: a lock on the file itself would need an open
// handle on it, and Windows does not replace a file that is open, so the save the lock protects
// could never happen. The name is the file's final path (links followed), in upper case, hashed.
constexpr wchar_t kLockPrefix[] = L"Local\\tarnwick-update-";

constexpr std::wstring_view kTempPrefix = L".tarnwick-save-";
// A temporary file of ours older than this (in 100 ns units: a minute) is left over from a save
// that was killed, and the next save into its folder removes it.
constexpr std::uint64_t kStaleTempAge = 60ull * 10'000'000ull;

std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, nullptr);
  }
  return out;
}

// Another program has the file open without sharing it (an editor, a spreadsheet, a backup or
// virus scanner), or has locked part of it: Windows refuses to read or replace it until that
// program lets go. The system's words for this do not tell a person what to do; ours do.
constexpr char kHeldOpenElsewhere[] =
    "The file is open in another program; close it there and try again";

bool heldOpenElsewhere(DWORD err) {
  return err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION;
}

// The system's words for an error code, without the closing line break.
std::string systemReason(DWORD err) {
  if (heldOpenElsewhere(err)) return kHeldOpenElsewhere;
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  if (message.empty()) return "System error " + std::to_string(err);
  return narrow(message);
}

FileError systemError(const std::string& path, DWORD err) {
  return FileError{path, systemReason(err), static_cast<int>(err)};
}

// A handle closed on every path out of a function.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid()) ::CloseHandle(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }
  void reset(HANDLE h) {
    if (valid()) ::CloseHandle(h_);
    h_ = h;
  }
  // Closes now and reports whether that went well.
  bool close() { return ::CloseHandle(release()) != 0; }

 private:
  HANDLE h_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring folderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

bool writeAll(HANDLE h, std::span<const std::uint8_t> data, DWORD& err) {
  std::size_t done = 0;
  while (done < data.size()) {
    const std::size_t left = data.size() - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD written = 0;
    if (::WriteFile(h, data.data() + done, chunk, &written, nullptr) == 0) {
      err = ::GetLastError();
      return false;
    }
    if (written == 0) {  // no progress and no error: a full device rather than a spin
      err = ERROR_DISK_FULL;
      return false;
    }
    done += written;
  }
  return true;
}

// Opens a file on disk for reading; a device, a pipe or a folder is CannotOpen.
std::optional<FileError> openRegular(const std::string& path, Handle& out, std::uint64_t& size) {
  HANDLE h = ::CreateFileW(widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileError{path, systemReason(::GetLastError()), 0, FileErrorKind::CannotOpen};
  Handle file(h);
  if (::GetFileType(h) != FILE_TYPE_DISK) return FileError{path, "Not a regular file", 0, FileErrorKind::CannotOpen};
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileInformationByHandle(h, &info) == 0) {
    return FileError{path, systemReason(::GetLastError()), 0, FileErrorKind::CannotOpen};
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return FileError{path, systemReason(ERROR_DIRECTORY), 0, FileErrorKind::CannotOpen};
  }
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  out.reset(file.release());
  return std::nullopt;
}

std::optional<FileError> readExactly(const std::string& path, HANDLE h, std::uint8_t* out,
                                     std::size_t want) {
  std::size_t done = 0;
  while (done < want) {
    const std::size_t left = want - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (::ReadFile(h, out + done, chunk, &got, nullptr) == 0) {
      return FileError{path, systemReason(::GetLastError()), 0, FileErrorKind::ReadError};
    }
    if (got == 0) return FileError{path, "The file ended before all its bytes could be read", 0, FileErrorKind::ReadError};
    done += got;
  }
  return std::nullopt;
}

std::uint64_t fileTimeValue(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void removeStaleTemps(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = folder + L"\\" + std::wstring(kTempPrefix) + L"*";
  HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowTime{};
  ::GetSystemTimeAsFileTime(&nowTime);
  const std::uint64_t now = fileTimeValue(nowTime);
  do {
    const std::uint64_t written = fileTimeValue(found.ftLastWriteTime);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && written < now &&
        now - written > kStaleTempAge) {
      ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    }
  } while (::FindNextFileW(search, &found) != 0);
  ::FindClose(search);
}

std::wstring tempNameIn(const std::wstring& folder, unsigned attempt) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  std::uint64_t seed = static_cast<std::uint64_t>(counter.QuadPart) ^
                       (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 20) ^
                       (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15ull);
  std::wstring name = folder + L"\\" + std::wstring(kTempPrefix);
  for (int i = 0; i < 6; ++i) {
    name.push_back(kDigits[seed % 36]);
    seed /= 36;
  }
  return name;
}

// The held update locks of this process by FileLock number (FileLock keeps an int).
class HeldLocks {
 public:
  int add(HANDLE mutex) {
    const std::lock_guard<std::mutex> guard(mutex_);
    const int number = next_++;
    held_.emplace(number, mutex);
    return number;
  }
  void release(int number) {
    HANDLE mutex = nullptr;
    {
      const std::lock_guard<std::mutex> guard(mutex_);
      const auto it = held_.find(number);
      if (it == held_.end()) return;
      mutex = it->second;
      held_.erase(it);
    }
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
  }

 private:
  std::mutex mutex_;
  std::map<int, HANDLE> held_;
  int next_ = 0;
};

HeldLocks& heldLocks() {
  static HeldLocks locks;
  return locks;
}

std::wstring lockName(const std::wstring& finalPath) {
  std::wstring upper = finalPath;
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (wchar_t c : upper) {
    hash = (hash ^ static_cast<std::uint16_t>(c)) * 0x100000001b3ull;
  }
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring name = kLockPrefix;
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHex[(hash >> shift) & 0xF]);
  return name;
}

FileError alreadyExists(const std::string& path) {
  return FileError{path, kAlreadyExists, static_cast<int>(ERROR_FILE_EXISTS)};
}

// The full path of the file open at `h`, every link on the way followed ("\\?\C:\...").
std::optional<std::wstring> finalPathOf(HANDLE h) {
  std::wstring buffer(1024, L'\0');
  DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  if (n >= buffer.size()) {
    buffer.assign(n + 1, L'\0');
    n = ::GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  }
  if (n == 0 || n >= buffer.size()) return std::nullopt;
  buffer.resize(n);
  return buffer;
}

// A buffer aligned for unbuffered reads, freed with the object.
struct AlignedBuffer {
  AlignedBuffer(std::size_t size, std::size_t alignment)
      : bytes(static_cast<std::uint8_t*>(::operator new(size, std::align_val_t(alignment)))),
        align(alignment) {}
  ~AlignedBuffer() { ::operator delete(bytes, std::align_val_t(align)); }
  AlignedBuffer(const AlignedBuffer&) = delete;
  AlignedBuffer& operator=(const AlignedBuffer&) = delete;
  std::uint8_t* bytes;
  std::size_t align;
};

// The sector size of the volume that holds `path`, at least a page (4096 bytes) so that it
// also suits the memory alignment unbuffered reads need.
std::size_t unbufferedAlignment(const std::wstring& path) {
  std::size_t alignment = 4096;
  std::wstring volume(MAX_PATH + 1, L'\0');
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD clusters = 0;
  if (::GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size())) != 0 &&
      ::GetDiskFreeSpaceW(volume.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &clusters) != 0 &&
      bytesPerSector > alignment) {
    alignment = bytesPerSector;
  }
  return alignment;
}

// Reads the finished temporary file back from the device, past the system's cache
// (FILE_FLAG_NO_BUFFERING: whole sectors into a sector-aligned buffer), and compares it with
// what was written. Where the volume does not take unbuffered reads, an ordinary read of the
// flushed file has to do.
std::optional<FileError> verifyOnDevice(const std::string& path, const std::wstring& file,
                                        std::span<const std::uint8_t> data) {
  Handle h(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_NO_BUFFERING, nullptr));
  if (!h.valid()) {
    h.reset(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!h.valid()) return systemError(path, ::GetLastError());
  const std::size_t alignment = unbufferedAlignment(file);
  // Room for one sector more than was written, to see a file that came back longer.
  const std::size_t size = (data.size() / alignment + 1) * alignment;
  AlignedBuffer buffer(size, alignment);
  std::size_t done = 0;
  while (done < size) {
    const std::size_t left = size - done;
    const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (::ReadFile(h.get(), buffer.bytes + done, chunk, &got, nullptr) == 0) {
      return systemError(path, ::GetLastError());
    }
    if (got == 0) break;
    done += got;
  }
  return compareReadBack(path, data, std::span<const std::uint8_t>(buffer.bytes, done));
}

}  // namespace

std::optional<FileError> saveFileAtomically(const std::string& path,
                                            std::span<const std::uint8_t> data,
                                            IfExists ifExists,
                                            TempFiles /*temps: Windows always names them*/) {
  if (path.empty()) return systemError(path, ERROR_FILE_NOT_FOUND);
  std::wstring target = widen(path);

  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists) {
    const DWORD err = ::GetLastError();
    if (err != ERROR_FILE_NOT_FOUND) return systemError(path, err);
  } else {
    if (ifExists == IfExists::Fail) return alreadyExists(path);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return systemError(path, ERROR_DIRECTORY);
    // Replacing a file takes the same rights as writing into it and deleting it: a read-only
    // file, or one the caller may not write, is refused with the system's reason, and so is
    // one another program holds open without letting others write or delete it (which the
    // replace would otherwise find out only halfway, with "access denied").
    Handle probe(::CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid()) return systemError(path, ::GetLastError());
    if (::GetFileType(probe.get()) != FILE_TYPE_DISK) return FileError{path, "Not a regular file", 0};
    // Opening followed every symbolic link, junction and other reparse point on the way: the
    // file to replace is the one at their end, so that a link stays a link, pointing at the
    // new file, as on other systems. Renaming over the link itself would put a plain file in
    // its place (and Windows' replace removes the file the link named).
    if (auto final = finalPathOf(probe.get())) target = std::move(*final);
  }

  const std::wstring folder = folderOf(target);
  removeStaleTemps(folder);

  std::wstring tempName;
  HANDLE raw = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && raw == INVALID_HANDLE_VALUE; ++attempt) {
    tempName = tempNameIn(folder, attempt);
    raw = ::CreateFileW(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (raw == INVALID_HANDLE_VALUE) return systemError(path, ::GetLastError());
  Handle temp(raw);

  DWORD err = 0;
  std::optional<FileError> failure;
  bool ok = writeAll(temp.get(), data, err);
  if (ok && ::FlushFileBuffers(temp.get()) == 0) {
    err = ::GetLastError();
    ok = false;
  }
  if (ok && !temp.close()) {
    err = ::GetLastError();
    ok = false;
  }
  if (ok) {
    failure = verifyOnDevice(path, tempName, data);
    ok = !failure;
  }
  if (ok && ifExists == IfExists::Fail) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails where a file is, however it got there.
    if (::MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) == 0) {
      err = ::GetLastError();
      ok = false;
      if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) failure = alreadyExists(path);
    }
  } else if (ok) {
    // ReplaceFileW keeps the old file's attributes and security; where it cannot (another file
    // system, a file that just went away) the rename does the same job.
    bool replaced = exists && ::ReplaceFileW(target.c_str(), tempName.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                             nullptr) != 0;
    if (!replaced &&
        ::MoveFileExW(tempName.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
      err = ::GetLastError();
      ok = false;
    }
  }
  if (!ok) {
    if (temp.valid()) temp.close();
    ::DeleteFileW(tempName.c_str());
    return failure ? std::move(*failure) : systemError(path, err);
  }
  return std::nullopt;
}

std::optional<FileError> prepareFolder(const std::string& path, bool create) {
  if (path.empty()) return systemError(path, ERROR_PATH_NOT_FOUND);
  // No rule about links here: Windows lets only administrators (and developer mode) make
  // symbolic links, so a folder others can write to holds none of theirs.
  const std::filesystem::path folder(widen(path));
  std::error_code ec;
  if (create) std::filesystem::create_directories(folder, ec);
  if (ec) return FileError{path, ec.message(), ec.value()};
  const std::filesystem::file_status status = std::filesystem::status(folder, ec);
  if (status.type() == std::filesystem::file_type::not_found) {
    return create ? std::optional<FileError>(systemError(path, ERROR_PATH_NOT_FOUND))
                  : std::nullopt;
  }
  if (ec) return FileError{path, ec.message(), ec.value()};
  if (!std::filesystem::is_directory(status)) return systemError(path, ERROR_DIRECTORY);
  return std::nullopt;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) heldLocks().release(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() {
  if (fd_ >= 0) heldLocks().release(fd_);
}

FileLock lockForUpdate(const std::string& path) {
  // Only files on disk; a missing file gives an empty lock (there is nothing to lose).
  std::wstring finalPath;
  {
    Handle file(::CreateFileW(widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) return {};
    auto final = finalPathOf(file.get());
    if (!final) return {};
    finalPath = std::move(*final);
  }
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, lockName(finalPath).c_str());
  if (mutex == nullptr) return {};
  // A lock whose holder ended without releasing it (WAIT_ABANDONED) is ours now all the same.
  const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return {};
  }
  return FileLock(heldLocks().add(mutex));
}

std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out) {
  Handle file(INVALID_HANDLE_VALUE);
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, file, size)) return opened;
  if (size < out.size()) return FileError{path, "The file is shorter than expected", 0, FileErrorKind::TooShort};
  return readExactly(path, file.get(), out.data(), out.size());
}

std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                       std::vector<std::uint8_t>& out) {
  Handle file(INVALID_HANDLE_VALUE);
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, file, size)) return opened;
  if (size > maxBytes) return tooLargeError(path, maxBytes);
  out.assign(static_cast<std::size_t>(size), 0);
  return readExactly(path, file.get(), out.data(), out.size());
}

}  // namespace tarnwick
