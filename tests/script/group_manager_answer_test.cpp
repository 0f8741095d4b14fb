#include "script/group_manager_answer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "commands/all_commands.h"
#include "script/script_runner.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

// Records which handlers ran, on controls a test fills.
class FakeDialog : public GroupManagerView {
 public:
  GroupManagerControls controls;
  std::vector<std::string> ran;

  GroupManagerControls& Controls() override { return controls; }
  void NewGrpSlection() override { ran.push_back("NewGrpSlection"); }
  void TogglePathFormat() override { ran.push_back("TogglePathFormat"); }
  void Button1Click() override { ran.push_back("Button1Click"); }
  void Button2Click() override { ran.push_back("Button2Click"); }
  void Button3Click() override { ran.push_back("Button3Click"); }
  void Button4Click() override { ran.push_back("Button4Click"); }
  void NewLocSelection() override { ran.push_back("NewLocSelection"); }
  void LocNoRedo() override { ran.push_back("LocNoRedo"); }
  void Button5Click() override { ran.push_back("Button5Click"); }
  void Button6Click() override { ran.push_back("Button6Click"); }
  void Button7Click() override { ran.push_back("Button7Click"); }
  void Button8Click() override { ran.push_back("Button8Click"); }
};

Status RunLine(FakeDialog& dialog, std::string_view line) {
  auto actions = ParseGroupManagerActions(line);
  if (!actions) return Failure{actions.error()};
  for (const auto& action : *actions) {
    if (auto ran = RunGroupManagerAction(dialog, action); !ran) return ran;
  }
  return Success();
}

TEST(GroupManagerAnswer, ActionsSplitAtCommasOutsideQuotes) {
  auto actions = ParseGroupManagerActions(R"(current=AllData/A, name=" a, b ", accept ,OK)");
  ASSERT_TRUE(actions.ok()) << actions.error();
  ASSERT_EQ(actions->size(), 4u);
  EXPECT_EQ((*actions)[0].key, "current");
  EXPECT_EQ((*actions)[0].value, "AllData/A");
  EXPECT_EQ((*actions)[1].value, " a, b ");
  EXPECT_EQ((*actions)[2].key, "accept");
  EXPECT_TRUE(ClosesGroupManager((*actions)[3]));
  EXPECT_FALSE(ParseGroupManagerActions("accept,,OK").ok());
  EXPECT_FALSE(ParseGroupManagerActions("name=\"open").ok());
}

