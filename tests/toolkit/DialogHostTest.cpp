// The dialog host against a recording window: what a backend is asked to do, in which order,
// for each kind of input, and the pulled loop an asynchronous backend runs.

#include "ui/toolkit/DialogHost.h"

#include "TestDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::tk {
namespace {

using testing::TestDlg;

// Writes down every request of the host as one short line.
class RecordingWindow : public NativeWindow {
 public:
  explicit RecordingWindow(CDialogEx& dialog) : dialog_(dialog) {}

  void showControl(int index) override { log.push_back("show " + idAt(index)); }
  void showCaption() override { log.push_back("caption"); }
  void showIcon(int iconResourceId) override {
    log.push_back("icon " + std::to_string(iconResourceId));
  }
  void showLook(int /*index*/, const ControlLook& /*look*/) override { ++colourRequests; }
  NativePalette nativePalette() const override { return {}; }
  void moveFocus(int index, bool selectText) override {
    log.push_back("focus " + idAt(index) + (selectText ? " selected" : ""));
  }
  void bringIntoView(int index) override { log.push_back("view " + idAt(index)); }
  std::optional<int> showSystemMenu(int nearIndex) override {
    log.push_back("menu " + (nearIndex < 0 ? std::string("at pointer") : idAt(nearIndex)));
    return menuChoice;
  }
  void repaintBackground() override { log.push_back("repaint"); }
  void closeWindow(int result) override { log.push_back("close " + std::to_string(result)); }

  // The log without "show" lines, for the steps after an input.
  std::vector<std::string> steps() const {
    std::vector<std::string> out;
    for (const std::string& line : log) {
      if (line.rfind("show ", 0) != 0) out.push_back(line);
    }
    return out;
  }

  std::vector<std::string> log;
  int colourRequests = 0;
  std::optional<int> menuChoice;

 private:
  std::string idAt(int index) const {
    return std::to_string(dialog_.controls()[static_cast<std::size_t>(index)].id);
  }
  CDialogEx& dialog_;
};

// A dialog that sends the focus back to its name edit when Push is clicked, counts colour
// requests and ends itself during initialisation when asked to.
class FocusDlg : public TestDlg {
 public:
  FocusDlg() { OnClicked(testing::kPush, &FocusDlg::sendFocusToName); }

  bool endAtStart = false;
  int focusPushes = 0;
  bool keepFocus = false;
  int colourAsks = 0;

  bool OnInitDialog() override {
    TestDlg::OnInitDialog();
    if (endAtStart) EndDialog(IDOK);
    if (keepFocus) {
      GotoDlgCtrl(testing::kList);
      return false;
    }
    return true;
  }
  CtlColor OnCtlColor(int /*id*/, CtlColorType /*type*/) override {
    ++colourAsks;
    return {};
  }
  void sendFocusToName() {
    ++focusPushes;
    GotoDlgCtrl(testing::kEditName);
  }
  void OnSysCommand(int commandId) override { systemCommands.push_back(commandId); }
  std::vector<int> systemCommands;
};

constexpr int kControls = 15;    // controls of the test template
constexpr int kNonButtons = 11;  // of which not push buttons: they make colour requests

TEST(DialogHostTest, AClickRunsTheHandlerThenShowsTheTakerThenTheAfterInputStepsInOrder) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  host.showInitialState();
  window.log.clear();
  window.colourRequests = 0;

  host.focusedByUser(testing::kCheck);  // the native focus-in that comes with a click
  EXPECT_EQ(host.click(testing::kCheck), "");
  // The focused check box is brought into view; it changed (the dialog's observer is the host),
  // is shown again as the taker, then icon, the look of every control (colour requests for all
  // but the push buttons), and a repaint. The focus did not move away from where the user
  // clicked, so it is not moved.
  const std::vector<std::string> expected{"view 14", "show 14", "show 14", "icon 0", "repaint"};
  EXPECT_EQ(window.log, expected);
  EXPECT_EQ(window.colourRequests, kControls);
  EXPECT_EQ(dialog.GetDlgItem(testing::kCheck).GetCheck(), 1);
}

