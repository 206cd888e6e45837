// The main window's shell and the requests its commands make of the toolkit (boxes, file
// dialogs), checked through a headless user written in C++.

#include "ui/main/CTarnwickDlg.h"

#include "config/Cards.h"
#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"
#include "resources/templates/AboutBoxTemplate.h"
#include "resources/templates/MainWindowTemplate.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include "SystemReasons.h"

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

namespace ids = resources::ids::tarnwickDlg;
using Action = std::function<void(tk::CDialogEx&)>;

// The tests of this program see no memory card, whatever is in the PC that runs them (a card
// would move the file dialogs); a replay that needs one lays out a system of its own.
class NoCards : public CardFinder, public ::testing::Environment {
 public:
  std::vector<Card> cards() override { return {}; }
  void SetUp() override { setCardFinder(this); }
  void TearDown() override { setCardFinder(nullptr); }
};
[[maybe_unused]] ::testing::Environment* const kNoCards =
    ::testing::AddGlobalTestEnvironment(new NoCards);

// Runs the whole program with a user that performs one queued action per turn, answers boxes
// and file dialogs from queues, and keeps every file dialog request.
class Session {
 public:
  Session() {
    user_.backend = &backend_;
    user_.onAct = [this](tk::CDialogEx& top) {
      if (actions.empty()) return backend_.fail("no action left for dialog " +
                                                std::to_string(top.templateId()));
      Action next = std::move(actions.front());
      actions.pop_front();
      next(top);
    };
    user_.onMessage = [this](const tk::MessageBoxRequest&) {
      if (answers.empty()) return backend_.fail("unexpected message box"), tk::IDOK;
      const int answer = answers.front();
      answers.pop_front();
      return answer;
    };
    user_.onFile = [this](const tk::FileDialogRequest& request) -> std::optional<std::string> {
      fileRequests.push_back(request);
      if (files.empty()) return backend_.fail("unexpected file dialog"), std::nullopt;
      std::optional<std::string> file = files.front();
      files.pop_front();
      return file;
    };
  }

  void run() {
    programRecord() = ConfigRecord{};
    tk::ScopedBackend scoped(backend_);
    CTarnwickApp().InitInstance();
    // Every queued action, answer and file must have been used: a test whose actions never
    // ran proves nothing.
    EXPECT_TRUE(actions.empty()) << actions.size() << " actions never ran";
    EXPECT_TRUE(answers.empty()) << answers.size() << " answers never given";
    EXPECT_TRUE(files.empty()) << files.size() << " file answers never given";
  }

  static Action click(int id) {
    return [id](tk::CDialogEx& top) { EXPECT_EQ(top.userClick(id), "") << id; };
  }
  static Action escape() {
    return [](tk::CDialogEx& top) { top.userEscape(); };
  }

  const tk::HeadlessBackend& backend() const { return backend_; }

  std::deque<Action> actions;
  std::deque<int> answers;
  std::deque<std::optional<std::string>> files;
  std::vector<tk::FileDialogRequest> fileRequests;

 private:
  tk::CallbackUser user_;
  tk::HeadlessBackend backend_{user_};
};

TEST(MainWindowTest, ShellAtStartUp) {
  Session s;
  s.actions.push_back([](tk::CDialogEx& top) {
    EXPECT_EQ(top.templateId(), 102);
    EXPECT_EQ(top.GetWindowText(), u"Tarnwick V4.22v");
    EXPECT_EQ(top.iconResourceId(), 128);
    const auto& menu = top.systemMenu();
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2].id, 0);  // separator
    EXPECT_EQ(menu.back().id, 16);
    EXPECT_EQ(menu.back().text, u"About Tarnwick...");

    tk::PaintContext paint;
    top.OnPaint(paint);
    EXPECT_EQ(paint.fill(), (tk::Rgb{215, 220, 240}));

    const tk::CtlColor label = top.OnCtlColor(ids::kLanguageLabel, tk::CtlColorType::Static);
    EXPECT_TRUE(label.transparentText);
    EXPECT_TRUE(label.hollowBrush);
    const tk::CtlColor edit = top.OnCtlColor(ids::kIntervalEdit, tk::CtlColorType::Edit);
    EXPECT_FALSE(edit.transparentText);
    EXPECT_FALSE(edit.hollowBrush);
    top.userCloseBox();
  });
  s.run();
  EXPECT_FALSE(s.backend().failed()) << s.backend().failure();
  EXPECT_TRUE(s.backend().shownMessages().empty());
}

