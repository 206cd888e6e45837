// What a person meets in the program's windows on the Qt backend, measured rather than assumed:
// greyed-out text that can still be read, list texts that fit their boxes, arrow keys that stay
// within an On/Off pair, and where the keyboard focus is when a window opens.

#include "QtTestSupport.h"

#include "config/Cards.h"
#include "config/ConfigFile.h"
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
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/Contrast.h"
#include "ui/toolkit/DialogHost.h"
#include "ui/toolkit/qt/FileFilter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <unistd.h>

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
// Where a control draws its text: inside an edit's frame, a list's text field, beside a check
// box's or radio button's mark (which are not text and are not measured).
QRect textArea(QWidget* widget) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    option.frame = combo->hasFrame();
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                          QStyle::SC_ComboBoxEditField, combo);
  }
  if (qobject_cast<QCheckBox*>(widget) != nullptr || qobject_cast<QRadioButton*>(widget) != nullptr) {
    QStyleOptionButton option;
    option.initFrom(widget);
    option.text = qobject_cast<QAbstractButton*>(widget)->text();
    const bool check = qobject_cast<QCheckBox*>(widget) != nullptr;
    return widget->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, widget);
  }
  return widget->rect().adjusted(3, 3, -3, -3);
}

double inkContrast(QWidget* widget) {
  const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect inner = textArea(widget).intersected(image.rect());
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

TEST(WhatTheUserSees, TheSaveDialogProposesTheFolderOfTheLoadedFile) {
  namespace ids = resources::ids::tarnwickDlg;
  QTemporaryDir card;
  QTemporaryDir elsewhere;
  ASSERT_TRUE(card.isValid() && elsewhere.isValid());
  const QString loaded = card.filePath(QStringLiteral("menu.cfg"));
  ConfigRecord prepared;
  applyDefaults(prepared);
  ASSERT_FALSE(writeConfigFile(loaded.toStdString(), prepared));
  setFileDialogFolder({});
  // No memory card, whatever is in this PC: one would be where the dialogs start.
  MountedCards noCards(QDir(elsewhere.path()).filePath(QStringLiteral("no-system")).toStdString());
  setCardFinder(&noCards);
  const struct Restore {
    ~Restore() { setCardFinder(nullptr); }
  } restore;

  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  CTarnwickDlg dialog;
  QStringList started;  // the folder each file dialog opened in
  QString proposedName;
  QStringList filters;
  QList<QUrl> places;
  const auto answer = [&](const QString& folder, const QString& name) {
    onNextModal<QFileDialog>([&, folder, name](QFileDialog& fileDialog) {
      started << fileDialog.directory().absolutePath();
      if (fileDialog.acceptMode() == QFileDialog::AcceptSave) {
        proposedName = fileDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        filters = fileDialog.nameFilters();
        places = fileDialog.sidebarUrls();
      }
      fileDialog.setDirectory(folder);
      fileDialog.selectFile(QDir(folder).filePath(name));
      static_cast<QDialog&>(fileDialog).accept();
    });
  };
  const auto okMessage = [] {
    onNextModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
  };
  backend->setShownHook([&](QtDialogWindow& window) {
    auto* load = qobject_cast<QPushButton*>(window.widgetFor(ids::kLoadConfigButton));
    auto* save = qobject_cast<QPushButton*>(window.widgetFor(ids::kSaveConfigButton));
    answer(card.path(), QStringLiteral("menu.cfg"));
    QTest::mouseClick(load, Qt::LeftButton);
    // Enter in the save dialog now replaces the card's file, not one in the start folder.
    answer(card.path(), QStringLiteral("menu.cfg"));
    okMessage();
    QTest::mouseClick(save, Qt::LeftButton);
    // Saved elsewhere, the next dialog starts there.
    answer(elsewhere.path(), QStringLiteral("copy.cfg"));
    okMessage();
    QTest::mouseClick(save, Qt::LeftButton);
    onNextModal<QFileDialog>([&](QFileDialog& fileDialog) {
      started << fileDialog.directory().absolutePath();
      fileDialog.reject();
    });
    QTest::mouseClick(load, Qt::LeftButton);
    window.closeWith(IDCANCEL);
  });
  dialog.DoModal();
  ASSERT_EQ(started.size(), 4);
  EXPECT_EQ(started[1], QDir(card.path()).absolutePath());
  EXPECT_EQ(started[2], QDir(card.path()).absolutePath());
  EXPECT_EQ(started[3], QDir(elsewhere.path()).absolutePath());
  EXPECT_EQ(proposedName, QStringLiteral("menu"));
  EXPECT_EQ(filters, (QStringList{QStringLiteral("Config file (*.cfg)"),
                                  QStringLiteral("All files (*)")}));
  EXPECT_TRUE(places.contains(QUrl::fromLocalFile(QDir::homePath())));
  EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("copy.cfg"))));
  setFileDialogFolder({});
  programRecord() = ConfigRecord{};
}

