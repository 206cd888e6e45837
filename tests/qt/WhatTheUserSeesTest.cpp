// What a person meets in the program's windows on the Qt backend beyond the window check's table
// (WindowCheckTest): every operator name fits the Operator list, arrow keys stay within an On/Off
// pair, file dialogs start where a save can succeed, and About is on the menu key.

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
#include "ui/main/CTarnwickDlg.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/qt/FileFilter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <unistd.h>

#include <memory>
#include <string>

namespace tarnwick::tk::testing {
namespace {

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

// The window check measures each list's entries where it opens; the Operator list's entries
// change with the country, so every built-in country's operators are measured here.
TEST(WhatTheUserSees, EveryOperatorOfEveryCountryFitsTheOperatorList) {
  namespace ids = resources::ids::mmsSetupDlg;
  programRecord() = ConfigRecord{};
  applyDefaults(programRecord());
  CMmsSetupDlg network;
  int measured = 0;
  openAndLook(network, [&](QtDialogWindow& window) {
    auto* countries = qobject_cast<QComboBox*>(window.widgetFor(ids::kCountryList));
    ASSERT_NE(countries, nullptr);
    for (int c = 0; c < countries->count(); ++c) {
      countries->setCurrentIndex(c);
      emit countries->activated(c);
      measured += expectListTextsFit(window, "MMS / 4G Setup, " + countries->itemText(c).toStdString());
    }
  });
  EXPECT_GT(measured, 198);
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

}  // namespace
}  // namespace tarnwick::tk::testing
