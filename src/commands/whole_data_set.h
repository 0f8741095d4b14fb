// The guard of the commands that work on the populations of the whole data set: it selects
// AllData for the run and the group that was active before again when the run ends.
#pragma once

#include <cstdint>

#include "commands/main_program.h"
#include "groups/selection.h"

namespace vorn {

class WholeDataSet {
 public:
  explicit WholeDataSet(TMainPrg& app) : app_(app), remembered_(app.ws.groups.activeGroup) {}
  ~WholeDataSet() { app_.Check(SelectGroup(app_.ws, remembered_)); }
  WholeDataSet(const WholeDataSet&) = delete;
  WholeDataSet& operator=(const WholeDataSet&) = delete;

 private:
  TMainPrg& app_;
  std::uint16_t remembered_;
};

}  // namespace vorn