TEST(WhatTheUserSees, FileDialogsStartSomewhereASaveCanSucceed) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString home = QStringLiteral("/home/someone");
  // The remembered folder while it exists; a card taken out falls back to the start folder.
  EXPECT_EQ(startingFolder(dir.path(), QStringLiteral("/tmp"), home), dir.path());
  EXPECT_EQ(startingFolder(dir.filePath(QStringLiteral("gone")), dir.path(), home), dir.path());
  EXPECT_EQ(startingFolder({}, dir.path(), home), dir.path());
  EXPECT_EQ(startingFolder({}, dir.filePath(QStringLiteral("gone")), home), home);
  // Started from a folder the user cannot write to (such as /), the dialog starts at home.
  if (::geteuid() != 0) {
    EXPECT_EQ(startingFolder({}, QStringLiteral("/"), home), home);
  }
  EXPECT_EQ(removableMediaFolders({QStringLiteral("/"), QStringLiteral("/media/ann/CARD"),
                                   QStringLiteral("/boot/efi"), QStringLiteral("/run/media/bo/USB/"),
                                   QStringLiteral("/media/ann/CARD"), QStringLiteral("/mediax")}),
            (QStringList{QStringLiteral("/media/ann/CARD"), QStringLiteral("/run/media/bo/USB")}));
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

// Run by the test qt_small_scaled_screen on a 1280-pixel screen at 150 %: the network window
// is larger than the screen, so it is shown as large as fits and scrolls; every control can be
// brought into view, by the keyboard as well.
TEST(SmallScreen, TheNetworkWindowFitsTheScreenAndScrollsToEveryControl) {
  const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
  programRecord() = ConfigRecord{};
  applyDefaults(programRecord());
  programRecord().setInt32(fields::dataOption, 1);  // FTP: its boxes usable
  CMmsSetupDlg dialog;
  openAndLook(dialog, [&](QtDialogWindow& window) {
    if (window.contentWidget()->width() <= available.width()) {
      GTEST_SKIP() << "the screen is large enough";
    }
    EXPECT_LE(window.frameGeometry().width(), available.width());
    EXPECT_LE(window.frameGeometry().height(), available.height());
    EXPECT_TRUE(window.scrolls());
    namespace ids = resources::ids::mmsSetupDlg;
    for (int id : {ids::kEncryptList, ids::kSmtpPortEdit, ids::kFtpPortEdit,
                   ids::kFtpDirectoryEdit, ids::kMailbox3Edit, ids::kModeList}) {
      QWidget* widget = window.widgetFor(id);
      window.bringIntoView(widget);
      const QRect shown(widget->mapTo(window.scrollArea()->viewport(), QPoint(0, 0)),
                        widget->size());
      EXPECT_TRUE(window.scrollArea()->viewport()->rect().contains(shown)) << id;
    }
    // The focus moved by the keyboard scrolls to the control.
    window.scrollArea()->ensureVisible(0, 0);
    QWidget* ftpPort = window.widgetFor(ids::kFtpPortEdit);
    ftpPort->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(window.scrollArea()->viewport()->rect().contains(
        QRect(ftpPort->mapTo(window.scrollArea()->viewport(), QPoint(0, 0)), ftpPort->size())));
  });
  programRecord() = ConfigRecord{};
}

}  // namespace
}  // namespace tarnwick::tk::testing
