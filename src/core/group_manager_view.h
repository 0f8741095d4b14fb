// The Group Manager as a host sees it: the state of its controls and the handlers they run.
// A host shows the controls, writes what the user changed into them (a chosen drop-down item,
// selections, ticks, typed names), calls the control's handler and shows the controls again;
// the handlers keep the state consistent. Count labels read "n= " followed by a number.
#pragma once

#include <string>
#include <vector>

namespace vorn {

struct GroupManagerControls {
  // Upper half, "Source data set": the current group (the parent of new sub-groups).
  std::string dataSetName = "Data set name";  // its display name
  std::string dataSetCount;                   // its member count
  std::vector<std::string> groupItems;        // the group drop-down: display names of all groups
  int groupIndex = 0;                         // the drop-down's chosen item
  std::vector<std::string> members;           // the current group's members (multi-select)
  std::vector<bool> membersSelected;
  bool showFullPath = true;                   // "Show full data path"

  // "Data sub-set": the picked names (multi-select), their count and the new group's name.
  std::vector<std::string> picked;
  std::vector<bool> pickedSelected;
  std::string pickedCount;
  std::string groupName;

  // Lower half, "Locus sets" "(group independent)".
  std::string locusSetName = "Locus set name";  // the shown locus set's name
  std::string locusCount;                       // its member count, or the number of ticked loci
  std::vector<std::string> locusSetItems;       // the locus-set drop-down
  int locusSetIndex = 0;
  std::vector<std::string> loci;                // every locus (tick list)
  std::vector<bool> lociTicked;
  std::string locusSetNameField;                // "Name" of a new locus set
};

class GroupManagerView {
 public:
  virtual ~GroupManagerView() = default;

  virtual GroupManagerControls& Controls() = 0;

  // Group drop-down changed (to Controls().groupIndex).
  virtual void NewGrpSlection() = 0;
  // "Show full data path" clicked (Controls().showFullPath holds the box's new state).
  virtual void TogglePathFormat() = 0;
  virtual void Button1Click() = 0;  // ">>": the selected members join the picked list
  virtual void Button2Click() = 0;  // "X": the selected picked names leave it
  virtual void Button3Click() = 0;  // "Accept sub-set"
  virtual void Button4Click() = 0;  // "Delete sub-set"
  // Locus-set drop-down changed (to Controls().locusSetIndex).
  virtual void NewLocSelection() = 0;
  // A locus was ticked or unticked in Controls().lociTicked.
  virtual void LocNoRedo() = 0;
  virtual void Button5Click() = 0;  // "Add" (locus set)
  virtual void Button6Click() = 0;  // "Delete" (locus set)
  virtual void Button7Click() = 0;  // "Select current"
  virtual void Button8Click() = 0;  // "Unselect all"
};

}  // namespace vorn
