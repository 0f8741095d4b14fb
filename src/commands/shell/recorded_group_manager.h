// A Group Manager between a host's window and the dialog that writes down each control the user
// worked as a script action ("current=AllData/Karst", "pick=Ka01|Ka02", "name=Uphill",
// "accept" ...), so that a saved session replays the groups and locus sets it built.
#pragma once

#include <string>
#include <vector>

#include "core/group_manager_view.h"

namespace vorn {

class RecordedGroupManager : public GroupManagerView {
 public:
  explicit RecordedGroupManager(GroupManagerView& inner) : inner_(inner) {}

  // The actions worked so far, one answer line each ("Group Manager: pick=Ka01|Ka02"), closed
  // by "OK" or "cancel" as accepted says.
  std::vector<std::string> AnswerLines(bool accepted);

  GroupManagerControls& Controls() override { return inner_.Controls(); }
  void NewGrpSlection() override;
  void TogglePathFormat() override;
  void Button1Click() override;
  void Button2Click() override;
  void Button3Click() override;
  void Button4Click() override;
  void NewLocSelection() override;
  void LocNoRedo() override;
  void Button5Click() override;
  void Button6Click() override;
  void Button7Click() override;
  void Button8Click() override;

 private:
  // Writes the ticks of the loci, when they changed since the last action, before any other.
  void Record(std::string action);

  GroupManagerView& inner_;
  std::vector<std::string> actions_;
  bool ticksChanged_ = false;
};

}  // namespace vorn
