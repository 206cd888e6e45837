// What a person meets in the program's windows on the Qt backend, measured rather than assumed:
// greyed-out text that can still be read, list texts that fit their boxes, arrow keys that stay
// within an On/Off pair, and where the keyboard focus is when a window opens.

#include "QtTestSupport.h"

#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "network/OperatorTable.h"
#include "resources/templates/MainWindowTemplate.h"
#include "resources/templates/MmsSetupTemplate.h"
#include "resources/templates/ParamPwdTemplate.h"
#include "ui/main/CAboutDlg.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/network/CParamPwd.h"
#include "ui/options/COrgNameDlg.h"
#include "ui/options/CPasswordDlg.h"
#include "ui/options/CSMSCtrlDlg.h"
#include "ui/options/CSerialNoDlg.h"
#include "ui/options/CTimeLapseDlg.h"
#include "ui/options/CTimerSettingDlg.h"
#include "ui/toolkit/Contrast.h"
#include "ui/toolkit/DialogHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include <map>
#include <memory>
#include <string>

namespace tarnwick::tk::testing {
namespace {

Rgb rgbOf(QRgb p) {
  return Rgb{static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
             static_cast<std::uint8_t>(qBlue(p))};
}

// The contrast a reader gets from a control as drawn: inside its frame, the most common colour
// is what the text stands on, and the pixel that differs most from it is the text's ink (fully
// covered pixels of the glyph stems). Only controls that show some text are measured.
double inkContrast(QWidget* widget) {
  const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect inner = image.rect().adjusted(3, 3, -3, -3);
  std::map<QRgb, int> counts;
  for (int y = inner.top(); y <= inner.bottom(); ++y) {
    for (int x = inner.left(); x <= inner.right(); ++x) ++counts[image.pixel(x, y)];
  }
  QRgb background = 0;
  int most = -1;
  for (const auto& [colour, n] : counts) {
    if (n > most) {
      most = n;
      background = colour;
    }
  }
  double best = 1.0;
  for (const auto& [colour, n] : counts) {
    best = std::max(best, contrastRatio(rgbOf(colour), rgbOf(background)));
  }
  return best;
}

QString shownText(QWidget* widget) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->displayText();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return {};
}

// Every disabled control of the open window that shows a text; returns how many were measured.
int expectDisabledTextReadable(QtDialogWindow& window, const std::string& where) {
  int measured = 0;
  for (std::size_t i = 0; i < window.model().controls().size(); ++i) {
    QWidget* widget = window.widgetAt(static_cast<int>(i));
    if (widget == nullptr || widget->isEnabled() || widget->isHidden()) continue;
    if (qobject_cast<QLabel*>(widget) != nullptr || shownText(widget).trimmed().isEmpty()) continue;
    ++measured;
    EXPECT_GE(inkContrast(widget), kReadableContrast)
        << where << ": control " << window.model().controls()[i].id << " \""
        << shownText(widget).toStdString() << "\"";
  }
  return measured;
}

// The room a closed drop-down list has for its text: the style's edit field, less the pixel
// the label keeps from each side.
int textRoom(QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = false;
  option.frame = combo->hasFrame();
  const QRect field =
      combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                     combo);
  return field.width() - 2;
}

int expectListTextsFit(QtDialogWindow& window, const std::string& where) {
  int measured = 0;
  for (std::size_t i = 0; i < window.model().controls().size(); ++i) {
    auto* combo = qobject_cast<QComboBox*>(window.widgetAt(static_cast<int>(i)));
    if (combo == nullptr) continue;
    const int room = textRoom(combo);
    for (int item = 0; item < combo->count(); ++item) {
      ++measured;
      EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(item)), room)
          << where << ": list " << window.model().controls()[i].id << " item \""
          << combo->itemText(item).toStdString() << "\"";
    }
  }
  return measured;
}

template <class Dialog>
std::function<std::unique_ptr<CDialogEx>()> maker() {
  return [] { return std::make_unique<Dialog>(); };
}

struct Window {
  const char* name;
  std::function<std::unique_ptr<CDialogEx>()> make;
};

const Window kWindows[] = {
    {"About", maker<CAboutDlg>()},
    {"main window", maker<CTarnwickDlg>()},
    {"Timer Setting", maker<CTimerSettingDlg>()},
    {"Password Setting", maker<CPasswordDlg>()},
    {"Serial Number Setting", maker<CSerialNoDlg>()},
    {"Time-lapse Setting", maker<CTimeLapseDlg>()},
    {"Organization Name Setting", maker<COrgNameDlg>()},
    {"MMS / 4G Setup", maker<CMmsSetupDlg>()},
    {"access prompt", maker<CParamPwd>()},
    {"SMS Control Setting", maker<CSMSCtrlDlg>()},
};

