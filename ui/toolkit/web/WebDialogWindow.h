#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/web/PageText.h"

#include <vector>

namespace tarnwick::tk::web {

// The page element of one modal dialog. The dialog object (the model) owns every control's
// state; this window mirrors it into the page (as the model's observer) and hands every input
// the page reports back to the model, which changes the state and runs the handlers. Enter,
// Escape and the close box go to the model as well; the element goes only when the model ended.
class WebDialogWindow : public ControlObserver {
 public:
  WebDialogWindow(CDialogEx& model, int windowNumber);
  ~WebDialogWindow() override;
  WebDialogWindow(const WebDialogWindow&) = delete;
  WebDialogWindow& operator=(const WebDialogWindow&) = delete;

  // Initialises the dialog, shows it and takes the page's input until the model has ended.
  int runModal();

  int number() const { return number_; }
  CDialogEx& model() { return model_; }

  void controlChanged(int index) override;
  void captionChanged() override;

 private:
  void open(bool firstControl);
  void handle(const PageEvent& event);
  void afterInput();
  void sendControl(int index);
  ControlColours coloursOf(int index);
  void refreshColours();
  void followModelFocus();
  Rect pixelsOf(const ControlState& state) const;

  CDialogEx& model_;
  int number_;
  bool shown_ = false;
  bool tabStopsGiven_ = false;
  int baseX_ = 0;
  int baseY_ = 0;
  int lastFocusId_ = kNoControlId;
  std::vector<ControlColours> colours_;
  std::string background_;
};

}  // namespace tarnwick::tk::web
