#include "ui/toolkit/qt/AccessibleWidgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QRadioButton>

#include <utility>

namespace tarnwick::tk {

namespace {

// A widget with one action of its own, offered before the widget's (taking the focus).
class OneActionAccessible : public QAccessibleWidget {
 public:
  OneActionAccessible(QWidget* widget, QAccessible::Role role, QString action)
      : QAccessibleWidget(widget, role), action_(std::move(action)) {}

  QStringList actionNames() const override {
    return QStringList{action_} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& actionName) override {
    if (actionName != action_) {
      QAccessibleWidget::doAction(actionName);
    } else if (widget()->isEnabled()) {
      act();
    }
  }

 protected:
  virtual void act() = 0;

 private:
  QString action_;
};

class RadioAccessible : public OneActionAccessible {
 public:
  explicit RadioAccessible(QRadioButton* radio)
      : OneActionAccessible(radio, QAccessible::RadioButton, pressAction()) {}

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = radio()->isChecked();
    return s;
  }

 protected:
  // A click, which the dialog decides on like any other.
  void act() override { radio()->click(); }

 private:
  QRadioButton* radio() const { return static_cast<QRadioButton*>(widget()); }
};

class ListAccessible : public OneActionAccessible {
 public:
  explicit ListAccessible(QComboBox* list)
      : OneActionAccessible(list, QAccessible::ComboBox, showMenuAction()) {}

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

 protected:
  void act() override { list()->showPopup(); }

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
