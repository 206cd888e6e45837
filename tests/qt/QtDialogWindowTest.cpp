// The Qt window of a dialog: layout, the model shown in the widgets, user input reaching the
// model, Enter / Escape / close box, painting and control colours, and the system-menu entries.

#include "GeometryCheck.h"
#include "QtTestSupport.h"

#include "ui/toolkit/DataExchange.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <array>
#include <optional>
#include <vector>

namespace tarnwick::tk::testing {
namespace {

constexpr int kNameLabel = 1001;
constexpr int kNameEdit = 1002;
constexpr int kList = 1003;
constexpr int kCheck = 1004;
constexpr int kOn = 1005;
constexpr int kOff = 1006;
constexpr int kSecret = 1007;
constexpr int kApply = 1008;
constexpr int kByte = 1009;

constexpr std::array<ControlTemplate, 13> kControls{{
    {kNoControlId, ControlKind::GroupBox, "Group", {4, 4, 150, 72}, kStyleNone},
    {kNameLabel, ControlKind::Static, "Name", {10, 16, 40, 8}, kStyleNone},
    {kNameEdit, ControlKind::Edit, "", {55, 14, 90, 12}, kBorder | kTabStop | kAutoHScroll},
    {kList, ControlKind::ComboBox, "", {55, 30, 90, 60}, kTabStop | kVScroll},
    {kCheck, ControlKind::CheckBox, "Check", {10, 48, 60, 10}, kTabStop},
    {kOn, ControlKind::RadioButton, "On", {80, 48, 30, 10}, kGroupStart | kTabStop},
    {kOff, ControlKind::RadioButton, "Off", {112, 48, 30, 10}, kStyleNone},
    {kSecret, ControlKind::Edit, "", {10, 60, 60, 12}, kBorder | kPasswordEdit | kGroupStart},
    {kByte, ControlKind::Edit, "", {115, 60, 30, 12}, kBorder | kTabStop},
    {kApply, ControlKind::PushButton, "Apply", {10, 80, 50, 14}, kTabStop},
    {IDOK, ControlKind::PushButton, "OK", {70, 80, 40, 14}, kDefaultButton | kTabStop},
    {IDCANCEL, ControlKind::PushButton, "Cancel", {115, 80, 40, 14}, kTabStop},
    {kNoControlId, ControlKind::Icon, "", {160, 4, 21, 20}, kStyleNone},
}};

constexpr DialogTemplate kTemplate{900,
                                   "Qt backend test",
                                   190,
                                   100,
                                   "MS Shell Dlg",
                                   8,
                                   /*minimizeBox=*/true,
                                   /*taskbarWindow=*/false,
                                   kControls};

class TestDlg : public CDialogEx {
 public:
  TestDlg() : CDialogEx(kTemplate) {
    OnClicked(kApply, &TestDlg::OnApply);
    OnClicked(kCheck, &TestDlg::OnCheck);
    OnSelChange(kList, &TestDlg::OnListChange);
  }

  std::function<void(TestDlg&)> init;
  std::function<void(TestDlg&, int)> sysCommand;
  std::optional<Rgb> paintColour;
  std::function<CtlColor(int, CtlColorType)> colours;

  std::u16string name;
  std::uint8_t byte = 5;
  int applies = 0;
  int checks = 0;
  int listChanges = 0;
  int closes = 0;
  std::vector<int> sysCommands;
  std::vector<std::pair<int, CtlColorType>> colourRequests;

  bool OnInitDialog() override {
    CDialogEx::OnInitDialog();
    if (init) init(*this);
    return true;
  }
  void DoDataExchange(DataExchange& dx) override {
    dx.text(kNameEdit, name, 10);
    dx.byteValue(kByte, byte);
  }
  void OnClose() override {
    ++closes;
    CDialogEx::OnClose();
  }
  void OnSysCommand(int id) override {
    sysCommands.push_back(id);
    if (sysCommand) sysCommand(*this, id);
    CDialogEx::OnSysCommand(id);
  }
  void OnPaint(PaintContext& paint) override {
    if (paintColour) paint.FillSolidRect(*paintColour);
  }
  CtlColor OnCtlColor(int id, CtlColorType type) override {
    colourRequests.emplace_back(id, type);
    return colours ? colours(id, type) : CtlColor{};
  }