TEST(DialogHostTest, AFocusMoveOfTheDialogIsFollowedAndSelectsAnEditsText) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  host.showInitialState();
  host.focusedByUser(testing::kEditByte);
  window.log.clear();

  // Typing keeps the focus where the user put it: nothing moves.
  host.type(testing::kEditByte, u"12");
  EXPECT_EQ(window.steps(), (std::vector<std::string>{"icon 0", "repaint"}));

  // The dialog moves the focus on its own: the window follows once, selecting the edit's text.
  window.log.clear();
  host.enter();  // the focus is on an edit: Enter presses OK, which validates and ends
  EXPECT_TRUE(host.ended());
  EXPECT_EQ(window.steps(), (std::vector<std::string>{"close 1"}));

  FocusDlg second;
  RecordingWindow secondWindow(second);
  DialogHost secondHost(second, secondWindow);
  ASSERT_TRUE(secondHost.start());
  secondHost.focusedByUser(testing::kPush);
  secondWindow.log.clear();
  secondHost.click(testing::kPush);  // the handler sends the focus to the name edit
  EXPECT_EQ(secondWindow.steps(),
            (std::vector<std::string>{"icon 0", "focus 10 selected", "view 10", "repaint"}));
}

TEST(DialogHostTest, TabOntoAnEditSelectsItsWholeTextAndEveryFocusIsBroughtIntoView) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  host.showInitialState();
  const struct {
    int id;
    bool byKeyboard;
    std::vector<std::string> steps;
  } cases[] = {
      {testing::kEditByte, true, {"focus 11 selected", "view 11"}},
      {testing::kEditByte, false, {"view 11"}},  // a click places the caret where it points
      {testing::kCheck, true, {"view 14"}},
      {testing::kList, true, {"view 13"}},
  };
  for (const auto& c : cases) {
    window.log.clear();
    host.focusedByUser(c.id, c.byKeyboard);
    EXPECT_EQ(window.steps(), c.steps) << c.id;
    EXPECT_EQ(dialog.focusedControlId(), c.id);
  }
  // The same through the queue of an asynchronous backend: a FocusIn of 1 came by Tab.
  window.log.clear();
  host.handle({InputEvent::Kind::FocusIn, testing::kEditName, {}, 1});
  EXPECT_EQ(window.steps(), (std::vector<std::string>{"focus 10 selected", "view 10"}));
}

TEST(DialogHostTest, TheMenuKeyOffersTheDialogsOwnEntriesAndRunsTheOneChosen) {
  FocusDlg plain;
  RecordingWindow plainWindow(plain);
  DialogHost plainHost(plain, plainWindow);
  ASSERT_TRUE(plainHost.start());
  plainWindow.log.clear();
  // No entries of its own: the key stays with the window.
  EXPECT_FALSE(plainHost.contextMenu(true));
  EXPECT_TRUE(plainWindow.log.empty());

  FocusDlg dialog;
  dialog.AppendSystemMenuItem(0, u"");
  dialog.AppendSystemMenuItem(16, u"About...");
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  host.showInitialState();
  host.focusedByUser(testing::kCheck);
  window.log.clear();
  // Cancelled beside the focused control; then chosen at the pointer, by the queued key.
  EXPECT_TRUE(host.contextMenu(true));
  window.menuChoice = 16;
  EXPECT_TRUE(host.contextMenu(false));
  EXPECT_EQ(window.steps(), (std::vector<std::string>{"menu 14", "menu at pointer", "icon 0",
                                                      "repaint"}));
  host.handle({InputEvent::Kind::MenuKey, kNoControlId, {}, -1});
  EXPECT_EQ(dialog.systemCommands, (std::vector<int>{16, 16}));
}

TEST(DialogHostTest, AnInputThatEndsTheDialogOnlyClosesTheWindowOnce) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  window.log.clear();
  host.escape();
  host.closeBox();  // a late close request of the window system changes nothing
  EXPECT_EQ(window.steps(), (std::vector<std::string>{"close 2"}));
  EXPECT_EQ(host.finish(), IDCANCEL);
  EXPECT_TRUE(host.closeRequested());
}

TEST(DialogHostTest, InitialFocusFollowsOnInitDialogsAnswer) {
  {
    FocusDlg dialog;  // true: the first tab stop that is enabled and visible
    RecordingWindow window(dialog);
    DialogHost host(dialog, window);
    ASSERT_TRUE(host.start());
    window.log.clear();
    host.showInitialState();
    // An edit: its text selected, so typing at once replaces it.
    EXPECT_EQ(window.steps(), (std::vector<std::string>{"caption", "icon 0", "focus 10 selected",
                                                        "view 10"}));
    EXPECT_EQ(window.colourRequests, kControls);
    EXPECT_EQ(dialog.colourAsks, kNonButtons);
  }
  {
    FocusDlg dialog;  // false: where the dialog put it
    dialog.keepFocus = true;
    RecordingWindow window(dialog);
    DialogHost host(dialog, window);
    ASSERT_TRUE(host.start());
    window.log.clear();
    host.showInitialState();
    EXPECT_EQ(window.steps(), (std::vector<std::string>{"caption", "icon 0", "focus 13", "view 13"}));
  }
}

