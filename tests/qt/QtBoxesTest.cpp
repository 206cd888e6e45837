// Message boxes and file dialogs on the Qt backend.

#include "QtTestSupport.h"

#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/MessageBoxes.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace tarnwick::tk::testing {
namespace {

TEST(QtMessageBoxes, IconCaptionTextAndButtonsFollowTheRequest) {
  struct Case {
    const char* what;
    std::function<int()> show;
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;
    int expected;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;  // checked when given
  };
  const Case cases[] = {
      {"warning",
       [] {
         showWarning(u"Hour is wrong!");
         return IDOK;
       },
       QMessageBox::Warning, QStringLiteral(" "), QStringLiteral("Hour is wrong!"), QMessageBox::Ok,
       QMessageBox::Ok, IDOK},
      {"information",
       [] {
         showInfo(u"Save Config File OK!");
         return IDOK;
       },
       QMessageBox::Information, QStringLiteral(" "), QStringLiteral("Save Config File OK!"),
       QMessageBox::Ok, QMessageBox::Ok, IDOK},
      {"question answered Yes",
       [] { return askYesNo(u"Restore default config,are you sure?", u"Default") ? IDYES : IDNO; },
       QMessageBox::Question, QStringLiteral("Default"),
       QStringLiteral("Restore default config,are you sure?"), QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Yes, IDYES, QMessageBox::Yes},
      {"question whose Yes loses something: No is the default",
       [] {
         return askYesNo(u"Quit without saving the changes?", u" ", DefaultButton::Second) ? IDYES
                                                                                          : IDNO;
       },
       QMessageBox::Question, QStringLiteral(" "),
       QStringLiteral("Quit without saving the changes?"), QMessageBox::Yes | QMessageBox::No,
       QMessageBox::No, IDNO, QMessageBox::No},
      {"question answered No", [] { return askYesNo(u"Sure?", u"Default") ? IDYES : IDNO; },
       QMessageBox::Question, QStringLiteral("Default"), QStringLiteral("Sure?"),
       QMessageBox::Yes | QMessageBox::No, QMessageBox::No, IDNO},
      {"markup in a text is shown as typed",
       [] {
         showWarning(u"<b>1 < 2</b>");
         return IDOK;
       },
       QMessageBox::Warning, QStringLiteral(" "), QStringLiteral("<b>1 < 2</b>"), QMessageBox::Ok,
       QMessageBox::Ok, IDOK},
  };
  for (const Case& c : cases) {
    ActiveQtBackend backend;
    bool seen = false;
    onNextModal<QMessageBox>([&](QMessageBox& box) {
      seen = true;
      EXPECT_EQ(box.icon(), c.icon) << c.what;
      EXPECT_EQ(box.windowTitle(), c.caption) << c.what;
      EXPECT_EQ(box.text(), c.text) << c.what;
      EXPECT_EQ(box.textFormat(), Qt::PlainText) << c.what;
      EXPECT_EQ(box.standardButtons(), c.buttons) << c.what;
      EXPECT_EQ(box.parentWidget(), nullptr) << c.what;  // no dialog is open
      if (c.defaultButton != QMessageBox::NoButton) {
        EXPECT_EQ(box.defaultButton(), box.button(c.defaultButton)) << c.what;
      }
      box.button(c.press)->click();
    });
    EXPECT_EQ(c.show(), c.expected) << c.what;
    EXPECT_TRUE(seen) << c.what;
  }
}

TEST(QtMessageBoxes, QuestionClosedWithEscapeAnswersNo) {
  ActiveQtBackend backend;
  onNextModal<QMessageBox>([](QMessageBox& box) { box.reject(); });
  EXPECT_FALSE(askYesNo(u"Restore default config,are you sure?", u"Default"));
}

TEST(QtFileDialogs, SaveUsesQtsOwnDialogWithTheFilterAndAddsTheExtension) {
  ActiveQtBackend backend;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  onNextModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), (QStringList{QStringLiteral("Config file (*.cfg)"),
                                                 QStringLiteral("All files (*)")}));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("cfg"));
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    auto* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nameBox, nullptr);
    EXPECT_EQ(nameBox->text(), QStringLiteral("menu"));
    dialog.setDirectory(dir.path());
    dialog.selectFile(dir.filePath(QStringLiteral("camera two")));
    static_cast<QDialog&>(dialog).accept();  // the Open / Save button
  });
  CFileDialog save(false, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||",
                   nullptr);
  ASSERT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(save.GetPathName(), dir.filePath(QStringLiteral("camera two.cfg")).toStdString());
}

TEST(QtFileDialogs, OpenReturnsTheChosenFileAndCancelReturnsNothing) {
  ActiveQtBackend backend;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("menu.cfg"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  onNextModal<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    // No must-exist check: a missing name reaches the program, which reports it.
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    dialog.setDirectory(dir.path());
    dialog.selectFile(path);
    static_cast<QDialog&>(dialog).accept();  // the Open / Save button
  });
  CFileDialog open(true, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||",
                   nullptr);
  ASSERT_EQ(open.DoModal(), IDOK);
  EXPECT_EQ(open.GetPathName(), path.toStdString());

  onNextModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
  CFileDialog cancelled(true, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg||", nullptr);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_TRUE(cancelled.GetPathName().empty());
}

}  // namespace
}  // namespace tarnwick::tk::testing
