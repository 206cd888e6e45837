#include "ui/toolkit/win32/Win32Backend.h"

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/FileFilter.h"
#include "ui/toolkit/win32/Win32DialogWindow.h"

#include <windows.h>
// commdlg.h after windows.h: the common file dialogs.
#include <commdlg.h>

#include <algorithm>
#include <filesystem>

namespace tarnwick::tk::win32 {

namespace {

std::wstring toWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring wideFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

std::string utf8FromWide(const std::wstring& text) {
  const std::u8string u8 = std::filesystem::path(text).u8string();
  return std::string(u8.begin(), u8.end());
}

// "Name(*.x)|*.x|All files(*.*)|*.*||" in the common dialogs' form: name and patterns as
// zero-terminated strings one after the other, an empty string at the end.
std::wstring nativeFilter(const std::u16string& filter) {
  std::wstring out;
  for (const FileFilterEntry& entry : parseFileFilter(filter)) {
    out += toWide(entry.name);
    out.push_back(L'\0');
    for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
      if (i > 0) out.push_back(L';');
      out += toWide(entry.patterns[i]);
    }
    out.push_back(L'\0');
  }
  out.push_back(L'\0');
  return out;
}

// The common file dialogs, loaded the first time one is opened: their library brings the shell's
// libraries with it (six in all), which the program's start need not wait for. It is taken from
// the system folder only, never from the program's or the current folder. Null when the library
// or the function cannot be had: the dialog then does not open, as when it is cancelled.
using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
FileDialogFunction fileDialog(bool save) {
  static const HMODULE library =
      LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) return nullptr;
  const FARPROC function = GetProcAddress(library, save ? "GetSaveFileNameW" : "GetOpenFileNameW");
  // Through void(*)(), the pointer type that converts to every other function pointer type.
  return reinterpret_cast<FileDialogFunction>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

Win32Backend::Win32Backend() = default;
Win32Backend::~Win32Backend() = default;

void* Win32Backend::ownerFor(const CDialogEx* dialog) const {
  for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
    if (dialog == nullptr || &(*it)->model() == dialog) return (*it)->handle();
  }
  return nullptr;
}

const CDialogEx* Win32Backend::topDialog() const {
  return open_.empty() ? nullptr : &open_.back()->model();
}

int Win32Backend::runModal(CDialogEx& dialog) {
  // A dialog stands over the top-most open one (the application's main window as owner); a
  // task-bar window (the main window) stands on its own.
  HWND owner = dialog.dialogTemplate().taskbarWindow ? nullptr
                                                     : static_cast<HWND>(ownerFor(nullptr));
  Win32DialogWindow window(dialog, owner);
  open_.push_back(&window);
  const int result = window.runModal([this](HWND hwnd) {
    if (shownHook_) shownHook_(hwnd);
  });
  open_.erase(std::find(open_.begin(), open_.end(), &window));
  return result;
}

// The box the program asks for: its flags (0x30, 0x40, 0x24 or 0) and its language, and no
// owner unless the request names one (the access prompt's "Wrong Password!").
int Win32Backend::showMessageBox(const MessageBoxRequest& request) {
  HWND owner = request.owner != nullptr ? static_cast<HWND>(ownerFor(request.owner)) : nullptr;
  const std::wstring text = toWide(request.text);
  const std::wstring caption = toWide(request.caption);
  const int answer = MessageBoxExW(owner, text.c_str(), caption.c_str(), request.flags,
                                   request.language);
  if (answer == IDYES) return IDYES;
  if (request.buttons == MessageButtons::YesNo) return IDNO;
  return IDOK;
}

std::optional<std::string> Win32Backend::showFileDialog(const FileDialogRequest& request) {
  const std::wstring filter = nativeFilter(request.filter);
  const std::wstring extension = toWide(request.defaultExtension);
  const std::wstring folder = wideFromUtf8(request.initialFolder);
  std::wstring file(32768, L'\0');
  const std::wstring initialName = toWide(request.initialName);
  std::copy(initialName.begin(), initialName.begin() + static_cast<std::ptrdiff_t>(
                                     std::min(initialName.size(), file.size() - 1)),
            file.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(ownerFor(request.owner));
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // The program asks for neither an overwrite question nor a must-exist check: a name that does
  // not exist reaches the program ("No Config File!"), and a save replaces a file without a
  // question. The working folder stays where it was, since oper.db is read from there.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  const FileDialogFunction show = fileDialog(request.save);
  if (show == nullptr || !show(&ofn)) return std::nullopt;
  // The dialog wrote a NUL-terminated name into the fixed buffer: keep what stands before it.
  // cppcheck-suppress stlcstrConstructor
  const std::wstring path(file.c_str());
  if (path.empty()) return std::nullopt;
  return utf8FromWide(path);
}

}  // namespace tarnwick::tk::win32
