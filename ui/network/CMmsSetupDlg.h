#pragma once

#include "config/TextConversions.h"
#include "network/NetworkFormFields.h"
#include "network/NetworkFormValues.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"
#include "ui/toolkit/Types.h"

#include <array>
#include <cstdint>
#include <set>

namespace tarnwick {

// The painted background of the network window and of its labels and disabled boxes.
inline constexpr tk::Rgb networkBackgroundColor{195, 210, 235};

// "MMS / 4G Setup": edits the network part of the settings record. The access points come from
// the operator table in Auto mode (masked unless revealed with the access code) or are typed in
// Manual mode; the SMTP group is filled from the SMTP preset table. Lists enable, disable, fill
// and empty the other boxes as the user changes them. Only OK writes the record; Cancel and the
// close box store nothing. The operator table is reset and re-read from oper.db at every opening
// and a table read from the file is released once the window has ended.
// Runs modally; IDOK after a commit, IDCANCEL otherwise.
class CMmsSetupDlg : public tk::CDialogEx {
 public:
  CMmsSetupDlg();
  ~CMmsSetupDlg() override;

  bool OnInitDialog() override;
  void DoDataExchange(tk::DataExchange& dx) override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

  // List and check box handlers.
  void OnModeChange();
  void OnCountryChange();
  void OnOperatorChange();
  void OnMmsOptionChange();
  void OnDataOptionChange();
  void OnFtpDirectoryChange();
  void OnSmtpTypeChange();
  void OnShowParametersClick();

  // The rules the handlers share.
  void FillCountryList();
  void FillOperatorList(std::int32_t country, std::int32_t operatorPosition);
  void ApplyOperator(std::int32_t country, std::int32_t operatorPosition);
  void EnableMailboxes(bool on);
  void ApplySmtpPreset(std::uint32_t index);
  void EnableSmtpFields(bool enable);
  void ShowNetworkParameters(bool show);

 private:
  // Disables a box, keeps its text in `kept` and empties it. A box that is already parked keeps
  // the text it was parked with (its empty text would otherwise overwrite the user's entry).
  void park(int boxId, FormText& kept);
  // Enables a box and, if it was parked, shows the kept text again.
  void restore(int boxId, const FormText& kept);
  int selection(int listId);
  // The nine operator parameters' form texts, in the order of the operator row's fields 1-9.
  std::array<FormText*, 9> operatorParameters();
  FormText& formText(const NetworkTextField& field) { return form_.*(field.value); }
  // The form as the commit stores it: form texts, the two boxes read directly, list positions.
  NetworkFormValues formValues();
  // The SMTP Password and FTP directory boxes take text of any length; a text that would not
  // fit its record field is refused with a message naming the box instead of being cut.
  bool unlimitedBoxesFit();
  // At opening, on a row that leaves the account to the user, shows the stored account.
  void showStoredSmtpAccount();
  void releaseTable();

  // The form texts, one per row of the network form table (networkTextFields()), each named
  // after the record field it is loaded from and stored to.
  NetworkFormValues form_;

  std::set<int> parked_;      // boxes that currently hold their text in a form text
  bool holdsTable_ = false;   // this window reset the operator table and has not released it
};

}  // namespace tarnwick
