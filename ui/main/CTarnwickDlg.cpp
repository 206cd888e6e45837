#include "ui/main/CTarnwickDlg.h"

#include "config/Cards.h"
#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "config/FileIO.h"
#include "config/TextConversions.h"
#include "resources/Strings.h"
#include "resources/templates/MainWindowTemplate.h"
#include "ui/main/CAboutDlg.h"
#include "ui/main/MainFormValues.h"
#include "ui/main/WindowTitle.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/options/COrgNameDlg.h"
#include "ui/options/CPasswordDlg.h"
#include "ui/options/CSMSCtrlDlg.h"
#include "ui/options/CSerialNoDlg.h"
#include "ui/options/CTimeLapseDlg.h"
#include "ui/options/CTimerSettingDlg.h"
#include "ui/options/OptionDialogLook.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/DataExchange.h"
#include "ui/toolkit/MessageBoxes.h"

#include <optional>
#include <span>
#include <string_view>

namespace tarnwick {

namespace {
namespace ids = resources::ids::tarnwickDlg;

constexpr tk::Rgb kMainBackgroundColor{215, 220, 240};

// Both file dialogs: the settings files first, then everything; "menu.cfg" proposed each time.
constexpr char16_t kConfigFileFilter[] = u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||";
constexpr char16_t kConfigExtension[] = u"cfg";
constexpr char16_t kConfigInitialName[] = u"menu";
// The one name the camera reads, in full where the dialog starts on a card.
constexpr char16_t kCardFileName[] = u"menu.cfg";

void fillList(tk::Control list, std::span<const std::string_view> items) {
  list.ResetContent();
  for (const std::string_view item : items) list.AddString(fromUtf8(item));
}

// The load or save dialog. With exactly one memory card in the PC it starts at the card's root,
// the one folder the camera reads menu.cfg from, and a save proposes that name; otherwise it
// starts where the last file was chosen.
tk::CFileDialog configFileDialog(bool open, const tk::CDialogEx* owner) {
  const std::optional<Card> card = onlyCard();
  tk::CFileDialog dialog(open, kConfigExtension,
                         card && !open ? kCardFileName : kConfigInitialName, kConfigFileFilter,
                         owner);
  if (card) dialog.setInitialFolder(card->root);
  return dialog;
}
}  // namespace

CTarnwickDlg::CTarnwickDlg() : tk::CDialogEx(resources::mainWindowTemplate()) {
  OnClicked(ids::kDefaultConfigButton, &CTarnwickDlg::OnDefaultConfig);
  OnClicked(ids::kLoadConfigButton, &CTarnwickDlg::OnLoadConfig);
  OnClicked(ids::kSaveConfigButton, &CTarnwickDlg::OnSaveConfig);
  OnClicked(ids::kMmsButton, &CTarnwickDlg::OnMmsSetup);
  OnClicked(ids::kTimerButton, &CTarnwickDlg::OnTimer);
  OnClicked(ids::kPasswordOn, &CTarnwickDlg::OnPasswordOn);
  OnClicked(ids::kSerialNoOn, &CTarnwickDlg::OnSerialNoOn);
  OnClicked(ids::kTimeLapseOn, &CTarnwickDlg::OnTimeLapseOn);
  OnClicked(ids::kOrgNameOn, &CTarnwickDlg::OnOrgNameOn);
  OnClicked(ids::kSmsCtrlOn, &CTarnwickDlg::OnSmsCtrlOn);
}

bool CTarnwickDlg::OnInitDialog() {
  tk::CDialogEx::OnInitDialog();

  const std::u16string_view about = resources::loadString(resources::kIdsAboutBox);
  if (!about.empty()) {
    AppendSystemMenuItem(0, u"");  // separator
    AppendSystemMenuItem(ids::kAboutCommand, std::u16string(about));
  }
  SetIcon(resources::kIconApplication);
  SetWindowText(mainWindowCaption());

  initForm();
  markSettingsKept();
  return true;
}

void CTarnwickDlg::OnOK() {
  // Enter: the toolkit's OK reads the numbers back first; one it refuses keeps the window open
  // with the toolkit's prompt.
  if (!UpdateData(true)) return;
  if (mayEnd()) EndDialog(tk::IDOK);
}

void CTarnwickDlg::OnCancel() {
  // Esc, the close box and the system menu's Close.
  if (mayEnd()) EndDialog(tk::IDCANCEL);
}

bool CTarnwickDlg::hasUnsavedWork() { return recordAsSaved() != keptSettings_; }

bool CTarnwickDlg::mayEnd() {
  if (!hasUnsavedWork()) return true;
  // No is the default button: a second stray Enter keeps the window.
  return tk::askYesNo(u"Quit without saving the changes?", u" ", tk::DefaultButton::Second);
}

void CTarnwickDlg::markSettingsKept() { keptSettings_ = recordAsSaved(); }

void CTarnwickDlg::OnSysCommand(int commandId) {
  // The low four bits of a system command are used by the system itself.
  if ((commandId & 0xFFF0) == ids::kAboutCommand) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  tk::CDialogEx::OnSysCommand(commandId);
}

void CTarnwickDlg::OnPaint(tk::PaintContext& paint) { paint.FillSolidRect(kMainBackgroundColor); }

tk::CtlColor CTarnwickDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

void CTarnwickDlg::DoDataExchange(tk::DataExchange& dx) {
  tk::CDialogEx::DoDataExchange(dx);
  for (const ListBinding& list : mainFormLists()) dx.control(list.controlId);
  dx.control(ids::kIntervalUnitList);
  dx.uint32Value(ids::kVideoLengthEdit, videoLengthValue_);
  dx.uint32Value(ids::kIntervalEdit, intervalValue_);
}

void CTarnwickDlg::initForm() {
  // The texts come from the field catalogue: list positions are what the file stores.
  for (const ListBinding& list : mainFormLists()) {
    fillList(GetDlgItem(list.controlId), list.field->items);
  }
  fillList(GetDlgItem(ids::kIntervalUnitList), intervalUnitItems());

  applyDefaults(programRecord());
  recordToForm();
}

void CTarnwickDlg::recordToForm() {
  const MainFormValues values = recordToFormValues(programRecord());
  const auto lists = mainFormLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    // A value that is no position of the list leaves the list without a selection.
    GetDlgItem(lists[i].controlId).SetCurSel(values.lists[i]);
  }
  videoLengthValue_ = values.videoLength;
  intervalValue_ = values.intervalNumber;
  GetDlgItem(ids::kIntervalUnitList).SetCurSel(values.intervalUnit);
  const auto switches = mainFormSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    setSwitch(switches[i].onId, switches[i].offId, values.switchOn[i]);
  }
  UpdateData(false);
}

