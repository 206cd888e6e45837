#pragma once

#include "ui/toolkit/DialogHost.h"
#include "ui/toolkit/DialogUnits.h"
#include "ui/toolkit/web/PageText.h"

#include <functional>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

// The page element of one modal dialog. The dialog host runs the dialog; this window draws what
// the host tells it (NativeWindow) and hands the host the page's input, one queued event at a
// time (InputSource), so the modal loop waits (suspended) between inputs and nothing calls into
// the program meanwhile.
class WebDialogWindow : private NativeWindow, private InputSource {
 public:
  // `pageFile` takes the page's own file inputs that arrive while this window waits;
  // `beforeWaiting` runs each time the window is about to wait for the page's next input.
  WebDialogWindow(CDialogEx& dialog, int windowNumber, const PageFileHandler& pageFile,
                  std::function<void()> beforeWaiting = {});
  ~WebDialogWindow() override;
  WebDialogWindow(const WebDialogWindow&) = delete;
  WebDialogWindow& operator=(const WebDialogWindow&) = delete;

  // Initialises the dialog, shows it and takes the page's input until the dialog has ended.
  int runModal();

 private:
  // NativeWindow
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
  // InputSource
  std::optional<InputEvent> nextInput() override;

  void open();
  // Whether the room the page has for the dialog now calls for one column.
  bool wantsOneColumn() const;
  // The arrangement the window has (oneColumn_) as the page takes it.
  std::string arrangementJson() const;
  // Arranges the open window anew when the page's room calls for the other arrangement.
  void rearrange();
  std::string controlText(int index, const Accessible& said);
  Rect pixelsOf(const ControlState& state);

  CDialogEx& dialog_;
  const PageFileHandler& pageFile_;
  DialogHost host_;
  int number_;
  std::function<void()> beforeWaiting_;
  DialogBaseUnits base_;
  bool shown_ = false;
  bool oneColumn_ = false;
  std::vector<ControlLook> looks_;
  std::string background_;
};

}  // namespace tarnwick::tk::web
