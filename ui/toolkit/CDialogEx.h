#pragma once

#include "ui/toolkit/Control.h"
#include "ui/toolkit/ControlState.h"
#include "ui/toolkit/DialogTemplate.h"
#include "ui/toolkit/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/toolkit/WindowsNames.h"

namespace tarnwick::tk {

class DataExchange;

// What a paint handler asks for. The backend draws it; the headless backend keeps it for tests.
class PaintContext {
 public:
  void FillSolidRect(Rgb colour) { fill_ = colour; }
  std::optional<Rgb> fill() const { return fill_; }

 private:
  std::optional<Rgb> fill_;
};

// Which colour request a control makes (WM_CTLCOLOR*): labels, group boxes, check boxes and
// radio buttons, and disabled or read-only edits ask for static colours.
enum class CtlColorType { Static, Edit, ListBox, Button };

// The answer to a colour request. Unset members keep the toolkit's default look.
struct CtlColor {
  bool transparentText = false;       // text drawn without a background of its own
  bool hollowBrush = false;           // nothing painted behind the control
  std::optional<Rgb> brush;           // solid background behind the control
  std::optional<Rgb> textColour;
};

// Entries that a dialog appends to its system menu (0 as id is a separator).
struct SystemMenuItem {
  int id = 0;
  std::u16string text;
};

// Receives every change of a control's state; a window backend mirrors it on screen.
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void controlChanged(int index) = 0;
  virtual void captionChanged() = 0;
};

// A modal dialog made on a template: the base of every window of the program. It holds the
// state of the template's controls, binds handlers to (control id, notification) pairs the way a
// message map does, moves values between members and controls (UpdateData) and runs modally
// through the active backend.
class CDialogEx {
 public:
  explicit CDialogEx(const DialogTemplate& dialogTemplate);
  virtual ~CDialogEx();
  CDialogEx(const CDialogEx&) = delete;
  CDialogEx& operator=(const CDialogEx&) = delete;

  // Runs the dialog modally through the active backend; returns IDOK or IDCANCEL.
  int DoModal();
  void EndDialog(int result);
  bool isEnded() const { return ended_; }
  int result() const { return result_; }

  const DialogTemplate& dialogTemplate() const { return *template_; }
  int templateId() const { return template_->id; }

  // Overridables. The base OnInitDialog pushes the members into the controls; the base OnOK
  // reads them back and ends the dialog with IDOK when that succeeds; the base OnCancel ends it
  // with IDCANCEL; the base OnClose (the title bar's close box) does what Cancel does.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void OnClose();
  virtual void OnSysCommand(int commandId);
  virtual void DoDataExchange(DataExchange& dx);
  virtual void OnPaint(PaintContext& paint);
  virtual CtlColor OnCtlColor(int controlId, CtlColorType type);
  // Whether ending the program now would lose settings the user has not saved. A front end
  // that can be ended behind the windows' back (a page closed or reloaded) asks it whenever it
  // waits for input, to warn before that happens. The base holds nothing of its own.
  virtual bool hasUnsavedWork() { return false; }

  bool UpdateData(bool saveAndValidate = true);

  // Controls by id.
  Control GetDlgItem(int id);
  bool HasDlgItem(int id) const;
  void SetDlgItemText(int id, const std::u16string& text) { GetDlgItem(id).SetWindowText(text); }
  std::u16string GetDlgItemText(int id) { return GetDlgItem(id).GetWindowText(); }
  void GotoDlgCtrl(int id);
  int focusedControlId() const { return focusId_; }

  void SetWindowText(const std::u16string& caption);
  const std::u16string& GetWindowText() const { return caption_; }
  void AppendSystemMenuItem(int id, const std::u16string& text);
  const std::vector<SystemMenuItem>& systemMenu() const { return systemMenu_; }
  void SetIcon(int iconResourceId) { iconId_ = iconResourceId; }
  int iconResourceId() const { return iconId_; }

  // A message box owned by this dialog: OK button, no icon, the application's name as caption.
  int MessageBox(const std::u16string& text);

  // The calls above under the names windows.h's macros turn them into (see WindowsNames.h).
  int MessageBoxA(const std::u16string& text) { return MessageBox(text); }
  int MessageBoxW(const std::u16string& text) { return MessageBox(text); }
  void SetWindowTextA(const std::u16string& caption) { SetWindowText(caption); }
  void SetWindowTextW(const std::u16string& caption) { SetWindowText(caption); }
  const std::u16string& GetWindowTextA() const { return GetWindowText(); }
  const std::u16string& GetWindowTextW() const { return GetWindowText(); }
  void SetDlgItemTextA(int id, const std::u16string& text) { SetDlgItemText(id, text); }
  void SetDlgItemTextW(int id, const std::u16string& text) { SetDlgItemText(id, text); }
  std::u16string GetDlgItemTextA(int id) { return GetDlgItemText(id); }
  std::u16string GetDlgItemTextW(int id) { return GetDlgItemText(id); }

  // What the user does. Both backends route input through these; each returns an empty string
  // when the input was taken, or a reason why a user could not do it (hidden, disabled, ...).
  std::string userClick(int id);
  std::string userType(int id, const std::u16string& text);
  std::string userSelect(int id, int position);
  void userEnter();
  // An arrow key. On a radio button it moves to the next (`forward`: Right or Down) or previous
  // radio button of the same group, wrapping round, and clicks it: the button landed on is
  // checked and its click notification sent, as an automatic radio button does. False when the
  // focus is not on a radio button of a group with another usable one (the key does nothing).
  bool userArrow(bool forward);
  void userEscape();
  void userCloseBox();
  std::string userSystemCommand(int commandId);

  // Runs the dialog's initialisation (called by the backends when the window exists).
  bool initialize();

  // Access for backends and tests.
  const std::vector<ControlState>& controls() const { return controls_; }
  int indexOf(int id) const;
  void setObserver(ControlObserver* observer) { observer_ = observer; }
  void notifyChanged(int index);
  ControlState* stateAt(int index);

 protected:
  using Handler = std::function<void()>;
  // Binds a handler to a control's notification, like one line of a message map.
  void OnNotify(int id, Notification notification, Handler handler);
  template <class Dialog>
  void OnClicked(int id, void (Dialog::*member)()) {
    OnNotify(id, Notification::Clicked, [this, member] { (static_cast<Dialog*>(this)->*member)(); });
  }
  template <class Dialog>
  void OnSelChange(int id, void (Dialog::*member)()) {
    OnNotify(id, Notification::SelectionChanged,
             [this, member] { (static_cast<Dialog*>(this)->*member)(); });
  }

 private:
  void dispatch(int id, Notification notification);
  void checkRadioInGroup(int index);

  const DialogTemplate* template_;
  std::vector<ControlState> controls_;
  std::unordered_map<int, int> indexById_;
  std::vector<std::pair<std::pair<int, Notification>, Handler>> handlers_;
  std::vector<SystemMenuItem> systemMenu_;
  std::u16string caption_;
  ControlObserver* observer_ = nullptr;
  int iconId_ = 0;
  int focusId_ = kNoControlId;
  bool ended_ = false;
  int result_ = IDCANCEL;
};

}  // namespace tarnwick::tk

#define TARNWICK_NAMES_RESTORE
#include "ui/toolkit/WindowsNames.h"
