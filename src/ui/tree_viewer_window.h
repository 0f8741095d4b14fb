// The tree viewer: one tree of a tree file at a time (previous / next, "Tree 2 of 5"), drawn as
// a rectangular dendrogram with its tips coloured by the groups of a chosen level; zoom, scroll,
// fit to the window, and export of the shown tree as SVG or PNG.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/session.h"
#include "pictures/picture_scenes.h"

class QCheckBox;
class QComboBox;
class QLabel;
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
  // The group levels of the workspace as they stand now.
  void RefreshGroups();

  std::size_t TreeCount() const { return lines_.size(); }
  std::size_t CurrentTree() const { return current_; }
  const TreeScene* Scene() const;

 private:
  void Show(std::size_t number);
  void Zoom(double factor);
  void Fit();
  void Export();
  void ChooseFile();

  Session& session_;
  std::string fileName_;
  std::vector<std::string> lines_;
  std::size_t current_ = 0;  // from 1; 0 = none shown
  std::optional<TreeScene> scene_;
  double rowHeight_ = 16;
  double treeWidth_ = 500;

  QLabel* position_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QComboBox* level_ = nullptr;
  QCheckBox* nodeLabels_ = nullptr;
  QSpinBox* hideBelow_ = nullptr;  // support percentages below it are left out
  QScrollArea* scroll_ = nullptr;
  TreeCanvas* canvas_ = nullptr;
};

}  // namespace vorn::ui
