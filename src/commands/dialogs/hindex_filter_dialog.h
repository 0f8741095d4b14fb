// THinExpFilt, "hindex export filter": the two parental groups and the group of individuals to
// be tested, each chosen in a drop-down list of all groups (AllData first). The choices are
// kept between uses while the list still has them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "commands/dialogs/modal_dialog.h"

namespace vorn {

struct HindexGroups {
  std::size_t parent1 = 0;
  std::size_t parent2 = 0;
  std::size_t tested = 0;
};

class THinExpFilt : public ModalDialog {
 public:
  THinExpFilt();

  // Shows the groups by their display names; the three positions on OK, nothing on Cancel.
  std::optional<HindexGroups> Execute(Host& host, const std::vector<std::string>& groupNames);
};

}  // namespace vorn
