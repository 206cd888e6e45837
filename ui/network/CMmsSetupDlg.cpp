#include "ui/network/CMmsSetupDlg.h"

#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"
#include "network/AnsiText.h"
#include "network/NetworkSettings.h"
#include "network/NetworkTexts.h"
#include "network/OperatorDb.h"
#include "network/SmtpPresetTable.h"
#include "resources/templates/MmsSetupTemplate.h"
#include "ui/network/CParamPwd.h"
#include "ui/toolkit/MessageBoxes.h"

#include <algorithm>
#include <string>

namespace tarnwick {

namespace {
using namespace resources::ids::mmsSetupDlg;

// List positions the rules test: the record's lists are named in the field catalogue, the FTP
// directory list is this window's own.
constexpr int kAuto = fieldlists::kNetworkModeAuto;
constexpr int kManual = fieldlists::kNetworkModeManual;
constexpr int kSmtp = fieldlists::kDataOptionSmtp;
constexpr int kFtp = fieldlists::kDataOptionFtp;
constexpr int kMmsOff = fieldlists::kMmsOptionOff;
constexpr int kRoot = 0;
constexpr int kSpecified = 1;

// This window's own list texts (the other lists take theirs from the field catalogue).
constexpr char16_t kOther[] = u"Other";
constexpr char16_t kRootText[] = u"Root";
constexpr char16_t kSpecifiedText[] = u"Specified";

// The nine operator-parameter texts, in the order of the operator row's fields 1-9.
constexpr std::array<const NetworkTextField*, 9> kParameters = operatorParameterFields();

// The typing limit of an exchanged box is the width of the record field it is stored to.
int widthOf(const FieldInfo& field) { return static_cast<int>(field.size); }

void fillList(tk::Control list, std::span<const std::string_view> items) {
  list.ResetContent();
  for (std::string_view item : items) list.AddString(fromUtf8(item));
}

FormText loadText(const FieldInfo& field) { return fieldToText(programRecord().field(field)); }

FormText tooLongMessage(std::u16string_view box, const FieldInfo& field) {
  return u"The " + FormText(box) + u" is longer than " +
         widenAscii(std::to_string(field.size)) + u" characters!";
}
}  // namespace

CMmsSetupDlg::CMmsSetupDlg() : tk::CDialogEx(resources::mmsSetupTemplate()) {
  OnSelChange(kModeList, &CMmsSetupDlg::OnModeChange);
  OnSelChange(kCountryList, &CMmsSetupDlg::OnCountryChange);
  OnSelChange(kOperatorList, &CMmsSetupDlg::OnOperatorChange);
  OnSelChange(kMmsOptionList, &CMmsSetupDlg::OnMmsOptionChange);
  OnSelChange(kDataOptionList, &CMmsSetupDlg::OnDataOptionChange);
  OnSelChange(kFtpDirectoryList, &CMmsSetupDlg::OnFtpDirectoryChange);
  OnSelChange(kSmtpTypeList, &CMmsSetupDlg::OnSmtpTypeChange);
  OnClicked(kShowParameters, &CMmsSetupDlg::OnShowParametersClick);
}

// A window that ends some other way than through its own handlers (a failed scripted run ends
// every open dialog directly) must still give a loaded table back.
CMmsSetupDlg::~CMmsSetupDlg() { releaseTable(); }

void CMmsSetupDlg::releaseTable() {
  if (!holdsTable_) return;
  holdsTable_ = false;
  releaseOperatorTable();
}

int CMmsSetupDlg::selection(int listId) { return GetDlgItem(listId).GetCurSel(); }

std::array<FormText*, 9> CMmsSetupDlg::operatorParameters() {
  std::array<FormText*, 9> texts{};
  for (std::size_t i = 0; i < kParameters.size(); ++i) texts[i] = &formText(*kParameters[i]);
  return texts;
}

void CMmsSetupDlg::DoDataExchange(tk::DataExchange& dx) {
  tk::CDialogEx::DoDataExchange(dx);
  dx.control(kModeList);
  dx.control(kCountryList);
  dx.control(kOperatorList);
  dx.control(kSmtpTypeList);
  dx.control(kEncryptList);
  dx.control(kMmsOptionList);
  dx.control(kDataOptionList);
  dx.control(kFtpDirectoryList);
  dx.control(kShowParameters);
  dx.control(kFtpDirectoryEdit);
  // The table's order is the order in which a refused text stops the exchange.
  for (const NetworkTextField& f : networkTextFields()) {
    if (f.has(kExchanged)) dx.text(f.box, formText(f), widthOf(*f.field));
  }
}

bool CMmsSetupDlg::OnInitDialog() {
  // Every exchanged box gets its (still empty) form text and its typing limit.
  tk::CDialogEx::OnInitDialog();

  // The table is read anew at every opening, so a changed oper.db takes effect now.
  resetOperatorTable();
  loadOperatorDb();
  holdsTable_ = true;

  for (const NetworkTextField& f : networkTextFields()) formText(f) = loadText(*f.field);

  const ConfigRecord& record = programRecord();
  tk::Control type = GetDlgItem(kSmtpTypeList);
  type.ResetContent();
  for (const SmtpPreset& preset : programSmtpPresetTable().rows()) type.AddString(preset.name);
  type.SetCurSel(record.getUInt8(fields::smtpPreset));

  fillList(GetDlgItem(kEncryptList), fields::smtpEncrypt.items);
  GetDlgItem(kEncryptList).SetCurSel(record.getUInt8(fields::smtpEncrypt));
  fillList(GetDlgItem(kModeList), fields::networkMode.items);
  GetDlgItem(kModeList).SetCurSel(record.getUInt8(fields::networkMode));
  fillList(GetDlgItem(kMmsOptionList), fields::mmsOption.items);
  GetDlgItem(kMmsOptionList).SetCurSel(record.getInt32(fields::mmsOption));
  fillList(GetDlgItem(kDataOptionList), fields::dataOption.items);
  GetDlgItem(kDataOptionList).SetCurSel(record.getInt32(fields::dataOption));

  tk::Control directoryList = GetDlgItem(kFtpDirectoryList);
  directoryList.ResetContent();
  directoryList.AddString(kRootText);
  directoryList.AddString(kSpecifiedText);

  // Only the first byte decides between "Root" and "Specified"; text behind a zero first byte
  // is kept in the form text and shows when the user picks "Specified".
  if (record.field(fields::ftpDirectory)[0] != 0) {
    directoryList.SetCurSel(kSpecified);
    SetDlgItemText(kFtpDirectoryEdit, form_.ftpDirectory);
  } else {
    directoryList.SetCurSel(kRoot);
    GetDlgItem(kFtpDirectoryEdit).EnableWindow(false);
    parked_.insert(kFtpDirectoryEdit);  // empty and disabled, its text kept: as good as parked
  }

  OnModeChange();
  OnSmtpTypeChange();
  // In Manual mode, and with no Mode selection, which enables the boxes just the same, the
  // boxes show the record's own values, the nine access parameters that OnModeChange emptied
  // included (otherwise OK would store them empty).
  if (selection(kModeList) != kAuto) UpdateData(false);

  for (const NetworkTextField& f : networkTextFields()) {
    if (f.has(kShownAtOpening)) SetDlgItemText(f.box, formText(f));
  }

  // Applies the SMTP preset again after the exchange above, and parks what is out of use.
  OnMmsOptionChange();
  OnDataOptionChange();
  showStoredSmtpAccount();
  return true;
}

// A provider row ("Gmail" ... "Yandex") or "Other" leaves the account to the user, and the
// preset's empty Email and Password would replace the stored account: an OK on an unchanged
// window would wipe it. At opening the record's own account is shown instead: its Email, for
// "Other" also its Server, Port and encryption, and parameterMask for a stored password, which
// the commit turns back into that password. Choosing a row by hand applies the row as it is.
void CMmsSetupDlg::showStoredSmtpAccount() {
  const int type = selection(kSmtpTypeList);
  if (selection(kDataOptionList) != kSmtp || type < fixedPresetCount ||
      type >= static_cast<int>(programSmtpPresetTable().size())) {
    return;
  }
  if (!form_.smtpEmail.empty()) SetDlgItemText(kSmtpEmailEdit, form_.smtpEmail);
  if (!form_.smtpPasswordBox.empty()) SetDlgItemText(kSmtpPasswordEdit, FormText(parameterMask));
  if (type != otherPresetIndex) return;
  if (!form_.smtpServer.empty()) SetDlgItemText(kSmtpServerEdit, form_.smtpServer);
  if (!form_.smtpPort.empty()) SetDlgItemText(kSmtpPortEdit, form_.smtpPort);
  const int encrypt = programRecord().getUInt8(fields::smtpEncrypt);
  if (encrypt < static_cast<int>(fields::smtpEncrypt.items.size())) {
    GetDlgItem(kEncryptList).SetCurSel(encrypt);
  }
}

void CMmsSetupDlg::OnModeChange() {
  if (selection(kModeList) == kAuto) {
    for (const NetworkTextField* f : kParameters) GetDlgItem(f->box).EnableWindow(false);
    tk::Control show = GetDlgItem(kShowParameters);
    show.EnableWindow(true);
    show.SetCheck(0);  // every switch to Auto asks for the access code again
    FillCountryList();
    return;
  }
  for (const NetworkTextField* f : kParameters) GetDlgItem(f->box).EnableWindow(true);
  GetDlgItem(kShowParameters).EnableWindow(false);
  for (int id : {kCountryList, kOperatorList}) {
    tk::Control list = GetDlgItem(id);
    list.ResetContent();
    list.AddString(kOther);
    list.SetCurSel(0);
  }
  // The form texts keep their values; only the boxes are emptied.
  for (const NetworkTextField* f : kParameters) SetDlgItemText(f->box, FormText());
}

void CMmsSetupDlg::FillCountryList() {
  tk::Control countries = GetDlgItem(kCountryList);
  countries.ResetContent();
  GetDlgItem(kOperatorList).ResetContent();
  for (const CountryEntry& country : programOperatorTable().countries()) {
    countries.AddString(ansiToFormText(country.name));
  }
  // Both positions come from the record, not from the lists' last choice.
  const ConfigRecord& record = programRecord();
  const std::int32_t country = record.getUInt8(fields::countryIndex);
  countries.SetCurSel(country);
  FillOperatorList(country, record.getUInt8(fields::operatorIndex));
}

void CMmsSetupDlg::FillOperatorList(std::int32_t country, std::int32_t operatorPosition) {
  tk::Control operators = GetDlgItem(kOperatorList);
  // A position outside the table (a record from another table, or no selection) lists nothing.
  if (const CountryEntry* entry = programOperatorTable().country(country)) {
    for (const OperatorEntry& row : entry->listedOperators()) {
      operators.AddString(ansiToFormText(row.name));
    }
  }
  operators.SetCurSel(operatorPosition);
  ApplyOperator(country, operatorPosition);
}

void CMmsSetupDlg::ApplyOperator(std::int32_t country, std::int32_t operatorPosition) {
  // Without such a row the nine form texts stay as they are.
  if (const OperatorEntry* row = programOperatorTable().operatorAt(country, operatorPosition)) {
    const std::array<FormText*, 9> texts = operatorParameters();
    for (std::size_t i = 0; i < texts.size(); ++i) {
      // Operator-table texts run up to 63 bytes; the record field is the binding width, so the
      // form holds (and reveals) exactly what OK will store.
      FormText text = ansiToFormText(row->field(i + 1));
      const std::size_t width = kParameters[i]->field->size;
      if (text.size() > width) text.resize(width);
      *texts[i] = std::move(text);
    }
  }
  ShowNetworkParameters(GetDlgItem(kShowParameters).GetCheck() != 0);
}

// Only "Auto" fills the access parameters from the table. With no Mode selection (a stored
// networkMode that is neither 0 nor 1) the boxes are enabled for typing, as in Manual mode, so
// filling them here would put masked operator values into editable boxes and OK would store
// "*****".
void CMmsSetupDlg::OnCountryChange() {
  if (selection(kModeList) != kAuto) return;
  GetDlgItem(kOperatorList).ResetContent();
  FillOperatorList(selection(kCountryList), 0);
}

void CMmsSetupDlg::OnOperatorChange() {
  if (selection(kModeList) != kAuto) return;
  ApplyOperator(selection(kCountryList), selection(kOperatorList));
}

void CMmsSetupDlg::park(int boxId, FormText& kept) {
  tk::Control box = GetDlgItem(boxId);
  box.EnableWindow(false);
  if (parked_.insert(boxId).second) kept = box.GetWindowText();
  box.SetWindowText(FormText());
}

void CMmsSetupDlg::restore(int boxId, const FormText& kept) {
  tk::Control box = GetDlgItem(boxId);
  box.EnableWindow(true);
  // A box in use already shows the user's latest entry, which the kept text would overwrite.
  if (parked_.erase(boxId) > 0) box.SetWindowText(kept);
}

void CMmsSetupDlg::OnMmsOptionChange() {
  if (selection(kMmsOptionList) == kMmsOff) {
    // FTP still reports to Phone 1.
    if (selection(kDataOptionList) != kFtp) park(kPhone1Edit, form_.phone1);
    park(kPhone2Edit, form_.phone2);
    park(kPhone3Edit, form_.phone3);
    return;
  }
  restore(kPhone1Edit, form_.phone1);
  restore(kPhone2Edit, form_.phone2);
  restore(kPhone3Edit, form_.phone3);
}

void CMmsSetupDlg::OnDataOptionChange() {
  const int data = selection(kDataOptionList);
  const bool mmsOff = selection(kMmsOptionList) == kMmsOff;
  if (data == kSmtp) {
    ApplySmtpPreset(static_cast<std::uint32_t>(selection(kSmtpTypeList)));
    EnableSmtpFields(true);
    EnableMailboxes(true);
    for (int id : {kFtpServerEdit, kFtpPortEdit, kFtpAccountEdit, kFtpPasswordEdit}) {
      GetDlgItem(id).EnableWindow(false);
    }
    if (mmsOff) park(kPhone1Edit, form_.phone1);
    return;
  }
  if (data == kFtp) {
    for (int id : {kEncryptList, kSmtpEmailEdit, kSmtpPortEdit, kSmtpServerEdit,
                   kSmtpPasswordEdit}) {
      GetDlgItem(id).EnableWindow(false);
    }
    EnableMailboxes(false);
    for (int id : {kFtpServerEdit, kFtpPortEdit, kFtpAccountEdit, kFtpPasswordEdit}) {
      GetDlgItem(id).EnableWindow(true);
    }
    restore(kPhone1Edit, form_.phone1);
  } else {
    for (int id : {kEncryptList, kSmtpEmailEdit, kSmtpPortEdit, kSmtpServerEdit, kSmtpPasswordEdit,
                   kFtpServerEdit, kFtpPortEdit, kFtpAccountEdit, kFtpPasswordEdit}) {
      GetDlgItem(id).EnableWindow(false);
    }
    EnableMailboxes(false);
    if (mmsOff) park(kPhone1Edit, form_.phone1);
  }
  for (int id : {kSmtpServerEdit, kSmtpPortEdit, kSmtpEmailEdit, kSmtpPasswordEdit}) {
    SetDlgItemText(id, FormText());
  }
}

void CMmsSetupDlg::EnableMailboxes(bool on) {
  if (on) {
    restore(kMailbox1Edit, form_.mailbox1);
    restore(kMailbox2Edit, form_.mailbox2);
    restore(kMailbox3Edit, form_.mailbox3);
  } else {
    park(kMailbox1Edit, form_.mailbox1);
    park(kMailbox2Edit, form_.mailbox2);
    park(kMailbox3Edit, form_.mailbox3);
  }
}

void CMmsSetupDlg::OnFtpDirectoryChange() {
  if (selection(kFtpDirectoryList) == kRoot) {
    park(kFtpDirectoryEdit, form_.ftpDirectory);
  } else {
    restore(kFtpDirectoryEdit, form_.ftpDirectory);
  }
}

void CMmsSetupDlg::ApplySmtpPreset(std::uint32_t index) {
  // No selection (-1 seen as unsigned) or a position outside the table applies nothing.
  const SmtpPresetTable& presets = programSmtpPresetTable();
  if (index >= presets.size()) return;
  const SmtpPreset& preset = presets[index];
  GetDlgItem(kEncryptList).SetCurSel(preset.encryption);
  // A fixed row's password is never shown; the commit recognises the mask and stores the row's.
  const std::u16string& password =
      selection(kSmtpTypeList) < fixedPresetCount ? std::u16string(parameterMask)
                                                  : preset.password;
  SetDlgItemText(kSmtpServerEdit, preset.server);
  SetDlgItemText(kSmtpPortEdit, preset.port);
  SetDlgItemText(kSmtpEmailEdit, preset.account);
  SetDlgItemText(kSmtpPasswordEdit, password);
}

void CMmsSetupDlg::EnableSmtpFields(bool enable) {
  const int type = selection(kSmtpTypeList);
  // Fixed rows lock everything, provider rows fix server and port, "Other" frees all five.
  const bool account = enable && type >= otherPresetIndex;
  const bool server = enable && type == otherPresetIndex;
  GetDlgItem(kEncryptList).EnableWindow(account);
  GetDlgItem(kSmtpEmailEdit).EnableWindow(account);
  GetDlgItem(kSmtpPasswordEdit).EnableWindow(account);
  GetDlgItem(kSmtpServerEdit).EnableWindow(server);
  GetDlgItem(kSmtpPortEdit).EnableWindow(server);
}

void CMmsSetupDlg::OnSmtpTypeChange() {
  ApplySmtpPreset(static_cast<std::uint32_t>(selection(kSmtpTypeList)));
  EnableSmtpFields(selection(kDataOptionList) == kSmtp);
}

void CMmsSetupDlg::OnShowParametersClick() {
  if (selection(kModeList) == kManual) return;
  tk::Control show = GetDlgItem(kShowParameters);
  if (show.GetCheck() != 0) {
    CParamPwd prompt;
    if (prompt.DoModal() != tk::IDOK) show.SetCheck(0);
  }
  ShowNetworkParameters(show.GetCheck() != 0);
}

void CMmsSetupDlg::ShowNetworkParameters(bool show) {
  const std::array<FormText*, 9> texts = operatorParameters();
  for (std::size_t i = 0; i < kParameters.size(); ++i) {
    SetDlgItemText(kParameters[i]->box, show ? *texts[i] : FormText(parameterMask));
  }
}

void CMmsSetupDlg::OnPaint(tk::PaintContext& paint) { paint.FillSolidRect(networkBackgroundColor); }

tk::CtlColor CMmsSetupDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  tk::CtlColor colours = tk::CDialogEx::OnCtlColor(controlId, type);
  // Labels, group boxes, the check box and disabled boxes lie on the painted background.
  if (type == tk::CtlColorType::Static) {
    colours.transparentText = true;
    colours.hollowBrush = false;
    colours.textColour = tk::Rgb{0, 0, 0};
    colours.brush = networkBackgroundColor;
  }
  return colours;
}

