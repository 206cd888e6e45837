#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DialogHost.h"
#include "ui/toolkit/qt/DialogUnits.h"

#include <QDialog>

class QScrollArea;

#include <functional>
#include <optional>
#include <vector>

namespace tarnwick::tk {

// The window of one modal dialog: a QDialog with one widget per template control, each a direct
// child of the dialog at the control's rectangle converted from dialog units. The dialog object
// (the model) owns every control's state; this window mirrors it and hands every user input to
// its DialogHost, which runs the model's code and tells the window what to show, where the focus
// goes and when to close. Enter, Escape and the close box go the same way.
class QtDialogWindow : public QDialog, private NativeWindow {
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

  // Sizes the window for a screen whose free area is `available`: the template's size when it
  // fits, otherwise what fits, with scroll bars for the rest.
  void fitToScreen(const QSize& available);
  // Whether part of the dialog lies outside the window and is reached by scrolling.
  bool scrolls() const;
  // Scrolls so that `widget`, a control of this window, and its focus ring are in view.
  void bringIntoView(QWidget* widget);
  // Where the focus ring of `widget` lies on the content widget (empty for no widget).
  static QRect focusRingRect(const QWidget* widget);
  // The widget the controls stand on (at the template's size), and the scroll area around it.
  QWidget* contentWidget() const { return canvas_; }
  QScrollArea* scrollArea() const { return scroller_; }

  CDialogEx& model() { return model_; }
  DialogBaseUnits baseUnits() const { return baseUnits_; }
  // The widget of a control, or nullptr for an id the template lacks.
  QWidget* widgetFor(int controlId) const;
  QWidget* widgetAt(int index) const;

  void done(int result) override;
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // NativeWindow: what the host asks of the window.
  void showControl(int index) override;
  void showCaption() override;
  void showIcon(int iconResourceId) override;
  void showLook(int index, const ControlLook& look) override;
  NativePalette nativePalette() const override;
  void moveFocus(int index, bool selectText) override;
  void bringIntoView(int index) override;
  std::optional<int> showSystemMenu(int nearIndex) override;
  void repaintBackground() override;
  void closeWindow(int result) override;

  class Canvas;
  void paintCanvas(QWidget& canvas, QPaintEvent* event);
  QWidget* createWidget(int index, const ControlState& state);
  void connectInput(int index, QWidget* widget);
  void applyFocusPolicy(int index, QWidget* widget);
  void mirror(int index);
  void nameControls();
  void applyLook(int index, const ControlLook& look);
  int indexOfWidget(const QObject* widget) const;

  CDialogEx& model_;
  DialogHost host_;
  DialogBaseUnits baseUnits_;
  QWidget* canvas_ = nullptr;
  QScrollArea* scroller_ = nullptr;
  // What the window shows of the canvas, scroll bars left out. Known from the fit before the
  // scroll area has laid itself out (the first focus is brought into view before the window
  // shows).
  QSize view_;
  std::vector<QWidget*> widgets_;
  std::vector<ControlLook> looks_;
  std::function<void(QtDialogWindow&)> shownHook_;
  bool shownReported_ = false;
};

}  // namespace tarnwick::tk
