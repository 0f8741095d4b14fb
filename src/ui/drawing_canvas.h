// DrawingCanvas: a widget that paints one drawing of a scene on white, or, without one, a line
// saying how to get it. The tree viewer and the Network tab draw on it; the drawings share
// Paint, LabelsLeftOut and TipPoint, and their zoom buttons.
#pragma once

#include <QKeySequence>
#include <QPainter>
#include <QPushButton>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <optional>

namespace vorn::ui {

// A zoom button of a canvas: the usual keys (Ctrl++, Ctrl+-) press it, and its tooltip names them.
inline QPushButton* ZoomButton(const QString& caption, QKeySequence::StandardKey keys) {
  auto* button = new QPushButton(caption);
  button->setShortcut(keys);
  button->setToolTip(caption + QStringLiteral(" (") + QKeySequence(keys).toString(QKeySequence::NativeText) + QLatin1Char(')'));
  return button;
}

template <typename Drawing>
class DrawingCanvas : public QWidget {
 public:
  explicit DrawingCanvas(QWidget* parent) : QWidget(parent) {}

  std::size_t LabelsLeftOut() const { return drawing_ ? drawing_->LabelsLeftOut() : 0; }
  template <typename Tip>
  QPointF TipPoint(Tip tip) const {
    return drawing_ ? drawing_->TipPoint(tip) : QPointF();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (drawing_) {
      drawing_->Paint(painter);
    } else {
      painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, absence_);
    }
  }

  std::optional<Drawing> drawing_;
  QString absence_;  // shown without a drawing
};

}  // namespace vorn::ui
