// The cards of a Windows PC: the drives Windows calls removable (card readers, SD slots, USB
// sticks) that hold a medium. A reader's empty slot is a drive too; it has no volume and is
// left out.

#include "config/Cards.h"
#include "config/TextConversions.h"

#include <windows.h>

#include <string>

namespace tarnwick {

namespace {

std::string utf8(const wchar_t* text) {
  const std::wstring wide(text);
  return toUtf8(std::u16string(wide.begin(), wide.end()));
}

class RemovableDrives : public CardFinder {
 public:
  std::vector<Card> cards() override {
    // An empty slot would otherwise bring up the system's "no disk in the drive" box.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    std::vector<Card> found;
    // "C:\", "D:\", ... one after another, each ended by a zero, two zeros at the end.
    std::wstring drives(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
    const DWORD length =
        GetLogicalDriveStringsW(static_cast<DWORD>(drives.size()), drives.data());
    drives.resize(length < drives.size() ? length : 0);
    for (std::size_t start = 0; start < drives.size();) {
      const std::size_t end = drives.find(L'\0', start);
      const std::wstring drive =
          drives.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
      start = end == std::wstring::npos ? drives.size() : end + 1;
      if (drive.empty() || GetDriveTypeW(drive.c_str()) != DRIVE_REMOVABLE) continue;
      wchar_t label[MAX_PATH + 1] = {};
      wchar_t fileSystem[MAX_PATH + 1] = {};
      if (!GetVolumeInformationW(drive.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                 fileSystem, MAX_PATH + 1)) {
        continue;
      }
      Card card;
      card.root = utf8(drive.c_str());
      card.label = utf8(label);
      card.fileSystem = utf8(fileSystem);
      ULARGE_INTEGER available{};
      if (GetDiskFreeSpaceExW(drive.c_str(), &available, nullptr, nullptr)) {
        card.freeBytes = available.QuadPart;
      }
      found.push_back(std::move(card));
    }
    SetThreadErrorMode(previousMode, nullptr);
    return found;
  }
};

}  // namespace

CardFinder& systemCardFinder() {
  static RemovableDrives drives;
  return drives;
}

}  // namespace tarnwick
