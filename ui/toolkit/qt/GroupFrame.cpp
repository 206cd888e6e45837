#include "ui/toolkit/qt/GroupFrame.h"

#include <QPainter>
#include <QPainterPath>

namespace tarnwick::tk {

void GroupFrame::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  // The frame's top edge runs through the middle of the title line.
  const QRect frame = rect().adjusted(0, metrics.height() / 2, -2, -2);
  const QString text = title();
  QRect textRect;
  if (!text.isEmpty()) {
    const int indent = metrics.averageCharWidth();
    textRect = QRect(indent, 0, metrics.horizontalAdvance(text) + 2 * 2, metrics.height());
  }
  // The lines stop short of the title.
  QPainterPath clip;
  clip.addRect(rect());
  if (!textRect.isNull()) {
    QPainterPath hole;
    hole.addRect(textRect);
    clip = clip.subtracted(hole);
  }
  painter.save();
  painter.setClipPath(clip);
  // Etched: a shadow line with a light line one pixel below and to the right.
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.translated(1, 1));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame);
  painter.restore();
  if (!textRect.isNull()) {
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text);
  }
}

}  // namespace tarnwick::tk
