// Working the Group Manager from script answer lines, "Group Manager: ACTION, ACTION ...", each
// action doing what a user does with one control (choose a group, pick members, type a name,
// press a button), and showing the dialog's state in the transcript.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/group_manager_view.h"
#include "core/result.h"

namespace vorn {

struct GroupManagerAction {
  std::string key;    // "pick", "accept", "OK" ...
  std::string value;  // after "=", without its quotes
  std::string text;   // as written
};

// The actions of one answer line, split at the commas between them. A value may be written in
// double quotes to keep commas or spaces.
Result<std::vector<GroupManagerAction>> ParseGroupManagerActions(std::string_view line);

// True for "OK" and "cancel", which close the dialog rather than work a control.
bool ClosesGroupManager(const GroupManagerAction& action);

// Works the control the action names and runs its handler.
Status RunGroupManagerAction(GroupManagerView& dialog, const GroupManagerAction& action);

// The dialog's state as the transcript shows it: one "Label: text" line per part of the window.
std::vector<std::string> GroupManagerStateLines(const GroupManagerControls& controls);

// The actions and what they do, for --help.
std::string DescribeGroupManagerActions();

}  // namespace vorn
