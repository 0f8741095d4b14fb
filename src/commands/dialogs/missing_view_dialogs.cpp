#include "commands/dialogs/missing_view_dialogs.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"

namespace vorn {
namespace {

constexpr NumberField kMapLevel{"level", "Order and colour individuals by the groups of level, 0 for none",
                                "The group level", 0, 1000};
constexpr NumberField kMapWidth{"width", "Width in pixels", "The width", 300, 8000};
constexpr NumberField kMapHeight{"height", "Height in pixels", "The height", 300, 8000};
constexpr NumberField kCheckPermutations{"permutations", "Random permutations, 0 for none",
                                         "The number of permutations", 0, 1000000};

}  // namespace

MissingDataMapDialog::MissingDataMapDialog() : ModalDialog("Missing Data Map") {
  const MissingMapChoices defaults;
  form.Add(Field(kMapLevel, defaults.level));
  Control sort = CheckBoxControl("sort_loci", "Sort loci by their share of missing scores");
  sort.checked = defaults.sortLoci;
  form.Add(sort);
  form.Add(Field(kMapWidth, defaults.width));
  form.Add(Field(kMapHeight, defaults.height));
}

std::optional<MissingMapChoices> MissingDataMapDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  std::optional<std::size_t> level, width, height;
  if (!(level = Number(session, form, kMapLevel)) || !(width = Number(session, form, kMapWidth)) ||
      !(height = Number(session, form, kMapHeight))) {
    return std::nullopt;
  }
  return MissingMapChoices{*level, form["sort_loci"].checked, *width, *height};
}

MissingDataCheckDialog::MissingDataCheckDialog() : ModalDialog("Missing Data Check") {
  const MissingCheckChoices defaults;
  form.Add(Field(kCheckPermutations, defaults.permutations));
  form.Add(PathFieldControl("table_file", "Tab-separated copy of the tables (empty: none)", PathKind::Save, kTextFilter));
}

std::optional<MissingCheckChoices> MissingDataCheckDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  const auto permutations = Number(session, form, kCheckPermutations);
  if (!permutations) return std::nullopt;
  return MissingCheckChoices{static_cast<std::int32_t>(*permutations), form["table_file"].text};
}

ComparableLociDialog::ComparableLociDialog() : ModalDialog("Comparable Loci") {
  form.Add(PathFieldControl("file", "Tab-separated matrix of the loci scored in both of each pair, written with "
                                    "every similarity command (empty: none)", PathKind::Save, kTextFilter));
}

bool ComparableLociDialog::Execute(Session& session, std::string& file) {
  form["file"].text = file;
  if (!ShowModal(session.host)) return false;
  file = form["file"].text;
  return true;
}

}  // namespace vorn
