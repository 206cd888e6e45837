#include "ui/toolkit/headless/HeadlessBackend.h"

#include "config/TextConversions.h"

#include <algorithm>

namespace tarnwick::tk {

int HeadlessBackend::runModal(CDialogEx& dialog) {
  open_.push_back(&dialog);
  dialog.initialize();
  while (!dialog.isEnded()) {
    if (failed_) {
      dialog.EndDialog(IDCANCEL);
      break;
    }
    user_.act(dialog);
  }
  open_.erase(std::find(open_.begin(), open_.end(), &dialog));
  return dialog.result();
}

int HeadlessBackend::showMessageBox(const MessageBoxRequest& request) {
  shown_.push_back(request);
  if (failed_) return request.buttons == MessageButtons::YesNo ? IDNO : IDOK;
  const int answer = user_.answerMessageBox(request);
  if (failed_) return request.buttons == MessageButtons::YesNo ? IDNO : IDOK;
  return answer;
}

std::optional<std::string> HeadlessBackend::showFileDialog(const FileDialogRequest& request) {
  if (failed_) return std::nullopt;
  std::optional<std::string> path = user_.answerFileDialog(request);
  if (failed_) return std::nullopt;
  return path;
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

}  // namespace tarnwick::tk