NetworkFormValues CMmsSetupDlg::formValues() {
  NetworkFormValues v;
  for (const NetworkTextField& f : networkTextFields()) {
    v.*(f.value) = f.has(kReadFromBox) ? GetDlgItemText(f.box) : formText(f);
  }
  v.encrypt = selection(kEncryptList);
  v.smtpType = selection(kSmtpTypeList);
  v.mode = selection(kModeList);
  v.mmsOption = selection(kMmsOptionList);
  v.dataOption = selection(kDataOptionList);
  v.country = selection(kCountryList);
  v.mobileOperator = selection(kOperatorList);
  return v;
}

bool CMmsSetupDlg::unlimitedBoxesFit() {
  NetworkFormValues typed;
  typed.smtpType = selection(kSmtpTypeList);
  typed.smtpPasswordBox = GetDlgItemText(kSmtpPasswordEdit);
  typed.ftpDirectory = GetDlgItemText(kFtpDirectoryEdit);
  for (const std::string& name :
       overlongFields(typed, programSmtpPresetTable(), programRecord())) {
    if (name == fields::smtpPassword.name) {
      tk::showWarning(tooLongMessage(u"SMTP Password", fields::smtpPassword));
      GotoDlgCtrl(kSmtpPasswordEdit);
      return false;
    }
    if (name == fields::ftpDirectory.name) {
      tk::showWarning(tooLongMessage(u"FTP Directory", fields::ftpDirectory));
      GotoDlgCtrl(kFtpDirectoryEdit);
      return false;
    }
  }
  return true;
}

