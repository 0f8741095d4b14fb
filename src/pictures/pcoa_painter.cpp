#include "pictures/pcoa_painter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <cmath>

#include "pictures/label_placement.h"
#include "pictures/picture_text.h"
#include "pictures/plot_frame.h"

namespace vorn {
namespace {

constexpr double kMarker = 4.5;  // half the marker's width
constexpr double kLegendRow = 18;

double LegendWidth(const PcoaScene& scene) {
  if (scene.groupNames.empty()) return 0;
  const QFontMetricsF metrics(PictureFont(12));
  double widest = metrics.horizontalAdvance("Groups");
  for (const auto& name : scene.groupNames) widest = std::max(widest, 22 + metrics.horizontalAdvance(PictureText(name)));
  return widest + 24;
}

void DrawMarker(QPainter& painter, QPointF at, int group) {
  const QColor colour = ToQColor(GroupColour(group));
  painter.setPen(QPen(colour.darker(130), 1));
  painter.setBrush(colour);
  const double r = kMarker;
  QPainterPath path;
  switch (GroupShape(group)) {
    case MarkerShape::Circle: path.addEllipse(at, r, r); break;
    case MarkerShape::Square: path.addRect(QRectF(at.x() - r * 0.9, at.y() - r * 0.9, 1.8 * r, 1.8 * r)); break;
    case MarkerShape::TriangleUp:
      path.moveTo(at.x(), at.y() - 1.2 * r), path.lineTo(at.x() + 1.1 * r, at.y() + 0.8 * r), path.lineTo(at.x() - 1.1 * r, at.y() + 0.8 * r);
      break;
    case MarkerShape::Diamond:
      path.moveTo(at.x(), at.y() - 1.25 * r), path.lineTo(at.x() + 1.1 * r, at.y()), path.lineTo(at.x(), at.y() + 1.25 * r),
          path.lineTo(at.x() - 1.1 * r, at.y());
      break;
    case MarkerShape::TriangleDown:
      path.moveTo(at.x(), at.y() + 1.2 * r), path.lineTo(at.x() + 1.1 * r, at.y() - 0.8 * r), path.lineTo(at.x() - 1.1 * r, at.y() - 0.8 * r);
      break;
  }
  path.closeSubpath();
  painter.drawPath(path);
}

}  // namespace

PcoaDrawing::PcoaDrawing(const PcoaScene& scene, QSizeF size) : scene_(scene), size_(size) {
  const double left = 78, top = 40, bottom = 58;
  const double right = 16 + LegendWidth(scene);
  plot_ = QRectF(left, top, std::max(40.0, size.width() - left - right), std::max(40.0, size.height() - top - bottom));
  frame_ = FrameEqualScale(scene.layout.points, plot_.width(), plot_.height());
}

QPointF PcoaDrawing::Place(double x, double y) const {
  return {plot_.left() + (x - frame_.xLow) / frame_.unitsPerPixel, plot_.bottom() - (y - frame_.yLow) / frame_.unitsPerPixel};
}

int PcoaDrawing::PointAt(QPointF position, double radius) const {
  int nearest = -1;
  double best = radius * radius;
  for (std::size_t i = 0; i < scene_.layout.points.size(); ++i) {
    const QPointF d = Place(scene_.layout.points[i].x, scene_.layout.points[i].y) - position;
    const double squared = d.x() * d.x() + d.y() * d.y();
    if (squared <= best) best = squared, nearest = static_cast<int>(i);
  }
  return nearest;
}

void PcoaDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const PcoaLayout& layout = scene_.layout;

  painter.setPen(Qt::black);
  painter.setFont(PictureFont(14, true));
  const std::string title = "Principal coordinates" + (layout.matrixName.empty() ? "" : " of " + layout.matrixName);
  painter.drawText(QPointF(plot_.left(), 24), PictureText(title));

  // Ticks and grid at the multiples of the step, the zero lines a little darker.
  const PlotGrid grid{frame_.xLow, frame_.xHigh, frame_.step, frame_.yLow, frame_.yHigh, frame_.step, true};
  PaintPlotFrame(painter, plot_, grid, [this](double x, double y) { return Place(x, y); }, layout.xTitle,
                 layout.yTitle, 58);

  painter.save();
  painter.setClipRect(plot_);
  for (const auto& point : layout.points) DrawMarker(painter, Place(point.x, point.y), point.group);
  if (scene_.pointLabels) {
    painter.setFont(PictureFont(10));
    painter.setPen(QColor(0x30, 0x30, 0x30));
    const QFontMetricsF labelMetrics(painter.font());
    std::vector<LabelPoint> labelled;
    for (const auto& point : layout.points) {
      const QPointF at = Place(point.x, point.y);
      labelled.push_back({at.x(), at.y(), labelMetrics.horizontalAdvance(PictureText(point.label)), labelMetrics.height()});
    }
    const auto boxes = PlaceLabels(labelled, kMarker + 3, {plot_.left(), plot_.top(), plot_.width(), plot_.height()});
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i]) painter.drawText(QPointF(boxes[i]->left, boxes[i]->top + labelMetrics.ascent()), PictureText(layout.points[i].label));
    }
  }
  painter.restore();

  if (scene_.groupNames.empty()) return;
  const double left = plot_.right() + 24;
  double y = plot_.top() + 12;
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(12, true));
  painter.drawText(QPointF(left, y), "Groups");
  painter.setFont(PictureFont(12));
  for (std::size_t g = 0; g < scene_.groupNames.size(); ++g) {
    y += kLegendRow;
    DrawMarker(painter, QPointF(left + 7, y - 4), static_cast<int>(g));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(left + 22, y), PictureText(scene_.groupNames[g]));
  }
}

}  // namespace vorn