 private:
  void OnApply() { ++applies; }
  void OnCheck() { ++checks; }
  void OnListChange() { ++listChanges; }
};

template <class W>
W* widget(QtDialogWindow& window, int id) {
  W* w = qobject_cast<W*>(window.widgetFor(id));
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

TEST(QtDialogWindow, ControlsStandAtTheirTemplateRectanglesAsChildrenOfTheDialog) {
  ActiveQtBackend backend;
  TestDlg dlg;
  bool shown = false;
  backend->setShownHook([&](QtDialogWindow& window) {
    shown = true;
    expectTemplateGeometry(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Qt backend test"));
    EXPECT_EQ(window.font().pixelSize(), 11);
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(shown);
  EXPECT_EQ(backend->topWindow(), nullptr);
}

TEST(QtDialogWindow, WidgetsFollowEveryChangeTheDialogMakes) {
  ActiveQtBackend backend;
  TestDlg dlg;
  dlg.name = u"abc";
  dlg.init = [](TestDlg& d) {
    d.SetDlgItemText(kNameLabel, u"<b>Name</b>");
    for (const char16_t* item : {u"alpha", u"beta", u"gamma"}) d.GetDlgItem(kList).AddString(item);
    d.GetDlgItem(kList).SetCurSel(2);
    d.GetDlgItem(kCheck).SetCheck(1);
    d.GetDlgItem(kOff).SetCheck(1);
    d.GetDlgItem(kApply).EnableWindow(false);
    d.GetDlgItem(kByte).ShowWindow(false);
    d.SetDlgItemText(kSecret, u"1234");
    d.SetWindowText(u"Renamed");
  };
  backend->setShownHook([&](QtDialogWindow& window) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Renamed"));
    auto* label = widget<QLabel>(window, kNameLabel);
    EXPECT_EQ(label->text(), QStringLiteral("<b>Name</b>"));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);  // shown as typed, never as markup
    auto* name = widget<QLineEdit>(window, kNameEdit);
    EXPECT_EQ(name->text(), QStringLiteral("abc"));
    EXPECT_EQ(name->maxLength(), 10);  // the exchange's limit
    auto* list = widget<QComboBox>(window, kList);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), QStringLiteral("beta"));
    EXPECT_EQ(list->currentIndex(), 2);
    EXPECT_TRUE(widget<QCheckBox>(window, kCheck)->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(window, kOn)->isChecked());
    EXPECT_TRUE(widget<QRadioButton>(window, kOff)->isChecked());
    EXPECT_FALSE(widget<QPushButton>(window, kApply)->isEnabled());
    EXPECT_FALSE(widget<QLineEdit>(window, kByte)->isVisible());
    auto* secret = widget<QLineEdit>(window, kSecret);
    EXPECT_EQ(secret->text(), QStringLiteral("1234"));
    EXPECT_EQ(secret->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(secret->styleSheet().contains(QString::number(0x25CF)));

    // Changes made while the window is open show at once.
    dlg.GetDlgItem(kList).ResetContent();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentIndex(), -1);
    dlg.GetDlgItem(kList).AddString(u"one");
    dlg.GetDlgItem(kList).AddString(u"two");
    dlg.GetDlgItem(kList).SetCurSel(1);
    EXPECT_EQ(list->currentIndex(), 1);
    dlg.GetDlgItem(kList).SetCurSel(5);  // outside the list: nothing selected
    EXPECT_EQ(list->currentIndex(), -1);
    dlg.GetDlgItem(kSecret).SetPasswordChar(u'*');
    EXPECT_TRUE(secret->styleSheet().contains(QStringLiteral("42")));
    dlg.GetDlgItem(kSecret).SetPasswordChar(0);
    EXPECT_EQ(secret->echoMode(), QLineEdit::Normal);
    // A text longer than the typing limit, set by the program, is shown whole.
    dlg.SetDlgItemText(kNameEdit, u"a text longer than ten");
    EXPECT_EQ(name->text(), QStringLiteral("a text longer than ten"));
    dlg.GetDlgItem(kApply).EnableWindow(true);
    dlg.GetDlgItem(kByte).ShowWindow(true);
    EXPECT_TRUE(widget<QPushButton>(window, kApply)->isEnabled());
    EXPECT_TRUE(widget<QLineEdit>(window, kByte)->isVisible());
    dlg.GetDlgItem(kOn).SetCheck(1);
    EXPECT_TRUE(widget<QRadioButton>(window, kOn)->isChecked());
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(QtDialogWindow, TypingClickingAndSelectingReachTheDialog) {
  ActiveQtBackend backend;
  TestDlg dlg;
  dlg.init = [](TestDlg& d) {
    for (const char16_t* item : {u"alpha", u"beta", u"gamma"}) d.GetDlgItem(kList).AddString(item);
    d.GetDlgItem(kList).SetCurSel(0);
  };
  backend->setShownHook([&](QtDialogWindow& window) {
    auto* name = widget<QLineEdit>(window, kNameEdit);
    name->setFocus();
    QTest::keyClicks(name, "hello world 123");
    EXPECT_EQ(dlg.GetDlgItemText(kNameEdit), u"hello worl");  // typing stops at the limit
    EXPECT_EQ(name->text(), QStringLiteral("hello worl"));
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(dlg.GetDlgItemText(kNameEdit), u"hello wor");

    auto* check = widget<QCheckBox>(window, kCheck);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(dlg.GetDlgItem(kCheck).GetCheck(), 1);
    EXPECT_EQ(dlg.checks, 1);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(dlg.GetDlgItem(kCheck).GetCheck(), 0);
    EXPECT_FALSE(check->isChecked());

    auto* on = widget<QRadioButton>(window, kOn);
    auto* off = widget<QRadioButton>(window, kOff);
    QTest::mouseClick(on, Qt::LeftButton);
    QTest::mouseClick(off, Qt::LeftButton);
    EXPECT_EQ(dlg.GetDlgItem(kOn).GetCheck(), 0);
    EXPECT_EQ(dlg.GetDlgItem(kOff).GetCheck(), 1);
    EXPECT_FALSE(on->isChecked());
    // Clicking the checked radio button again keeps it checked, in the dialog and on screen.
    QTest::mouseClick(off, Qt::LeftButton);
    EXPECT_EQ(dlg.GetDlgItem(kOff).GetCheck(), 1);
    EXPECT_TRUE(off->isChecked());

    auto* list = widget<QComboBox>(window, kList);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(dlg.GetDlgItem(kList).GetCurSel(), 1);
    EXPECT_EQ(dlg.listChanges, 1);

    auto* apply = widget<QPushButton>(window, kApply);
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(dlg.applies, 1);
    dlg.GetDlgItem(kApply).EnableWindow(false);
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(dlg.applies, 1);
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(QtDialogWindow, EnterEscapeAndTheCloseBoxGoThroughTheDialog) {
  struct Case {
    const char* what;
    std::function<void(QtDialogWindow&)> act;
    int result;
    int closes;
  };
  const Case cases[] = {
      {"Enter in an edit presses the default button",
       [](QtDialogWindow& w) { QTest::keyClick(w.widgetFor(kNameEdit), Qt::Key_Return); }, IDOK, 0},
      {"Enter on the keypad",
       [](QtDialogWindow& w) {
         QTest::keyClick(w.widgetFor(kNameEdit), Qt::Key_Enter, Qt::KeypadModifier);
       },
       IDOK, 0},
      {"Enter on a focused push button presses that button",
       [](QtDialogWindow& w) {
         w.widgetFor(IDCANCEL)->setFocus();
         QTest::keyClick(w.widgetFor(IDCANCEL), Qt::Key_Return);
       },
       IDCANCEL, 0},
      {"Escape cancels",
       [](QtDialogWindow& w) { QTest::keyClick(w.widgetFor(kNameEdit), Qt::Key_Escape); }, IDCANCEL,
       0},
      {"the close box is the dialog's close command",
       [](QtDialogWindow& w) { EXPECT_FALSE(w.close()); }, IDCANCEL, 1},
      {"reject() from elsewhere is Escape", [](QtDialogWindow& w) { w.reject(); }, IDCANCEL, 0},
      {"done() from elsewhere is the close box", [](QtDialogWindow& w) { w.done(IDOK); }, IDCANCEL,
       1},
  };
  for (const Case& c : cases) {
    ActiveQtBackend backend;
    TestDlg dlg;
    backend->setShownHook([&](QtDialogWindow& window) {
      window.widgetFor(kNameEdit)->setFocus();
      c.act(window);
    });
    EXPECT_EQ(dlg.DoModal(), c.result) << c.what;
    EXPECT_EQ(dlg.closes, c.closes) << c.what;
  }
}

TEST(QtDialogWindow, RefusedValueKeepsTheDialogOpenWithTheFocusOnIt) {
  ActiveQtBackend backend;
  TestDlg dlg;
  QString message;
  QWidget* messageParent = nullptr;
  backend->setShownHook([&](QtDialogWindow& window) {
    auto* byte = widget<QLineEdit>(window, kByte);
    byte->setFocus();
    byte->selectAll();
    QTest::keyClicks(byte, "300");
    auto* name = widget<QLineEdit>(window, kNameEdit);
    name->setFocus();
    onNextModal<QMessageBox>([&](QMessageBox& box) {
      message = box.text();
      messageParent = box.parentWidget();
      box.button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(message, QString::fromStdU16String(byteRangeMessage()));
    EXPECT_EQ(messageParent, &window);  // the toolkit's own message is owned by the dialog
    EXPECT_FALSE(dlg.isEnded());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.focusWidget(), byte);
    EXPECT_EQ(byte->selectedText(), QStringLiteral("300"));
    QTest::keyClick(byte, Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(QtDialogWindow, DialogEndedWhileInitialisingIsNeverShown) {
  ActiveQtBackend backend;
  TestDlg dlg;
  dlg.init = [](TestDlg& d) { d.EndDialog(IDOK); };
  bool shown = false;
  backend->setShownHook([&](QtDialogWindow&) { shown = true; });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  QTest::qWait(20);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(backend->openWindows().empty());
}

TEST(QtDialogWindow, PaintedBackgroundAndControlColoursComeFromTheDialog) {
  ActiveQtBackend backend;
  TestDlg dlg;
  const QColor background(215, 220, 245);
  dlg.paintColour = Rgb{215, 220, 245};
  dlg.colours = [](int id, CtlColorType type) -> CtlColor {
    if (id == kNameLabel) return {true, true, std::nullopt, std::nullopt};
    if (id == kCheck) return {false, false, Rgb{10, 200, 30}, Rgb{120, 0, 0}};
    if (id == kSecret && type == CtlColorType::Static)
      return {true, false, Rgb{1, 2, 3}, std::nullopt};
    return {};
  };
  backend->setShownHook([&](QtDialogWindow& window) {
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), background);
    // The group box draws its frame and title only; its inside shows the painted background.
    const Rect inside = dialogUnitsToPixels({20, 36, 1, 1}, window.baseUnits());
    EXPECT_EQ(image.pixelColor(inside.x, inside.y), background);
    // A hollow label shows the painted background around its text.
    QWidget* label = window.widgetFor(kNameLabel);
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(image.pixelColor(label->geometry().right() - 1, label->geometry().center().y()),
              background);
    // A brush fills the control; the text colour applies while it is enabled (and readable).
    QWidget* check = window.widgetFor(kCheck);
    EXPECT_TRUE(check->autoFillBackground());
    EXPECT_EQ(image.pixelColor(check->geometry().right() - 1, check->geometry().center().y()),
              QColor(10, 200, 30));
    EXPECT_EQ(check->palette().color(QPalette::Active, QPalette::WindowText), QColor(120, 0, 0));
    // Every kind asks with its own request type; edits ask for edit colours while enabled and
    // for static colours when disabled.
    const auto asked = [&](int id, CtlColorType type) {
      return std::find(dlg.colourRequests.begin(), dlg.colourRequests.end(), std::pair{id, type}) !=
             dlg.colourRequests.end();
    };
    EXPECT_TRUE(asked(kNameLabel, CtlColorType::Static));
    EXPECT_TRUE(asked(kOn, CtlColorType::Static));
    EXPECT_TRUE(asked(kList, CtlColorType::ListBox));
    EXPECT_TRUE(asked(kNameEdit, CtlColorType::Edit));
    EXPECT_FALSE(asked(kApply, CtlColorType::Button));  // push buttons keep the toolkit's look
    dlg.colourRequests.clear();
    dlg.GetDlgItem(kSecret).EnableWindow(false);
    EXPECT_TRUE(asked(kSecret, CtlColorType::Static));
    EXPECT_EQ(window.widgetFor(kSecret)->palette().color(QPalette::Base), QColor(1, 2, 3));
    dlg.GetDlgItem(kSecret).EnableWindow(true);
    EXPECT_NE(window.widgetFor(kSecret)->palette().color(QPalette::Base), QColor(1, 2, 3));
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(QtDialogWindow, SystemMenuEntriesAreOfferedOnTheContextMenu) {
  ActiveQtBackend backend;
  TestDlg dlg;
  dlg.init = [](TestDlg& d) {
    d.AppendSystemMenuItem(0, u"");
    d.AppendSystemMenuItem(16, u"About Test...");
  };
  // The command opens a second dialog over the first, as the About entry does.
  bool nestedParentIsFirst = false;
  dlg.sysCommand = [&](TestDlg&, int) {
    CDialogEx nested(kTemplate);
    nested.DoModal();
  };
  QStringList entries;
  backend->setShownHook([&](QtDialogWindow& window) {
    if (&window.model() != &dlg) {
      nestedParentIsFirst = window.parentWidget() == backend->windowFor(&dlg);
      EXPECT_EQ(backend->openWindows().size(), 2u);
      QTest::keyClick(window.widgetFor(IDOK), Qt::Key_Escape);
      return;
    }
    onNextModal<QMenu>([&](QMenu& menu) {
      for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) entries << action->text();
      }
      QTest::keyClick(&menu, Qt::Key_Down);
      QTest::keyClick(&menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            window.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&window, &event);
    EXPECT_EQ(dlg.sysCommands, std::vector<int>{16});
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(entries, QStringList{QStringLiteral("About Test...")});
  EXPECT_TRUE(nestedParentIsFirst);
}

}  // namespace
}  // namespace tarnwick::tk::testing
