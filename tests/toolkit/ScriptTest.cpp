#include "ui/toolkit/headless/ScriptRunner.h"

#include "TestDialog.h"
#include "config/TextConversions.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/MessageBoxes.h"

#include <gtest/gtest.h>

namespace tarnwick::tk {
namespace {

using namespace testing;

// The test dialog with a push button that asks a question, then a save dialog, then reports.
class FlowDlg : public TestDlg {
 public:
  FlowDlg() { OnClicked(kPush, &FlowDlg::OnFlow); }
  void OnFlow() {
    if (!askYesNo(u"Save now?", u"Default")) return;
    CFileDialog dialog(false, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg||", this);
    if (dialog.DoModal() != IDOK) return;
    showInfo(u"Saved " + fromUtf8(dialog.GetPathName()) + u"!");
  }
  void OnSysCommand(int id) override {
    if (id == 16) {
      TestDlg nested;
      nested.DoModal();
      return;
    }
    CDialogEx::OnSysCommand(id);
  }
  bool OnInitDialog() override {
    TestDlg::OnInitDialog();
    AppendSystemMenuItem(16, u"About...");
    return true;
  }
};

ScriptOutcome run(std::string_view script) {
  return runScriptText(script, [] {
    FlowDlg dlg;
    dlg.DoModal();
  });
}

TEST(Script, APassingScriptDrivesNestedDialogsAndAnswersBoxes) {
  const ScriptOutcome outcome = run(R"(# a whole session
expect-dialog 900
expect-caption "Test"
expect-text 10 "initial"
type 10 "caf\u00e9 \"x\"\\"
expect-text 10 "café \"x\""
select 13 1
expect-selection 13 1
expect-count 13 2
expect-item 13 0 "zero"
click 15
expect-checked 15 yes
expect-checked 16 no
expect-enabled 19 no
expect-visible 18 no
expect-masked 19 yes
click 20
question "Save now?" yes
save-file "/tmp/out"
message "Saved /tmp/out.cfg!"
sysmenu 16
expect-dialog 900
key esc
close
)");
  EXPECT_TRUE(outcome.ok) << outcome.message;
}

struct FailureCase {
  const char* script;
  const char* message;
};

TEST(Script, EveryFailureNamesTheLineAndWhatDiffered) {
  setFileDialogFolder("/cards");  // until a row below chooses a file
  const FailureCase cases[] = {
      {"click 20\nquestion \"Save now?\" yes\nexpect-file-dialog \"/cards\" \"menu.cfg\"\n",
       "line 3: expect-file-dialog \"/cards\" \"menu.cfg\": the program shows the save-file dialog "
       "in \"/cards\" with the name \"menu\""},
      {"expect-dialog 901\n", "line 1: expect-dialog 901: the open dialog is 900"},
      {"\n\nexpect-text 10 \"x\"\n", "line 3: expect-text 10 \"x\": the text is \"initial\""},
      {"expect-selection 13 0\n", "line 1: expect-selection 13 0: the selection is -1"},
      {"expect-count 13 3\n", "line 1: expect-count 13 3: the list holds 2 items"},
      {"expect-item 13 5 \"x\"\n", "line 1: expect-item 13 5 \"x\": the list holds 2 items"},
      {"expect-item 13 1 \"x\"\n", "line 1: expect-item 13 1 \"x\": the item is \"one\""},
      {"expect-enabled 19 yes\n", "line 1: expect-enabled 19 yes: it is no"},
      {"expect-checked 14 yes\n", "line 1: expect-checked 14 yes: it is no"},
      {"expect-visible 18 yes\n", "line 1: expect-visible 18 yes: it is no"},
      {"expect-masked 10 yes\n", "line 1: expect-masked 10 yes: it is no"},
      {"click 14\nexpect-focus 13\n", "line 2: expect-focus 13: the focus is on 14"},
      {"expect-caption \"Other\"\n", "line 1: expect-caption \"Other\": the caption is \"Test Dialog\""},
      {"expect-text 77 \"\"\n", "line 1: expect-text 77 \"\": dialog 900 has no control 77"},
      {"click 18\n", "line 1: click 18: control 18 is hidden"},
      {"type 19 \"a\"\n", "line 1: type 19 \"a\": control 19 is disabled"},
      {"select 13 9\n", "line 1: select 13 9: control 13 has no position 9 (it holds 2 items)"},
      {"sysmenu 99\n", "line 1: sysmenu 99: the system menu has no command 99"},
      {"expect-dialog 900\n", "the script ended while dialog 900 is still open"},
      {"message \"x\"\n",
       "line 1: message \"x\": no message box or file dialog is open (dialog 900 is)"},
      {"click 20\nmessage \"Save now?\"\n",
       "line 2: message \"Save now?\": the program shows the message \"Save now?\" with Yes and No"},
      {"click 20\nquestion \"Other?\" yes\n",
       "line 2: question \"Other?\" yes: the program shows the message \"Save now?\" with Yes and "
       "No"},
      {"click 20\n", "the script ended while the program shows the message \"Save now?\""},
      {"click 20\nquestion \"Save now?\" yes\nopen-file \"/x\"\n",
       "line 3: open-file \"/x\": the program shows the save-file dialog"},
      {"click 20\nquestion \"Save now?\" yes\n",
       "the script ended while the program shows the save-file dialog"},
      {"click 20\nquestion \"Save now?\" yes\nsave-file \"/tmp/a\"\nmessage \"Saved!\"\n",
       "line 4: message \"Saved!\": the program shows the message \"Saved /tmp/a.cfg!\""},
      {"key esc\nclick 1\n", "line 2: click 1: the program has already ended"},
      {"expect-file-dialog \"/cards\" \"menu\"\n",
       "line 1: expect-file-dialog \"/cards\" \"menu\": no message box or file dialog is open "
       "(dialog 900 is)"},
      // Syntax errors are found before anything runs.
      {"frobnicate 1\n", "line 1: unknown action \"frobnicate\""},
      {"click\n", "line 1: click takes 1 argument(s)"},
      {"click x\n", "line 1: \"x\" is not a whole number"},
      {"type 10 unquoted\n", "line 1: expected a string in double quotes, found unquoted"},
      {"type 10 \"open\n", "line 1: a string is not closed"},
      {"expect-checked 14 maybe\n", "line 1: expected yes or no, found maybe"},
      {"key space\n", "line 1: key takes enter, esc, left, right, up or down, not space"},
      {"message\n", "line 1: message takes one string, or *"},
      {"save-file later\n", "line 1: save-file takes a path in quotes, or cancel"},
      {"question \"Save now?\" maybe\n", "line 1: question takes a string and yes, no or enter"},
      {"expect-file-dialog \"/cards\"\n",
       "line 1: expect-file-dialog takes a folder and a file name in quotes"},
      {"\"text\"\n", "line 1: a line must start with an action, not a string"},
  };
  for (const auto& c : cases) {
    const ScriptOutcome outcome = run(c.script);
    EXPECT_FALSE(outcome.ok) << c.script;
    EXPECT_EQ(outcome.message, c.message) << c.script;
  }
}

TEST(Script, AnswersOfEveryKindAreTaken) {
  { auto o = run("click 20\nquestion \"Save now?\" no\nkey esc\n"); EXPECT_TRUE(o.ok) << o.message; }
  EXPECT_TRUE(run("click 20\nquestion \"Save now?\" yes\nsave-file cancel\nkey esc\n").ok);
  // Enter on a question presses its default button, here Yes; the dialog starts where it was
  // told to.
  setFileDialogFolder("/cards");
  EXPECT_TRUE(run("click 20\nquestion \"Save now?\" enter\nexpect-file-dialog \"/cards\" "
                  "\"menu\"\nsave-file cancel\nkey esc\n")
                  .ok);
  EXPECT_TRUE(run("click 20\nquestion \"Save now?\" yes\nsave-file \"a.cfg\"\nmessage *\nclose\n").ok);
  // A failure unwinds every open dialog, also a nested one, and reports the first problem only.
  const ScriptOutcome nested = run("sysmenu 16\nexpect-dialog 901\nclick 20\n");
  EXPECT_FALSE(nested.ok);
  EXPECT_EQ(nested.message, "line 2: expect-dialog 901: the open dialog is 900");
}

TEST(Script, CommentsBlankLinesAndCarriageReturnsAreIgnored) {
  auto parsed = parseScript("# only a comment\r\n\r\n  click 1 # trailing\r\n");
  ASSERT_TRUE(std::holds_alternative<Script>(parsed));
  const Script& script = std::get<Script>(parsed);
  ASSERT_EQ(script.steps.size(), 1u);
  EXPECT_EQ(script.steps[0].line, 3);
  EXPECT_EQ(script.steps[0].id, 1);
  // A '#' inside a string is text.
  auto withHash = parseScript("type 10 \"a#b\"");
  ASSERT_TRUE(std::holds_alternative<Script>(withHash));
  EXPECT_EQ(std::get<Script>(withHash).steps[0].text, u"a#b");
}

// Windows paths in strings: \" \\ \t and \u with four hexadecimal digits are escapes, and any
// other backslash stays as written, so "C:\Users\ana\menu.cfg" reaches the file dialog intact.
TEST(Script, ABackslashThatStartsNoEscapeIsKept) {
  const struct {
    const char* line;
    const char* path;
  } cases[] = {
      {R"(save-file "C:\Users\ana\menu.cfg")", R"(C:\Users\ana\menu.cfg)"},
      {R"(save-file "D:\cams\u12\x.cfg")", R"(D:\cams\u12\x.cfg)"},  // \u without four digits
      {R"(save-file "C:/Users/ana/menu.cfg")", "C:/Users/ana/menu.cfg"},
      {R"(save-file "\\\\server\\share\\menu.cfg")", R"(\\server\share\menu.cfg)"},
      {R"(save-file "C:\temp\a.cfg")", "C:\temp\\a.cfg"},  // \t is a tab, as documented
      {R"(save-file "caf\u00e9.cfg")", "caf\xc3\xa9.cfg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    auto parsed = parseScript(c.line);
    ASSERT_TRUE(std::holds_alternative<Script>(parsed)) << std::get<ScriptSyntaxError>(parsed).message;
    EXPECT_EQ(std::get<Script>(parsed).steps.at(0).path, c.path);
  }
  // A backslash before the closing quote escapes it, so the string stays open.
  auto open = parseScript(R"(save-file "C:\")");
  ASSERT_TRUE(std::holds_alternative<ScriptSyntaxError>(open));
  EXPECT_EQ(std::get<ScriptSyntaxError>(open).message, "a string is not closed");
}

}  // namespace
}  // namespace tarnwick::tk
