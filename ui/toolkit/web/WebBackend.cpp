#include "ui/toolkit/web/WebBackend.h"

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/web/PageBridge.h"
#include "ui/toolkit/web/PageText.h"
#include "ui/toolkit/web/WebDialogWindow.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

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
  offerPendingSave();
  WebDialogWindow window(dialog, nextWindow_++);
  open_.push_back(&window);
  const int result = window.runModal();
  open_.erase(std::find(open_.begin(), open_.end(), &window));
  if (open_.empty()) page::programEnded();
  return result;
}

int WebBackend::showMessageBox(const MessageBoxRequest& request) {
  offerPendingSave();
  const bool yesNo = request.buttons == MessageButtons::YesNo;
  const std::string json = "{\"text\":" + jsonString(request.text) +
                           ",\"caption\":" + jsonString(request.caption) + ",\"icon\":\"" +
                           iconName(request.icon) + "\",\"yesNo\":" + (yesNo ? "true" : "false") +
                           "}";
  const int answer = page::messageBox(json);
  if (answer == IDYES) return IDYES;
  if (yesNo) return IDNO;
  return IDOK;
}

std::optional<std::string> WebBackend::showFileDialog(const FileDialogRequest& request) {
  offerPendingSave();
  if (!request.save) return page::pickFile(acceptFromFilter(request.filter));
  // A page cannot choose a folder: the file is written under the name the program proposes
  // and then offered as a download with that name.
  // The name the file gets is the proposal with the default extension ("menu" -> "menu.cfg"),
  // the same rule the file dialog applies to what it returns.
  std::string name = applyDefaultExtension(toUtf8(request.initialName), request.defaultExtension);
  if (name.empty()) return std::nullopt;
  pendingSave_ = name;
  // An older file of that name is not offered again if this save fails.
  std::remove(name.c_str());
  return name;
}

void WebBackend::offerPendingSave() {
  if (!pendingSave_) return;
  const std::string path = *pendingSave_;
  pendingSave_.reset();
  offerDownload(path);
}

void WebBackend::offerDownload(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  const std::size_t slash = path.find_last_of('/');
  page::download(slash == std::string::npos ? path : path.substr(slash + 1), bytes);
}

}  // namespace tarnwick::tk::web
