#include "ui/toolkit/web/WebBackend.h"

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
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
    WebDialogWindow window(dialog, nextWindow_++, [this] { reportUnsavedWork(); });
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
  ChosenFile chosen;
  if (request.save) {
    // A page cannot choose a folder: the file takes the name the program proposes (the file
    // dialog adds the default extension) and becomes a download under it.
    chosen.name = toUtf8(request.initialName);
    if (chosen.name.empty()) return std::nullopt;
    return chosen;
  }
  std::optional<page::PickedFile> picked = page::pickFile(acceptFromFilter(request.filter));
  if (!picked) return std::nullopt;
  chosen.name = std::move(picked->name);
  chosen.contents = std::move(picked->bytes);
  return chosen;
}

std::optional<std::string> WebBackend::deliverFile(const ChosenFile& file,
                                                   std::span<const std::uint8_t> bytes) {
  if (file.name.empty()) return std::string("the file has no name");
  page::download(file.name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return std::nullopt;
}

}  // namespace tarnwick::tk::web
