#pragma once

#include <QProxyStyle>

namespace tarnwick::tk {

// The look of the dialogs' drop-down lists: the application's style with a drop-down button
// and frame as narrow as the desktop's own lists have. The templates size each list for that
// narrow button, so with the style's wider one the longer entries ("Date/Time",
// "FHD 1920x1080") would be cut.
class ListBoxStyle : public QProxyStyle {
 public:
  ListBoxStyle();

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub, const QWidget* widget) const override;

  // The one instance all lists share (owned by the application object).
  static ListBoxStyle* instance();

  // Width of the drop-down button and of the frame on the other three sides, in pixels.
  static constexpr int kButtonWidth = 15;
  static constexpr int kFrameWidth = 2;
};

}  // namespace tarnwick::tk
