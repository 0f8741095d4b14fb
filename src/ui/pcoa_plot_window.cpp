#include "ui/pcoa_plot_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "commands/shell/kept_result_text.h"
#include "pictures/picture_files.h"
#include "pictures/picture_text.h"
#include "ui/qt_text.h"

namespace vorn::ui {

// Draws the plot at the canvas's size; the label of the point under the mouse shows as a tip.
class PcoaCanvas : public QWidget {
 public:
  explicit PcoaCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 260);
  }
  // Without a scene the canvas shows why there is none.
  void Set(const PcoaScene* scene, const QString& absence) {
    scene_ = scene;
    absence_ = absence;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (scene_) {
      PcoaDrawing(*scene_, size()).Paint(painter);
    } else {
      painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, absence_);
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!scene_) return;
    const int point = PcoaDrawing(*scene_, size()).PointAt(event->position(), 8);
    if (point < 0) {
      QToolTip::hideText();
      return;
    }
    const PlotPoint& at = scene_->layout.points[static_cast<std::size_t>(point)];
    QToolTip::showText(event->globalPosition().toPoint(),
                       QString("%1 (%2, %3)").arg(PictureText(at.label)).arg(at.x, 0, 'f', 4).arg(at.y, 0, 'f', 4), this);
  }

 private:
  const PcoaScene* scene_ = nullptr;
  QString absence_;
};

PcoaPlotWindow::PcoaPlotWindow(Session& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
  setWindowTitle("PCoA Plot");
  xAxis_ = new QSpinBox;
  yAxis_ = new QSpinBox;
  level_ = new QComboBox;
  labels_ = new QCheckBox("&Labels");
  auto* exportButton = new QPushButton("E&xport...");
  auto* tools = new QHBoxLayout;
  tools->addWidget(new QLabel("Horizontal axis:"));
  tools->addWidget(xAxis_);
  tools->addWidget(new QLabel("Vertical axis:"));
  tools->addWidget(yAxis_);
  tools->addSpacing(12);
  tools->addWidget(new QLabel("Colour by:"));
  tools->addWidget(level_);
  tools->addWidget(labels_);
  tools->addStretch();
  tools->addWidget(exportButton);
  canvas_ = new PcoaCanvas(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(canvas_, 1);
  resize(860, 680);

  connect(xAxis_, &QSpinBox::valueChanged, this, [this] { Redraw(); });
  connect(yAxis_, &QSpinBox::valueChanged, this, [this] { Redraw(); });
  connect(level_, &QComboBox::activated, this, [this] { Redraw(); });
  connect(labels_, &QCheckBox::toggled, this, [this] { Redraw(); });
  connect(exportButton, &QPushButton::clicked, this, [this] { Export(); });
  Refresh();
}

void PcoaPlotWindow::Refresh() {
  const Ordination* ordination = session_.ws.CurrentOrdination();
  const std::size_t axes = ordination ? ordination->AxisCount() : 0;
  const int top = static_cast<int>(std::max<std::size_t>(axes, 1));
  for (QSpinBox* box : {xAxis_, yAxis_}) {
    const QSignalBlocker quiet(box);
    box->setRange(1, top);
  }
  if (xAxis_->value() == yAxis_->value()) {
    const QSignalBlocker quiet(yAxis_);
    xAxis_->setValue(1);
    yAxis_->setValue(std::min(2, top));
  }
  // Until groups exist only "no groups" can be chosen; groups that come later colour by level 1.
  const int chosen = level_->count() > 1 ? level_->currentIndex() : -1;
  level_->clear();
  level_->addItem("no groups");
  const std::size_t levels = GroupLevels(session_.ws.groups.groups);
  for (std::size_t level = 1; level <= levels; ++level) level_->addItem(QString("groups of level %1").arg(level));
  level_->setCurrentIndex(chosen >= 0 && chosen < level_->count() ? chosen : std::min(1, level_->count() - 1));
  Redraw();
}

void PcoaPlotWindow::Redraw() {
  scene_.reset();
  const Ordination* ordination = session_.ws.CurrentOrdination();
  if (ordination && ordination->AxisCount() > 0) {
    auto scene = MakePcoaScene(*ordination, static_cast<std::size_t>(xAxis_->value()),
                               static_cast<std::size_t>(yAxis_->value()), session_.ws.groups.groups,
                               static_cast<std::size_t>(std::max(0, level_->currentIndex())));
    if (scene) {
      scene_ = std::move(*scene);
      scene_->pointLabels = labels_->isChecked();
    }
  }
  canvas_->Set(Scene(), scene_ ? QString() : ToQt(NoOrdinationText(session_.ws)));
}

void PcoaPlotWindow::Export() {
  if (!scene_) return;
  const auto path = ChoosePictureFile(session_.host, "Export PCoA Plot", "pcoa.svg");
  if (!path) return;
  if (session_.Check(SavePcoaPicture(*scene_, QSizeF(canvas_->size()), *path))) session_.Report("PCoA plot saved: " + *path);
}

}  // namespace vorn::ui
