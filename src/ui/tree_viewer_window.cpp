#include "ui/tree_viewer_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "pictures/picture_files.h"
#include "ui/drawing_canvas.h"
#include "ui/flow_layout.h"
#include "ui/qt_text.h"

namespace vorn::ui {

// Draws the scene at the window's zoom; an empty canvas says how to get a tree.
class TreeCanvas : public DrawingCanvas<TreeDrawing> {
 public:
  explicit TreeCanvas(QWidget* parent) : DrawingCanvas(parent) { setAutoFillBackground(false); }

  // Without a scene the canvas shows why there is none.
  void Set(const TreeScene* scene, double rowHeight, double treeWidth, const QString& absence) {
    absence_ = absence;
    drawing_.reset();
    if (scene) drawing_.emplace(*scene, rowHeight, treeWidth);
    const QSizeF size = drawing_ ? drawing_->Size() : QSizeF(400, 200);
    setFixedSize(size.toSize() + QSize(1, 1));
    update();
  }
};

TreeViewerWindow::TreeViewerWindow(Session& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
  setWindowTitle("Tree Viewer");
  auto* open = new QPushButton("O&pen...");
  previous_ = new QPushButton("< Previo&us");
  next_ = new QPushButton("&Next >");
  position_ = new QLabel;
  level_ = new QComboBox;
  nodeLabels_ = new QCheckBox("Node la&bels");
  nodeLabels_->setChecked(true);
  hideBelow_ = new QSpinBox;
  hideBelow_->setRange(0, 100);
  hideBelow_->setSuffix(" %");
  hideBelow_->setToolTip("Leave out support percentages below this value (0 shows all)");
  midpointRoot_ = new QCheckBox("Root at &midpoint");
  midpointRoot_->setToolTip("Draw the tree rooted halfway along its longest tip-to-tip path; the file is not changed");
  // The buttons' accelerators leave the menu bar's letters alone (this page sits in the main
  // window); zooming has the usual Ctrl++ and Ctrl+- instead.
  auto* zoomIn = ZoomButton("Zoom in", QKeySequence::ZoomIn);
  auto* zoomOut = ZoomButton("Zoom out", QKeySequence::ZoomOut);
  auto* fit = new QPushButton("F&it");
  auto* taller = new QPushButton("Ta&ller");
  auto* shorter = new QPushButton("&Shorter");
  auto* find = new QLineEdit;
  find->setPlaceholderText("Find tip");
  find->setClearButtonEnabled(true);
  auto* exportButton = new QPushButton("E&xport...");

  // The controls wrap to further lines in a narrow window, each group whole.
  find->setMinimumWidth(160);
  auto* tools = new FlowLayout;
  tools->AddGroup({open, previous_, position_, next_});
  auto* colourBy = new QLabel("&Colour by:");
  colourBy->setBuddy(level_);
  tools->AddGroup({colourBy, level_});
  tools->AddGroup({nodeLabels_, new QLabel("from"), hideBelow_});
  tools->AddGroup({midpointRoot_});
  tools->AddGroup({zoomOut, zoomIn, fit, shorter, taller});
  tools->AddGroup({find});
  tools->AddGroup({exportButton});

  canvas_ = new TreeCanvas(this);
  scroll_ = new QScrollArea;
  scroll_->setWidget(canvas_);
  scroll_->setBackgroundRole(QPalette::Base);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(scroll_, 1);
  note_ = new QLabel;
  layout->addWidget(note_);
  resize(900, 700);

  connect(open, &QPushButton::clicked, this, [this] { ChooseFile(); });
  connect(previous_, &QPushButton::clicked, this, [this] { Show(current_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { Show(current_ + 1); });
  connect(level_, &QComboBox::activated, this, [this] { Show(current_); });
  connect(nodeLabels_, &QCheckBox::toggled, this, [this] { Show(current_); });
  connect(hideBelow_, &QSpinBox::valueChanged, this, [this] { Show(current_); });
  connect(midpointRoot_, &QCheckBox::toggled, this, [this] { Show(current_); });
  connect(zoomIn, &QPushButton::clicked, this, [this] { Zoom(1.25); });
  connect(zoomOut, &QPushButton::clicked, this, [this] { Zoom(0.8); });
  connect(fit, &QPushButton::clicked, this, [this] { Fit(); });
  connect(taller, &QPushButton::clicked, this, [this] { ZoomHeight(1.25); });
  connect(shorter, &QPushButton::clicked, this, [this] { ZoomHeight(0.8); });
  connect(find, &QLineEdit::returnPressed, this, [this, find] { FindTip(find->text()); });
  connect(exportButton, &QPushButton::clicked, this, [this] { Export(); });
  Refresh();
  Show(0);
}

const TreeScene* TreeViewerWindow::Scene() const { return scene_ ? &*scene_ : nullptr; }

void TreeViewerWindow::Refresh() {
  if (!lines_.empty() && treesData_ != Fingerprint(session_.ws.data)) {
    lines_.clear();
    current_ = 0;
    treesPutAway_ = true;
    Show(0);
  }
  // Until groups exist only "no groups" can be chosen; groups that come later colour by level 1.
  const int chosen = level_->count() > 1 ? level_->currentIndex() : -1;
  level_->clear();
  level_->addItem("no groups");
  const std::size_t levels = GroupLevels(session_.ws.groups.groups);
  for (std::size_t level = 1; level <= levels; ++level) level_->addItem(QString("groups of level %1").arg(level));
  level_->setCurrentIndex(chosen >= 0 && chosen < level_->count() ? chosen : std::min(1, level_->count() - 1));
  if (scene_ && (level_->currentIndex() != chosen || shownGroups_ != session_.ws.groups.groups)) Show(current_);
}

void TreeViewerWindow::OpenFile(const std::string& fileName) {
  auto lines = ReadTreeFile(fileName);
  if (!session_.Check(lines)) return;
  fileName_ = fileName;
  lines_ = std::move(*lines);
  treesData_ = Fingerprint(session_.ws.data);
  treesPutAway_ = false;
  Show(1);
  Fit();
}

void TreeViewerWindow::Follow(const std::string& fileName) {
  const QFileInfo file(PathToQt(fileName));
  const std::string stamp = file.exists() ? std::to_string(file.size()) + "@" + std::to_string(file.lastModified().toMSecsSinceEpoch()) : "";
  if (stamp.empty() || (stamp == followedStamp_ && fileName == fileName_)) return;
  followedStamp_ = stamp;
  auto lines = ReadTreeFile(fileName);
  if (!lines) return;
  const bool first = !scene_;
  fileName_ = fileName;
  lines_ = std::move(*lines);
  treesData_ = Fingerprint(session_.ws.data);
  treesPutAway_ = false;
  Show(lines_.size());
  if (first) Fit();
}

void TreeViewerWindow::ChooseFile() {
  FileDialogOptions options;
  options.filter = "Tree Files (*.ph;*.tre;*.nwk;*.txt)|*.ph;*.tre;*.nwk;*.txt|All Files (*.*)|*.*";
  options.initialName = fileName_.empty() ? session_.ws.files.tree : fileName_;
  if (const auto path = session_.host.ChooseOpenFile(options)) OpenFile(*path);
}

void TreeViewerWindow::Show(std::size_t number) {
  scene_.reset();
  if (number >= 1 && number <= lines_.size()) {
    auto scene = MakeTreeScene(lines_, number, fileName_, session_.ws.groups.groups,
                               static_cast<std::size_t>(std::max(0, level_->currentIndex())),
                               midpointRoot_->isChecked() ? TreeRooting::Midpoint : TreeRooting::AsWritten);
    if (session_.Check(scene)) {
      scene_ = std::move(*scene);
      shownGroups_ = session_.ws.groups.groups;
      scene_->nodeLabels = nodeLabels_->isChecked();
      scene_->hideSupportBelow = static_cast<unsigned>(hideBelow_->value());
    }
    current_ = number;
  }
  position_->setText(lines_.empty() ? "no trees" : QString("Tree %1 of %2").arg(current_).arg(lines_.size()));
  previous_->setEnabled(current_ > 1);
  next_->setEnabled(current_ < lines_.size());
  Redraw();
  setWindowTitle(fileName_.empty() ? "Tree Viewer" : "Tree Viewer - " + ToQt(fileName_));
}

void TreeViewerWindow::Zoom(double factor) {
  rowHeight_ = std::clamp(rowHeight_ * factor, 0.5, 80.0);
  treeWidth_ = std::clamp(treeWidth_ * factor, 100.0, 20000.0);
  Redraw();
}

void TreeViewerWindow::ZoomHeight(double factor) {
  rowHeight_ = std::clamp(rowHeight_ * factor, 0.5, 80.0);
  Redraw();
}

void TreeViewerWindow::Redraw() {
  canvas_->Set(Scene(), rowHeight_, treeWidth_,
               QString(treesPutAway_ ? "The trees shown before were drawn from other data: a load, import, filter or "
                                       "selection came since. "
                                     : "No tree shown. ") +
                   "Open a tree file: the tree file, the consensus output or any file of Newick trees, one per line.");
  note_->setText(Note());
}

QString TreeViewerWindow::Note() const {
  QStringList notes;
  if (scene_ && !scene_->note.empty()) notes << ToQt(scene_->note);
  if (const std::size_t leftOut = canvas_->LabelsLeftOut(); leftOut > 0) {
    notes << QString("%1 node label%2 left out: %3 cover each other at this height (Taller shows more)")
                 .arg(leftOut)
                 .arg(leftOut == 1 ? "" : "s")
                 .arg(leftOut == 1 ? "it would" : "they would");
  }
  return notes.join("\n");
}

bool TreeViewerWindow::FindTip(const QString& text) {
  if (!scene_ || text.isEmpty()) return false;
  scene_->highlightedTip = -1;
  for (int tip : scene_->layout.tips) {
    if (ToQt(scene_->tree.nodes[static_cast<std::size_t>(tip)].name).contains(text, Qt::CaseInsensitive)) {
      scene_->highlightedTip = tip;
      break;
    }
  }
  Redraw();
  if (scene_->highlightedTip < 0) return false;
  const QPointF at = canvas_->TipPoint(scene_->highlightedTip);
  scroll_->ensureVisible(static_cast<int>(at.x()), static_cast<int>(at.y()), 50, scroll_->viewport()->height() / 3);
  return true;
}

void TreeViewerWindow::Fit() {
  if (!scene_) return;
  const QSize view = scroll_->viewport()->size();
  const double rows = std::max<double>(1, static_cast<double>(scene_->layout.tips.size()));
  rowHeight_ = std::clamp((view.height() - TreeDrawing::HeightBesideRows() - 2) / rows, 0.5, 24.0);
  treeWidth_ = std::max(100.0, view.width() - TreeDrawing::WidthBesideTree(*scene_, rowHeight_) - 2);
  Redraw();
}

void TreeViewerWindow::Export() {
  if (!scene_) return;
  const auto path = ChoosePictureFile(session_.host, "Export Tree Picture", "tree.svg");
  if (!path) return;
  // Files get rows tall enough for tip and inner labels even when the window shows the whole
  // tree at once.
  const double rowHeight = std::max(rowHeight_, kReadableTreeRow * 1.5);
  if (session_.Check(SaveTreePicture(*scene_, rowHeight, treeWidth_, *path))) session_.Report("Tree picture saved: " + *path);
}

}  // namespace vorn::ui
