#include "pictures/tree_painter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <vector>

#include "pictures/picture_text.h"
#include "pictures/plot_scale.h"
#include "pictures/support_colours.h"

namespace vorn {
namespace {

constexpr double kMargin = 20;
constexpr double kTitleHeight = 28;
constexpr double kScaleBarHeight = 36;
constexpr double kLabelGap = 6;
constexpr double kLegendGap = 30;
constexpr double kLegendRow = 18;

QString Text(const std::string& text) { return PictureText(text); }
// At the least readable row, 7 pixels; the gap between rows keeps descenders off the next label.
QFont FontOfRow(double rowHeight) { return PictureFont(static_cast<int>(std::clamp(rowHeight * 0.8, 7.0, 13.0))); }
QFont PlainFont(int pixels, bool bold = false) { return PictureFont(pixels, bold); }

double WidestTip(const TreeScene& scene, const QFont& font) {
  const QFontMetricsF metrics(font);
  double widest = 0;
  for (int tip : scene.layout.tips) widest = std::max(widest, metrics.horizontalAdvance(Text(scene.tree.nodes[tip].name)));
  return widest;
}

double LegendWidth(const TreeScene& scene) {
  if (scene.colouring.Names().empty()) return 0;
  const QFontMetricsF metrics(PlainFont(12));
  double widest = metrics.horizontalAdvance("Groups");
  for (const auto& name : scene.colouring.Names()) widest = std::max(widest, 22 + metrics.horizontalAdvance(Text(name)));
  return kLegendGap + widest;
}

}  // namespace

TreeDrawing::TreeDrawing(const TreeScene& scene, double rowHeight, double treeWidth)
    : scene_(scene),
      rowHeight_(rowHeight),
      treeWidth_(treeWidth),
      tipFont_(FontOfRow(rowHeight)),
      smallFont_(PlainFont(static_cast<int>(std::clamp(rowHeight * 0.65, 7.0, 11.0)))),
      labelWidth_(rowHeight >= kReadableTreeRow ? WidestTip(scene, tipFont_) : 0) {
  PlaceInnerLabels();
}

double TreeDrawing::WidthBesideTree(const TreeScene& scene, double rowHeight) {
  const double labels = rowHeight >= kReadableTreeRow ? WidestTip(scene, FontOfRow(rowHeight)) : 0;
  return 2 * kMargin + kLabelGap + labels + LegendWidth(scene);
}

double TreeDrawing::HeightBesideRows() { return 2 * kMargin + kTitleHeight + kScaleBarHeight; }

QSizeF TreeDrawing::Size() const {
  const double rows = std::max<double>(1, static_cast<double>(scene_.layout.tips.size()));
  const double legend = static_cast<double>(scene_.colouring.Names().size() + 1) * kLegendRow;
  return {WidthBesideTree(scene_, rowHeight_) + treeWidth_,
          HeightBesideRows() + std::max(rows * rowHeight_, legend)};
}

double TreeDrawing::X(double x) const {
  const double span = scene_.layout.right - scene_.layout.left;
  return kMargin + (span > 0 ? (x - scene_.layout.left) / span * treeWidth_ : 0);
}

double TreeDrawing::Y(double y) const { return kMargin + kTitleHeight + (y + 0.5) * rowHeight_; }

double TreeDrawing::TipEnd(int tip) const {
  const auto& at = scene_.layout.nodes;
  const int parent = scene_.tree.nodes[static_cast<std::size_t>(tip)].parent;
  const double x = X(at[static_cast<std::size_t>(tip)].x);
  return parent < 0 ? x : std::max(x, X(at[static_cast<std::size_t>(parent)].x));
}

void TreeDrawing::Paint(QPainter& painter) const {
  const auto& nodes = scene_.tree.nodes;
  const auto& at = scene_.layout.nodes;
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);

  painter.setPen(Qt::black);
  painter.setFont(PlainFont(14, true));
  painter.drawText(QPointF(kMargin, kMargin + 16), Text(scene_.title));

