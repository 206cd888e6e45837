#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/qt/DialogUnits.h"

#include <QDialog>

#include <functional>
#include <vector>

namespace tarnwick::tk {

// The window of one modal dialog: a QDialog with one widget per template control, each a direct
// child of the dialog at the control's rectangle converted from dialog units. The dialog object
// (the model) owns every control's state; this window mirrors it (as the model's observer) and
// hands every user input back to the model, which changes the state and runs the handlers.
// Enter, Escape and the close box go to the model as well; the window closes only when the
// model has ended.
class QtDialogWindow : public QDialog, public ControlObserver {
 public:
  QtDialogWindow(CDialogEx& model, QWidget* parent);
  ~QtDialogWindow() override;
  QtDialogWindow(const QtDialogWindow&) = delete;
  QtDialogWindow& operator=(const QtDialogWindow&) = delete;

  // Runs the dialog's initialisation, shows the window and returns the model's result once it
  // has ended. A dialog that ends during its initialisation is never shown.
  int runModal();

  // Called once, from the event loop, after the window has been painted for the first time.
  void setShownHook(std::function<void(QtDialogWindow&)> hook) { shownHook_ = std::move(hook); }

  // Ends the model with `result` and closes the window (for tests and the start-up benchmark).
  void closeWith(int result);

  CDialogEx& model() { return model_; }
  DialogBaseUnits baseUnits() const { return baseUnits_; }
  // The widget of a control, or nullptr for an id the template lacks.
  QWidget* widgetFor(int controlId) const;
  QWidget* widgetAt(int index) const;

  // ControlObserver: the model changed a control or the caption.
  void controlChanged(int index) override;
  void captionChanged() override;

  void done(int result) override;
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* createWidget(int index, const ControlState& state);
  void connectInput(int index, QWidget* widget);
  void applyFocusPolicy(QWidget* widget, const ControlState& state, bool tabStopsGiven);
  void mirror(int index);
  void applyColours(int index);
  void applyAllColours();
  void syncIcon();
  void placeInitialFocus(bool firstControl);
  void followModelFocus();
  // Runs after every input the model took: closes the window when the model ended, otherwise
  // brings focus, colours and the painted background up to date.
  void afterInput();
  int indexOfWidget(const QObject* widget) const;

  CDialogEx& model_;
  DialogBaseUnits baseUnits_;
  std::vector<QWidget*> widgets_;
  std::function<void(QtDialogWindow&)> shownHook_;
  bool shownReported_ = false;
  bool mirroring_ = false;
  int lastFocusId_ = kNoControlId;
};

}  // namespace tarnwick::tk
