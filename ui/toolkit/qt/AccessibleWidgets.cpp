#include "ui/toolkit/qt/AccessibleWidgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QRadioButton>

namespace tarnwick::tk {

namespace {

class RadioAccessible : public QAccessibleWidget {
 public:
  explicit RadioAccessible(QRadioButton* radio) : QAccessibleWidget(radio, QAccessible::RadioButton) {}

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = radio()->isChecked();
    return s;
  }

  QStringList actionNames() const override {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& actionName) override {
    if (actionName != pressAction()) {
      QAccessibleWidget::doAction(actionName);
    } else if (radio()->isEnabled()) {
      radio()->click();
    }
  }

 private:
  QRadioButton* radio() const { return static_cast<QRadioButton*>(widget()); }
};

class ListAccessible : public QAccessibleWidget {
 public:
  explicit ListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return list()->currentText();
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = list()->view() != nullptr && list()->view()->isVisible();
    s.collapsed = !s.expanded;
    return s;
  }

  QStringList actionNames() const override {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& actionName) override {
    if (actionName != showMenuAction()) {
      QAccessibleWidget::doAction(actionName);
    } else if (list()->isEnabled()) {
      list()->showPopup();
    }
  }

 private:
  QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String("QRadioButton")) {
    return new RadioAccessible(static_cast<QRadioButton*>(object));
  }
  if (className == QLatin1String("QComboBox")) return new ListAccessible(static_cast<QComboBox*>(object));
  return nullptr;
}

}  // namespace

void installAccessibleWidgets() {
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
}

}  // namespace tarnwick::tk