  // Branches: a horizontal line from the parent's x to the node, a vertical line joining the
  // children of each inner node.
  QPen branch(QColor(0x20, 0x20, 0x20));
  branch.setWidthF(std::clamp(rowHeight_ / 10, 0.5, 1.5));
  branch.setCapStyle(Qt::SquareCap);
  painter.setPen(branch);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const double y = Y(at[i].y);
    if (nodes[i].parent >= 0) painter.drawLine(QPointF(X(at[nodes[i].parent].x), y), QPointF(X(at[i].x), y));
    if (!nodes[i].children.empty()) {
      painter.drawLine(QPointF(X(at[i].x), Y(at[nodes[i].children.front()].y)),
                       QPointF(X(at[i].x), Y(at[nodes[i].children.back()].y)));
    }
  }

  painter.setFont(smallFont_);
  for (const auto& [node, baseline] : innerLabels_) {
    // Percentages in the colour of their class; other labels (R values) in grey.
    const auto percent = SupportPercent(nodes[node].name);
    const Rgb colour = percent ? SupportColour(*percent) : Rgb{0x55, 0x55, 0x55};
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    painter.drawText(baseline, Text(nodes[node].name));
  }

  // A marker in the group's colour at each tip, so that groups show at any row height.
  if (!scene_.colouring.Names().empty()) {
    // Between the branch's end and the label, or wider where no labels are drawn.
    const double side = std::clamp(rowHeight_ * 0.7, 2.0, labelWidth_ > 0 ? kLabelGap - 1.5 : 8.0);
    painter.setPen(Qt::NoPen);
    for (int tip : scene_.layout.tips) {
      const int group = scene_.colouring.GroupOf(nodes[tip].name);
      if (group < 0) continue;
      painter.setBrush(ToQColor(GroupColour(group)));
      painter.drawRect(QRectF(TipEnd(tip) + 1, Y(at[tip].y) - side / 2, side, side));
    }
    painter.setBrush(Qt::NoBrush);
  }

  if (scene_.highlightedTip >= 0 && static_cast<std::size_t>(scene_.highlightedTip) < nodes.size()) {
    const QPointF tip = TipPoint(scene_.highlightedTip);
    const double width = labelWidth_ > 0 ? QFontMetricsF(tipFont_).horizontalAdvance(Text(nodes[scene_.highlightedTip].name)) : 40;
    painter.fillRect(QRectF(tip.x() - 2, tip.y() - std::max(rowHeight_, 6.0) / 2, width + 4, std::max(rowHeight_, 6.0)),
                     QColor(0xff, 0xe0, 0x66));
  }

  if (labelWidth_ > 0) {
    painter.setFont(tipFont_);
    const QFontMetricsF metrics(tipFont_);
    const double baseline = (metrics.ascent() - metrics.descent()) / 2;
    for (int tip : scene_.layout.tips) {
      painter.setPen(ToQColor(GroupColour(scene_.colouring.GroupOf(nodes[tip].name))));
      painter.drawText(QPointF(TipEnd(tip) + kLabelGap, Y(at[tip].y) + baseline), Text(nodes[tip].name));
    }
  }

  if (scene_.layout.toScale && scene_.layout.scaleBar > 0) {
    const double span = scene_.layout.right - scene_.layout.left;
    const double length = scene_.layout.scaleBar / span * treeWidth_;
    const double y = Y(static_cast<double>(scene_.layout.tips.size()) - 0.5) + 18;
    painter.setPen(branch);
    painter.drawLine(QPointF(kMargin, y), QPointF(kMargin + length, y));
    painter.drawLine(QPointF(kMargin, y - 4), QPointF(kMargin, y + 4));
    painter.drawLine(QPointF(kMargin + length, y - 4), QPointF(kMargin + length, y + 4));
    painter.setPen(Qt::black);
    painter.setFont(PlainFont(11));
    painter.drawText(QPointF(kMargin + length + 6, y + 4), Text(StepText(scene_.layout.scaleBar, scene_.layout.scaleBar)));
  }
  PaintLegend(painter, kMargin + treeWidth_ + kLabelGap + labelWidth_ + kLegendGap);
}

QPointF TreeDrawing::TipPoint(int tip) const {
  return {TipEnd(tip) + kLabelGap, Y(scene_.layout.nodes[static_cast<std::size_t>(tip)].y)};
}

void TreeDrawing::PlaceInnerLabels() {
  // Inner labels need rows a little taller than tip labels, as they sit above the branches.
  if (!scene_.nodeLabels || rowHeight_ < 1.5 * kReadableTreeRow) return;
  const auto& nodes = scene_.tree.nodes;
  const auto& at = scene_.layout.nodes;
  const QFontMetricsF metrics(smallFont_);
  std::vector<QRectF> drawn;
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    if (nodes[i].IsTip() || nodes[i].name.empty()) continue;
    // Support below the chosen threshold is left out on request, not counted as crowded out.
    if (const auto percent = SupportPercent(nodes[i].name); percent && *percent < scene_.hideSupportBelow) continue;
    // Above the branch, ending at the node; left out where it would cover a label drawn before.
    const QString label = Text(nodes[i].name);
    const QPointF baseline(X(at[i].x) - 3 - metrics.horizontalAdvance(label), Y(at[i].y) - 3);
    const QRectF box(baseline.x(), baseline.y() - metrics.ascent(), metrics.horizontalAdvance(label), metrics.height());
    if (std::any_of(drawn.begin(), drawn.end(), [&](const QRectF& other) { return other.intersects(box); })) {
      ++labelsLeftOut_;
      continue;
    }
    drawn.push_back(box);
    innerLabels_.emplace_back(i, baseline);
  }
}

void TreeDrawing::PaintLegend(QPainter& painter, double left) const {
  const auto& names = scene_.colouring.Names();
  if (names.empty()) return;
  double y = kMargin + kTitleHeight + 12;
  painter.setPen(Qt::black);
  painter.setFont(PlainFont(12, true));
  painter.drawText(QPointF(left, y), "Groups");
  painter.setFont(PlainFont(12));
  for (std::size_t g = 0; g < names.size(); ++g) {
    y += kLegendRow;
    const QColor colour = ToQColor(GroupColour(static_cast<int>(g)));
    painter.fillRect(QRectF(left, y - 10, 14, 12), colour);
    painter.setPen(colour);
    painter.drawText(QPointF(left + 22, y), Text(names[g]));
  }
}

}  // namespace vorn
