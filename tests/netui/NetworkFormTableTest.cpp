// The network form's one table, row by row, through the window: every text field's box exists,
// takes at most its field's width when exchanged, and what the user types there reaches the
// saved file. A new row in networkTextFields() is covered here without another line of test.

#include "NetUiFixture.h"

#include "config/ConfigFile.h"
#include "network/NetworkFormFields.h"
#include "network/SmtpPresetTable.h"

#include <string>

namespace tarnwick::netui_test {
namespace {

class NetworkFormTableTest : public NetUiTest {};

// A record on which every box of `field` is enabled: Manual mode, MMS on, the SMTP group on
// its free row (or the FTP group for FTP fields), and a specified FTP directory.
void enableBoxOf(const NetworkTextField& field) {
  ConfigRecord& r = programRecord();
  r.setUInt8(fields::networkMode, 1);
  r.setInt32(fields::mmsOption, 0);
  const bool ftp = std::string_view(field.field->name).starts_with("ftp");
  r.setInt32(fields::dataOption, ftp ? 1 : 0);
  r.setUInt8(fields::smtpPreset, static_cast<std::uint8_t>(otherPresetIndex));
  textToField(u"dir", r.field(fields::ftpDirectory));
}

TEST_F(NetworkFormTableTest, EveryTextFieldTypedInItsBoxReachesTheSavedFile) {
  for (const NetworkTextField& f : networkTextFields()) {
    SCOPED_TRACE(std::string(f.field->name));
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    enableBoxOf(f);

    tk::CallbackUser user;
    tk::HeadlessBackend backend(user);
    user.backend = &backend;
    user.onAct = [&](tk::CDialogEx& top) {
      ASSERT_TRUE(top.HasDlgItem(f.box)) << "no box " << f.box << " in the template";
      tk::Control box = top.GetDlgItem(f.box);
      EXPECT_EQ(box.kind(), tk::ControlKind::Edit);
      if (f.has(kExchanged)) {
        EXPECT_EQ(box.GetLimitText(), static_cast<int>(f.field->size));
      }
      EXPECT_EQ(top.userType(f.box, u" 12 "), "");
      EXPECT_EQ(top.userClick(tk::IDOK), "");
    };
    {
      tk::ScopedBackend scoped(backend);
      CMmsSetupDlg dialog;
      EXPECT_EQ(dialog.DoModal(), tk::IDOK);
    }
    EXPECT_FALSE(backend.failed()) << backend.failure();
    EXPECT_TRUE(backend.shownMessages().empty());

    ASSERT_FALSE(writeConfigFile("menu.cfg", programRecord()).has_value());
    ConfigRecord saved;
    ASSERT_EQ(errorKind(readConfigFile("menu.cfg", saved)), std::nullopt);
    // Every clean-up rule takes the spaces off " 12 ".
    EXPECT_EQ(toUtf8(fieldToText(saved.field(*f.field))), "12");
  }
}

TEST_F(NetworkFormTableTest, EachFieldAndBoxIsBoundOnceAndNineParametersFollowTheRowOrder) {
  const auto texts = networkTextFields();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(networkTextFieldFor(*texts[i].field), &texts[i]);
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      EXPECT_NE(texts[i].box, texts[j].box) << texts[i].field->name;
      EXPECT_NE(texts[i].value, texts[j].value) << texts[i].field->name;
    }
  }
  const auto parameters = operatorParameterFields();
  const FieldInfo* rowOrder[] = {&fields::mmsApn,  &fields::mmsAccount, &fields::mmsPassword,
                                 &fields::dataApn, &fields::dataAccount, &fields::dataPassword,
                                 &fields::mmscUrl, &fields::mmsProxy,   &fields::mmsPort};
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    ASSERT_NE(parameters[i], nullptr);
    EXPECT_EQ(parameters[i]->field, rowOrder[i]);
  }
  EXPECT_EQ(networkTextFieldFor(fields::networkMode), nullptr);
}

}  // namespace
}  // namespace tarnwick::netui_test