// Opens `dialog` on the Qt backend, lets `look` examine the shown window, then cancels it.
void openAndLook(CDialogEx& dialog, const std::function<void(QtDialogWindow&)>& look) {
  ActiveQtBackend backend;
  bool looked = false;
  backend->setShownHook([&](QtDialogWindow& window) {
    if (&window.model() != &dialog) return;
    look(window);
    looked = true;
    window.closeWith(IDCANCEL);
  });
  dialog.DoModal();
  EXPECT_TRUE(looked);
}

TEST(WhatTheUserSees, DisabledTextInEveryWindowCanBeRead) {
  int measured = 0;
  for (const Window& w : kWindows) {
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    std::unique_ptr<CDialogEx> dialog = w.make();
    openAndLook(*dialog, [&](QtDialogWindow& window) {
      measured += expectDisabledTextReadable(window, w.name);
    });
  }
  EXPECT_GT(measured, 5);  // the network window's masks at least
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, TheNetworkWindowsGreyedOutBoxesCanBeRead) {
  namespace ids = resources::ids::mmsSetupDlg;
  struct Case {
    const char* what;
    std::function<void(ConfigRecord&)> setup;
    std::function<void(QtDialogWindow&)> act;
    int atLeast;
  };
  const Case cases[] = {
      // The nine masks of the operator parameters.
      {"Auto, masked", [](ConfigRecord&) {}, [](QtDialogWindow&) {}, 9},
      // A fixed SMTP row: server, port, e-mail, password mask and Encrypt "SSL" are fixed; in
      // Manual mode the check box "Show 4G Parameters" is disabled.
      {"fixed SMTP row in Manual mode",
       [](ConfigRecord& r) {
         r.setInt32(fields::dataOption, 0);
         r.setUInt8(fields::smtpPreset, 0);
         r.setUInt8(fields::networkMode, 1);
       },
       [](QtDialogWindow& window) {
         EXPECT_FALSE(window.widgetFor(ids::kEncryptList)->isEnabled());
         EXPECT_FALSE(window.widgetFor(ids::kShowParameters)->isEnabled());
       },
       5},
      // Revealed with the access code, the values are there to be read, not edited.
      {"revealed",
       [](ConfigRecord&) {},
       [](QtDialogWindow& window) {
         QTest::mouseClick(qobject_cast<QAbstractButton*>(window.widgetFor(ids::kShowParameters)),
                           Qt::LeftButton);
         EXPECT_EQ(qobject_cast<QLineEdit*>(window.widgetFor(ids::kDataApnEdit))->text(),
                   QStringLiteral("phone"));
       },
       7},  // AT&T has no data account or password
  };
  for (const Case& c : cases) {
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    c.setup(programRecord());
    ActiveQtBackend backend;
    CMmsSetupDlg dialog;
    int measured = 0;
    backend->setShownHook([&](QtDialogWindow& window) {
      if (window.model().templateId() == resources::ids::paramPwd::kTemplate) {
        auto* code = qobject_cast<QLineEdit*>(window.widgetFor(resources::ids::paramPwd::kCodeEdit));
        QTest::keyClicks(code, QStringLiteral("vintosk[4082736]"));
        QTest::keyClick(code, Qt::Key_Return);
        return;
      }
      c.act(window);
      measured = expectDisabledTextReadable(window, c.what);
      window.closeWith(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_GE(measured, c.atLeast) << c.what;
  }
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, EveryListTextOfEveryWindowFitsItsBox) {
  int measured = 0;
  for (const Window& w : kWindows) {
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    std::unique_ptr<CDialogEx> dialog = w.make();
    openAndLook(*dialog, [&](QtDialogWindow& window) {
      measured += expectListTextsFit(window, w.name);
    });
  }
  EXPECT_GT(measured, 100);

  // Every operator of every built-in country, as the Operator list shows them.
  namespace ids = resources::ids::mmsSetupDlg;
  programRecord() = ConfigRecord{};
  applyDefaults(programRecord());
  CMmsSetupDlg network;
  openAndLook(network, [&](QtDialogWindow& window) {
    auto* countries = qobject_cast<QComboBox*>(window.widgetFor(ids::kCountryList));
    ASSERT_NE(countries, nullptr);
    for (int c = 0; c < countries->count(); ++c) {
      countries->setCurrentIndex(c);
      emit countries->activated(c);
      expectListTextsFit(window, "MMS / 4G Setup, " + countries->itemText(c).toStdString());
    }
  });
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, ArrowKeysStayWithinEachOnOffPairAndClickTheButtonLandedOn) {
  namespace ids = resources::ids::tarnwickDlg;
  const std::pair<int, int> pairs[] = {{ids::kPasswordOn, ids::kPasswordOff},
                                       {ids::kSerialNoOn, ids::kSerialNoOff},
                                       {ids::kTimeLapseOn, ids::kTimeLapseOff},
                                       {ids::kOrgNameOn, ids::kOrgNameOff},
                                       {ids::kSmsCtrlOn, ids::kSmsCtrlOff}};
  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  CTarnwickDlg dialog;
  int opened = 0;  // the dialogs that an "On" click opens
  backend->setShownHook([&](QtDialogWindow& window) {
    if (window.model().templateId() != ids::kTemplate) {
      ++opened;
      window.closeWith(IDCANCEL);  // cancelled: the switch goes back to Off
      return;
    }
    for (const auto& [on, off] : pairs) {
      SCOPED_TRACE(on);
      auto* onButton = qobject_cast<QRadioButton*>(window.widgetFor(on));
      auto* offButton = qobject_cast<QRadioButton*>(window.widgetFor(off));
      ASSERT_TRUE(onButton != nullptr && offButton != nullptr);
      offButton->setFocus();
      ASSERT_TRUE(offButton->isChecked());
      const int before = opened;
      // From Off, Right lands on On (wrapping round the pair): On is clicked, its dialog opens.
      QTest::keyClick(offButton, Qt::Key_Right);
      EXPECT_EQ(opened, before + 1);
      EXPECT_EQ(window.focusWidget(), onButton);
      EXPECT_TRUE(offButton->isChecked());  // the dialog was cancelled
      // From On, Left and Down land on Off: checked, no dialog.
      QTest::keyClick(onButton, Qt::Key_Left);
      EXPECT_EQ(window.focusWidget(), offButton);
      EXPECT_TRUE(offButton->isChecked());
      EXPECT_EQ(window.model().focusedControlId(), off);
      QTest::keyClick(offButton, Qt::Key_Up);
      EXPECT_EQ(opened, before + 2);
      EXPECT_EQ(window.focusWidget(), onButton);
      QTest::keyClick(onButton, Qt::Key_Down);
      EXPECT_EQ(window.focusWidget(), offButton);
      EXPECT_EQ(opened, before + 2);
    }
    window.closeWith(IDCANCEL);
  });
  dialog.DoModal();
  EXPECT_EQ(opened, 10);
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, AboutIsOnTheMenuOfTheRightClickTheMenuKeyAndShiftF10) {
  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  CTarnwickDlg dialog;
  int aboutShown = 0;
  QStringList entries;
  backend->setShownHook([&](QtDialogWindow& window) {
    if (window.model().templateId() != resources::ids::tarnwickDlg::kTemplate) {
      EXPECT_EQ(window.windowTitle(), QStringLiteral("About Tarnwick"));
      ++aboutShown;
      window.closeWith(IDOK);
      return;
    }
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
      onNextModal<QMenu>([&](QMenu& menu) {
        entries.clear();
        for (QAction* action : menu.actions()) {
          if (!action->isSeparator()) entries << action->text();
        }
        QTest::keyClick(&menu, Qt::Key_Down);
        QTest::keyClick(&menu, Qt::Key_Return);
      });
      QTest::keyClick(window.focusWidget(), key, modifiers);
      EXPECT_EQ(entries, QStringList{QStringLiteral("About Tarnwick...")});
    }
    window.closeWith(IDCANCEL);
  });
  dialog.DoModal();
  EXPECT_EQ(aboutShown, 2);
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, EveryWindowOpensWithTheFocusOnItsFirstTabStop) {
  for (const Window& w : kWindows) {
    SCOPED_TRACE(w.name);
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    std::unique_ptr<CDialogEx> dialog = w.make();
    openAndLook(*dialog, [&](QtDialogWindow& window) {
      const int expected = initialFocusIndex(window.model(), true);
      ASSERT_GE(expected, 0);
      EXPECT_EQ(window.focusWidget(), window.widgetAt(expected));
      // The dialog object knows it too, so Enter presses what has the focus.
      EXPECT_EQ(window.model().focusedControlId(),
                window.model().controls()[static_cast<std::size_t>(expected)].id);
    });
  }
  // In the main window that is "Load Config File".
  CTarnwickDlg main;
  openAndLook(main, [](QtDialogWindow& window) {
    EXPECT_EQ(window.focusWidget(),
              window.widgetFor(resources::ids::tarnwickDlg::kLoadConfigButton));
  });
  programRecord() = ConfigRecord{};
}

}  // namespace
}  // namespace tarnwick::tk::testing
