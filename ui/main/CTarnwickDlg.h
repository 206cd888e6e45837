#pragma once

#include "config/ConfigRecord.h"
#include "ui/main/MainFormValues.h"
#include "ui/toolkit/CDialogEx.h"

#include <cstdint>
#include <string>

namespace tarnwick {

// The main window: a form over the camera options of the program's record, five On/Off
// switches that open their option dialogs, the Timer and MMS / 4G windows, and the commands
// that reset, load and save the whole record. The form reaches the record only when the user
// saves; the option dialogs write their own fields when they are confirmed.
//
// The window ends with Enter (on a list, an edit or a radio button), Esc or the close box. When
// the settings differ from those last loaded, saved, reset by Default Config or started with,
// it first asks "Quit without saving the changes?", No being the default, so that a stray key
// loses nothing.
class CTarnwickDlg : public tk::CDialogEx {
 public:
  CTarnwickDlg();

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool hasUnsavedWork() override;
  void OnSysCommand(int commandId) override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;
  void DoDataExchange(tk::DataExchange& dx) override;

  // Fills the lists, applies the factory defaults and shows the record.
  void initForm();
  // Shows the record in the form.
  void recordToForm();
  // Collects the form into the record, then shows the interval as stored.
  void formToRecord();

  // The last path chosen in a file dialog of the load or save command.
  const std::string& configPath() const { return configPath_; }

 private:
  // Configuration commands.
  void OnDefaultConfig();
  void OnLoadConfig();
  void OnSaveConfig();

  // Commands that open another window.
  void OnMmsSetup();
  void OnTimer();
  void OnPasswordOn();
  void OnSerialNoOn();
  void OnTimeLapseOn();
  void OnOrgNameOn();
  void OnSmsCtrlOn();

  // Runs a switch's dialog and sets its pair from how the dialog ended: OK leaves it On, any
  // other end (Cancel, Esc, the close box) turns it Off.
  template <class Dialog>
  void runSwitchDialog(int onId, int offId);
  void setSwitch(int onId, int offId, bool on);

  void showInterval(std::uint32_t code);

  // The form as plain values: the lists, units and switches as shown, the two numbers as last
  // read from their edits.
  MainFormValues formValues();
  // The record a save would write now: the form collected as Save collects it, into a copy of
  // the record that holds what the option dialogs wrote. A number the exchange would refuse
  // counts as the value it keeps; nothing is shown.
  ConfigRecord recordAsSaved();
  // The settings are where the user can get them back (loaded, saved, defaulted, started).
  void markSettingsKept();
  // True when the window may end: nothing would be lost, or the user agreed to lose it.
  bool mayEnd();

  std::uint32_t videoLengthValue_ = 0;
  std::uint32_t intervalValue_ = 0;
  std::string configPath_;
  ConfigRecord keptSettings_;
};

}  // namespace tarnwick
