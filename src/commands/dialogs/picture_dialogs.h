// The choices of the picture commands, kept between uses like every settings dialog:
// "Save Tree Picture" (tree file, tree number, group level, inner node labels, size, rooting at
// the midpoint), "Save PCoA Plot" (axes, group level, point labels, size), "Save Mantel Plot" and
// "Save Correlogram" (size) and "Save Structure Plot" (the K drawn, the curves, size).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

struct TreePictureChoices {
  std::string treeFile;
  std::size_t tree = 1;
  std::size_t level = 1;
  bool nodeLabels = true;
  std::size_t hideBelow = 0;   // support percentages below it are left out
  std::size_t rowHeight = 16;  // pixels per tip
  std::size_t width = 600;     // pixels from the root to the tips
  bool midpointRoot = false;   // drawn rooted at its midpoint (the file is not changed)
};

struct PcoaPlotChoices {
  std::size_t xAxis = 1;
  std::size_t yAxis = 2;
  std::size_t level = 1;
  bool pointLabels = false;
  std::size_t width = 800;
  std::size_t height = 640;
};

struct PlotSize {
  std::size_t width = 800;
  std::size_t height = 640;
};

class TreePictureDialog : public ModalDialog {
 public:
  TreePictureDialog();
  // Shows the dialog with treeFile filled in when its field is empty; nothing on Cancel, and a
  // message on a number out of range.
  std::optional<TreePictureChoices> Execute(Session& session, const std::string& treeFile);
};

class PcoaPlotDialog : public ModalDialog {
 public:
  PcoaPlotDialog();
  std::optional<PcoaPlotChoices> Execute(Session& session);
};

// The size of a picture that has nothing else to choose: "Save Mantel Plot", "Save Correlogram".
class PlotSizeDialog : public ModalDialog {
 public:
  explicit PlotSizeDialog(const std::string& caption);
  std::optional<PlotSize> Execute(Session& session);
};

struct StructurePlotChoices {
  std::size_t k = 0;  // the one K drawn, 0 for a panel per K
  bool curves = true;  // with the dK and cross-validation curves
  PlotSize size{1000, 640};
};

class StructurePlotDialog : public ModalDialog {
 public:
  StructurePlotDialog();
  std::optional<StructurePlotChoices> Execute(Session& session);
};

}  // namespace vorn
