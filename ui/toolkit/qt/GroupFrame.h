#pragma once

#include <QGroupBox>

namespace tarnwick::tk {

// A group box as dialogs draw it: a thin etched rectangle with the title on its top edge, and
// nothing painted inside, so the dialog's own background shows through. (Qt styles may shade
// the inside of a group box; this one never does.) It is not a container: the controls it
// frames are the dialog's children.
class GroupFrame : public QGroupBox {
 public:
  explicit GroupFrame(QWidget* parent) : QGroupBox(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarnwick::tk
