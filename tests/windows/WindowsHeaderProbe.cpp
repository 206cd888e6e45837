// A Win32 file that includes windows.h before the toolkit's headers, as a Windows backend does,
// and uses the names windows.h turns into macros. Built by scripts/mingw-check.sh with
// mingw-w64 against the toolkit, the headless backend, config/ and network/; run under wine
// when it is there. Exit status 0 when every check held, else the number of the failed check.
#define NOMINMAX
#include <windows.h>

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FileIO.h"
#include "network/OperatorDb.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"
#include "ui/toolkit/DialogHost.h"
#include "ui/toolkit/MessageBoxes.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <array>
#include <cstdio>
#include <string>

namespace tk = tarnwick::tk;

namespace {

constexpr int kNameEdit = 10;

constexpr std::array<tk::ControlTemplate, 3> kControls{{
    {kNameEdit, tk::ControlKind::Edit, "", {4, 4, 60, 12}, tk::kBorder | tk::kTabStop},
    {IDOK, tk::ControlKind::PushButton, "OK", {4, 20, 40, 14}, tk::kDefaultButton},
    {IDCANCEL, tk::ControlKind::PushButton, "Cancel", {48, 20, 40, 14}, tk::kStyleNone},
}};
constexpr tk::DialogTemplate kTemplate{900, "Probe", 100, 40, "MS Shell Dlg", 8, false, false,
                                       kControls};

class ProbeDlg : public tk::CDialogEx {
 public:
  ProbeDlg() : tk::CDialogEx(kTemplate) {}
  std::u16string name = u"start";
  void DoDataExchange(tk::DataExchange& dx) override { dx.text(kNameEdit, name, 8); }
};

int failures = 0;
void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "windows probe: %s\n", what);
  ++failures;
}

}  // namespace

int main() {
  // The renamed members reach the toolkit's one definition.
  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  user.onMessage = [](const tk::MessageBoxRequest&) { return IDYES; };
  user.onAct = [](tk::CDialogEx& top) {
    top.SetWindowText(u"renamed");
    top.SetDlgItemText(kNameEdit, u"camera");
    check(top.GetWindowText() == u"renamed", "SetWindowText/GetWindowText");
    check(top.GetDlgItemText(kNameEdit) == u"camera", "GetDlgItemText");
    check(top.MessageBox(u"question") == IDYES, "MessageBox");
    top.userClick(IDOK);
  };
  tk::ScopedBackend scoped(backend);
  ProbeDlg dialog;
  check(dialog.DoModal() == IDOK && tk::kIdOk == IDOK, "DoModal returns IDOK");
  check(dialog.name == u"camera", "data exchange");

  // The file layer: a save, a read back, a lock, a refused short file.
  tarnwick::ConfigRecord record;
  tarnwick::applyDefaults(record);
  const std::string path = "tarnwick-probe.cfg";
  check(!tarnwick::writeConfigFile(path, record), "save");
  check(!tarnwick::writeConfigFile(path, record), "save over an existing file");
  {
    const tarnwick::FileLock lock = tarnwick::lockForUpdate(path);
    check(lock.held(), "lock");
    tarnwick::ConfigRecord back;
    check(tarnwick::errorKind(tarnwick::readConfigFile(path, back)) == std::nullopt &&
              back == record,
          "read back while locked");
    check(!tarnwick::writeConfigFile(path, record), "save while locked");
  }
  std::array<std::uint8_t, 10> few{};
  check(!tarnwick::saveFileAtomically(path, few), "save a short file");
  tarnwick::ConfigRecord untouched;
  check(tarnwick::errorKind(tarnwick::readConfigFile(path, untouched)) == tarnwick::FileErrorKind::TooShort,
        "short file");
  check(tarnwick::errorKind(tarnwick::readConfigFile("no-such-file.cfg", untouched)) ==
            tarnwick::FileErrorKind::CannotOpen,
        "missing file");
  // A save that may not replace: an existing file stays (the move without
  // MOVEFILE_REPLACE_EXISTING refuses), a new name is created and read back.
  const auto kept = tarnwick::writeConfigFile(path, record, tarnwick::IfExists::Fail);
  check(kept && kept->reason == tarnwick::kAlreadyExists, "create refuses an existing file");
  check(tarnwick::errorKind(tarnwick::readConfigFile(path, untouched)) ==
            tarnwick::FileErrorKind::TooShort,
        "the existing file stays");
  check(!tarnwick::writeConfigFile("tarnwick-probe-new.cfg", record, tarnwick::IfExists::Fail),
        "create a new file");
  ::DeleteFileW(L"tarnwick-probe.cfg");
  ::DeleteFileW(L"tarnwick-probe-new.cfg");
  if (failures == 0) std::puts("windows probe: all checks held");
  return failures;
}
