#include "commands/picture_dialogs.h"

#include <charconv>

#include "pictures/tree_layout.h"

namespace vorn {
namespace {

Control NumberField(std::string key, std::string caption, std::size_t value) {
  Control field = TextFieldControl(std::move(key), std::move(caption), 6, true);
  field.text = std::to_string(value);
  return field;
}

// The field's whole number within [low, high]; nothing otherwise.
std::optional<std::size_t> Number(const DialogForm& form, std::string_view key, std::size_t low, std::size_t high) {
  const std::string& text = form[key].text;
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

TreePictureDialog::TreePictureDialog() : ModalDialog("Save Tree Picture") {
  const TreePictureChoices defaults;
  form.Add(TextFieldControl("tree_file", "Tree file"));
  form.Add(NumberField("tree", "Tree number in the file", defaults.tree));
  form.Add(NumberField("level", "Colour tips by the groups of level (0 = none)", defaults.level));
  Control labels = CheckBoxControl("node_labels", "Show labels at inner nodes (percentages, R)");
  labels.checked = defaults.nodeLabels;
  form.Add(labels);
  form.Add(NumberField("hide_below", "Leave out support percentages below (0 = show all)", defaults.hideBelow));
  form.Add(NumberField("row_height", "Pixels from one tip to the next (9 to 100)", defaults.rowHeight));
  form.Add(NumberField("width", "Pixels from the root to the tips (100 to 20000)", defaults.width));
}

std::optional<TreePictureChoices> TreePictureDialog::Execute(Session& session, const std::string& treeFile) {
  if (form["tree_file"].text.empty()) form["tree_file"].text = treeFile;
  if (!ShowModal(session.host)) return std::nullopt;
  TreePictureChoices choices;
  choices.treeFile = form["tree_file"].text;
  choices.nodeLabels = form["node_labels"].checked;
  const auto tree = Number(form, "tree", 1, 1000000);
  const auto level = Number(form, "level", 0, 1000);
  const auto hideBelow = Number(form, "hide_below", 0, 100);
  const auto rowHeight = Number(form, "row_height", static_cast<std::size_t>(kReadableTreeRow), 100);
  const auto width = Number(form, "width", 100, 20000);
  if (choices.treeFile.empty() || !tree || !level || !hideBelow || !rowHeight || !width) {
    session.ErrorBox(choices.treeFile.empty() ? "Please name the tree file." : kInvalidInput);
    return std::nullopt;
  }
  choices.hideBelow = *hideBelow;
  choices.tree = *tree, choices.level = *level, choices.rowHeight = *rowHeight, choices.width = *width;
  return choices;
}

PcoaPlotDialog::PcoaPlotDialog() : ModalDialog("Save PCoA Plot") {
  const PcoaPlotChoices defaults;
  form.Add(NumberField("x_axis", "Horizontal axis", defaults.xAxis));
  form.Add(NumberField("y_axis", "Vertical axis", defaults.yAxis));
  form.Add(NumberField("level", "Colour points by the groups of level (0 = none)", defaults.level));
  form.Add(CheckBoxControl("labels", "Label every point"));
  form.Add(NumberField("width", "Width in pixels (200 to 8000)", defaults.width));
  form.Add(NumberField("height", "Height in pixels (200 to 8000)", defaults.height));
}

std::optional<PcoaPlotChoices> PcoaPlotDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  PcoaPlotChoices choices;
  choices.pointLabels = form["labels"].checked;
  const auto xAxis = Number(form, "x_axis", 1, 1000000);
  const auto yAxis = Number(form, "y_axis", 1, 1000000);
  const auto level = Number(form, "level", 0, 1000);
  const auto width = Number(form, "width", 200, 8000);
  const auto height = Number(form, "height", 200, 8000);
  if (!xAxis || !yAxis || !level || !width || !height) {
    session.ErrorBox(kInvalidInput);
    return std::nullopt;
  }
  choices.xAxis = *xAxis, choices.yAxis = *yAxis, choices.level = *level, choices.width = *width, choices.height = *height;
  return choices;
}

}  // namespace vorn
