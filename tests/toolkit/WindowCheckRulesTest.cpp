// The window check's rules on pictures made here: each rule must find the fault it is for (a
// rule that passes everything would let every edition pass), and the table must read.

#include "WindowCheckRun.h"

#include <algorithm>

#include "config/TextConversions.h"
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
#include "ui/toolkit/Accessible.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/ControlLook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::windowcheck {
namespace {

Picture filled(int width, int height, Rgb colour) {
  Picture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour);
  return p;
}

void paint(Picture& p, const Rect& r, Rgb colour) {
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour;
  }
}

// A window of 200 x 60 on the network window's blue with one label whose "text" is a bar of
// ink from x = 12 to x = 12 + inkWidth - 1 in a 100-pixel box at 10,10.
Sight labelSight(Rgb ink, int inkWidth, int textWidth) {
  Sight s;
  s.picture = filled(200, 60, Rgb{195, 210, 235});
  paint(s.picture, {12, 14, inkWidth, 8}, ink);
  s.visible = s.content = {0, 0, 200, 60};
  ControlSight c;
  c.index = 0;
  c.id = 7;
  c.box = c.textBox = {10, 10, 100, 16};
  c.text = u"Must Existed";
  c.textWidth = textWidth;
  c.oneLine = true;
  s.controls.push_back(c);
  return s;
}

std::vector<std::string> textProblems(const Sight& s) {
  std::vector<std::string> problems;
  checkTexts(s, problems);
  return problems;
}

TEST(WindowCheckRules, TextsMustBeReadableAndWhole) {
  const Rgb black{0, 0, 0};
  EXPECT_TRUE(textProblems(labelSight(black, 60, 62)).empty());
  // The grey the Windows edition drew its disabled boxes in: 1.59 : 1 on the blue.
  const auto faint = textProblems(labelSight(Rgb{166, 166, 166}, 60, 62));
  ASSERT_EQ(faint.size(), 1u);
  EXPECT_NE(faint[0].find("contrast 1.59"), std::string::npos) << faint[0];
  // Wrapped out of sight: only "Must" of "Must Existed" shows.
  const auto cut = textProblems(labelSight(black, 25, 62));
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_NE(cut[0].find("cut"), std::string::npos) << cut[0];
  // Cut at the box's end ("FHD 1920x108("): the ink runs to its last column.
  const auto touching = textProblems(labelSight(black, 98, 103));
  ASSERT_EQ(touching.size(), 1u);
  EXPECT_NE(touching[0].find("runs into the end"), std::string::npos) << touching[0];
  // Text that is there but cannot be seen at all.
  EXPECT_EQ(textProblems(labelSight(Rgb{195, 210, 235}, 60, 62)).size(), 1u);
  // A list whose widest entry does not fit its box.
  Sight list = labelSight(black, 60, 62);
  list.controls[0].kind = ControlKind::ComboBox;
  list.controls[0].widestItem = 101;
  EXPECT_EQ(textProblems(list).size(), 1u);
}

TEST(WindowCheckRules, FocusSelectionAndViewAreChecked) {
  Sight s = labelSight(Rgb{0, 0, 0}, 60, 62);
  s.controls[0].kind = ControlKind::Edit;
  s.controls[0].text = u"0000";
  s.focused = 0;
  std::vector<std::string> problems;
  // The box opens with "0000" and nothing selected: typing 1234 would be dropped.
  s.selectionStart = s.selectionEnd = 4;
  checkFirstFocus(s, 7, problems);
  EXPECT_EQ(problems.size(), 1u);
  problems.clear();
  s.selectionStart = 0;
  checkFirstFocus(s, 7, problems);
  checkFirstFocus(s, 8, problems);  // the focus belongs elsewhere
  EXPECT_EQ(problems.size(), 1u);
  // A window 113 pixels wide onto a 200-pixel dialog, moved 33 pixels to the left: the first
  // focus's ring (7 to 113 on the picture) ends at its right edge, as small a move as shows it.
  // Moved 40 in a window 120 wide, it went 7 pixels further than needed (the Qt window on a small
  // screen opened so, its labels cut at the left).
  problems.clear();
  s.visible = {0, 0, 113, 60};
  s.content = {-33, 0, 200, 60};
  checkFirstFocus(s, 7, problems);
  EXPECT_TRUE(problems.empty());
  s.visible.width = 120;
  s.content.x = -40;
  checkFirstFocus(s, 7, problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("opens scrolled to 40,0 of its dialog"), std::string::npos) << problems[0];
  EXPECT_NE(problems[0].find("needs 33,0"), std::string::npos) << problems[0];
  // The MMS window's left edge at x -146 on a tablet: the focused control cannot be seen.
  problems.clear();
  s.content = {0, 0, 200, 60};
  s.visible = {146, 0, 54, 60};
  s.onScreen = false;
  checkInView(s, problems);
  EXPECT_EQ(problems.size(), 2u);
}

