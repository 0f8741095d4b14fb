#include "pictures/missing_map_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "core/number_format.h"
#include "matrix/band_counts.h"
#include "pictures/group_colours.h"
#include "pictures/picture_text.h"
#include "pictures/plot_frame.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

constexpr double kLeft = 16, kRight = 16, kTop = 34;
constexpr double kStrip = 12, kStripGap = 3;  // the groups' strip left of the grid
constexpr double kLegend = 26;                 // under the grid: the groups' names
constexpr double kHistograms = 230;            // below the legend: the two histograms
constexpr std::size_t kBins = 20;              // of 5 % each
constexpr Rgb kScored{0xff, 0xff, 0xff}, kMissing{0xb2, 0x18, 0x2b};

}  // namespace

QRgb MissingShareColour(float share) {
  const auto blend = [&](std::uint8_t scored, std::uint8_t missing) {
    return static_cast<int>(std::lround(scored + (double(missing) - double(scored)) * double(share)));
  };
  return qRgb(blend(kScored.red, kMissing.red), blend(kScored.green, kMissing.green), blend(kScored.blue, kMissing.blue));
}

MissingMapDrawing::MissingMapDrawing(const MissingMap& map, const DataMatrix& data, QSizeF size)
    : map_(map), size_(size) {
  const double share = data.CellCount() == 0 ? 0 : Share(map.missingCells, data.CellCount());
  title_ = "Missing scores: " + std::to_string(map.rows.size()) + " individuals x " +
           std::to_string(map.columns.size()) + " loci, " + FormatFixed(100.0L * share, 1) + " % missing";
  const double left = kLeft + kStrip + kStripGap;
  grid_ = QRectF(left, kTop, std::max(40.0, size.width() - left - kRight),
                 std::max(40.0, size.height() - kTop - kLegend - kHistograms));
  const MissingPixels pixels = AggregateMissing(data, map, static_cast<std::size_t>(std::lround(grid_.width())),
                                                static_cast<std::size_t>(std::lround(grid_.height())));
  pixels_ = QImage(static_cast<int>(pixels.width), static_cast<int>(pixels.height), QImage::Format_RGB32);
  for (std::size_t y = 0; y < pixels.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(pixels_.scanLine(static_cast<int>(y)));
    for (std::size_t x = 0; x < pixels.width; ++x) line[x] = MissingShareColour(pixels.shares[y * pixels.width + x]);
  }
  // Each strip pixel takes the group of the first row it covers, as the grid's rows are cut.
  strip_ = QImage(1, static_cast<int>(pixels.height), QImage::Format_RGB32);
  for (std::size_t y = 0; y < pixels.height; ++y) {
    const std::size_t row = (y * map.rows.size() + pixels.height - 1) / pixels.height;
    const int group = map.rowGroups.empty() ? -1 : map.rowGroups[std::min(row, map.rows.size() - 1)];
    strip_.setPixel(0, static_cast<int>(y), ToQColor(GroupColour(group)).rgb());
  }
}

void MissingMapDrawing::PaintLegend(QPainter& painter) const {
  painter.setFont(PictureFont(11));
  const QFontMetricsF metrics(painter.font());
  double x = kLeft;
  const double y = grid_.bottom() + 8;
  const auto entry = [&](QColor colour, const std::string& name) {
    const QString text = PictureText(name);
    const double width = 14 + metrics.horizontalAdvance(text) + 14;
    if (x + width > size_.width() - kRight) return false;
    painter.fillRect(QRectF(x, y, 10, 10), colour);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 14, y + 9.5), text);
    x += width;
    return true;
  };
  if (!entry(ToQColor(kMissing), "missing")) return;
  for (std::size_t g = 0; g < map_.groupNames.size(); ++g) {
    if (!entry(ToQColor(GroupColour(static_cast<int>(g))), map_.groupNames[g])) return;
  }
  if (std::find(map_.rowGroups.begin(), map_.rowGroups.end(), -1) != map_.rowGroups.end() &&
      !map_.groupNames.empty()) {
    entry(ToQColor(GroupColour(-1)), "in no group");
  }
}

void MissingMapDrawing::PaintHistogram(QPainter& painter, const QRectF& area, const std::vector<double>& shares,
                                       const std::string& caption) const {
  const std::vector<std::size_t> counts = ShareHistogram(shares, kBins);
  const double most = double(std::max<std::size_t>(1, *std::max_element(counts.begin(), counts.end())));
  const double high = most * 1.08, step = std::max(1.0, RoundStepBelow(most / 4));
  const auto place = [&](double x, double y) {
    return QPointF(area.left() + x / 100 * area.width(), area.bottom() - y / high * area.height());
  };
  PaintFrameAt(painter, area, PlotTexts{"", "Missing scores (%)", caption}, PlotGrid{0, 100, 20, 0, high, step, false},
               place);
  painter.setPen(QPen(Qt::white, 0.5));
  painter.setBrush(ToQColor(kMissing));
  for (std::size_t b = 0; b < kBins; ++b) {
    if (counts[b] == 0) continue;
    const double width = 100.0 / double(kBins);
    painter.drawRect(QRectF(place(double(b) * width, double(counts[b])), place(double(b + 1) * width, 0)));
  }
}

void MissingMapDrawing::Paint(QPainter& painter) const {
  painter.fillRect(QRectF(QPointF(0, 0), size_), Qt::white);
  painter.setPen(Qt::black);
  painter.setFont(PictureFont(14, true));
  painter.drawText(QPointF(kLeft, 22), PictureText(title_));
  // The aggregated pixels stretched without smoothing: a pixel of the image is a block of cells.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(grid_, pixels_);
  painter.drawImage(QRectF(kLeft, grid_.top(), kStrip, grid_.height()), strip_);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(grid_);
  PaintLegend(painter);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  // Each histogram's frame with its captions fills half the width.
  const QSizeF margins = ScatterFrame::SizeAround(QSizeF(0, 0), 1);
  const double top = grid_.bottom() + kLegend + 8;
  const double half = (size_.width() - kLeft - kRight) / 2;
  const QSizeF plot(std::max(40.0, half - margins.width()), std::max(40.0, kHistograms - 8 - margins.height()));
  const QPointF inset = ScatterFrame(margins, 1, PlotTexts{}).Plot().topLeft();  // the frame's margins
  PaintHistogram(painter, QRectF(QPointF(kLeft, top) + inset, plot), map_.individualShares, "Individuals");
  PaintHistogram(painter, QRectF(QPointF(kLeft + half, top) + inset, plot), map_.locusShares, "Loci");
}

}  // namespace vorn
