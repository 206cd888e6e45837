#pragma once

#include "ui/toolkit/Accessible.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/ControlLook.h"
#include "ui/toolkit/WindowFit.h"

#include <deque>
#include <optional>
#include <string>

namespace tarnwick::tk {

// One input a user makes in a dialog window, as a backend reports it.
struct InputEvent {
  enum class Kind {
    Click, Type, Select, Enter, Escape, CloseBox, SystemCommand, FocusIn, Arrow, MenuKey
  };
  Kind kind = Kind::Click;
  int id = kNoControlId;  // the control (Click, Type, Select, FocusIn) or the command
  std::u16string text;    // Type: the control's whole new text
  // Select: the list position chosen; Arrow: 1 forward, -1 back; FocusIn: 1 when the keyboard
  // (Tab) moved the focus there.
  int position = -1;
};

// What a backend's window does for its host. The host calls these; the backend never decides
// any of it on its own.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  // The state of control `index` changed (or the native control may have changed itself and
  // must show the state again): mirror ControlState `index` onto the native control.
  virtual void showControl(int index) = 0;
  // The caption changed; read it with CDialogEx::GetWindowText.
  virtual void showCaption() = 0;
  // The dialog's icon resource; 0 when it has none.
  virtual void showIcon(int iconResourceId) = 0;
  // How control `index` is drawn (decided again after every input): its fill, its text colour
  // and the colour of the ring drawn around it while it has the keyboard focus.
  virtual void showLook(int index, const ControlLook& look) = 0;
  // The colours the window system gives what the dialog leaves to it.
  virtual NativePalette nativePalette() const = 0;
  // Put the keyboard focus on control `index`; `selectText` for an edit whose text should be
  // selected so that it can be typed over.
  virtual void moveFocus(int index, bool selectText) = 0;
  // Control `index` has the focus: a window that does not show the whole dialog scrolls so that
  // the control and its focus ring (kFocusRingReach around it) are in view.
  virtual void bringIntoView(int index) = 0;
  // Offer the dialog's own system-menu entries (CDialogEx::systemMenu) as a menu beside control
  // `nearIndex`, or at the pointer when it is -1. The entry chosen, or nothing: cancelled, or (an
  // asynchronous backend) to come as a SystemCommand input.
  virtual std::optional<int> showSystemMenu(int nearIndex) = 0;
  // Paint the background again: the backend calls DialogHost::paint while drawing.
  virtual void repaintBackground() = 0;
  // The dialog has ended with `result`: take the window down and leave the modal loop.
  virtual void closeWindow(int result) = 0;
};

// Where a backend's modal loop takes its input from. A synchronous backend (Qt, Win32) does not
// need it: its event loop calls DialogHost's input functions directly. An asynchronous backend
// (a browser awaiting a promise) keeps native events in a queue of its own and lets the host pull
// them: nothing calls into the host while the loop is suspended.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // Waits for the next input; nothing when the window went away without one (the loop ends, the
  // dialog ends as cancelled).
  virtual std::optional<InputEvent> nextInput() = 0;
};

// The protocol every window backend follows, in one place. A backend creates the native window
// and its controls from the dialog template, implements NativeWindow, and forwards every native
// input through one of the input functions below; the host runs the dialog object's code and
// then the steps that follow every input:
//   1. ended?   close the window with the result (nothing else happens);
//   2. icon     showIcon with the dialog's icon resource;
//   3. focus    where the dialog moved the focus (GotoDlgCtrl), moveFocus follows;
//   4. colours  OnCtlColor is asked again for every control, showColours mirrors the answers;
//   5. paint    repaint, after which the backend's drawing asks paint() (OnPaint).
// The host is the dialog's one ControlObserver for its lifetime: every state change reaches
// the window through showControl/showCaption.
class DialogHost : private ControlObserver {
 public:
  DialogHost(CDialogEx& dialog, NativeWindow& window);
  ~DialogHost() override;
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  // Becomes the dialog's observer and runs its initialisation (OnInitDialog). False when the
  // dialog ended during it: the window is then never shown and result() is the answer.
  // Otherwise the backend shows the window, then calls showInitialState().
  bool start();
  // Caption, icon, every control's colours and the initial focus, after the window is shown.
  void showInitialState();

