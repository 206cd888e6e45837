#pragma once

#include "ui/toolkit/DialogTemplate.h"
#include "ui/toolkit/qt/DialogFont.h"
#include "ui/toolkit/qt/DialogUnits.h"
#include "ui/toolkit/qt/QtDialogWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace tarnwick::tk::testing {

// Checks an open window against its template: the client size and every control's widget kind,
// parent and rectangle, converted with the dialog units of the template's font.
inline void expectTemplateGeometry(QtDialogWindow& window) {
  const DialogTemplate& t = window.model().dialogTemplate();
  const DialogBaseUnits units = window.baseUnits();
  EXPECT_EQ(units, dialogBaseUnits(dialogFont(t.fontName, t.pointSize))) << "template " << t.id;
  const Rect client = dialogUnitsToPixels({0, 0, t.width, t.height}, units);
  EXPECT_EQ(window.size(), QSize(client.width, client.height)) << "template " << t.id;
  EXPECT_EQ(window.contentWidget()->size(), QSize(client.width, client.height));
  EXPECT_FALSE(window.scrolls()) << "template " << t.id;
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "template " << t.id << " is resizable";
  EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), t.minimizeBox);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    const ControlTemplate& c = t.controls[i];
    QWidget* widget = window.widgetAt(static_cast<int>(i));
    ASSERT_NE(widget, nullptr);
    const std::string where = "template " + std::to_string(t.id) + ", control #" +
                              std::to_string(i) + " (id " + std::to_string(c.id) + ")";
    EXPECT_EQ(widget->parentWidget(), window.contentWidget()) << where;
    const Rect px = dialogUnitsToPixels(c.rect, units);
    EXPECT_EQ(widget->pos(), QPoint(px.x, px.y)) << where;
    switch (c.kind) {
      case ControlKind::ComboBox: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        ASSERT_NE(combo, nullptr) << where;
        EXPECT_FALSE(combo->isEditable()) << where;
        // The closed box is as tall as its font needs; the template height is the open list's.
        EXPECT_EQ(widget->width(), px.width) << where;
        break;
      }
      case ControlKind::Icon:
        ASSERT_NE(qobject_cast<QLabel*>(widget), nullptr) << where;
        EXPECT_FALSE(static_cast<QLabel*>(widget)->pixmap().isNull()) << where;
        break;
      default:
        EXPECT_EQ(widget->size(), QSize(px.width, px.height)) << where;
        break;
    }
    switch (c.kind) {
      case ControlKind::Static:
        EXPECT_NE(qobject_cast<QLabel*>(widget), nullptr) << where;
        break;
      case ControlKind::GroupBox:
        EXPECT_NE(qobject_cast<QGroupBox*>(widget), nullptr) << where;
        break;
      case ControlKind::Edit:
        EXPECT_NE(qobject_cast<QLineEdit*>(widget), nullptr) << where;
        break;
      case ControlKind::CheckBox:
        EXPECT_NE(qobject_cast<QCheckBox*>(widget), nullptr) << where;
        break;
      case ControlKind::RadioButton:
        ASSERT_NE(qobject_cast<QRadioButton*>(widget), nullptr) << where;
        EXPECT_FALSE(static_cast<QRadioButton*>(widget)->autoExclusive()) << where;
        break;
      case ControlKind::PushButton:
        ASSERT_NE(qobject_cast<QPushButton*>(widget), nullptr) << where;
        EXPECT_EQ(static_cast<QPushButton*>(widget)->isDefault(), (c.style & kDefaultButton) != 0)
            << where;
        break;
      case ControlKind::ComboBox:
      case ControlKind::Icon:
        break;
    }
  }
}

}  // namespace tarnwick::tk::testing
