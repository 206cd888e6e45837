#include "ui/toolkit/web/WebBackend.h"

#include "config/FileIO.h"
#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/web/PageBridge.h"
#include "ui/toolkit/web/PageText.h"
#include "ui/toolkit/web/WebDialogWindow.h"

#include <algorithm>
#include <vector>

namespace tarnwick::tk::web {

namespace {

const char* iconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation:
      return "exclamation";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::Question:
      return "question";
    case MessageIcon::None:
      break;
  }
  return "none";
}
}  // namespace

int WebBackend::runModal(CDialogEx& dialog) {
  open_.push_back(&dialog);
  int result = IDCANCEL;
  {
    WebDialogWindow window(dialog, nextWindow_++, pageFile_, [this] { reportUnsavedWork(); });
    result = window.runModal();
  }
  open_.pop_back();
  if (open_.empty()) {
    // Nothing is left that could be lost.
    unsavedReported_ = false;
    page::programEnded();
  }
  return result;
}

void WebBackend::reportUnsavedWork() {
  const bool unsaved = std::any_of(open_.begin(), open_.end(),
                                   [](CDialogEx* dialog) { return dialog->hasUnsavedWork(); });
  if (unsaved == unsavedReported_) return;
  unsavedReported_ = unsaved;
  page::setUnsavedWork(unsaved);
}

int WebBackend::showMessageBox(const MessageBoxRequest& request) {
  const bool yesNo = request.buttons == MessageButtons::YesNo;
  const std::string json = "{\"text\":" + jsonString(request.text) +
                           ",\"caption\":" + jsonString(request.caption) + ",\"icon\":\"" +
                           iconName(request.icon) + "\",\"yesNo\":" + (yesNo ? "true" : "false") +
                           ",\"defaultButton\":" +
                           (request.defaultButton == DefaultButton::Second ? "1" : "0") + "}";
  const int answer = page::messageBox(json);
  if (answer == IDYES) return IDYES;
  if (yesNo) return IDNO;
  return IDOK;
}

std::optional<ChosenFile> WebBackend::chooseFile(const FileDialogRequest& request) {
  const std::string types = pickerTypesJson(request.filter);
  ChosenFile chosen;
  if (request.save) {
    // Where the browser lets the page write files, onto the file the user loaded (with the
    // browser's permission) or one the user picks; elsewhere a download under the proposed
    // name (the file dialog adds the default extension).
    const std::string proposed =
        applyDefaultExtension(toUtf8(request.initialName), request.defaultExtension);
    page::FileReply target = page::chooseSaveTarget(proposed, types);
    if (target.status == "cancelled") return std::nullopt;
    chosen.name = target.status == "file" ? target.name : proposed;
    if (chosen.name.empty()) return std::nullopt;
    return chosen;
  }
  page::FileReply picked = page::pickFile(types, request.readLimit);
  if (picked.status == "cancelled") return std::nullopt;
  chosen.name = std::move(picked.name);
  if (picked.status == "read") {
    chosen.contents = std::move(picked.bytes);
  } else {
    chosen.readProblem = picked.text.empty() ? "the browser could not read the file" : picked.text;
  }
  return chosen;
}

std::optional<std::string> WebBackend::deliverFile(const ChosenFile& file,
                                                   std::span<const std::uint8_t> bytes) {
  if (file.name.empty()) return std::string("the file has no name");
  const std::vector<std::uint8_t> written(bytes.begin(), bytes.end());
  page::FileReply reply = page::saveFile(file.name, written);
  if (reply.status == "downloaded") return std::nullopt;
  if (reply.status != "written") {
    return reply.text.empty() ? std::string("the browser could not write the file") : reply.text;
  }
  // The file is read back: a card that returns other bytes than it took loses the settings the
  // camera needs, and the user learns it here rather than in the forest.
  if (reply.bytes != written) return std::string(kCardReturnedDifferentBytes);
  return std::nullopt;
}

}  // namespace tarnwick::tk::web
