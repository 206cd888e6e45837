#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::tk {

class CDialogEx;

enum class MessageIcon { None, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo };
// The button Enter presses when the box opens: the first (OK, Yes) unless the program asks for
// the second (No), for a question whose Yes would lose something.
enum class DefaultButton { First, Second };

struct MessageBoxRequest {
  std::u16string text;
  std::u16string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  DefaultButton defaultButton = DefaultButton::First;
  // The style value the program asked for (0x30, 0x40, 0x24, 0), with 0x100 when the second
  // button is the default.
  std::uint32_t flags = 0;
  std::uint16_t language = 1033;
  const CDialogEx* owner = nullptr;  // nullptr: no owner window
};

struct FileDialogRequest {
  bool save = false;
  std::u16string filter;            // "Name(*.x)|*.x|...||"
  std::u16string defaultExtension;  // appended when the chosen name has none
  std::u16string initialName;
  // The folder to start in: the one the program asks for (the root of the memory card in the
  // PC), else that of the last file chosen in a file dialog during this run, so that a save
  // after a load proposes the loaded file's folder. Empty before the first choice; the backend
  // then picks a folder the user can write to.
  std::string initialFolder;
  const CDialogEx* owner = nullptr;
  // "Open": how many bytes from the start of the file the program uses (0: all of them). A
  // front end that hands over the bytes reads no more, so a huge file costs no memory.
  std::uint64_t readLimit = 0;
};

// What a file dialog hands back. A front end with a file system answers with a path, and the
// program opens or writes the file itself. A front end without one (a browser) answers "open"
// with the chosen file's bytes and "save" with a file name only; the program then writes the
// file's bytes and the front end delivers them (a download, or onto a file the user chose)
// through Backend::deliverFile.
struct ChosenFile {
  std::string path;  // UTF-8; empty when the front end has no paths
  std::string name;  // without a path: the file's name as the user sees it
  // "Open" without a path: the file's bytes, at most FileDialogRequest::readLimit of them.
  std::optional<std::vector<std::uint8_t>> contents;
  // "Open" without a path of a file the front end could not read (the browser refused it):
  // why. The program then treats the file as one that cannot be opened.
  std::string readProblem;

  bool hasPath() const { return !path.empty(); }
};

// The front end of the toolkit: real windows (Qt), a scripted user (headless), or another
// window system. A window backend runs each dialog through a DialogHost (see README.md).
class Backend {
 public:
  virtual ~Backend() = default;
  // Shows the dialog, runs its initialisation and returns when it has ended. Dialogs nest: a
  // handler of this dialog may open another, which runs here again before this call returns.
  virtual int runModal(CDialogEx& dialog) = 0;
  // Returns IDOK, IDYES or IDNO.
  virtual int showMessageBox(const MessageBoxRequest& request) = 0;
  // The file dialog the program asks for; nothing when the user cancelled. The default answers
  // with showFileDialog's path. The default extension rule is applied by the caller (CFileDialog).
  virtual std::optional<ChosenFile> chooseFile(const FileDialogRequest& request);
  // The path way of chooseFile: the chosen path (UTF-8), or nothing when the user cancelled.
  virtual std::optional<std::string> showFileDialog(const FileDialogRequest& request);
  // Delivers the bytes the program wrote for a file chosen for saving without a path. Nothing
  // on success, else why not. The default has nowhere to deliver to and says so.
  virtual std::optional<std::string> deliverFile(const ChosenFile& file,
                                                 std::span<const std::uint8_t> bytes);
};

// The backend all dialogs use; set once by the program's entry point (or a test).
void setBackend(Backend* backend);
Backend* activeBackend();

}  // namespace tarnwick::tk
