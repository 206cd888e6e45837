// Revealing the operator parameters with the access code, and the prompt that asks for it.
#include "NetUiFixture.h"

#include "ui/network/CParamPwd.h"

namespace tarnwick::netui_test {
namespace {

using RevealTest = NetUiTest;

// AT&T, the first built-in operator, as the window shows its nine parameters.
std::string expectParameters(const std::string& maskOr) {
  const std::array<int, 9> boxes{1081, 1083, 1064, 1105, 1107, 1067, 1085, 1087, 1119};
  const std::array<std::size_t, 9> widths{32, 32, 32, 32, 32, 32, 50, 15, 5};
  std::string out;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::string text =
        maskOr.empty() ? builtinParameter(0, 0, i + 1, widths[i]) : maskOr;
    out += "expect-text " + std::to_string(boxes[i]) + " " + scriptString(text) + "\n";
  }
  return out;
}

TEST_F(RevealTest, TheCodeWithSurroundingWhiteSpaceRevealsTheOperatorsValues) {
  for (const char* entry : {"vintosk[4082736]", "  vintosk[4082736]\\t", "\\tvintosk[4082736] "}) {
    SCOPED_TRACE(entry);
    EXPECT_TRUE(play(std::string("click 1152\nexpect-dialog 137\nexpect-masked 1154 yes\n") +
                     "type 1154 \"" + entry + "\"\nclick 1\nexpect-dialog 135\n" +
                     "expect-checked 1152 yes\n" + expectParameters("") +
                     // Revealing lets the user read the values, not edit them.
                     "expect-enabled 1081 no\n"
                     // Removing the tick masks again without asking.
                     "click 1152\n" + expectParameters("*****") + "key esc\n"));
  }
}

TEST_F(RevealTest, AWrongCodeIsRefusedOnceAndAnEmptyOrCancelledEntrySilently) {
  // One letter in upper case: refused with the prompt's own message; the prompt closes.
  EXPECT_TRUE(play(R"(
click 1152
type 1154 "Vintosk[4082736]"
key enter
message "Wrong Password!"
expect-dialog 135
expect-checked 1152 no
expect-text 1081 "*****"
click 1152
type 1154 "   "
click 1
expect-checked 1152 no
click 1152
type 1154 "vintosk[4082736]"
click 2
expect-checked 1152 no
click 1152
close
expect-dialog 135
expect-checked 1152 no
key esc
)"));
}

TEST_F(RevealTest, WrongPasswordIsOwnedByThePromptAndEndsItWithCancel) {
  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  tk::ScopedBackend scoped(backend);
  user.onAct = [](tk::CDialogEx& top) {
    top.userType(1154, u"vintosk[4082737]");
    top.userClick(tk::IDOK);
  };
  const tk::CDialogEx* owner = nullptr;
  std::u16string caption;
  user.onMessage = [&](const tk::MessageBoxRequest& r) {
    owner = r.owner;
    caption = r.caption;
    EXPECT_EQ(r.icon, tk::MessageIcon::None);
    EXPECT_EQ(r.text, u"Wrong Password!");
    return tk::IDOK;
  };
  CParamPwd prompt;
  EXPECT_EQ(prompt.DoModal(), tk::IDCANCEL);
  EXPECT_EQ(owner, &prompt);
  EXPECT_EQ(caption, u"Tarnwick");
  EXPECT_FALSE(backend.failed()) << backend.failure();
}

TEST_F(RevealTest, RevealedParametersFollowTheOperatorMaskedOnesStayMasked) {
  // A country with two operators whose MMS access points differ.
  int country = -1, second = -1;
  for (int c = 0; c < 55 && country < 0; ++c) {
    const CountryEntry* entry = programOperatorTable().country(c);
    for (int o = 1; o < static_cast<int>(entry->listedOperators().size()); ++o) {
      if (builtinParameter(c, o, 1, 32) != builtinParameter(c, 0, 1, 32)) {
        country = c;
        second = o;
        break;
      }
    }
  }
  ASSERT_GE(country, 0);
  const std::string c = std::to_string(country), o = std::to_string(second);
  EXPECT_TRUE(play("select 1124 " + c + "\nselect 1126 " + o + "\nexpect-text 1081 \"*****\"\n" +
                   "click 1152\ntype 1154 \"vintosk[4082736]\"\nkey enter\n" +
                   "expect-text 1081 " + scriptString(builtinParameter(country, second, 1, 32)) +
                   "\nselect 1126 0\n" +
                   "expect-text 1081 " + scriptString(builtinParameter(country, 0, 1, 32)) +
                   // A switch to Manual and back asks for the code again.
                   "\nselect 1122 1\nselect 1122 0\nexpect-checked 1152 no\n" +
                   "expect-text 1081 \"*****\"\nkey esc\n"));
}

TEST_F(RevealTest, InManualModeTheHandlerAsksNothing) {
  record().setUInt8(fields::networkMode, 1);
  setText(fields::mmsApn, u"typed.apn");
  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  tk::ScopedBackend scoped(backend);
  int acts = 0;
  user.onAct = [&](tk::CDialogEx& top) {
    ++acts;
    ASSERT_EQ(top.templateId(), 135) << "the access prompt opened";
    auto& dialog = dynamic_cast<CMmsSetupDlg&>(top);
    // A click reaching the disabled box: the tick toggles, nothing else happens.
    dialog.GetDlgItem(1152).SetCheck(1);
    dialog.OnShowParametersClick();
    EXPECT_EQ(dialog.GetDlgItemText(1081), u"typed.apn");
    top.userEscape();
  };
  CMmsSetupDlg dialog;
  EXPECT_EQ(dialog.DoModal(), tk::IDCANCEL);
  EXPECT_EQ(acts, 1);
  EXPECT_FALSE(backend.failed()) << backend.failure();
}

}  // namespace
}  // namespace tarnwick::netui_test