TEST(WindowCheckRules, AFocusIndicatorMustStandOutAllRound) {
  const Rgb blue{195, 210, 235};
  // A 40 x 20 button on a 60 x 40 crop; focused with a 2-pixel ring 1 pixel outside it.
  const auto stop = [&](bool ring, Rgb colour) {
    Crop crop;
    crop.index = 0;
    crop.control = {10, 10, 40, 20};
    crop.picture = filled(60, 40, blue);
    if (ring) {
      paint(crop.picture, {7, 7, 46, 26}, colour);
      paint(crop.picture, {9, 9, 42, 22}, blue);
    }
    paint(crop.picture, {10, 10, 40, 20}, Rgb{225, 225, 225});
    return crop;
  };
  const auto judge = [&](bool ring, Rgb colour) {
    Sight report;
    ControlSight c;
    c.index = 0;
    c.box = {10, 10, 40, 20};
    report.controls.push_back(c);
    report.visible = report.content = {0, 0, 60, 40};
    std::vector<TabStop> stops(3);
    stops[0].report = report;
    stops[0].report.focused = 0;
    stops[0].focused = stop(ring, colour);
    stops[1].report = report;
    stops[1].report.focused = -1;  // the focus went on to a title bar's button
    stops[1].previous = stop(false, colour);
    stops[2].report = stops[0].report;
    std::vector<std::string> problems;
    checkTabCycle(stops, problems);
    return problems;
  };
  EXPECT_TRUE(judge(true, tk::focusRingOn(blue)).empty());
  // No ring, or a faint one (the page's old dotted line, Qt's 1.1 : 1 on check boxes).
  EXPECT_EQ(judge(false, blue).size(), 1u);
  EXPECT_EQ(judge(true, Rgb{180, 195, 220}).size(), 1u);
}

TEST(WindowCheckRules, TabGoesRoundInTheTemplatesOrderAndReachesEveryControl) {
  // An edit, a row of two radio buttons, a label, a button and a hidden list.
  Sight window;
  const ControlKind kinds[] = {ControlKind::Edit, ControlKind::RadioButton, ControlKind::RadioButton,
                               ControlKind::Static, ControlKind::PushButton, ControlKind::ComboBox};
  for (const ControlKind kind : kinds) {
    ControlSight c;
    c.index = static_cast<int>(window.controls.size());
    c.id = 10 + c.index;
    c.kind = kind;
    c.visible = kind != ControlKind::ComboBox;
    window.controls.push_back(c);
  }
  // The same window in one column, the button's row moved to the top: its order is the column's.
  Sight column = window;
  std::rotate(column.controls.begin(), column.controls.begin() + 4, column.controls.begin() + 5);
  struct Round {
    const char* what;
    std::vector<int> focus;
    std::size_t problems;
    bool inColumn = false;
  };
  const Round rounds[] = {
      {"in order, one stop for the row of radio buttons", {0, 1, 4, 0}, 0},
      {"in order from the middle", {4, 0, 2, 4}, 0},
      {"the focus on the title bar on the way", {0, 1, -1, 4, 0}, 0},
      {"against the order", {0, 4, 1, 0}, 1},
      {"the button never reached", {0, 2, 0}, 1},
      {"the row of radio buttons never reached", {0, 4, 0}, 1},
      {"down the column", {4, 0, 1, 4}, 0, true},
      {"against the column's order", {0, 4, 1, 0}, 1, true},
  };
  for (const Round& round : rounds) {
    std::vector<TabStop> stops;
    for (const int at : round.focus) {
      stops.emplace_back();
      stops.back().report = round.inColumn ? column : window;
      stops.back().report.focused = at;
    }
    std::vector<std::string> problems;
    checkTabOrder(stops, problems);
    EXPECT_EQ(problems.size(), round.problems) << round.what;
  }
}