TEST(DialogHostTest, ADialogEndedDuringInitialisationIsNeverShown) {
  FocusDlg dialog;
  dialog.endAtStart = true;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  EXPECT_FALSE(host.start());
  EXPECT_EQ(host.result(), IDOK);
  EXPECT_TRUE(window.steps().empty());
}

TEST(DialogHostTest, TabStopsAndFocusTakers) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  // The label takes no focus; B is a radio button without the tab-stop style.
  EXPECT_FALSE(host.takesFocus(0));
  EXPECT_TRUE(host.isTabStop(dialog.indexOf(testing::kRadioA)));
  EXPECT_TRUE(host.takesFocus(dialog.indexOf(testing::kRadioB)));
  EXPECT_FALSE(host.isTabStop(dialog.indexOf(testing::kRadioB)));
  EXPECT_FALSE(host.takesFocus(-1));
  EXPECT_EQ(DialogHost::colourRequestOf(dialog.controls()[0]), CtlColorType::Static);
  EXPECT_EQ(DialogHost::colourRequestOf(dialog.controls()[static_cast<std::size_t>(
                dialog.indexOf(testing::kDisabledEdit))]),
            CtlColorType::Static);
  EXPECT_EQ(DialogHost::colourRequestOf(dialog.controls()[static_cast<std::size_t>(
                dialog.indexOf(testing::kEditName))]),
            CtlColorType::Edit);
}

// An asynchronous backend's source: the queue its native handlers fill.
class QueueSource : public InputSource {
 public:
  explicit QueueSource(InputQueue& queue) : queue_(queue) {}
  std::optional<InputEvent> nextInput() override { return queue_.pop(); }

 private:
  InputQueue& queue_;
};

TEST(DialogHostTest, ThePulledLoopHandlesQueuedEventsUntilTheDialogEnds) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  InputQueue queue;
  queue.push({InputEvent::Kind::FocusIn, testing::kEditName, {}, -1});
  queue.push({InputEvent::Kind::Type, testing::kEditName, u"camera", -1});
  queue.push({InputEvent::Kind::Select, testing::kList, {}, 1});
  queue.push({InputEvent::Kind::Click, testing::kPush, {}, -1});
  queue.push({InputEvent::Kind::Enter, kNoControlId, {}, -1});
  queue.push({InputEvent::Kind::Click, testing::kPush, {}, -1});  // after the end: left queued
  QueueSource source(queue);
  EXPECT_EQ(host.runModal(source), IDOK);
  EXPECT_EQ(dialog.name, u"camera");
  EXPECT_EQ(dialog.listChanges, 1);
  EXPECT_EQ(dialog.focusPushes, 1);
  EXPECT_FALSE(queue.empty());
  EXPECT_EQ(window.log.back(), "close 1");
}

TEST(DialogHostTest, ASourceThatRunsDryEndsTheDialogAsCancelledAndClosesIt) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  InputQueue queue;
  queue.push({InputEvent::Kind::Click, 999, {}, -1});  // refused: no such control
  QueueSource source(queue);
  EXPECT_EQ(host.runModal(source), IDCANCEL);
  EXPECT_EQ(window.log.back(), "close 2");
}

TEST(DialogHostTest, RefusedInputIsReportedAndTheDialogIsNotEnded) {
  FocusDlg dialog;
  RecordingWindow window(dialog);
  DialogHost host(dialog, window);
  ASSERT_TRUE(host.start());
  EXPECT_EQ(host.handle({InputEvent::Kind::Click, testing::kHiddenButton, {}, -1}),
            "control 18 is hidden");
  EXPECT_EQ(host.handle({InputEvent::Kind::Select, testing::kList, {}, 5}),
            "control 13 has no position 5 (it holds 2 items)");
  EXPECT_EQ(host.handle({InputEvent::Kind::SystemCommand, 77, {}, -1}),
            "the system menu has no command 77");
  EXPECT_FALSE(host.ended());
  EXPECT_EQ(host.paint().fill(), std::nullopt);
}

}  // namespace
}  // namespace tarnwick::tk
