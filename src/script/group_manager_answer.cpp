#include "script/group_manager_answer.h"

#include <algorithm>
#include <functional>

#include "commands/shell/dialog_answer.h"
#include "script/script.h"

namespace vorn {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

// The drop-down item named by its text or by its 1-based number.
Result<int> DropDownItem(const std::vector<std::string>& items, const std::string& value, const char* list) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == value) return static_cast<int>(i);
  }
  if (!value.empty() && value.size() < 6 && value.find_first_not_of("0123456789") == std::string::npos) {
    const int number = std::stoi(value);
    if (number >= 1 && number <= static_cast<int>(items.size())) return number - 1;
  }
  return Failure{"\"" + value + "\" is not an item of the " + list + " drop-down"};
}

Result<bool> Flag(const std::string& value) {
  if (SameCaption(value, "true") || SameCaption(value, "yes") || value == "1") return true;
  if (SameCaption(value, "false") || SameCaption(value, "no") || value == "0") return false;
  return Failure{"\"" + value + "\" is not true or false"};
}

using Run = std::function<Status(GroupManagerView&, const std::string&)>;

struct ActionKind {
  const char* key;
  const char* value;  // what follows "=", "" for a button
  const char* help;
  Run run;
};

Run Press(void (GroupManagerView::*handler)()) {
  return [handler](GroupManagerView& dialog, const std::string&) {
    (dialog.*handler)();
    return Success();
  };
}

// Chooses a drop-down item, then runs the drop-down's handler.
Run Choose(int GroupManagerControls::*index, std::vector<std::string> GroupManagerControls::*items, const char* list,
           void (GroupManagerView::*handler)()) {
  return [=](GroupManagerView& dialog, const std::string& value) -> Status {
    auto item = DropDownItem(dialog.Controls().*items, value, list);
    if (!item) return Failure{item.error()};
    dialog.Controls().*index = *item;
    (dialog.*handler)();
    return Success();
  };
}

// Marks exactly the named items of a list, then runs handler.
Run Mark(std::vector<std::string> GroupManagerControls::*items, std::vector<bool> GroupManagerControls::*marks,
         const char* list, void (GroupManagerView::*handler)()) {
  return [=](GroupManagerView& dialog, const std::string& value) -> Status {
    auto marked = MarkItems(dialog.Controls().*items, value, list);
    if (!marked) return Failure{marked.error()};
    dialog.Controls().*marks = std::move(*marked);
    (dialog.*handler)();
    return Success();
  };
}

Run Type(std::string GroupManagerControls::*field) {
  return [=](GroupManagerView& dialog, const std::string& value) {
    dialog.Controls().*field = value;
    return Success();
  };
}

const std::vector<ActionKind>& Actions() {
  using C = GroupManagerControls;
  using V = GroupManagerView;
  static const std::vector<ActionKind> actions = {
      {"current", "GROUP", "choose the data set (current group) in the group drop-down",
       Choose(&C::groupIndex, &C::groupItems, "group", &V::NewGrpSlection)},
      {"full_path", "true | false", "tick or untick \"Show full data path\"",
       [](GroupManagerView& dialog, const std::string& value) -> Status {
         auto flag = Flag(value);
         if (!flag) return Failure{flag.error()};
         dialog.Controls().showFullPath = *flag;
         dialog.TogglePathFormat();
         return Success();
       }},
      {"pick", "NAME|NAME", "select these members of the data set and press \">>\"",
       Mark(&C::members, &C::membersSelected, "the member list", &V::Button1Click)},
      {"unpick", "NAME|NAME", "select these names of the data sub-set and press \"X\"",
       Mark(&C::picked, &C::pickedSelected, "the data sub-set", &V::Button2Click)},
      {"name", "TEXT", "type the name of the new sub-set", Type(&C::groupName)},
      {"accept", "", "press \"Accept sub-set\"", Press(&V::Button3Click)},
      {"delete", "", "press \"Delete sub-set\" (deletes the current group)", Press(&V::Button4Click)},
      {"locus_set", "SET", "choose the locus set shown in the locus-set drop-down",
       Choose(&C::locusSetIndex, &C::locusSetItems, "locus-set", &V::NewLocSelection)},
      {"loci", "NAME|NAME", "tick exactly these loci", Mark(&C::loci, &C::lociTicked, "the tick list", &V::LocNoRedo)},
      {"unselect_all", "", "press \"Unselect all\"", Press(&V::Button8Click)},
      {"locus_set_name", "TEXT", "type the name of the new locus set", Type(&C::locusSetNameField)},
      {"add", "", "press \"Add\" (a locus set of the ticked loci)", Press(&V::Button5Click)},
      {"delete_locus_set", "", "press \"Delete\" (deletes the shown locus set)", Press(&V::Button6Click)},
      {"select_current", "", "press \"Select current\" (work on the shown locus set after OK)",
       Press(&V::Button7Click)},
  };
  return actions;
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) text += (i ? separator : "") + items[i];
  return text;
}

