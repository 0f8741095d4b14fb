#include "ui/correlogram_tab.h"

#include <QPainter>

#include "commands/shell/kept_result_text.h"
#include "pictures/correlogram_painter.h"
#include "ui/qt_text.h"

namespace vorn::ui {

CorrelogramTab::CorrelogramTab(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("correlogramTab");
}

void CorrelogramTab::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const Correlogram* correlogram = session_.ws.CurrentCorrelogram();
  if (!correlogram) {
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, ToQt(NoCorrelogramText(session_.ws)));
    return;
  }
  const CorrelogramDrawing drawing(*correlogram, QSizeF(size()));
  if (!drawing.TooSmall().empty()) {
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, ToQt(drawing.TooSmall()));
    return;
  }
  drawing.Paint(painter);
}

}  // namespace vorn::ui