TEST(GroupManagerAnswer, EachActionWorksItsControlAndRunsItsHandler) {
  FakeDialog dialog;
  dialog.controls.groupItems = {"AllData", "AllData/A"};
  dialog.controls.members = {"x", "y", "z"};
  dialog.controls.loci = {"L1", "L2"};
  dialog.controls.locusSetItems = {"AllLoci", "S"};
  ASSERT_TRUE(RunLine(dialog, "current=AllData/A, pick=z|x, name=Sub, accept, full_path=no, current=1").ok());
  EXPECT_EQ(dialog.controls.groupIndex, 0);
  EXPECT_EQ(dialog.controls.membersSelected, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(dialog.controls.groupName, "Sub");
  EXPECT_FALSE(dialog.controls.showFullPath);
  ASSERT_TRUE(RunLine(dialog, "loci=L2, locus_set_name=N, add, locus_set=S, select_current, delete_locus_set").ok());
  EXPECT_EQ(dialog.controls.lociTicked, (std::vector<bool>{false, true}));
  EXPECT_EQ(dialog.controls.locusSetIndex, 1);
  ASSERT_TRUE(RunLine(dialog, "loci=, unselect_all, delete").ok());
  EXPECT_EQ(dialog.ran, (std::vector<std::string>{"NewGrpSlection", "Button1Click", "Button3Click", "TogglePathFormat",
                                                  "NewGrpSlection", "LocNoRedo", "Button5Click", "NewLocSelection",
                                                  "Button7Click", "Button6Click", "LocNoRedo", "Button8Click",
                                                  "Button4Click"}));
}

TEST(GroupManagerAnswer, MistakesAreNamed) {
  FakeDialog dialog;
  dialog.controls.groupItems = {"AllData"};
  dialog.controls.members = {"x"};
  EXPECT_EQ(RunLine(dialog, "current=Nowhere").error(), "\"Nowhere\" is not an item of the group drop-down");
  EXPECT_EQ(RunLine(dialog, "pick=w").error(), "\"w\" is not an item of the member list");
  EXPECT_EQ(RunLine(dialog, "accept=now").error(), "\"accept\" is a button and takes no value");
  EXPECT_EQ(RunLine(dialog, "name").error(), "\"name\" takes a value: name=TEXT");
  EXPECT_EQ(RunLine(dialog, "full_path=maybe").error(), "\"maybe\" is not true or false");
  EXPECT_EQ(RunLine(dialog, "press").error().rfind("the Group Manager has no action \"press\" (there are: current,", 0),
            0u);
  EXPECT_TRUE(dialog.ran.empty());
}

TEST(GroupManagerAnswer, StateLinesDescribeTheWindow) {
  GroupManagerControls controls;
  controls.dataSetName = "AllData";
  controls.dataSetCount = "n= 3";
  controls.groupItems = {"AllData", "AllData/A"};
  controls.picked = {"x", "y"};
  controls.pickedCount = "n= 2";
  controls.groupName = "Sub";
  controls.locusSetName = "AllLoci";
  controls.locusCount = "n= 1";
  controls.locusSetItems = {"AllLoci"};
  controls.loci = {"L1", "L2"};
  controls.lociTicked = {false, true};
  EXPECT_EQ(GroupManagerStateLines(controls),
            (std::vector<std::string>{"Data set: AllData n= 3", "Groups: AllData | AllData/A", "Show full data path: true",
                                      "Data sub-set: x, y n= 2", "Name: \"Sub\"", "Locus set: AllLoci n= 1",
                                      "Locus sets: AllLoci", "Ticked: L2", "Locus set name: \"\""}));
}

TEST(GroupManagerAnswer, HelpListsEveryAction) {
  const std::string help = HelpText();
  EXPECT_NE(help.find("Group Manager (Group Manager: ACTION, ACTION ...):"), std::string::npos);
  for (const char* usage : {"current=GROUP", "full_path=true | false", "pick=NAME|NAME", "unpick=NAME|NAME",
                            "name=TEXT", "accept", "delete", "locus_set=SET", "loci=NAME|NAME", "unselect_all",
                            "locus_set_name=TEXT", "add", "delete_locus_set", "select_current", "OK | cancel"}) {
    EXPECT_NE(help.find(std::string("\n    ") + usage + " "), std::string::npos) << usage;
  }
}

// A Group Manager worked in a window session (a group of picked members, a locus set of ticked
// loci made the working one) is written down control by control, and the
// script host replays it to the same saved data file.
TEST(GroupManagerAnswer, ARecordedSessionReplaysTheGroupManagersWork) {
  testing::TempDir dir;
  dir.Enter();
  dir.Write("data.txt", testing::kFiveIndividuals);
  testing::RecordingHost host;
  SessionRecorder recorder(host);
  TMainPrg app(recorder, AllCommands());
  app.recorder = &recorder;
  app.Start(7);
  const auto run = [&app](std::string_view handler) { app.Run(*FindByHandler(app.menu, handler)); };
  host.files.push_back("data.txt");
  run("Load1Click");
  host.groupManagers.push_back([](GroupManagerView& dialog) {
    GroupManagerControls& controls = dialog.Controls();
    controls.membersSelected = {true, false, true, false, false};
    dialog.Button1Click();
    controls.groupName = "Pair";
    dialog.Button3Click();
    controls.lociTicked.assign(controls.loci.size(), false);
    for (const std::size_t locus : {0, 2, 4}) {
      controls.lociTicked[locus] = true;
      dialog.LocNoRedo();
    }
    controls.locusSetNameField = "Odd";
    dialog.Button5Click();
    dialog.Button7Click();
    return true;
  });
  run("Groups1Click");
  host.files.push_back("saved.txt");
  host.dialogs.push_back([](DialogForm& form) {
    form["include_groups"].checked = true;
    return true;
  });
  run("Save1Click");
  const std::string script = recorder.Script(7);
  EXPECT_NE(script.find("DataMatrix > Group Manager\n    Group Manager: pick=A|C\n"
                        "    Group Manager: name=Pair\n    Group Manager: accept\n"
                        "    Group Manager: loci=Locus1|Locus3|Locus5\n    Group Manager: locus_set_name=Odd\n"
                        "    Group Manager: add\n    Group Manager: select_current\n    Group Manager: OK\n"),
            std::string::npos)
      << script;

  testing::TempDir replay;
  replay.Enter();
  replay.Write("data.txt", testing::kFiveIndividuals);
  ScriptOptions options;
  options.path = replay.Write("session.vorn", script);
  options.seed = 7;
  options.strict = true;
  std::ostringstream transcript, errors;
  ASSERT_EQ(RunScript(options, transcript, errors), 0) << errors.str();
  EXPECT_EQ(testing::ReadFile(replay.File("saved.txt")), testing::ReadFile(dir.File("saved.txt")));
  EXPECT_NE(testing::ReadFile(dir.File("saved.txt")).find("AllData/Pair= A, C;"), std::string::npos);
}

}  // namespace
}  // namespace vorn
