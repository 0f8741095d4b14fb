#include "ui/elided_label.h"

#include <QPainter>

namespace vorn::ui {

QSize ElidedLabel::minimumSizeHint() const {
  return {8 * fontMetrics().averageCharWidth(), QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  const QRect room = contentsRect();
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
  setToolTip(shown == text() ? QString() : text());
  QPainter painter(this);
  painter.drawText(room, static_cast<int>(alignment()) | Qt::TextSingleLine, shown);
}

}  // namespace vorn::ui