MainFormValues CTarnwickDlg::formValues() {
  MainFormValues values;
  const auto lists = mainFormLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    values.lists[i] = GetDlgItem(lists[i].controlId).GetCurSel();
  }
  values.videoLength = videoLengthValue_;
  values.intervalNumber = intervalValue_;
  values.intervalUnit = GetDlgItem(ids::kIntervalUnitList).GetCurSel();
  const auto switches = mainFormSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i) {
    values.switchOn[i] = GetDlgItem(switches[i].onId).GetCheck() != 0;
  }
  return values;
}

ConfigRecord CTarnwickDlg::recordAsSaved() {
  MainFormValues values = formValues();
  // As the exchange reads the edits: it stops at the first text that holds no number.
  std::uint32_t number = 0;
  if (tk::parseUnsigned(GetDlgItemText(ids::kVideoLengthEdit), number)) {
    values.videoLength = number;
    if (tk::parseUnsigned(GetDlgItemText(ids::kIntervalEdit), number)) {
      values.intervalNumber = number;
    }
  }
  ConfigRecord record = programRecord();
  formValuesToRecord(values, record);
  return record;
}

void CTarnwickDlg::formToRecord() {
  // A refused number has already been reported by the exchange; it and the numbers after it
  // keep their previous values and the collection goes on with them.
  UpdateData(true);

  ConfigRecord& record = programRecord();
  formValuesToRecord(formValues(), record);

  // Show the numbers actually stored (60 sec becomes 1 min, a refused text its old value).
  showInterval(record.getUInt32(fields::interval));
  UpdateData(false);
}

void CTarnwickDlg::showInterval(std::uint32_t code) {
  const IntervalDisplay shown = splitInterval(code);
  intervalValue_ = shown.number;
  GetDlgItem(ids::kIntervalUnitList).SetCurSel(shown.unit);
}

void CTarnwickDlg::setSwitch(int onId, int offId, bool on) {
  GetDlgItem(onId).SetCheck(on ? 1 : 0);
  GetDlgItem(offId).SetCheck(on ? 0 : 1);
}

