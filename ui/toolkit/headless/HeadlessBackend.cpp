#include "ui/toolkit/headless/HeadlessBackend.h"

#include "config/TextConversions.h"
#include "ui/toolkit/DialogHost.h"

#include <algorithm>
#include <utility>

namespace tarnwick::tk {

namespace {

// What a turn of the user can change: the dialog's controls, caption and focus, anything the
// backend was asked to show, and the user's own position.
struct TurnState {
  std::vector<ControlState> controls;
  std::u16string caption;
  int focus = 0;
  std::size_t events = 0;
  std::size_t position = 0;

  bool operator==(const TurnState&) const = default;
};

TurnState turnState(const CDialogEx& dialog, std::size_t events, const ScriptedUser& user) {
  return {dialog.controls(), dialog.GetWindowText(), dialog.focusedControlId(), events,
          user.position()};
}

}  // namespace

int HeadlessBackend::runModal(CDialogEx& dialog) {
  ++events_;
  open_.push_back(&dialog);
  // The focus at opening follows the rule every backend follows.
  if (const bool firstControl = dialog.initialize(); !dialog.isEnded()) {
    placeInitialFocus(dialog, firstControl);
  }
  int idleTurns = 0;
  while (!dialog.isEnded()) {
    if (failed_) {
      dialog.EndDialog(IDCANCEL);
      break;
    }
    const TurnState before = turnState(dialog, events_, user_);
    user_.act(dialog);
    if (dialog.isEnded() || failed_) continue;
    if (turnState(dialog, events_, user_) != before) {
      idleTurns = 0;
    } else if (++idleTurns >= kIdleTurnLimit) {
      fail("the user made no progress in dialog " + std::to_string(dialog.templateId()) +
           " for " + std::to_string(kIdleTurnLimit) + " turns in a row");
    }
  }
  open_.erase(std::find(open_.begin(), open_.end(), &dialog));
  return dialog.result();
}

int HeadlessBackend::showMessageBox(const MessageBoxRequest& request) {
  ++events_;
  shown_.push_back(request);
  if (failed_) return request.buttons == MessageButtons::YesNo ? IDNO : IDOK;
  const int answer = user_.answerMessageBox(request);
  if (failed_) return request.buttons == MessageButtons::YesNo ? IDNO : IDOK;
  return answer;
}

std::optional<std::string> HeadlessBackend::showFileDialog(const FileDialogRequest& request) {
  ++events_;
  if (failed_) return std::nullopt;
  std::optional<std::string> path = user_.answerFileDialog(request);
  if (failed_) return std::nullopt;
  return path;
}

std::optional<ChosenFile> HeadlessBackend::chooseFile(const FileDialogRequest& request) {
  ++events_;
  if (failed_) return std::nullopt;
  std::optional<ChosenFile> chosen = user_.answerFileChoice(request);
  if (failed_) return std::nullopt;
  return chosen;
}

std::optional<std::string> HeadlessBackend::deliverFile(const ChosenFile& file,
                                                        std::span<const std::uint8_t> bytes) {
  ++events_;
  if (failed_) return "the run has failed";
  return user_.receiveFile(file, bytes);
}

std::optional<ChosenFile> ScriptedUser::answerFileChoice(const FileDialogRequest& request) {
  std::optional<std::string> path = answerFileDialog(request);
  if (!path || path->empty()) return std::nullopt;
  ChosenFile chosen;
  chosen.path = std::move(*path);
  return chosen;
}

std::optional<std::string> ScriptedUser::receiveFile(const ChosenFile& /*file*/,
                                                     std::span<const std::uint8_t> /*bytes*/) {
  return "this front end cannot deliver files";
}

void HeadlessBackend::fail(std::string reason) {
  if (failed_) return;  // the first failure is the one worth reporting
  failed_ = true;
  failure_ = std::move(reason);
}

void CallbackUser::act(CDialogEx& top) {
  if (onAct) {
    onAct(top);
  } else if (backend != nullptr) {
    backend->fail("no action for dialog " + std::to_string(top.templateId()));
  }
}

int CallbackUser::answerMessageBox(const MessageBoxRequest& request) {
  if (onMessage) return onMessage(request);
  if (backend != nullptr) backend->fail("unexpected message box \"" + toUtf8(request.text) + "\"");
  return IDOK;
}

std::optional<std::string> CallbackUser::answerFileDialog(const FileDialogRequest& request) {
  if (onFile) return onFile(request);
  if (backend != nullptr) backend->fail(request.save ? "unexpected save-file dialog"
                                                     : "unexpected open-file dialog");
  return std::nullopt;
}

std::optional<ChosenFile> CallbackUser::answerFileChoice(const FileDialogRequest& request) {
  if (onChoose) return onChoose(request);
  return ScriptedUser::answerFileChoice(request);
}

std::optional<std::string> CallbackUser::receiveFile(const ChosenFile& file,
                                                     std::span<const std::uint8_t> bytes) {
  if (onDeliver) return onDeliver(file, bytes);
  if (backend != nullptr) backend->fail("unexpected delivery of " + file.name);
  return "nothing takes the file";
}

}  // namespace tarnwick::tk
