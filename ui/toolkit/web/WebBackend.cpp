#include "ui/toolkit/web/WebBackend.h"

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/web/PageBridge.h"
#include "ui/toolkit/web/PageText.h"
#include "ui/toolkit/web/WebDialogWindow.h"

#include <algorithm>
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

std::string acceptFromFilter(const std::u16string& filter) {
  // "Name(*.a)|*.a;*.b|Other|*.c||": every second field holds patterns; "*.x" becomes ".x", and
  // a pattern that is no plain extension ("*.*", "*") lets every file through.
  std::string accept;
  std::size_t start = 0;
  int field = 0;
  while (start <= filter.size()) {
    std::size_t bar = filter.find(u'|', start);
    if (bar == std::u16string::npos) bar = filter.size();
    const std::u16string part = filter.substr(start, bar - start);
    if (field % 2 == 1) {
      std::size_t p = 0;
      while (p <= part.size()) {
        std::size_t semi = part.find(u';', p);
        if (semi == std::u16string::npos) semi = part.size();
        const std::u16string pattern = part.substr(p, semi - p);
        if (pattern.size() > 2 && pattern.starts_with(u"*.") &&
            pattern.find_first_of(u"*?", 2) == std::u16string::npos) {
          if (!accept.empty()) accept += ',';
          accept += toUtf8(pattern.substr(1));
        } else if (!pattern.empty()) {
          return {};
        }
        p = semi + 1;
      }
    }
    ++field;
    start = bar + 1;
  }
  return accept;
}

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
  std::string name = toUtf8(request.initialName);
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
