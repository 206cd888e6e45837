#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

void paintOptionBackground(tk::PaintContext& paint) { paint.FillSolidRect(optionBackgroundColor); }

tk::CtlColor optionControlColor(tk::CDialogEx& dialog, int controlId, tk::CtlColorType type) {
  // The qualified call asks the toolkit's handler, not the dialog's override (which calls us).
  tk::CtlColor colour = dialog.tk::CDialogEx::OnCtlColor(controlId, type);
  if (type == tk::CtlColorType::Static) {
    colour.transparentText = true;
    colour.hollowBrush = true;
    colour.brush.reset();
  }
  return colour;
}

}  // namespace tarnwick
