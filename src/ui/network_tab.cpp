#include "ui/network_tab.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/trees/kept_network_scene.h"
#include "commands/shell/main_program.h"
#include "pictures/network_painter.h"
#include "ui/drawing_canvas.h"
#include "ui/flow_layout.h"
#include "ui/qt_text.h"

namespace vorn::ui {

// Draws the scene on a rectangle of the given size; without a scene it says how to get one.
class NetworkCanvas : public DrawingCanvas<NetworkDrawing> {
 public:
  explicit NetworkCanvas(QWidget* parent) : DrawingCanvas(parent) {
    absence_ = QStringLiteral("No network yet: run Trees > NeighborNet.");
  }

  void Set(const NetworkScene* scene, QSizeF size) {
    drawing_.reset();
    if (scene) drawing_.emplace(*scene, size);
    setFixedSize(scene ? size.toSize() : QSize(500, 200));
    update();
  }
};

NetworkTab::NetworkTab(Session& session, std::function<const KeptNetwork*()> network, QWidget* parent)
    : QWidget(parent), session_(session), network_(std::move(network)) {
  setObjectName("networkTab");
  // As in the Trees tab: no accelerator of the menu bar's letters, Ctrl++ and Ctrl+- zoom.
  auto* zoomIn = ZoomButton("Zoom in", QKeySequence::ZoomIn);
  auto* zoomOut = ZoomButton("Zoom out", QKeySequence::ZoomOut);
  auto* fit = new QPushButton("F&it");
  auto* find = new QLineEdit;
  find->setPlaceholderText("Find tip");
  find->setClearButtonEnabled(true);
  find->setMinimumWidth(160);
  auto* tools = new FlowLayout;
  tools->AddGroup({zoomOut, zoomIn, fit});
  tools->AddGroup({find});
  canvas_ = new NetworkCanvas(this);
  scroll_ = new QScrollArea;
  scroll_->setWidget(canvas_);
  scroll_->setBackgroundRole(QPalette::Base);
  scroll_->viewport()->installEventFilter(this);
  note_ = new QLabel;
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(scroll_, 1);
  layout->addWidget(note_);
  connect(zoomIn, &QPushButton::clicked, this, [this] { Zoom(1.25); });
  connect(zoomOut, &QPushButton::clicked, this, [this] { Zoom(0.8); });
  connect(fit, &QPushButton::clicked, this, [this] { Fit(); });
  connect(find, &QLineEdit::returnPressed, this, [this, find] { FindTip(find->text()); });
  Redraw();
}

void NetworkTab::Refresh() {
  const KeptNetwork* kept = network_ ? network_() : nullptr;
  const bool fresh = kept && (kept->net.order != shownOrder_ || kept->net.residual != shownResidual_);
  if (kept) shownOrder_ = kept->net.order, shownResidual_ = kept->net.residual;
  const int highlighted = scene_ && !fresh ? scene_->highlightedTip : -1;
  scene_.reset();
  if (kept) {
    scene_ = KeptNetworkScene(*kept, session_.ws.groups.groups);
    scene_->highlightedTip = highlighted;
  }
  if (fresh) {
    Fit();
  } else {
    Redraw();
  }
}

void NetworkTab::Zoom(double factor) {
  // Both sides by the same factor, as far as the smaller may shrink and the larger grow.
  const double smaller = std::min(size_.width(), size_.height()), larger = std::max(size_.width(), size_.height());
  size_ *= std::clamp(factor, kSmallestSide / smaller, kLargestSide / larger);
  fitted_ = false;
  Redraw();
}

// The whole view: the drawing leaves the room beside the round network to the legend and the
// labels, so a wide view draws it larger than a square of the shorter side would.
void NetworkTab::Fit() {
  const QSize view = scroll_->viewport()->size();
  size_ = QSizeF(std::max(kSmallestSide, view.width() - 2.0), std::max(kSmallestSide, view.height() - 2.0));
  fitted_ = true;
  Redraw();
}

bool NetworkTab::eventFilter(QObject* watched, QEvent* event) {
  if (fitted_ && scene_ && watched == scroll_->viewport() && event->type() == QEvent::Resize) Fit();
  return QWidget::eventFilter(watched, event);
}

void NetworkTab::Redraw() {
  canvas_->Set(Scene(), size_);
  note_->setText(Note());
}

QString NetworkTab::Note() const {
  const std::size_t leftOut = canvas_->LabelsLeftOut();
  if (leftOut == 0) return {};
  return QString("%1 label%2 left out: %3 cover each other at this size (Zoom in shows more)")
      .arg(leftOut)
      .arg(leftOut == 1 ? "" : "s")
      .arg(leftOut == 1 ? "it would" : "they would");
}

bool NetworkTab::FindTip(const QString& text) {
  if (!scene_ || text.isEmpty()) return false;
  scene_->highlightedTip = -1;
  for (std::size_t i = 0; i < scene_->labels.size(); ++i) {
    if (ToQt(scene_->labels[i]).contains(text, Qt::CaseInsensitive)) {
      scene_->highlightedTip = static_cast<int>(i);
      break;
    }
  }
  Redraw();
  if (scene_->highlightedTip < 0) return false;
  const QPointF at = canvas_->TipPoint(static_cast<std::size_t>(scene_->highlightedTip));
  scroll_->ensureVisible(static_cast<int>(at.x()), static_cast<int>(at.y()), 50, 50);
  return true;
}

}  // namespace vorn::ui
