#include "ui/toolkit/qt/ListBoxStyle.h"

#include "ui/toolkit/ControlLook.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionComplex>

namespace tarnwick::tk {

ListBoxStyle::ListBoxStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

QRect ListBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl sub, const QWidget* widget) const {
  if (control != CC_ComboBox || option == nullptr) {
    return QProxyStyle::subControlRect(control, option, sub, widget);
  }
  const QRect r = option->rect;
  switch (sub) {
    case SC_ComboBoxArrow:
      return visualRect(option->direction, r,
                        QRect(r.right() - kListButtonWidth + 1, r.top(), kListButtonWidth,
                              r.height()));
    case SC_ComboBoxEditField: {
      const Rect field = listTextField(r.width(), r.height());
      return visualRect(option->direction, r,
                        QRect(r.left() + field.x, r.top() + field.y, field.width, field.height));
    }
    default:
      return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

ListBoxStyle* ListBoxStyle::instance() {
  static QPointer<ListBoxStyle> style;
  if (style.isNull()) {
    style = new ListBoxStyle;
    style->setParent(qApp);
  }
  return style.data();
}

}  // namespace tarnwick::tk