  // Native input. Each returns what CDialogEx::user* returns (empty when the input was taken),
  // shows the control that took it again (a native control may have changed itself) and runs the
  // after-input steps.
  std::string click(int id);
  std::string type(int id, const std::u16string& text);
  std::string select(int id, int position);
  void enter();
  // An arrow key (forward: Right or Down). True when the dialog took it (a radio button moved
  // within its group); otherwise the backend may use the key natively.
  bool arrow(bool forward);
  void escape();
  void closeBox();
  std::string systemCommand(int commandId);
  // The user put the keyboard focus on control `id` (a native focus-in): the window brings it
  // into view, and an edit reached with the keyboard (`byKeyboard`: Tab) has its whole text
  // selected, so that typing replaces it. No after-input steps.
  void focusedByUser(int id, bool byKeyboard = false);
  // The keyboard's way to the window's menu (the menu key, Shift+F10), or a right click on the
  // dialog's background (`byKeyboard` false): the dialog's own system-menu entries are offered,
  // beside the focused control or at the pointer. Where the window manager takes the title bar's
  // menu this is the only way to them. False when the dialog has no entries of its own (the key
  // is then the window's to use).
  bool contextMenu(bool byKeyboard);
  // Any of the above, from a queued event.
  std::string handle(const InputEvent& event);

  // The modal loop for a backend that pulls its input: handles events from `source` until the
  // dialog has ended (or the source runs dry, which ends it as cancelled). Returns the result.
  // Call after start() and showing the window; close() is called when the dialog ends.
  int runModal(InputSource& source);

  // A synchronous backend's loop ended (the window went away, the program quits): the dialog
  // ends as cancelled if it has not ended. Returns the dialog's result.
  int finish();

  // Something other than the dialog wants the window gone (the native close request, a window
  // manager's command): it is the close box. True when the dialog has ended and the window may go.
  bool closeRequested();

  // The background while the backend paints: what OnPaint asks for.
  PaintContext paint();
  // The colour answer for one control, as the control's kind asks for it (push buttons make no
  // request: an empty answer).
  CtlColor coloursOf(int index);
  // How control `index` is drawn: its colour answer through controlLook, on the dialog's painted
  // background and the window's palette.
  ControlLook lookOf(int index);
  // Which colour request a control makes: labels, group boxes, check boxes, radio buttons, icons
  // and disabled edits ask for static colours.
  static CtlColorType colourRequestOf(const ControlState& state);

  // Whether control `index` is a tab stop: a control that takes input, marked so in the template,
  // or every such control when the template marks none.
  bool isTabStop(int index) const;
  // Whether control `index` can take the keyboard focus at all (it takes input).
  bool takesFocus(int index) const;

  CDialogEx& dialog() { return dialog_; }
  // What a screen reader says about each control as the dialog stands now (role, name,
  // description, state), by index: a backend hands it to its platform when it creates the
  // controls and again whenever it shows one (showControl).
  std::vector<Accessible> accessibility() const { return accessibleOf(dialog_.controls()); }
  // The dialog's controls in one column (oneColumnRows), for a window narrower than the dialog
  // (arrangementFor).
  std::vector<ColumnRow> oneColumn() const { return oneColumnRows(dialog_.controls(), accessibility()); }
  bool ended() const { return dialog_.isEnded(); }
  int result() const { return dialog_.result(); }

 private:
  void controlChanged(int index) override;
  void captionChanged() override;
  void afterInput();
  void showTaker(int id);
  void followFocus();
  void showLooks();
  void focusOn(int index, bool selectText);
  bool canFocus(int index) const;
  bool isEdit(int index) const;

  CDialogEx& dialog_;
  NativeWindow& window_;
  int lastFocusId_ = kNoControlId;
  bool firstControlFocus_ = true;
  bool tabStopsGiven_ = false;
  bool closed_ = false;
};

// Where the keyboard focus goes when `dialog` opens, as a control index (-1: nowhere). With
// `firstControl` (OnInitDialog returned true) it is the first control in tab order that is
// enabled and visible; otherwise the control the dialog moved the focus to (GotoDlgCtrl), or the
// first one when that cannot take it. Every backend opens its windows by this one rule, so Enter
// right after opening presses the same button everywhere (in the main window the first tab stop
// is a push button).
int initialFocusIndex(const CDialogEx& dialog, bool firstControl);

// Gives the dialog object the focus of that rule, so that its Enter handling knows it from the
// start. Returns the index, or -1.
int placeInitialFocus(CDialogEx& dialog, bool firstControl);

// A queue of native input for an asynchronous backend: its event handlers push, and its
// InputSource pops. Holds plain data only, so the pushing side needs nothing from the dialog.
class InputQueue {
 public:
  void push(InputEvent event) { events_.push_back(std::move(event)); }
  std::optional<InputEvent> pop();
  bool empty() const { return events_.empty(); }

 private:
  std::deque<InputEvent> events_;
};

}  // namespace tarnwick::tk