std::string TickedText(const GroupManagerControls& controls) {
  std::vector<std::string> ticked;
  for (std::size_t l = 0; l < controls.loci.size(); ++l) {
    if (l < controls.lociTicked.size() && controls.lociTicked[l]) ticked.push_back(controls.loci[l]);
  }
  if (ticked.empty()) return "none";
  if (ticked.size() == controls.loci.size()) return "all " + std::to_string(ticked.size());
  return Joined(ticked, ", ");
}

}  // namespace

Result<std::vector<GroupManagerAction>> ParseGroupManagerActions(std::string_view line) {
  std::vector<GroupManagerAction> actions;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] == '"') quoted = !quoted;
    if (i < line.size() && (line[i] != ',' || quoted)) continue;
    const std::string_view part = Trim(line.substr(start, i - start));
    start = i + 1;
    if (part.empty()) return Failure{"an empty action in \"" + std::string(line) + "\""};
    GroupManagerAction action;
    action.text = std::string(part);
    const std::size_t equals = part.find('=');
    action.key = std::string(Trim(part.substr(0, equals)));
    if (equals != std::string_view::npos) action.value = Unquoted(Trim(part.substr(equals + 1)));
    actions.push_back(std::move(action));
  }
  if (quoted) return Failure{"unclosed quote in \"" + std::string(line) + "\""};
  return actions;
}

bool ClosesGroupManager(const GroupManagerAction& action) {
  return SameCaption(action.key, "OK") || SameCaption(action.key, "cancel");
}

Status RunGroupManagerAction(GroupManagerView& dialog, const GroupManagerAction& action) {
  for (const auto& kind : Actions()) {
    if (action.key != kind.key) continue;
    const bool wantsValue = *kind.value != '\0';
    const bool hasValue = action.text.find('=') != std::string::npos;
    if (wantsValue != hasValue) {
      return Failure{wantsValue ? "\"" + action.key + "\" takes a value: " + action.key + "=" + kind.value
                                : "\"" + action.key + "\" is a button and takes no value"};
    }
    return kind.run(dialog, action.value);
  }
  std::string keys;
  for (const auto& kind : Actions()) keys += std::string(keys.empty() ? "" : ", ") + kind.key;
  return Failure{"the Group Manager has no action \"" + action.key + "\" (there are: " + keys + ", OK, cancel)"};
}

std::vector<std::string> GroupManagerStateLines(const GroupManagerControls& controls) {
  return {
      "Data set: " + controls.dataSetName + " " + controls.dataSetCount,
      "Groups: " + Joined(controls.groupItems, " | "),
      std::string("Show full data path: ") + (controls.showFullPath ? "true" : "false"),
      "Data sub-set: " + (controls.picked.empty() ? "" : Joined(controls.picked, ", ") + " ") + controls.pickedCount,
      "Name: \"" + controls.groupName + "\"",
      "Locus set: " + controls.locusSetName + " " + controls.locusCount,
      "Locus sets: " + Joined(controls.locusSetItems, " | "),
      "Ticked: " + TickedText(controls),
      "Locus set name: \"" + controls.locusSetNameField + "\"",
  };
}

std::string DescribeGroupManagerActions() {
  std::string text;
  for (const auto& kind : Actions()) {
    std::string usage = kind.key;
    if (*kind.value) usage += std::string("=") + kind.value;
    usage.resize(std::max<std::size_t>(usage.size() + 1, 30), ' ');
    text += "    " + usage + kind.help + "\n";
  }
  text += "    OK | cancel                   close the dialog (without either it is closed with OK)\n";
  return text;
}

}  // namespace vorn
