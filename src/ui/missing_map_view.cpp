#include "ui/missing_map_view.h"

#include <QPainter>

namespace vorn::ui {

MissingMapView::MissingMapView(const Workspace& workspace, QWidget* parent) : QWidget(parent), workspace_(workspace) {
  setObjectName("missingMapView");
  setMinimumSize(300, 300);
}

void MissingMapView::Refresh(std::size_t level) {
  drawing_.reset();
  map_.reset();
  const DataMatrix& data = workspace_.data;
  if (workspace_.dataLoaded && data.CellCount() > 0) {
    map_ = MakeMissingMap(data, workspace_.groups.groups, level, false);
  }
  update();
}

void MissingMapView::resizeEvent(QResizeEvent* event) {
  drawing_.reset();
  QWidget::resizeEvent(event);
}

void MissingMapView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!map_) {
    painter.fillRect(rect(), palette().window());
    painter.drawText(rect(), Qt::AlignCenter, "No data loaded");
    return;
  }
  if (!drawing_) drawing_ = std::make_unique<MissingMapDrawing>(*map_, workspace_.data, QSizeF(size()));
  drawing_->Paint(painter);
}

}  // namespace vorn::ui
