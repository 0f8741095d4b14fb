#include "ui/structure_tab.h"

#include <QPainter>

#include "pictures/structure_painter.h"

namespace vorn::ui {

StructureTab::StructureTab(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("structureTab");
}

void StructureTab::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!session_.ws.structure) {
    painter.drawText(rect(), Qt::AlignCenter, "No population structure yet: run Analysis > Population Structure.");
    return;
  }
  const StructureDrawing drawing(*session_.ws.structure, 0, true, QSizeF(size()));
  drawing.Paint(painter);
}

}  // namespace vorn::ui
