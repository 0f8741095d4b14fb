#include "ui/flow_layout.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace vorn::ui {

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::AddGroup(std::initializer_list<QWidget*> widgets) {
  auto* group = new QWidget;
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : widgets) row->addWidget(widget);
  addWidget(group);
}

QLayoutItem* FlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize FlowLayout::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : items_) {
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  }
  const QMargins margins = contentsMargins();
  return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

// Everything on one line.
QSize FlowLayout::sizeHint() const {
  int width = 0, height = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += item->sizeHint().width() + (width > 0 ? Spacing() : 0);
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins margins = contentsMargins();
  return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  Arrange(rect, true);
}

int FlowLayout::Spacing() const {
  if (spacing() >= 0) return spacing();
  const QWidget* owner = parentWidget();
  return owner ? owner->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, owner) : 6;
}

int FlowLayout::Arrange(const QRect& rect, bool place) const {
  const QRect room = rect.marginsRemoved(contentsMargins());
  int x = room.x(), y = room.y(), lineHeight = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;  // a hidden widget takes no place
    const QSize size = item->sizeHint();
    if (x > room.x() && x + size.width() > room.right() + 1) {
      x = room.x();
      y += lineHeight + Spacing();
      lineHeight = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), size));
    x += size.width() + Spacing();
    lineHeight = std::max(lineHeight, size.height());
  }
  return y + lineHeight - rect.y() + contentsMargins().bottom();
}

}  // namespace vorn::ui
