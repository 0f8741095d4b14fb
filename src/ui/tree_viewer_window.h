// The tree viewer: one tree of a tree file at a time (previous / next, "Tree 2 of 5"), drawn as
// a rectangular dendrogram with its tips coloured by the groups of a chosen level; zoom (of both
// directions, or of the height alone), scroll, fit to the window, a tip found by name, and
// export of the shown tree as SVG or PNG; the tree drawn as written or rooted at its midpoint
// (the file is not changed). A line below the tree says when node labels were left out because
// they would have covered each other, and when a tree without lengths was drawn as written.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "pictures/picture_scenes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QString;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace vorn::ui {

class TreeCanvas;

class TreeViewerWindow : public QWidget {
 public:
  TreeViewerWindow(Session& session, QWidget* parent);

  // Reads the file's trees and shows the first; a file that cannot be read is reported.
  void OpenFile(const std::string& fileName);
  // Shows the last tree of the file when the file changed since the viewer last read it (a
  // command added trees); a file without trees leaves the view as it is, without a message.
  void Follow(const std::string& fileName);
  // Takes the workspace's groups as they stand now. Trees taken while the working data were
  // other data (before a load, an import, a filter, a replacement or a selection) are put away:
  // their tips and colours no longer belong to the data.
  void Refresh();

  // Marks the first tip whose name holds text (any case) and scrolls to it; false when none does.
  bool FindTip(const QString& text);
  // Stretches (factor > 1) or shrinks the tree's height only.
  void ZoomHeight(double factor);

  std::size_t TreeCount() const { return lines_.size(); }
  double RowHeight() const { return rowHeight_; }
  double TreeWidth() const { return treeWidth_; }
  // The note below the tree ("3 node labels left out: they would cover each other"; why a tree
  // is not rooted at its midpoint).
  QString Note() const;
  std::size_t CurrentTree() const { return current_; }
  const TreeScene* Scene() const;

 private:
  void Show(std::size_t number);
  void Zoom(double factor);
  void Redraw();
  void Fit();
  void Export();
  void ChooseFile();

  Session& session_;
  std::string fileName_;
  std::string followedStamp_;  // size and time of the followed file when last read
  std::vector<std::string> lines_;
  std::size_t current_ = 0;  // from 1; 0 = none shown
  std::uint64_t treesData_ = 0;  // fingerprint of the working data when lines_ were read
  GroupList shownGroups_;       // the groups the shown tree is coloured by
  bool treesPutAway_ = false;   // the trees read last belonged to other data
  std::optional<TreeScene> scene_;
  double rowHeight_ = 16;
  double treeWidth_ = 500;

  QLabel* position_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QComboBox* level_ = nullptr;
  QCheckBox* nodeLabels_ = nullptr;
  QSpinBox* hideBelow_ = nullptr;  // support percentages below it are left out
  QCheckBox* midpointRoot_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* note_ = nullptr;
  TreeCanvas* canvas_ = nullptr;
};

}  // namespace vorn::ui
