#pragma once

#include <QProxyStyle>

namespace tarnwick::tk {

// The look of the dialogs' drop-down lists: the application's style with the drop button and
// text field every backend gives a closed list (listTextField, kListButtonWidth). With the
// style's wider button the longer entries ("Date/Time", "FHD 1920x1080") would be cut.
class ListBoxStyle : public QProxyStyle {
 public:
  ListBoxStyle();

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub, const QWidget* widget) const override;

  // The one instance all lists share (owned by the application object).
  static ListBoxStyle* instance();
};

}  // namespace tarnwick::tk
