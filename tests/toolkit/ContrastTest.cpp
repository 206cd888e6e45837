#include "ui/toolkit/Contrast.h"

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

}  // namespace
}  // namespace tarnwick::tk