TEST(MainWindowTest, FileDialogsProposeMenuCfgAtEveryOpening) {
  Session s;
  const tk::CDialogEx* mainWindow = nullptr;
  s.actions = {[&](tk::CDialogEx& top) {
                 mainWindow = &top;
                 Session::click(ids::kLoadConfigButton)(top);
               },
               Session::click(ids::kLoadConfigButton), Session::click(ids::kSaveConfigButton),
               Session::click(ids::kSaveConfigButton), Session::escape()};
  s.files = {std::nullopt, std::nullopt, std::nullopt, std::nullopt};
  s.run();
  EXPECT_FALSE(s.backend().failed()) << s.backend().failure();

  ASSERT_EQ(s.fileRequests.size(), 4u);
  const bool saves[] = {false, false, true, true};
  for (std::size_t i = 0; i < s.fileRequests.size(); ++i) {
    const tk::FileDialogRequest& r = s.fileRequests[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(r.save, saves[i]);
    EXPECT_EQ(r.filter, u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||");
    EXPECT_EQ(r.defaultExtension, u"cfg");
    EXPECT_EQ(r.initialName, u"menu");
    EXPECT_EQ(r.owner, mainWindow);
  }
}

TEST(MainWindowTest, BoxesOfTheConfigurationCommands) {
  testing::ScratchDir folder(testing::ScratchDir::Enter::Yes);
  ASSERT_TRUE(folder.ok());
  Session s;
  std::string pathAfterSave;
  s.actions = {Session::click(ids::kDefaultConfigButton),
               Session::click(ids::kSaveConfigButton),
               [&](tk::CDialogEx& top) {
                 pathAfterSave = static_cast<CTarnwickDlg&>(top).configPath();
                 Session::click(ids::kSaveConfigButton)(top);
               },
               Session::click(ids::kLoadConfigButton), Session::escape()};
  s.answers = {tk::IDNO, tk::IDOK, tk::IDOK, tk::IDOK};
  s.files = {"menu", "missing/menu.cfg", "absent.cfg"};
  s.run();
  EXPECT_FALSE(s.backend().failed()) << s.backend().failure();
  EXPECT_EQ(pathAfterSave, "menu.cfg");

  const auto& shown = s.backend().shownMessages();
  ASSERT_EQ(shown.size(), 4u);
  struct Expected {
    std::u16string text;
    std::u16string caption;
    std::uint32_t flags;
    tk::MessageButtons buttons;
  };
  const Expected expected[] = {
      {u"Restore default config,are you sure?", u"Default", 0x24, tk::MessageButtons::YesNo},
      {u"Save Config File OK!", u" ", 0x40, tk::MessageButtons::Ok},
      {u"Cannot save missing/menu.cfg: " + std::u16string(tarnwick::testing::kMissingFolderReason16),
       u" ", 0x30, tk::MessageButtons::Ok},
      {u"No Config File!", u" ", 0x40, tk::MessageButtons::Ok},
  };
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shown[i].text, expected[i].text);
    EXPECT_EQ(shown[i].caption, expected[i].caption);
    EXPECT_EQ(shown[i].flags, expected[i].flags);
    EXPECT_EQ(shown[i].buttons, expected[i].buttons);
    EXPECT_EQ(shown[i].owner, nullptr);
    EXPECT_EQ(shown[i].language, 1033);
  }
  EXPECT_EQ(testing::readBytes("menu.cfg").size(), kRecordSize);
}

// The radio pairs only work as pairs when each "On" starts its own group and the table keeps
// the order the tab order and the groups depend on.
TEST(MainWindowTemplateTest, RadioGroupsIdsAndBounds) {
  const tk::DialogTemplate& t = resources::mainWindowTemplate();
  EXPECT_EQ(t.id, ids::kTemplate);
  EXPECT_EQ(t.width, 389);
  EXPECT_EQ(t.height, 182);
  EXPECT_TRUE(t.caption.empty());
  ASSERT_EQ(t.controls.size(), 49u);
  EXPECT_EQ(t.controls.front().id, ids::kLoadConfigButton);
  EXPECT_EQ(t.controls.back().id, ids::kTimeZoneList);

  const std::set<int> onRadios{ids::kPasswordOn, ids::kSerialNoOn, ids::kTimeLapseOn,
                               ids::kOrgNameOn, ids::kSmsCtrlOn};
  std::set<int> seen;
  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    const tk::ControlTemplate& c = t.controls[i];
    SCOPED_TRACE(c.id);
    if (c.id != tk::kNoControlId) {
      EXPECT_TRUE(seen.insert(c.id).second) << "duplicate id";
    }
    EXPECT_NE(c.id, tk::IDOK);
    EXPECT_EQ(c.style & tk::kDefaultButton, 0u);
    EXPECT_LE(c.rect.x + c.rect.width, t.width);
    EXPECT_LE(c.rect.y + c.rect.height, t.height);
    if (c.kind != tk::ControlKind::RadioButton) continue;
    const bool on = onRadios.count(c.id) != 0;
    EXPECT_EQ((c.style & tk::kGroupStart) != 0, on);
    if (on) {
      // The "Off" partner follows its "On" directly, so the group holds exactly the pair.
      ASSERT_LT(i + 1, t.controls.size());
      EXPECT_EQ(t.controls[i + 1].id, c.id + 1);
      EXPECT_EQ(t.controls[i + 1].kind, tk::ControlKind::RadioButton);
    }
  }
  EXPECT_EQ(seen.size(), 48u);

  const tk::DialogTemplate& about = resources::aboutBoxTemplate();
  EXPECT_EQ(about.id, 100);
  EXPECT_EQ(about.caption, "About Tarnwick");
}

}  // namespace
}  // namespace tarnwick
