#pragma once

// The system's own words for a missing file or folder, as the file layer reports them: the
// C library's strerror text on POSIX systems, the Windows message text on Windows.
namespace tarnwick::testing {
#ifdef _WIN32
inline constexpr char kMissingFileReason[] = "File not found";
inline constexpr char16_t kMissingFolderReason16[] = u"Path not found";
#else
inline constexpr char kMissingFileReason[] = "No such file";
inline constexpr char16_t kMissingFolderReason16[] = u"No such file or directory";
#endif
}  // namespace tarnwick::testing
