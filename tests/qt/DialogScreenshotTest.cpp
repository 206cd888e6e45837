// Every dialog of the program, opened on the Qt backend the way the program opens it: checked
// against its template and its painted background, and saved as a PNG under the build folder
// (screenshots/) for a person to look at.

#include "GeometryCheck.h"
#include "QtTestSupport.h"

#include "config/ConfigRecord.h"
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

#include <QDir>
#include <QImage>

#include <memory>
#include <optional>

namespace tarnwick::tk::testing {
namespace {

struct Shot {
  const char* file;
  std::function<std::unique_ptr<CDialogEx>()> make;
  std::optional<QColor> background;  // the painted colour, when the dialog paints one
};

QSize dialogSize(const DialogTemplate& t) {
  const DialogBaseUnits units = dialogBaseUnits(dialogFont(t.fontName, t.pointSize));
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, units);
  return {client.width, client.height};
}

template <class Dialog>
std::function<std::unique_ptr<CDialogEx>()> maker() {
  return [] { return std::make_unique<Dialog>(); };
}

TEST(DialogScreenshots, EveryDialogMatchesItsTemplateAndIsSavedAsPng) {
  const QColor optionBackground(215, 220, 245);
  const Shot shots[] = {
      {"100-about", maker<CAboutDlg>(), std::nullopt},
      {"102-main-window", maker<CTarnwickDlg>(), QColor(215, 220, 240)},
      {"130-timer-setting", maker<CTimerSettingDlg>(), optionBackground},
      {"131-password", maker<CPasswordDlg>(), optionBackground},
      {"132-serial-number", maker<CSerialNoDlg>(), optionBackground},
      {"133-time-lapse", maker<CTimeLapseDlg>(), optionBackground},
      {"134-organization-name", maker<COrgNameDlg>(), optionBackground},
      {"135-mms-4g-setup", maker<CMmsSetupDlg>(), QColor(195, 210, 235)},
      {"137-parameter-password", maker<CParamPwd>(), std::nullopt},
      {"138-sms-control", maker<CSMSCtrlDlg>(), std::nullopt},
  };
  const QString folder = QStringLiteral(TARNWICK_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));

  ActiveQtBackend backend;
  for (const Shot& shot : shots) {
    programRecord() = ConfigRecord{};
    std::unique_ptr<CDialogEx> dialog = shot.make();
    bool saved = false;
    const QString path =
        folder + QLatin1Char('/') + QLatin1String(shot.file) + QStringLiteral(".png");
    backend->setShownHook([&](QtDialogWindow& window) {
      expectTemplateGeometry(window);
      saved = backend->grabTopDialog(path.toStdString());
      window.closeWith(IDCANCEL);
    });
    EXPECT_EQ(dialog->DoModal(), IDCANCEL) << shot.file;
    ASSERT_TRUE(saved) << shot.file;
    const QImage image(path);
    EXPECT_EQ(image.size(), dialogSize(dialog->dialogTemplate())) << shot.file;
    if (shot.background) {
      EXPECT_EQ(image.pixelColor(1, 1), *shot.background) << shot.file;
    }
  }
  programRecord() = ConfigRecord{};
}

}  // namespace
}  // namespace tarnwick::tk::testing