TEST(WindowCheckRules, TheProgramsTableReadsAndNamesEveryWindow) {
  std::vector<std::string> errors;
  const Table table = programTable(errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(table.windows.size(), 10u);
  std::vector<TableError> bad;
  parseTable("window 102 \"main\"\nstate 999 \"x\"\nwindow 5\n", bad);
  // No focus= (twice), no window 999, no name.
  EXPECT_EQ(bad.size(), 4u);
}

// What the toolkit tells every edition to announce, for a window as its template opens it.
std::vector<Announced> announcedBy(const tk::DialogTemplate& dialogTemplate) {
  const tk::CDialogEx dialog(dialogTemplate);
  const std::vector<tk::Accessible> said = tk::accessibleOf(dialog.controls());
  std::vector<Announced> out;
  for (std::size_t i = 0; i < said.size(); ++i) {
    const tk::ControlState& c = dialog.controls()[i];
    const std::u16string value =
        c.kind == tk::ControlKind::Edit ? c.text
        : c.selection >= 0              ? c.items[static_cast<std::size_t>(c.selection)]
                                        : u"";
    out.push_back({c.id, std::string(tk::roleName(said[i].role)), toUtf8(said[i].name),
                   toUtf8(said[i].description), toUtf8(value), said[i].interactive,
                   !said[i].hidden});
  }
  return out;
}

TEST(WindowCheckRules, TheToolkitNamesEveryControlOfTheTenWindowsAsTheTableSays) {
  std::vector<std::string> errors;
  const Table table = programTable(errors);
  const tk::DialogTemplate* templates[] = {
      &resources::mainWindowTemplate(), &resources::aboutBoxTemplate(),
      &resources::timerSettingTemplate(), &resources::passwordTemplate(),
      &resources::serialNoTemplate(), &resources::timeLapseTemplate(),
      &resources::orgNameTemplate(), &resources::smsCtrlTemplate(),
      &resources::mmsSetupTemplate(), &resources::paramPwdTemplate()};
  ASSERT_EQ(table.windows.size(), std::size(templates));
  for (const WindowRow& window : table.windows) {
    SCOPED_TRACE(window.name);
    const auto found = std::find_if(std::begin(templates), std::end(templates),
                                    [&](const tk::DialogTemplate* t) { return t->id == window.templateId; });
    ASSERT_NE(found, std::end(templates));
    std::vector<std::string> problems;
    checkAnnounced(table, window.templateId, announcedBy(**found), problems);
    for (const std::string& p : problems) ADD_FAILURE() << p;
  }
}

TEST(WindowCheckRules, WhatAScreenReaderHearsIsCheckedAgainstTheTable) {
  std::vector<TableError> errors;
  const Table table = parseTable(
      "window 1 focus=5 \"w\"\n"
      "control 1 5 list \"Mode\"\n"
      "control 1 6 radio button \"Password: On\" \"Setup\"\n"
      "control 1 7 button \"Gone\"\n",
      errors);
  ASSERT_TRUE(errors.empty());
  const std::vector<Announced> right = {{5, "list", "Mode", "", "Photo", true, true},
                                        {6, "radio button", "Password: On", "Setup", "On", true, true,
                                         "checked", "checked"},
                                        {7, "button", "Gone", "", "Gone", false, true},
                                        {-1, "label", "Mode", "", "Mode", false, true}};
  std::vector<std::string> problems;
  checkAnnounced(table, 1, right, problems);
  EXPECT_TRUE(problems.empty()) << problems.front();

  struct Fault {
    const char* what;
    std::vector<Announced> controls;
  };
  const Fault faults[] = {
      {"named by its value", {{5, "list", "Photo", "", "Photo", true, true}, right[1], right[2]}},
      {"no name", {{5, "list", "", "", "Photo", true, true}, right[1], right[2]}},
      {"check box for a radio", {right[0], {6, "check box", "Password: On", "Setup", "On", true, true}, right[2]}},
      {"no description", {right[0], {6, "radio button", "Password: On", "", "On", true, true}, right[2]}},
      {"a control without a row", {right[0], right[1], right[2], {8, "edit", "Port", "", "", true, true}}},
      {"a row without its control", {right[0], right[1]}},
      {"a checked radio button not said to be checked",
       {right[0], {6, "radio button", "Password: On", "Setup", "On", true, true, "", "checked"}, right[2]}},
  };
  for (const Fault& f : faults) {
    problems.clear();
    checkAnnounced(table, 1, f.controls, problems);
    EXPECT_FALSE(problems.empty()) << f.what;
  }
  // Hidden controls and what a user cannot use are not heard.
  problems.clear();
  checkAnnounced(table, 1, {right[0], right[1], right[2], {9, "edit", "", "", "", true, false}}, problems);
  EXPECT_TRUE(problems.empty());
}

}  // namespace
}  // namespace tarnwick::windowcheck
