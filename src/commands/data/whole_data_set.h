// The guard of the commands that work on the populations of the whole data set: it selects
// AllData for the run and the group that was active before again when the run ends.
#pragma once

#include <cstdint>

#include "commands/shell/main_program.h"
#include "groups/selection.h"

namespace vorn {

// Goes back to the whole data set while a group is active, as "Select Group Only > AllData"
// does: the report line and the filter-log step; for commands that replace the groups.
void ReturnToWholeDataSet(TMainPrg& app);

class WholeDataSet {
 public:
  explicit WholeDataSet(TMainPrg& app)
      : app_(app), remembered_(app.ws.groups.activeGroup), selected_(app.Check(SelectGroup(app.ws, 0))) {}
  ~WholeDataSet() { app_.Check(SelectGroup(app_.ws, remembered_)); }
  // False after its message when AllData could not be selected: the command stops.
  bool Selected() const { return selected_; }
  WholeDataSet(const WholeDataSet&) = delete;
  WholeDataSet& operator=(const WholeDataSet&) = delete;

 private:
  TMainPrg& app_;
  std::uint16_t remembered_;
  bool selected_;
};

}  // namespace vorn
