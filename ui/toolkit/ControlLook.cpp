#include "ui/toolkit/ControlLook.h"

#include "ui/toolkit/Contrast.h"
#include "ui/toolkit/DialogUnits.h"

namespace tarnwick::tk {

namespace {
constexpr Rgb kFocusAccent{0, 84, 166};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

Rgb betterOf(Rgb a, Rgb b, Rgb ground) {
  return contrastRatio(a, ground) >= contrastRatio(b, ground) ? a : b;
}
}  // namespace

Rgb focusRingOn(Rgb background) {
  if (contrastRatio(kFocusAccent, background) >= kFocusContrast) return kFocusAccent;
  return betterOf(kBlack, kWhite, background);
}

Rgb readableText(Rgb wanted, Rgb ground, bool enabled) {
  if (contrastRatio(wanted, ground) >= kReadableContrast) return wanted;
  if (!enabled) return disabledTextOn(ground);
  return betterOf(kBlack, kWhite, ground);
}

ControlLook controlLook(const ControlState& state, const CtlColor& answer,
                        std::optional<Rgb> dialogBackground, const NativePalette& palette) {
  const Rgb under = dialogBackground.value_or(palette.face);
  ControlLook look;
  look.focus = focusRingOn(under);
  std::optional<Rgb> wanted = answer.textColour;
  switch (state.kind) {
    case ControlKind::PushButton:
      look.nativeFace = true;
      look.ground = palette.face;
      look.text = readableText(palette.text, palette.face, state.enabled);
      return look;
    case ControlKind::Edit:
      if (answer.brush) {
        look.fill = answer.brush;
      } else if (!answer.hollowBrush) {
        look.fill = state.enabled ? palette.window : palette.face;
      }
      break;
    case ControlKind::ComboBox:
      look.fill = answer.brush.value_or(state.enabled ? palette.window : palette.face);
      break;
    case ControlKind::GroupBox:
      break;
    default:
      if (answer.brush) {
        look.fill = answer.brush;
      } else if (!answer.hollowBrush && !answer.transparentText) {
        look.fill = palette.face;
      }
      // A disabled label or button keeps a grey of its own, readable on what it stands on.
      if (!state.enabled) wanted.reset();
      break;
  }
  look.ground = look.fill.value_or(under);
  const Rgb text = wanted.value_or(state.enabled ? palette.text : disabledTextOn(look.ground));
  look.text = readableText(text, look.ground, state.enabled);
  return look;
}

int atDpi(int pixels, int dpi) { return dpi == 96 ? pixels : mulDiv(pixels, dpi, 96); }

Rect listTextField(int width, int height, int dpi) {
  const int frame = atDpi(kListFrame, dpi);
  const int w = width - frame - atDpi(kListButtonWidth, dpi) - atDpi(1, dpi);
  const int h = height - 2 * frame;
  return {frame, frame, w > 0 ? w : 0, h > 0 ? h : 0};
}

int listTextRoom(int boxWidth, int dpi) {
  const int room = listTextField(boxWidth, 0, dpi).width - 2 * atDpi(kListPadding, dpi);
  return room > 0 ? room : 0;
}

Rect labelBox(const Rect& box, std::uint32_t style, int textWidth, int lineHeight) {
  if (box.height >= 2 * lineHeight || textWidth <= box.width) return box;
  Rect wider = box;
  wider.width = textWidth;
  const int grow = textWidth - box.width;
  if ((style & kCenterText) != 0) {
    wider.x -= grow / 2;
  } else if ((style & kRightText) != 0) {
    wider.x -= grow;
  }
  return wider;
}

}  // namespace tarnwick::tk
