#include "pictures/rarefaction_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "pictures/pcoa_painter.h"
#include "pictures/picture_text.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

constexpr double kLegendRow = 18;   // at scale 1
constexpr double kLegendText = 11;
constexpr double kLegendPad = 10;   // above and below the legend's rows
constexpr double kMarkRoom = 28;    // the line and marker before a name
constexpr const char* kXCaption = "g (individuals drawn)";

// A half of the picture above the legend.
QSizeF PanelSize(QSizeF size, double legendHeight) { return {size.width() / 2, std::max(1.0, size.height() - legendHeight)}; }

double LegendColumn(const RarefactionCurves& curves, double scale) {
  const QFontMetricsF metrics(PictureFont(static_cast<int>(std::lround(kLegendText * scale))));
  double widest = 0;
  for (const auto& name : curves.populations) widest = std::max(widest, metrics.horizontalAdvance(PictureText(name)));
  return widest + (kMarkRoom + 14) * scale;
}

std::vector<double> Values(const std::vector<std::vector<double>>& curve) {
  std::vector<double> values{0};
  for (const auto& row : curve) {
    for (double v : row) {
      if (std::isfinite(v)) values.push_back(v);
    }
  }
  return values;
}

// The axis around values with at least three ticks, the frames being small beside their text;
// least: the least step (1 for g, which takes whole numbers).
PlotAxis AxisWithTicks(const std::vector<double>& values, double pixels, double least = 0) {
  PlotAxis axis = AxisAround(values, pixels);
  while ((axis.high - axis.low) / axis.step < 3 && axis.step / 2 >= least) {
    const double smaller = RoundStepBelow(axis.step / 2);
    if (!(smaller > 0) || smaller >= axis.step) break;
    axis.step = smaller;
  }
  axis.step = std::max(axis.step, least);
  return axis;
}

std::size_t Columns(double width, double column, std::size_t entries) {
  const auto fit = static_cast<std::size_t>(std::max(1.0, std::floor(width / std::max(column, 1.0))));
  return std::max<std::size_t>(1, std::min(fit, entries));
}

double LegendHeight(std::size_t entries, std::size_t columns, double scale) {
  const std::size_t rows = (entries + columns - 1) / columns;
  return (static_cast<double>(rows) * kLegendRow + 2 * kLegendPad) * scale;
}

}  // namespace

RarefactionDrawing::RarefactionDrawing(const RarefactionCurves& curves, QSizeF size, double scale)
    : curves_(curves),
      size_(size),
      scale_(scale),
      columnWidth_(LegendColumn(curves, scale)),
      columns_(Columns(size.width(), columnWidth_, curves.populations.size())),
      legendHeight_(LegendHeight(curves.populations.size(), columns_, scale)),
      richnessFrame_(PanelSize(size, legendHeight_), scale, {"Band richness", kXCaption, "Br(g)"}),
      privateFrame_(PanelSize(size, legendHeight_), scale, {"Private band richness", kXCaption, "Private Br(g)"}) {
  const double g = static_cast<double>(curves.richness.size() + 1);
  x_ = AxisWithTicks({2, std::max(g, 3.0)}, richnessFrame_.Plot().width() / scale, 1);
  richnessY_ = AxisWithTicks(Values(curves.richness), richnessFrame_.Plot().height() / scale);
  privateY_ = AxisWithTicks(Values(curves.privateRichness), privateFrame_.Plot().height() / scale);
}

std::string RarefactionDrawing::TooSmall() const {
  std::string tooSmall = richnessFrame_.TooSmall();
  if (tooSmall.empty()) tooSmall = privateFrame_.TooSmall();
  if (tooSmall.empty()) return "";
  return "At " + std::to_string(static_cast<long>(std::ceil(size_.width()))) + " x " +
         std::to_string(static_cast<long>(std::ceil(size_.height()))) +
         " pixels the two panels and their legend do not fit: each panel has half the width and the height "
         "above the legend. For a panel: " + tooSmall;
}

void RarefactionDrawing::PaintPanel(QPainter& painter, const ScatterFrame& frame, double left, const PlotAxis& y,
                                    const std::vector<std::vector<double>>& curve) const {
  painter.save();
  painter.translate(left, 0);
  const auto place = [&](double gx, double value) { return PlaceOnAxes(frame.Plot(), x_, y, gx, value); };
  frame.Paint(painter, PlotGrid{x_.low, x_.high, x_.step, y.low, y.high, y.step, false}, place);
  const double s = scale_;
  for (std::size_t j = 0; j < curves_.populations.size(); ++j) {
    painter.setPen(QPen(ToQColor(GroupColour(static_cast<int>(j))), 1.6 * s));
    for (std::size_t k = 1; k < curve.size(); ++k) {
      const double a = curve[k - 1][j], b = curve[k][j];
      if (!std::isfinite(a) || !std::isfinite(b)) continue;
      const auto segment = ClipSegment(place(double(k + 1), a), place(double(k + 2), b), frame.Plot());
      if (segment) painter.drawLine(segment->first, segment->second);
    }
  }
  for (std::size_t j = 0; j < curves_.populations.size(); ++j) {
    for (std::size_t k = 0; k < curve.size(); ++k) {
      if (std::isfinite(curve[k][j])) DrawMarker(painter, place(double(k + 2), curve[k][j]), static_cast<int>(j), s * 0.8);
    }
  }
  painter.restore();
}

void RarefactionDrawing::PaintLegend(QPainter& painter) const {
  const double s = scale_;
  const double top = size_.height() - legendHeight_ + kLegendPad * s;
  const double left = std::max(0.0, (size_.width() - double(columns_) * columnWidth_) / 2);
  painter.setFont(PictureFont(static_cast<int>(std::lround(kLegendText * s))));
  const QFontMetricsF metrics(painter.font());
  for (std::size_t j = 0; j < curves_.populations.size(); ++j) {
    const double x = left + double(j % columns_) * columnWidth_;
    const double y = top + (double(j / columns_) + 0.5) * kLegendRow * s;
    const int group = static_cast<int>(j);
    painter.setPen(QPen(ToQColor(GroupColour(group)), 1.6 * s));
    painter.drawLine(QPointF(x, y), QPointF(x + (kMarkRoom - 6) * s, y));
    DrawMarker(painter, QPointF(x + (kMarkRoom - 6) * s / 2, y), group, s * 0.8);
    painter.setPen(Qt::black);
    const QString name = metrics.elidedText(PictureText(curves_.populations[j]), Qt::ElideRight,
                                            std::max(0.0, columnWidth_ - (kMarkRoom + 6) * s));
    painter.drawText(QPointF(x + kMarkRoom * s, y + 4 * s), name);
  }
}

void RarefactionDrawing::Paint(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  PaintPanel(painter, richnessFrame_, 0, richnessY_, curves_.richness);
  PaintPanel(painter, privateFrame_, size_.width() / 2, privateY_, curves_.privateRichness);
  PaintLegend(painter);
}

}  // namespace vorn
