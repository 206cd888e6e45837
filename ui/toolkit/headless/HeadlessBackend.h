#pragma once

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/CDialogEx.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::tk {

// The user of a headless run: performs actions on the top dialog and answers message boxes and
// file dialogs. A script, or a C++ test, plays this part.
class ScriptedUser {
 public:
  virtual ~ScriptedUser() = default;
  // Performs the next action on the top-most open dialog.
  virtual void act(CDialogEx& top) = 0;
  virtual int answerMessageBox(const MessageBoxRequest& request) = 0;
  virtual std::optional<std::string> answerFileDialog(const FileDialogRequest& request) = 0;
  // A number that grows whenever the user moves on (a script's next step); a user without such
  // a position keeps 0, and only changes to the dialogs count as its progress.
  virtual std::size_t position() const { return 0; }
  // A user may answer without a path, as a browser's user does; the default answers with the
  // path from answerFileDialog.
  virtual std::optional<ChosenFile> answerFileChoice(const FileDialogRequest& request);
  // The bytes a save without a path delivers; nothing when taken, else why not.
  virtual std::optional<std::string> receiveFile(const ChosenFile& file,
                                                 std::span<const std::uint8_t> bytes);
};

// The toolkit without windows: the same dialog code runs, with control state only, and a
// scripted user in place of the person at the screen. Once the user reports a failure every
// open dialog ends with Cancel, message boxes answer OK or No, file dialogs are cancelled, so
// the program unwinds normally and the failure is reported afterwards.
//
// A user that makes no progress (no change to the top dialog, no message box, file dialog or
// nested dialog, no step of its own) for kIdleTurnLimit turns in a row fails the run too: a
// dialog that nobody can end would otherwise keep the program waiting for ever.
class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(ScriptedUser& user) : user_(user) {}

  static constexpr int kIdleTurnLimit = 3;

  int runModal(CDialogEx& dialog) override;
  int showMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> showFileDialog(const FileDialogRequest& request) override;
  std::optional<ChosenFile> chooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> deliverFile(const ChosenFile& file,
                                         std::span<const std::uint8_t> bytes) override;

  void fail(std::string reason);
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }

  CDialogEx* topDialog() const { return open_.empty() ? nullptr : open_.back(); }
  const std::vector<CDialogEx*>& openDialogs() const { return open_; }
  const std::vector<MessageBoxRequest>& shownMessages() const { return shown_; }

 private:
  ScriptedUser& user_;
  std::vector<CDialogEx*> open_;
  std::vector<MessageBoxRequest> shown_;
  bool failed_ = false;
  std::string failure_;
  std::size_t events_ = 0;  // dialogs opened, message boxes and file dialogs shown
};

// A user made of callbacks, for C++ tests. Unset callbacks fail the run when they are needed.
class CallbackUser : public ScriptedUser {
 public:
  std::function<void(CDialogEx&)> onAct;
  std::function<int(const MessageBoxRequest&)> onMessage;
  std::function<std::optional<std::string>(const FileDialogRequest&)> onFile;
  // Optional: answers file dialogs without a path (takes precedence over onFile).
  std::function<std::optional<ChosenFile>(const FileDialogRequest&)> onChoose;
  std::function<std::optional<std::string>(const ChosenFile&, std::span<const std::uint8_t>)>
      onDeliver;
  HeadlessBackend* backend = nullptr;

  void act(CDialogEx& top) override;
  int answerMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> answerFileDialog(const FileDialogRequest& request) override;
  std::optional<ChosenFile> answerFileChoice(const FileDialogRequest& request) override;
  std::optional<std::string> receiveFile(const ChosenFile& file,
                                         std::span<const std::uint8_t> bytes) override;
};

// Makes a backend active for the lifetime of the guard and restores the previous one after.
class ScopedBackend {
 public:
  explicit ScopedBackend(Backend& backend) : previous_(activeBackend()) { setBackend(&backend); }
  ~ScopedBackend() { setBackend(previous_); }
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;

 private:
  Backend* previous_;
};

}  // namespace tarnwick::tk