void CMmsSetupDlg::OnOK() {
  // A text that cannot be stored whole is refused before anything is read or stored.
  if (!unlimitedBoxesFit()) return;

  // In Auto mode the nine parameter boxes are disabled and show the mask or these very texts,
  // so reading them back could only turn a masked value into "*****". Keep the texts: the
  // operator row replaces them below, and without a row they stay what they were.
  const bool autoMode = selection(kModeList) == kAuto;
  std::array<FormText, 9> parameters;
  if (autoMode) {
    const std::array<FormText*, 9> texts = operatorParameters();
    for (std::size_t i = 0; i < texts.size(); ++i) parameters[i] = *texts[i];
  }
  // A refused text does not stop the commit; the last read-back below reports it.
  UpdateData(true);
  if (autoMode) {
    const std::array<FormText*, 9> texts = operatorParameters();
    for (std::size_t i = 0; i < texts.size(); ++i) *texts[i] = parameters[i];
  }
  // The boxes without a typing limit are read as they are.
  for (const NetworkTextField& f : networkTextFields()) {
    if (f.has(kReadFromBox)) formText(f) = GetDlgItemText(f.box);
  }

  ConfigRecord& record = programRecord();
  NetworkFormValues values = formValues();
  if (values.mode == kAuto) {
    storeOperatorSelection(values, record);
    // Puts the stored operator's row into the nine parameters, shown or masked as before.
    FillCountryList();
    values = formValues();
  }
  storeNetworkSettings(values, programSmtpPresetTable(), record);

  tk::CDialogEx::OnOK();
  // A failed read-back leaves the window open; it keeps the table until it really ends.
  if (isEnded()) releaseTable();
}

void CMmsSetupDlg::OnCancel() {
  releaseTable();
  tk::CDialogEx::OnCancel();
}

void CMmsSetupDlg::OnClose() {
  releaseTable();
  tk::CDialogEx::OnClose();
}

}  // namespace tarnwick
