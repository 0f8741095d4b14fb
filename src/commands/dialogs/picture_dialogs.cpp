#include "commands/dialogs/picture_dialogs.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"
#include "pictures/tree_layout.h"

namespace vorn {
namespace {

constexpr NumberField kTree{"tree", "Tree number in the file", "The tree number", 1, 1000000};
constexpr NumberField kTreeLevel{"level", "Colour tips by the groups of level, 0 for none", "The group level", 0, 1000};
constexpr NumberField kHideBelow{"hide_below", "Leave out support percentages below, 0 to show all",
                                 "The support threshold", 0, 100};
constexpr NumberField kRowHeight{"row_height", "Pixels from one tip to the next", "The row height",
                                 static_cast<std::size_t>(kReadableTreeRow), 100};
constexpr NumberField kTreeWidth{"width", "Pixels from the root to the tips", "The width", 100, 20000};
constexpr NumberField kXAxis{"x_axis", "Horizontal axis", "The horizontal axis", 1, 1000000};
constexpr NumberField kYAxis{"y_axis", "Vertical axis", "The vertical axis", 1, 1000000};
constexpr NumberField kPlotLevel{"level", "Colour points by the groups of level, 0 for none", "The group level", 0, 1000};
constexpr NumberField kPlotWidth{"width", "Width in pixels", "The width", 200, 8000};
constexpr NumberField kPlotHeight{"height", "Height in pixels", "The height", 200, 8000};
constexpr NumberField kShownK{"k", "K drawn, 0 for a panel per K", "K", 0, 100};

}  // namespace

TreePictureDialog::TreePictureDialog() : ModalDialog("Save Tree Picture") {
  const TreePictureChoices defaults;
  form.Add(PathFieldControl("tree_file", "Tree file", PathKind::Open, kTreeOrAnyFilter));
  form.Add(Field(kTree, defaults.tree));
  form.Add(Field(kTreeLevel, defaults.level));
  Control labels = CheckBoxControl("node_labels", "Show labels at inner nodes (percentages, R)");
  labels.checked = defaults.nodeLabels;
  form.Add(labels);
  form.Add(Field(kHideBelow, defaults.hideBelow));
  form.Add(Field(kRowHeight, defaults.rowHeight));
  form.Add(Field(kTreeWidth, defaults.width));
  Control midpoint = CheckBoxControl("midpoint_root", "Root at the midpoint (in the picture only)");
  midpoint.checked = defaults.midpointRoot;
  form.Add(midpoint);
}

std::optional<TreePictureChoices> TreePictureDialog::Execute(Session& session, const std::string& treeFile) {
  if (form["tree_file"].text.empty()) form["tree_file"].text = treeFile;
  if (!ShowModal(session.host)) return std::nullopt;
  TreePictureChoices choices;
  choices.treeFile = form["tree_file"].text;
  choices.nodeLabels = form["node_labels"].checked;
  choices.midpointRoot = form["midpoint_root"].checked;
  if (choices.treeFile.empty()) {
    session.ErrorBox("Please name the tree file.");
    return std::nullopt;
  }
  // One box at most: the first field that is refused.
  std::optional<std::size_t> tree, level, hideBelow, rowHeight, width;
  if (!(tree = Number(session, form, kTree)) || !(level = Number(session, form, kTreeLevel)) ||
      !(hideBelow = Number(session, form, kHideBelow)) ||
      !(rowHeight = Number(session, form, kRowHeight)) || !(width = Number(session, form, kTreeWidth))) {
    return std::nullopt;
  }
  choices.hideBelow = *hideBelow;
  choices.tree = *tree, choices.level = *level, choices.rowHeight = *rowHeight, choices.width = *width;
  return choices;
}

PcoaPlotDialog::PcoaPlotDialog() : ModalDialog("Save PCoA Plot") {
  const PcoaPlotChoices defaults;
  form.Add(Field(kXAxis, defaults.xAxis));
  form.Add(Field(kYAxis, defaults.yAxis));
  form.Add(Field(kPlotLevel, defaults.level));
  form.Add(CheckBoxControl("labels", "Label every point"));
  form.Add(Field(kPlotWidth, defaults.width));
  form.Add(Field(kPlotHeight, defaults.height));
}

std::optional<PcoaPlotChoices> PcoaPlotDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  PcoaPlotChoices choices;
  choices.pointLabels = form["labels"].checked;
  std::optional<std::size_t> xAxis, yAxis, level, width, height;
  if (!(xAxis = Number(session, form, kXAxis)) || !(yAxis = Number(session, form, kYAxis)) ||
      !(level = Number(session, form, kPlotLevel)) || !(width = Number(session, form, kPlotWidth)) ||
      !(height = Number(session, form, kPlotHeight))) {
    return std::nullopt;
  }
  choices.xAxis = *xAxis, choices.yAxis = *yAxis, choices.level = *level, choices.width = *width, choices.height = *height;
  return choices;
}

PlotSizeDialog::PlotSizeDialog(const std::string& caption) : ModalDialog(caption) {
  const PlotSize defaults;
  form.Add(Field(kPlotWidth, defaults.width));
  form.Add(Field(kPlotHeight, defaults.height));
}

std::optional<PlotSize> PlotSizeDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  std::optional<std::size_t> width, height;
  if (!(width = Number(session, form, kPlotWidth)) || !(height = Number(session, form, kPlotHeight))) return std::nullopt;
  return PlotSize{*width, *height};
}

StructurePlotDialog::StructurePlotDialog() : ModalDialog("Save Structure Plot") {
  const StructurePlotChoices defaults;
  form.Add(Field(kShownK, defaults.k));
  Control curves = CheckBoxControl("curves", "With the dK and cross-validation curves");
  curves.checked = defaults.curves;
  form.Add(curves);
  form.Add(Field(kPlotWidth, defaults.size.width));
  form.Add(Field(kPlotHeight, defaults.size.height));
}

std::optional<StructurePlotChoices> StructurePlotDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  std::optional<std::size_t> k, width, height;
  if (!(k = Number(session, form, kShownK)) || !(width = Number(session, form, kPlotWidth)) ||
      !(height = Number(session, form, kPlotHeight))) {
    return std::nullopt;
  }
  return StructurePlotChoices{*k, form["curves"].checked, PlotSize{*width, *height}};
}

}  // namespace vorn
