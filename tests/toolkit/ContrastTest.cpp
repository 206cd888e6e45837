#include "ui/toolkit/Contrast.h"
#include "ui/toolkit/ControlLook.h"

#include <gtest/gtest.h>

namespace tarnwick::tk {
namespace {

TEST(Contrast, RatiosOfKnownPairs) {
  EXPECT_NEAR(contrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
  EXPECT_NEAR(contrastRatio({255, 255, 255}, {0, 0, 0}), 21.0, 1e-9);  // order does not matter
  EXPECT_NEAR(contrastRatio({120, 40, 200}, {120, 40, 200}), 1.0, 1e-9);
  // The unreadable grey this replaces: 190 on the network window's blue.
  EXPECT_NEAR(contrastRatio({190, 190, 190}, {195, 210, 235}), 1.22, 0.01);
  // The desktop's grey text on its button face.
  EXPECT_NEAR(contrastRatio({109, 109, 109}, {240, 240, 240}), 4.54, 0.01);
}

TEST(Contrast, DisabledTextIsReadableGreyOnEveryBackground) {
  // The usual grey where it is readable already.
  EXPECT_EQ(disabledTextOn({240, 240, 240}), (Rgb{109, 109, 109}));
  EXPECT_EQ(disabledTextOn({255, 255, 255}), (Rgb{109, 109, 109}));
  for (const Rgb background : {Rgb{195, 210, 235}, Rgb{215, 220, 240}, Rgb{160, 160, 160},
                               Rgb{0, 0, 0}, Rgb{40, 40, 60}, Rgb{128, 128, 128}}) {
    const Rgb text = disabledTextOn(background);
    EXPECT_GE(contrastRatio(text, background), kReadableContrast)
        << int(background.red) << "," << int(background.green) << "," << int(background.blue);
    EXPECT_EQ(text.red, text.green);  // a grey, not a colour
    EXPECT_EQ(text.green, text.blue);
  }
  // On the network window's blue: darker than the usual grey, and no darker than needed.
  const Rgb blue{195, 210, 235};
  const Rgb onBlue = disabledTextOn(blue);
  EXPECT_LT(onBlue.red, 109);
  const auto lighter = static_cast<std::uint8_t>(onBlue.red + 1);
  EXPECT_LT(contrastRatio(Rgb{lighter, lighter, lighter}, blue), kReadableContrast);
}

// The look the host gives each kind of control, in the states the program's windows show.
TEST(ControlLook, EveryStateOfEveryKindIsReadableOnWhatItStandsOn) {
  const NativePalette desktop{{240, 240, 240}, {255, 255, 255}, {0, 0, 0}};
  const Rgb blue{195, 210, 235};    // the network window
  const Rgb option{215, 220, 245};  // the option dialogs
  CtlColor transparent;             // what the option dialogs answer for labels and more
  transparent.transparentText = true;
  transparent.hollowBrush = true;
  CtlColor onBlue;                  // the network window: black on its own blue
  onBlue.transparentText = true;
  onBlue.brush = blue;
  onBlue.textColour = Rgb{0, 0, 0};
  CtlColor faint = transparent;     // a text colour that cannot be read there
  faint.textColour = Rgb{190, 190, 190};
  struct Case {
    const char* what;
    ControlKind kind;
    bool enabled;
    CtlColor answer;
    std::optional<Rgb> dialog;
    std::optional<Rgb> fill;  // expected
    std::optional<Rgb> text;  // expected exactly, else only readable
  };
  const Case cases[] = {
      {"masked or revealed parameter", ControlKind::Edit, false, onBlue, blue, blue, Rgb{0, 0, 0}},
      {"typed box", ControlKind::Edit, true, {}, blue, Rgb{255, 255, 255}, Rgb{0, 0, 0}},
      {"disabled box of an option dialog", ControlKind::Edit, false, transparent, option,
       std::nullopt, std::nullopt},
      {"disabled box, no answer", ControlKind::Edit, false, {}, std::nullopt,
       Rgb{240, 240, 240}, std::nullopt},
      {"fixed Encrypt list", ControlKind::ComboBox, false, {}, blue, Rgb{240, 240, 240},
       std::nullopt},
      {"list", ControlKind::ComboBox, true, {}, blue, Rgb{255, 255, 255}, Rgb{0, 0, 0}},
      {"disabled Show 4G Parameters", ControlKind::CheckBox, false, onBlue, blue, blue,
       std::nullopt},
      {"label on the painted colour", ControlKind::Static, true, transparent, option, std::nullopt,
       Rgb{0, 0, 0}},
      {"label left to the toolkit", ControlKind::Static, true, {}, std::nullopt,
       Rgb{240, 240, 240}, Rgb{0, 0, 0}},
      {"group title", ControlKind::GroupBox, true, onBlue, blue, std::nullopt, Rgb{0, 0, 0}},
      {"faint text made readable", ControlKind::RadioButton, true, faint, option, std::nullopt,
       Rgb{0, 0, 0}},
      {"disabled radio button", ControlKind::RadioButton, false, transparent, Rgb{40, 40, 60},
       std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    ControlState state;
    state.kind = c.kind;
    state.enabled = c.enabled;
    const ControlLook look = controlLook(state, c.answer, c.dialog, desktop);
    const Rgb under = c.dialog.value_or(desktop.face);
    EXPECT_FALSE(look.nativeFace) << c.what;
    EXPECT_EQ(look.fill, c.fill) << c.what;
    EXPECT_EQ(look.ground, c.fill.value_or(under)) << c.what;
    if (c.text) {
      EXPECT_EQ(look.text, *c.text) << c.what;
    }
    EXPECT_GE(contrastRatio(look.text, look.ground), kReadableContrast) << c.what;
    if (!c.enabled && !c.answer.textColour) {
      EXPECT_EQ(look.text.red, look.text.blue) << c.what << ": disabled text is grey";
      EXPECT_NE(look.text, desktop.text) << c.what << ": disabled text looks disabled";
    }
    EXPECT_GE(contrastRatio(look.focus, under), kFocusContrast) << c.what;
  }
  ControlState button;
  button.kind = ControlKind::PushButton;
  EXPECT_TRUE(controlLook(button, {}, blue, desktop).nativeFace);
  // The ring keeps its accent where it stands out, and turns black or white where it would not.
  EXPECT_EQ(focusRingOn(Rgb{0, 84, 166}), (Rgb{255, 255, 255}));
  EXPECT_EQ(focusRingOn(Rgb{0, 0, 0}), (Rgb{255, 255, 255}));
  EXPECT_EQ(focusRingOn(option), focusRingOn(desktop.face));
}

TEST(ControlLook, AClosedListLeavesItsTextTheRoomBesideANarrowButton) {
  // The main window's Video Size list at 96 DPI (the template's 60 units are 90 pixels).
  EXPECT_EQ(listTextField(90, 23), (Rect{kListFrame, kListFrame, 72, 19}));
  EXPECT_EQ(listTextRoom(90), 70);
  EXPECT_EQ(listTextRoom(10), 0);
  // At 144 dots per inch the same list is 135 pixels wide, its frame and button one and a half
  // times as wide.
  EXPECT_EQ(listTextField(135, 34, 144), (Rect{3, 3, 107, 28}));
  EXPECT_EQ(atDpi(kFocusRingWidth, 144), 3);
}

TEST(ControlLook, ALabelOfOneLineIsAsWideAsItsText) {
  // "Must Existed" in the network window: 63 pixels of box, 66 of text in a wider font.
  const Rect box{825, 414, 63, 13};
  EXPECT_EQ(labelBox(box, kStyleNone, 66, 13), (Rect{825, 414, 66, 13}));
  EXPECT_EQ(labelBox(box, kRightText, 66, 13), (Rect{822, 414, 66, 13}));
  EXPECT_EQ(labelBox(box, kCenterText, 67, 13), (Rect{823, 414, 67, 13}));
  EXPECT_EQ(labelBox(box, kStyleNone, 40, 13), box);       // fits: as the template has it
  EXPECT_EQ(labelBox(box, kStyleNone, 200, 6), box);       // room for two lines: it wraps
}

}  // namespace
}  // namespace tarnwick::tk
