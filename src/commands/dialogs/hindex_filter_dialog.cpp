#include "commands/dialogs/hindex_filter_dialog.h"

#include <algorithm>

namespace vorn {
namespace {

constexpr const char* kKeys[] = {"parent1", "parent2", "tested"};

}  // namespace

THinExpFilt::THinExpFilt() : ModalDialog("hindex export filter") {
  form.Add(DropDownControl("parent1", "Select Parent 1"));
  form.Add(DropDownControl("parent2", "Select Parent 2"));
  form.Add(DropDownControl("tested", "Individuals to be tested"));
}

std::optional<HindexGroups> THinExpFilt::Execute(Host& host, const std::vector<std::string>& groupNames) {
  for (const char* key : kKeys) {
    Control& list = form[key];
    list.items = groupNames;
    list.selected = std::clamp(list.selected, 0, std::max(0, static_cast<int>(groupNames.size()) - 1));
  }
  if (!ShowModal(host)) return std::nullopt;
  const auto chosen = [&](const char* key) {
    return static_cast<std::size_t>(std::clamp(form[key].selected, 0, static_cast<int>(groupNames.size()) - 1));
  };
  return HindexGroups{chosen("parent1"), chosen("parent2"), chosen("tested")};
}

}  // namespace vorn
