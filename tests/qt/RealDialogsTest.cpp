// The program's own dialogs driven through real Qt widgets on the offscreen platform: what a
// person does with the mouse and keyboard must reach the dialog logic and the file on disk.

#include "QtTestSupport.h"

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "resources/templates/MainWindowTemplate.h"
#include "resources/templates/MmsSetupTemplate.h"
#include "resources/templates/PasswordTemplate.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/options/CPasswordDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tarnwick::tk::testing {
namespace {

template <class W>
W* widget(QtDialogWindow& window, int id) {
  W* w = qobject_cast<W*>(window.widgetFor(id));
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void chooseFile(const QString& path) {
  onNextModal<QFileDialog>([path](QFileDialog& dialog) {
    dialog.selectFile(path);
    static_cast<QDialog&>(dialog).accept();
  });
}

TEST(RealDialogs, MainWindowLoadsAndSavesAFileThroughTheRealWidgets) {
  namespace ids = resources::ids::tarnwickDlg;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString in = dir.filePath(QStringLiteral("camera.cfg"));
  const QString out = dir.filePath(QStringLiteral("saved.cfg"));

  // A file the form shows and collects without change: bytes no field names carry a pattern,
  // the two Shot Number copies agree, the switches are Off with their values cleared.
  ConfigRecord prepared;
  for (std::size_t i = 0; i < kRecordSize; ++i) prepared.bytes()[i] = static_cast<std::uint8_t>(i);
  applyDefaults(prepared);
  prepared.setInt32(fields::imageSize, 3);
  prepared.setInt32(fields::shotNumber, 2);
  prepared.setInt32(fields::shotNumberB, 2);
  prepared.setUInt32(fields::interval, 65);  // 5 min
  ASSERT_FALSE(writeConfigFile(in.toStdString(), prepared));

  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  QString savedMessage;
  CTarnwickDlg dialog;
  backend->setShownHook([&](QtDialogWindow& window) {
    if (window.model().templateId() != ids::kTemplate) return;
    chooseFile(in);
    QTest::mouseClick(widget<QPushButton>(window, ids::kLoadConfigButton), Qt::LeftButton);
    EXPECT_EQ(widget<QComboBox>(window, ids::kImageSizeList)->currentText(),
              QStringLiteral("VGA 640x480"));
    EXPECT_EQ(widget<QLineEdit>(window, ids::kIntervalEdit)->text(), QStringLiteral("5"));

    chooseFile(out);
    onNextModal<QMessageBox>([&](QMessageBox& box) {
      savedMessage = box.text();
      box.button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(widget<QPushButton>(window, ids::kSaveConfigButton), Qt::LeftButton);
    window.closeWith(IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(savedMessage, QStringLiteral("Save Config File OK!"));
  const QByteArray saved = readFile(out);
  ASSERT_EQ(saved.size(), static_cast<qsizetype>(kRecordSize));
  EXPECT_EQ(saved, readFile(in));
  programRecord() = ConfigRecord{};
}

TEST(RealDialogs, PasswordCodeIsMaskedUntilShownAndStoredOnOk) {
  namespace ids = resources::ids::passwordDlg;
  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  CPasswordDlg dialog;
  backend->setShownHook([&](QtDialogWindow& window) {
    auto* code = widget<QLineEdit>(window, ids::kCodeEdit);
    EXPECT_EQ(code->echoMode(), QLineEdit::Password);
    EXPECT_EQ(code->maxLength(), 4);
    code->setFocus();
    code->selectAll();
    QTest::keyClicks(code, "123456");
    EXPECT_EQ(code->text(), QStringLiteral("1234"));

    auto* show = widget<QCheckBox>(window, ids::kShowPassword);
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(code->echoMode(), QLineEdit::Normal);
    QTest::mouseClick(show, Qt::LeftButton);
    EXPECT_EQ(code->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.GetDlgItem(ids::kCodeEdit).GetPasswordChar(), u'*');

    QTest::mouseClick(widget<QPushButton>(window, IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  const auto digits = programRecord().field(fields::password);
  EXPECT_EQ(std::vector<std::uint8_t>(digits.begin(), digits.end()),
            (std::vector<std::uint8_t>{1, 2, 3, 4}));
  programRecord() = ConfigRecord{};
}

TEST(RealDialogs, NetworkWindowFollowsModeAndDataOptionChosenWithTheKeyboard) {
  namespace ids = resources::ids::mmsSetupDlg;
  ActiveQtBackend backend;
  programRecord() = ConfigRecord{};
  applyDefaults(programRecord());
  const ConfigRecord before = programRecord();
  CMmsSetupDlg dialog;
  backend->setShownHook([&](QtDialogWindow& window) {
    if (window.model().templateId() != ids::kTemplate) return;
    auto* mode = widget<QComboBox>(window, ids::kModeList);
    auto* country = widget<QComboBox>(window, ids::kCountryList);
    auto* apn = widget<QLineEdit>(window, ids::kMmsApnEdit);
    EXPECT_EQ(country->count(), 55);
    EXPECT_FALSE(apn->isEnabled());
    EXPECT_EQ(apn->text(), QStringLiteral("*****"));

    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);  // Auto -> Manual
    EXPECT_EQ(mode->currentText(), QStringLiteral("Manual"));
    EXPECT_EQ(country->count(), 1);
    EXPECT_EQ(country->currentText(), QStringLiteral("Other"));
    EXPECT_TRUE(apn->isEnabled());
    EXPECT_EQ(apn->text(), QString());

    auto* data = widget<QComboBox>(window, ids::kDataOptionList);
    auto* ftpServer = widget<QLineEdit>(window, ids::kFtpServerEdit);
    auto* mailbox = widget<QLineEdit>(window, ids::kMailbox1Edit);
    EXPECT_EQ(data->currentText(), QStringLiteral("OFF"));
    EXPECT_FALSE(ftpServer->isEnabled());
    data->setFocus();
    QTest::keyClick(data, Qt::Key_Up);  // OFF -> FTP
    EXPECT_EQ(data->currentText(), QStringLiteral("FTP"));
    EXPECT_TRUE(ftpServer->isEnabled());
    EXPECT_FALSE(mailbox->isEnabled());
    QTest::keyClick(data, Qt::Key_Up);  // FTP -> SMTP
    EXPECT_EQ(data->currentText(), QStringLiteral("SMTP"));
    EXPECT_FALSE(ftpServer->isEnabled());
    EXPECT_TRUE(mailbox->isEnabled());

    const QString folder = QStringLiteral(TARNWICK_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(backend->grabTopDialog(
        (folder + QStringLiteral("/135-mms-4g-manual-smtp.png")).toStdString()));
    QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(programRecord(), before);  // Escape stores nothing
  programRecord() = ConfigRecord{};
}

}  // namespace
}  // namespace tarnwick::tk::testing