void CTarnwickDlg::OnDefaultConfig() {
  if (!tk::askYesNo(u"Restore default config,are you sure?", u"Default")) return;
  applyDefaults(programRecord());
  recordToForm();
  markSettingsKept();
}

void CTarnwickDlg::OnLoadConfig() {
  tk::CFileDialog dialog = configFileDialog(true, this);
  dialog.setReadLimit(kRecordSize);
  if (dialog.DoModal() != tk::IDOK) return;
  configPath_ = dialog.GetPathName();

  // A front end without paths (a browser) hands over the file's bytes instead, or why it could
  // not read them.
  std::optional<FileError> error = dialog.readFailure();
  if (!error) {
    error = dialog.openedContents() ? readConfigBytes(*dialog.openedContents(), programRecord())
                                    : readConfigFile(configPath_, programRecord());
  }
  if (!error) {
    recordToForm();
    markSettingsKept();
    return;
  }
  switch (error->kind) {
    case FileErrorKind::CannotOpen:
      tk::showInfo(u"No Config File!");
      return;
    case FileErrorKind::TooShort:
      tk::showInfo(u"File Size Error!");
      return;
    case FileErrorKind::ReadError:
    case FileErrorKind::SaveError:
    case FileErrorKind::TooLarge:
    case FileErrorKind::NotUsable:
      break;
  }
  // The file opened and was long enough but could not be read: the record is unchanged.
  tk::showWarning(u"Cannot read " + fromUtf8(configPath_) + u": " + fromUtf8(error->reason));
}

void CTarnwickDlg::OnSaveConfig() {
  // The form is collected first, also when the user then cancels the file dialog.
  formToRecord();

  tk::CFileDialog dialog = configFileDialog(false, this);
  if (dialog.DoModal() != tk::IDOK) return;
  configPath_ = dialog.GetPathName();

  // A front end without paths delivers the written bytes itself (a download). A file on disk
  // is locked while saving, so that a tarnwick-cfg set on the same file waits and then reads
  // what was saved here rather than writing over it with what it read before.
  const FileLock lock = dialog.hasPath() ? lockForUpdate(configPath_) : FileLock();
  const auto error = dialog.hasPath() ? writeConfigFile(configPath_, programRecord())
                                      : dialog.deliver(encodeConfigImage(programRecord()));
  if (error) {
    // The save goes through a temporary file, so an existing file is still intact here.
    tk::showWarning(u"Cannot save " + fromUtf8(configPath_) + u": " + fromUtf8(error->reason));
    return;
  }
  markSettingsKept();
  tk::showInfo(u"Save Config File OK!");
}

void CTarnwickDlg::OnMmsSetup() {
  // The network window commits into the record itself on OK. No form control shows a network
  // field, so the form is not refreshed afterwards.
  CMmsSetupDlg dialog;
  dialog.DoModal();
}

void CTarnwickDlg::OnTimer() {
  // The timer dialog writes its own fields on OK; no form control shows them.
  CTimerSettingDlg dialog;
  dialog.DoModal();
}

template <class Dialog>
void CTarnwickDlg::runSwitchDialog(int onId, int offId) {
  // The dialog writes its value on OK; the switch's flag follows the pair at the next save.
  Dialog dialog;
  setSwitch(onId, offId, dialog.DoModal() == tk::IDOK);
}

void CTarnwickDlg::OnPasswordOn() {
  runSwitchDialog<CPasswordDlg>(ids::kPasswordOn, ids::kPasswordOff);
}

void CTarnwickDlg::OnSerialNoOn() {
  runSwitchDialog<CSerialNoDlg>(ids::kSerialNoOn, ids::kSerialNoOff);
}

void CTarnwickDlg::OnTimeLapseOn() {
  runSwitchDialog<CTimeLapseDlg>(ids::kTimeLapseOn, ids::kTimeLapseOff);
}

void CTarnwickDlg::OnOrgNameOn() {
  runSwitchDialog<COrgNameDlg>(ids::kOrgNameOn, ids::kOrgNameOff);
}

void CTarnwickDlg::OnSmsCtrlOn() {
  runSwitchDialog<CSMSCtrlDlg>(ids::kSmsCtrlOn, ids::kSmsCtrlOff);
}

}  // namespace tarnwick
