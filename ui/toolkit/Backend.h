#pragma once

#include <optional>
#include <string>

namespace tarnwick::tk {

class CDialogEx;

enum class MessageIcon { None, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo };

struct MessageBoxRequest {
  std::u16string text;
  std::u16string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  std::uint32_t flags = 0;         // the style value the program asked for (0x30, 0x40, 0x24, 0)
  std::uint16_t language = 1033;
  const CDialogEx* owner = nullptr;  // nullptr: no owner window
};

struct FileDialogRequest {
  bool save = false;
  std::u16string filter;            // "Name(*.x)|*.x|...||"
  std::u16string defaultExtension;  // appended when the chosen name has none
  std::u16string initialName;
  const CDialogEx* owner = nullptr;
};

// The front end of the toolkit: real windows (Qt) or a scripted user (headless).
class Backend {
 public:
  virtual ~Backend() = default;
  // Shows the dialog, runs its initialisation and returns when it has ended.
  virtual int runModal(CDialogEx& dialog) = 0;
  // Returns IDOK, IDYES or IDNO.
  virtual int showMessageBox(const MessageBoxRequest& request) = 0;
  // The chosen path (UTF-8), or nothing when the user cancelled. The default extension rule is
  // applied by the caller (CFileDialog).
  virtual std::optional<std::string> showFileDialog(const FileDialogRequest& request) = 0;
};

// The backend all dialogs use; set once by the program's entry point (or a test).
void setBackend(Backend* backend);
Backend* activeBackend();

}  // namespace tarnwick::tk
