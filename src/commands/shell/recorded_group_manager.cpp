#include "commands/shell/recorded_group_manager.h"

#include "commands/shell/session_recorder.h"

namespace vorn {
namespace {

// The items of a list whose marks are set, joined as a script lists them.
std::string Marked(const std::vector<std::string>& items, const std::vector<bool>& marks) {
  std::string joined;
  for (std::size_t i = 0; i < items.size() && i < marks.size(); ++i) {
    if (marks[i]) joined += (joined.empty() ? "" : "|") + items[i];
  }
  return joined;
}

std::string Chosen(const std::vector<std::string>& items, int index) {
  const auto at = static_cast<std::size_t>(index);
  return at < items.size() ? items[at] : std::to_string(index + 1);
}

}  // namespace

std::vector<std::string> RecordedGroupManager::AnswerLines(bool accepted) {
  if (accepted) Record("");
  std::vector<std::string> lines;
  for (const std::string& action : actions_) lines.push_back("Group Manager: " + action);
  lines.push_back(std::string("Group Manager: ") + (accepted ? "OK" : "cancel"));
  return lines;
}

void RecordedGroupManager::Record(std::string action) {
  if (ticksChanged_) {
    actions_.push_back("loci=" + QuotedAnswerValue(Marked(Controls().loci, Controls().lociTicked)));
    ticksChanged_ = false;
  }
  if (!action.empty()) actions_.push_back(std::move(action));
}

void RecordedGroupManager::NewGrpSlection() {
  Record("current=" + QuotedAnswerValue(Chosen(Controls().groupItems, Controls().groupIndex)));
  inner_.NewGrpSlection();
}

void RecordedGroupManager::TogglePathFormat() {
  Record(Controls().showFullPath ? "full_path=true" : "full_path=false");
  inner_.TogglePathFormat();
}

void RecordedGroupManager::Button1Click() {
  Record("pick=" + QuotedAnswerValue(Marked(Controls().members, Controls().membersSelected)));
  inner_.Button1Click();
}

void RecordedGroupManager::Button2Click() {
  Record("unpick=" + QuotedAnswerValue(Marked(Controls().picked, Controls().pickedSelected)));
  inner_.Button2Click();
}

void RecordedGroupManager::Button3Click() {
  Record("name=" + QuotedAnswerValue(Controls().groupName));
  Record("accept");
  inner_.Button3Click();
}

void RecordedGroupManager::Button4Click() {
  Record("delete");
  inner_.Button4Click();
}

void RecordedGroupManager::NewLocSelection() {
  Record("locus_set=" + QuotedAnswerValue(Chosen(Controls().locusSetItems, Controls().locusSetIndex)));
  inner_.NewLocSelection();
}

void RecordedGroupManager::LocNoRedo() {
  ticksChanged_ = true;
  inner_.LocNoRedo();
}

void RecordedGroupManager::Button5Click() {
  Record("locus_set_name=" + QuotedAnswerValue(Controls().locusSetNameField));
  Record("add");
  inner_.Button5Click();
}

void RecordedGroupManager::Button6Click() {
  Record("delete_locus_set");
  inner_.Button6Click();
}

void RecordedGroupManager::Button7Click() {
  Record("select_current");
  inner_.Button7Click();
}

void RecordedGroupManager::Button8Click() {
  Record("unselect_all");
  inner_.Button8Click();
}

}  // namespace vorn
