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

// At scale 1.
double LegendWidth(const PcoaScene& scene) {
  if (scene.groupNames.empty()) return 0;
  const QFontMetricsF metrics(PictureFont(12));
  double widest = metrics.horizontalAdvance("Groups");
  for (const auto& name : scene.groupNames) widest = std::max(widest, 22 + metrics.horizontalAdvance(PictureText(name)));
  return widest + 24;
}

std::string Title(const PcoaScene& scene) {
  return "Principal coordinates" + (scene.layout.matrixName.empty() ? "" : " of " + scene.layout.matrixName);
}

}  // namespace

void DrawMarker(QPainter& painter, QPointF at, int group, double scale) {
  const QColor colour = ToQColor(GroupColour(group));
  painter.setPen(QPen(colour.darker(130), scale));
  painter.setBrush(colour);
  const double r = kMarker * scale;
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

PcoaDrawing::PcoaDrawing(const PcoaScene& scene, QSizeF size, double scale)
    : scene_(scene), frame_(size, scale, {Title(scene), scene.layout.xTitle, scene.layout.yTitle}, LegendWidth(scene)) {
  // Ticks as far apart, in text sizes, at any scale.
  axes_ = FrameEqualScale(scene.layout.points, frame_.Plot().width() / scale, frame_.Plot().height() / scale);
  axes_.unitsPerPixel /= scale;
}

QPointF PcoaDrawing::Place(double x, double y) const {
  const QRectF& plot = frame_.Plot();
  return {plot.left() + (x - axes_.xLow) / axes_.unitsPerPixel, plot.bottom() - (y - axes_.yLow) / axes_.unitsPerPixel};
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
  const double s = frame_.Scale();
  const QRectF& plot = frame_.Plot();

  // Ticks and grid at the multiples of the step, the zero lines a little darker.
  const PlotGrid grid{axes_.xLow, axes_.xHigh, axes_.step, axes_.yLow, axes_.yHigh, axes_.step, true};
  frame_.Paint(painter, grid, [this](double x, double y) { return Place(x, y); });

  for (const auto& point : layout.points) DrawMarker(painter, Place(point.x, point.y), point.group, s);
  if (scene_.pointLabels) {
    painter.setFont(frame_.Font(10));
    painter.setPen(QColor(0x30, 0x30, 0x30));
    const QFontMetricsF labelMetrics(painter.font());
    std::vector<LabelPoint> labelled;
    for (const auto& point : layout.points) {
      const QPointF at = Place(point.x, point.y);
      labelled.push_back({at.x(), at.y(), labelMetrics.horizontalAdvance(PictureText(point.label)), labelMetrics.height()});
    }
    const auto boxes = PlaceLabels(labelled, (kMarker + 3) * s, {plot.left(), plot.top(), plot.width(), plot.height()});
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i]) painter.drawText(QPointF(boxes[i]->left, boxes[i]->top + labelMetrics.ascent()), PictureText(layout.points[i].label));
    }
  }

  if (scene_.groupNames.empty()) return;
  const double left = plot.right() + 24 * s;
  double y = plot.top() + 12 * s;
  painter.setPen(Qt::black);
  painter.setFont(frame_.Font(12, true));
  painter.drawText(QPointF(left, y), "Groups");
  painter.setFont(frame_.Font(12));
  for (std::size_t g = 0; g < scene_.groupNames.size(); ++g) {
    y += kLegendRow * s;
    DrawMarker(painter, QPointF(left + 7 * s, y - 4 * s), static_cast<int>(g), s);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(left + 22 * s, y), PictureText(scene_.groupNames[g]));
  }
}

}  // namespace vorn
