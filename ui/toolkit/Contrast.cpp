#include "ui/toolkit/Contrast.h"

#include <cmath>

namespace tarnwick::tk {

namespace {
double linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Rgb c) {
  return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

constexpr std::uint8_t kGrayText = 109;
}  // namespace

double contrastRatio(Rgb a, Rgb b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  const double lighter = la > lb ? la : lb;
  const double darker = la > lb ? lb : la;
  return (lighter + 0.05) / (darker + 0.05);
}

Rgb disabledTextOn(Rgb background) {
  const Rgb gray{kGrayText, kGrayText, kGrayText};
  if (contrastRatio(gray, background) >= kReadableContrast) return gray;
  // Move away from the background: darker on a light one, lighter on a dark one.
  const bool darken = luminance(background) > luminance(gray);
  int level = kGrayText;
  while (level > 0 && level < 255) {
    level += darken ? -1 : 1;
    const auto v = static_cast<std::uint8_t>(level);
    if (contrastRatio(Rgb{v, v, v}, background) >= kReadableContrast) return Rgb{v, v, v};
  }
  const auto end = static_cast<std::uint8_t>(level);
  return Rgb{end, end, end};
}

}  // namespace tarnwick::tk
