#include "ui/toolkit/DataExchange.h"

#include "TestDialog.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarnwick::tk {
namespace {

using testing::TestDlg;

struct ParseCase {
  std::u16string text;
  std::optional<std::uint32_t> expected;
};

TEST(ParseUnsigned, ReadsLikePercentU) {
  const ParseCase cases[] = {
      {u"12", 12u},
      {u"  12abc", 12u},           // stops at the first non-digit
      {u"\t7", 7u},                // leading white space skipped
      {u"+5", 5u},
      {u"-1", 4294967295u},        // a minus sign wraps modulo 2^32
      {u"-0", 0u},
      {u"00012", 12u},
      {u"4294967295", 4294967295u},
      {u"4294967296", 4294967295u},  // beyond 32 bits saturates
      {u"99999999999999999999", 4294967295u},
      {u"", std::nullopt},
      {u"abc", std::nullopt},
      {u"-", std::nullopt},
      {u"+ 5", std::nullopt},
      {u" ", std::nullopt},
  };
  for (const auto& c : cases) {
    std::uint32_t value = 123;
    const bool ok = parseUnsigned(c.text, value);
    EXPECT_EQ(ok, c.expected.has_value()) << std::string(c.text.begin(), c.text.end());
    if (c.expected) {
      EXPECT_EQ(value, *c.expected);
    }
  }
}

TEST(ParseUnsigned, LooksAtTheFirst63CharactersOnly) {
  std::uint32_t value = 0;
  EXPECT_FALSE(parseUnsigned(std::u16string(63, u' ') + u"5", value));
  EXPECT_TRUE(parseUnsigned(std::u16string(62, u' ') + u"5", value));
  EXPECT_EQ(value, 5u);
}

// Runs the test dialog headless; `steps` acts on it once, then the dialog is cancelled.
struct Harness {
  CallbackUser user;
  HeadlessBackend backend{user};
  std::vector<std::u16string> messages;

  Harness() {
    user.backend = &backend;
    user.onMessage = [this](const MessageBoxRequest& r) {
      messages.push_back(r.text);
      return IDOK;
    };
  }
};

TEST(DataExchange, LoadingWritesTextsNumbersAndLimits) {
  Harness h;
  ScopedBackend scoped(h.backend);
  TestDlg dlg;
  h.user.onAct = [&](CDialogEx& top) {
    EXPECT_EQ(top.GetDlgItemText(testing::kEditName), u"initial");
    EXPECT_EQ(top.GetDlgItem(testing::kEditName).GetLimitText(), 8);
    EXPECT_EQ(top.GetDlgItemText(testing::kEditByte), u"7");
    EXPECT_EQ(top.GetDlgItemText(testing::kEditNumber), u"42");
    top.EndDialog(IDCANCEL);
  };
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_FALSE(h.backend.failed()) << h.backend.failure();
}

TEST(DataExchange, ByteEntriesAcceptUpTo255AndWrapNegatives) {
  const std::pair<std::u16string, std::optional<std::uint8_t>> cases[] = {
      {u"0", 0}, {u"255", 255}, {u"12abc", 12}, {u"-1", 255}, {u"4294967295", 255},
      {u"256", std::nullopt}, {u"300", std::nullopt}, {u"abc", std::nullopt}, {u"", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    Harness h;
    ScopedBackend scoped(h.backend);
    TestDlg dlg;
    bool result = false;
    // A named copy: clang 14 (emscripten's) cannot capture a structured binding.
    const std::u16string& typed = text;
    h.user.onAct = [&](CDialogEx& top) {
      top.SetDlgItemText(testing::kEditByte, typed);
      top.SetDlgItemText(testing::kByte2, u"99");
      result = top.UpdateData(true);
      top.EndDialog(IDCANCEL);
    };
    dlg.DoModal();
    EXPECT_EQ(result, expected.has_value());
    if (expected) {
      EXPECT_EQ(dlg.byte, *expected);
      EXPECT_EQ(dlg.byte2, 99);
      EXPECT_TRUE(h.messages.empty());
    } else {
      // The refused member and every later one keep their values; the earlier text is taken.
      EXPECT_EQ(dlg.byte, 7);
      EXPECT_EQ(dlg.byte2, 9);
      EXPECT_EQ(dlg.name, u"initial");
      ASSERT_EQ(h.messages.size(), 1u);
      EXPECT_EQ(h.messages[0], byteRangeMessage());
      EXPECT_EQ(dlg.focusedControlId(), testing::kEditByte);
    }
  }
}

TEST(DataExchange, RefusalsStopTheExchangeWithTheToolkitsMessage) {
  Harness h;
  ScopedBackend scoped(h.backend);
  TestDlg dlg;
  h.user.onAct = [&](CDialogEx& top) {
    top.SetDlgItemText(testing::kEditName, u"new");
    top.SetDlgItemText(testing::kEditByte, u"8");
    top.SetDlgItemText(testing::kByte2, u"1");
    top.SetDlgItemText(testing::kEditNumber, u"no number");
    EXPECT_FALSE(top.UpdateData(true));
    // A text longer than its limit (put there by the program, not typed) is refused too.
    top.SetDlgItemText(testing::kEditName, u"123456789");
    EXPECT_FALSE(top.UpdateData(true));
    top.EndDialog(IDCANCEL);
  };
  dlg.DoModal();
  EXPECT_EQ(dlg.name, u"new");
  EXPECT_EQ(dlg.byte, 8);
  EXPECT_EQ(dlg.number, 42u);
  ASSERT_EQ(h.messages.size(), 2u);
  EXPECT_EQ(h.messages[0], u"Please enter a positive integer.");
  EXPECT_EQ(h.messages[1], u"Please enter no more than 8 characters.");
}

TEST(DataExchange, ToolkitMessagesAreOwnedByTheDialog) {
  HeadlessBackend* backendSeen = nullptr;
  Harness h;
  backendSeen = &h.backend;
  ScopedBackend scoped(h.backend);
  TestDlg dlg;
  h.user.onAct = [&](CDialogEx& top) {
    top.SetDlgItemText(testing::kEditByte, u"x");
    top.UpdateData(true);
    top.EndDialog(IDCANCEL);
  };
  dlg.DoModal();
  ASSERT_EQ(backendSeen->shownMessages().size(), 1u);
  const MessageBoxRequest& r = backendSeen->shownMessages()[0];
  EXPECT_EQ(r.owner, &dlg);
  EXPECT_EQ(r.caption, u"Tarnwick");
  EXPECT_EQ(r.icon, MessageIcon::None);
}

}  // namespace
}  // namespace tarnwick::tk
