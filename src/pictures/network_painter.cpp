#include "pictures/network_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "core/number_format.h"
#include "pictures/label_placement.h"
#include "pictures/picture_text.h"

namespace vorn {
namespace {

constexpr double kMargin = 20, kTitle = 30, kScaleBar = 30;

Box ToBox(const QRectF& r) { return Box{r.left(), r.top(), r.width(), r.height()}; }

}  // namespace

NetworkDrawing::NetworkDrawing(const NetworkScene& scene, QSizeF size) : scene_(scene), size_(size) {
  const std::size_t n = scene.labels.size();
  // Labels shrink with the number of tips, down to 8 pixels.
  font_ = PictureFont(static_cast<int>(std::clamp(16.0 - static_cast<double>(n) / 25, 8.0, 13.0)));
  const QFontMetricsF metrics(font_);
  double widest = 0;
  for (const std::string& label : scene.labels) widest = std::max(widest, metrics.horizontalAdvance(PictureText(label)));
  double maxX = 0, maxY = 0;
  minX_ = minY_ = 0;
  for (const NetworkPoint& p : scene.outline) {
    minX_ = std::min(minX_, p.x), minY_ = std::min(minY_, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  const double legend = scene.groupNames.empty() ? 0 : 160;
  const double areaW = std::max(10.0, size.width() - 2 * kMargin - 2 * widest - legend - 10);
  const double areaH = std::max(10.0, size.height() - 2 * kMargin - kTitle - kScaleBar - 2 * metrics.height());
  const double spanX = std::max(maxX - minX_, 1e-12), spanY = std::max(maxY - minY_, 1e-12);
  scale_ = std::min(areaW / spanX, areaH / spanY);
  left_ = kMargin + widest + 5 + (areaW - spanX * scale_) / 2;
  top_ = kMargin + kTitle + metrics.height() + (areaH - spanY * scale_) / 2;
  // Labels in the order of the circle; one that would cover a label already placed is left out.
  labelBoxes_.assign(n, QRectF());
  std::vector<Box> placed;
  std::vector<std::size_t> byAngle(n);
  for (std::size_t i = 0; i < n; ++i) byAngle[i] = i;
  std::sort(byAngle.begin(), byAngle.end(), [&](std::size_t a, std::size_t b) { return scene.tipAngle[a] < scene.tipAngle[b]; });
  for (std::size_t i : byAngle) {
    const QPointF tip = TipPoint(i);
    const double angle = scene.tipAngle[i];
    const double w = metrics.horizontalAdvance(PictureText(scene.labels[i])), h = metrics.height();
    const double cx = tip.x() + std::cos(angle) * (6 + w / 2), cy = tip.y() - std::sin(angle) * (6 + h / 2);
    const QRectF box(cx - w / 2, cy - h / 2, w, h);
    const Box candidate = ToBox(box);
    if (std::any_of(placed.begin(), placed.end(), [&](const Box& b) { return b.Overlaps(candidate); })) {
      ++labelsLeftOut_;
      continue;
    }
    placed.push_back(candidate);
    labelBoxes_[i] = box;
  }
}

QPointF NetworkDrawing::Place(const NetworkPoint& p) const {
  // y grows upwards in the layout, downwards on the page.
  return QPointF(left_ + (p.x - minX_) * scale_, top_ + (p.y - minY_) * scale_);
}

QPointF NetworkDrawing::TipPoint(std::size_t individual) const {
  const QPointF p = Place(scene_.outline[scene_.tipPoint[individual]]);
  return p;
}

void NetworkDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(16, true));
  painter.drawText(QRectF(kMargin, kMargin, size_.width() - 2 * kMargin, kTitle), Qt::AlignLeft | Qt::AlignVCenter,
                   PictureText(scene_.title));
  QPen edge(QColor(40, 40, 40));
  edge.setWidthF(1.2);
  painter.setPen(edge);
  for (std::size_t k = 0; k + 1 < scene_.outline.size(); ++k) painter.drawLine(Place(scene_.outline[k]), Place(scene_.outline[k + 1]));
  // Support at the middle of each split's first edge.
  painter.setFont(PictureFont(std::max(7, font_.pixelSize() - 2)));
  std::vector<bool> shown(scene_.support.size(), false);
  for (std::size_t k = 0; k < scene_.edgeSplit.size(); ++k) {
    const std::size_t s = scene_.edgeSplit[k];
    if (shown[s] || scene_.support[s] < scene_.supportThreshold) continue;
    shown[s] = true;
    const QPointF middle = (Place(scene_.outline[k]) + Place(scene_.outline[k + 1])) / 2;
    painter.setPen(QColor(0, 90, 160));
    painter.drawText(middle + QPointF(2, -2), QString::number(static_cast<int>(std::lround(scene_.support[s]))));
  }
  painter.setFont(font_);
  for (std::size_t i = 0; i < scene_.labels.size(); ++i) {
    const int group = scene_.groups[i];
    const QColor colour = group < 0 ? QColor(0, 0, 0) : ToQColor(GroupColour(group));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(TipPoint(i), 3, 3);
    if (labelBoxes_[i].isEmpty()) continue;
    painter.setPen(colour);
    painter.drawText(labelBoxes_[i], Qt::AlignCenter, PictureText(scene_.labels[i]));
  }
  // The tip found by name: ringed, its label drawn even where it was left out.
  if (scene_.highlightedTip >= 0) {
    const auto i = static_cast<std::size_t>(scene_.highlightedTip);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(TipPoint(i), 8, 8);
    const double angle = scene_.tipAngle[i];
    const QString label = PictureText(scene_.labels[i]);
    const QFontMetricsF metrics(font_);
    const double w = metrics.horizontalAdvance(label), h = metrics.height();
    const QPointF tip = TipPoint(i);
    const QPointF centre(tip.x() + std::cos(angle) * (12 + w / 2), tip.y() - std::sin(angle) * (12 + h / 2));
    painter.fillRect(QRectF(centre.x() - w / 2 - 2, centre.y() - h / 2, w + 4, h), Qt::white);
    painter.drawText(QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h), Qt::AlignCenter, label);
  }
  // Scale bar: a round length near a tenth of the drawing's width.
  const double target = (size_.width() - 2 * kMargin) / 10 / scale_;
  const double step = std::pow(10.0, std::floor(std::log10(std::max(target, 1e-12))));
  const double length = target >= 5 * step ? 5 * step : target >= 2 * step ? 2 * step : step;
  const double y = size_.height() - kMargin - 10;
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + length * scale_, y));
  painter.setFont(PictureFont(11));
  painter.drawText(QPointF(kMargin + length * scale_ + 6, y + 4), QString::fromStdString(FormatShortest(length)));
  if (labelsLeftOut_ > 0) {
    painter.drawText(QPointF(kMargin + length * scale_ + 80, y + 4),
                     QString::fromStdString(std::to_string(labelsLeftOut_) + " labels left out (they would overlap)"));
  }
  // Legend of the groups.
  double ly = kMargin + kTitle + 10;
  for (std::size_t g = 0; g < scene_.groupNames.size(); ++g, ly += 16) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(GroupColour(static_cast<int>(g))));
    painter.drawRect(QRectF(size_.width() - kMargin - 150, ly, 10, 10));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(size_.width() - kMargin - 135, ly + 10), PictureText(scene_.groupNames[g]));
  }
}

}  // namespace vorn
