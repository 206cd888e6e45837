// Every dialog template of the program, opened on the Qt backend as a bare dialog: the window
// and each control stand where the template puts them.

#include "GeometryCheck.h"
#include "QtTestSupport.h"

#include "resources/templates/AboutBoxTemplate.h"
#include "resources/templates/MainWindowTemplate.h"
#include "resources/templates/MmsSetupTemplate.h"
#include "resources/templates/OrgNameTemplate.h"
#include "resources/templates/ParamPwdTemplate.h"
#include "resources/templates/PasswordTemplate.h"
#include "resources/templates/SerialNoTemplate.h"
#include "resources/templates/SmsCtrlTemplate.h"
#include "resources/templates/TimeLapseTemplate.h"
#include "resources/templates/TimerSettingTemplate.h"

namespace tarnwick::tk::testing {
namespace {

TEST(TemplateGeometry, EveryTemplateLaysOutInTheDialogUnitsOfItsFont) {
  const DialogTemplate* templates[] = {
      &resources::aboutBoxTemplate(),     &resources::mainWindowTemplate(),
      &resources::timerSettingTemplate(), &resources::passwordTemplate(),
      &resources::serialNoTemplate(),     &resources::timeLapseTemplate(),
      &resources::orgNameTemplate(),      &resources::mmsSetupTemplate(),
      &resources::paramPwdTemplate(),     &resources::smsCtrlTemplate(),
  };
  ActiveQtBackend backend;
  for (const DialogTemplate* t : templates) {
    CDialogEx dialog(*t);
    bool shown = false;
    backend->setShownHook([&](QtDialogWindow& window) {
      shown = true;
      expectTemplateGeometry(window);
      window.closeWith(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "template " << t->id;
    EXPECT_TRUE(shown) << "template " << t->id;
  }
}

}  // namespace
}  // namespace tarnwick::tk::testing
