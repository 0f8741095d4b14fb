// The Group Manager driven without a window: a test works the controls and runs the handlers
// as a host does.
#include <algorithm>

#include "commands/all_commands.h"
#include "groups/selection.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

const char* const kNameExists = "Proposed group name already exits";

std::vector<bool> Marks(const std::vector<std::string>& items, const std::vector<std::string>& names) {
  std::vector<bool> marks(items.size(), false);
  for (std::size_t i = 0; i < items.size(); ++i) {
    marks[i] = std::find(names.begin(), names.end(), items[i]) != names.end();
  }
  return marks;
}

int Position(const std::vector<std::string>& items, const std::string& item) {
  const auto found = std::find(items.begin(), items.end(), item);
  EXPECT_NE(found, items.end()) << item;
  return static_cast<int>(found - items.begin());
}

// The steps of a user, one control at a time.
void Pick(GroupManagerView& dialog, const std::vector<std::string>& names) {
  dialog.Controls().membersSelected = Marks(dialog.Controls().members, names);
  dialog.Button1Click();
}

void AddGroup(GroupManagerView& dialog, const std::vector<std::string>& names, const std::string& name) {
  Pick(dialog, names);
  dialog.Controls().groupName = name;
  dialog.Button3Click();
}

void ChooseGroup(GroupManagerView& dialog, const std::string& item) {
  dialog.Controls().groupIndex = Position(dialog.Controls().groupItems, item);
  dialog.NewGrpSlection();
}

void Tick(GroupManagerView& dialog, const std::vector<std::string>& loci) {
  dialog.Controls().lociTicked = Marks(dialog.Controls().loci, loci);
  dialog.LocNoRedo();
}

void AddLocusSet(GroupManagerView& dialog, const std::vector<std::string>& loci, const std::string& name) {
  Tick(dialog, loci);
  dialog.Controls().locusSetNameField = name;
  dialog.Button5Click();
}

void ShowLocusSet(GroupManagerView& dialog, const std::string& item) {
  dialog.Controls().locusSetIndex = Position(dialog.Controls().locusSetItems, item);
  dialog.NewLocSelection();
}

std::vector<std::string> Names(const GroupList& list) {
  std::vector<std::string> names;
  for (const auto& entry : list) names.push_back(entry.name);
  return names;
}

class GroupManagerTest : public testing::CommandTest {
 protected:
  GroupManagerTest() {
    Load("ind1 ind2 ind3 ind4 ind5 ind6\n1 0 1 0 1 0\n0 1 1 0 0 1\n1 1 0 ? 0 1\n0 0 0 1 1 1\n*\n");
    full = app.ws.data;
  }

  // Opens the Group Manager, lets work use it, and closes it with OK (true) or Cancel.
  void Manage(const std::function<bool(GroupManagerView&)>& work) {
    host.groupManagers.push_back(work);
    Run("Groups1Click");
  }

  DataMatrix full;
};

TEST_F(GroupManagerTest, OpensOnTheWholeDataSet) {
  GroupManagerControls shown;
  Manage([&](GroupManagerView& dialog) {
    shown = dialog.Controls();
    return false;
  });
  EXPECT_EQ(host.reports, std::vector<std::string>{"Calling Group Manager"});
  EXPECT_EQ(shown.dataSetName, "AllData");
  EXPECT_EQ(shown.dataSetCount, "n= 6");
  EXPECT_EQ(shown.groupItems, std::vector<std::string>{"AllData"});
  EXPECT_EQ(shown.members, full.individualLabels.All());
  EXPECT_TRUE(shown.picked.empty());
  EXPECT_EQ(shown.pickedCount, "n= 0");
  EXPECT_EQ(shown.locusSetName, "AllLoci");
  EXPECT_EQ(shown.locusCount, "n= 4");
  EXPECT_EQ(shown.locusSetItems, std::vector<std::string>{"AllLoci"});
  EXPECT_EQ(shown.loci, full.locusLabels.All());
  EXPECT_EQ(shown.lociTicked, std::vector<bool>(4, true));
  EXPECT_TRUE(shown.showFullPath);
}

TEST_F(GroupManagerTest, NeedsData) {
  TMainPrg fresh(host, AllCommands());
  fresh.Run(*FindByHandler(fresh.menu, "Groups1Click"));
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"No data loaded!"});
  EXPECT_EQ(host.groupManagersShown, 0);
}

TEST_F(GroupManagerTest, TwoNewGroupsAppearUnderSelectGroupOnly) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind5", "ind1"}, "North");
    AddGroup(dialog, {"ind2", "ind3"}, "South");
    EXPECT_EQ(dialog.Controls().groupItems, (std::vector<std::string>{"AllData", "AllData/North", "AllData/South"}));
    return true;
  });
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Names(app.ws.groups.groups), (std::vector<std::string>{"AllData", "AllData/North", "AllData/South"}));
  EXPECT_EQ(app.ws.groups.groups[1].members, (std::vector<std::string>{"ind1", "ind5"}));
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "AllData/North", "AllData/South"}));

  SelectGroupEntry(2);
  EXPECT_EQ(host.reports.back(), "Group selected: AllData/South");
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"ind2", "ind3"}));
  SelectGroupEntry(0);
  EXPECT_EQ(host.reports.back(), "Entire data set (AllData) selected");
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(GroupManagerTest, ChoosingADataSetKeepsTheTypedName) {
  Manage([](GroupManagerView& dialog) {
    auto& c = dialog.Controls();
    AddGroup(dialog, {"ind1", "ind2", "ind3"}, "A");
    c.groupName = "Sub";
    Pick(dialog, {"ind4"});
    ChooseGroup(dialog, "AllData/A");
    EXPECT_EQ(c.groupName, "Sub");
    EXPECT_EQ(c.dataSetName, "AllData/A");
    EXPECT_EQ(c.dataSetCount, "n= 3");
    EXPECT_EQ(c.members, (std::vector<std::string>{"ind1", "ind2", "ind3"}));
    EXPECT_TRUE(c.picked.empty());
    EXPECT_EQ(c.pickedCount, "n= 0");
    Pick(dialog, {"ind2"});
    dialog.Button3Click();  // accepted under the chosen data set with the name typed before
    EXPECT_EQ(c.groupName, "");
    c.groupName = "Typed";
    dialog.Button4Click();  // deleting the current group empties the name field
    EXPECT_EQ(c.groupName, "");
    return true;
  });
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Names(app.ws.groups.groups), (std::vector<std::string>{"AllData", "AllData/A/Sub"}));
}

TEST_F(GroupManagerTest, PickingAddsAgainAndXRemovesTheSelected) {
  Manage([](GroupManagerView& dialog) {
    Pick(dialog, {"ind2", "ind4"});
    Pick(dialog, {"ind2"});
    auto& c = dialog.Controls();
    EXPECT_EQ(c.picked, (std::vector<std::string>{"ind2", "ind4", "ind2"}));
    EXPECT_EQ(c.pickedCount, "n= 3");
    c.pickedSelected = {true, false, false};
    dialog.Button2Click();
    EXPECT_EQ(c.picked, (std::vector<std::string>{"ind4", "ind2"}));
    EXPECT_EQ(c.pickedCount, "n= 2");
    return false;
  });
}

TEST_F(GroupManagerTest, NamesAreCleanedAndTheCleanedNameIsShown) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1"}, "Sub 1;");
    AddGroup(dialog, {"ind2"}, " Sub\t1. ");
    EXPECT_EQ(dialog.Controls().groupName, "Sub1");
    AddGroup(dialog, {"ind3"}, " ; / ");
    EXPECT_EQ(dialog.Controls().groupName, "");
    return true;
  });
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{kNameExists, "You must enter a name for your group"}));
  EXPECT_EQ(Names(app.ws.groups.groups), (std::vector<std::string>{"AllData", "AllData/Sub1"}));
}

TEST_F(GroupManagerTest, NamesAreUniqueAcrossTheHierarchyAndAllDataIsTaken) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind2"}, "A");
    ChooseGroup(dialog, "AllData/A");
    AddGroup(dialog, {"ind1"}, "x");
    ChooseGroup(dialog, "AllData");
    AddGroup(dialog, {"ind3"}, "x");
    AddGroup(dialog, {"ind3"}, "AllData");
    AddGroup(dialog, {"ind3"}, "a");  // names are case-sensitive
    return true;
  });
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{kNameExists, kNameExists}));
  EXPECT_EQ(Names(app.ws.groups.groups),
            (std::vector<std::string>{"AllData", "AllData/A", "AllData/A/x", "AllData/a"}));
}

TEST_F(GroupManagerTest, AnEmptyPickedListAcceptsNothing) {
  Manage([](GroupManagerView& dialog) {
    dialog.Controls().groupName = "Nothing";
    dialog.Button3Click();
    return true;
  });
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(app.ws.groups.groups.size(), 1u);
}

TEST_F(GroupManagerTest, WithoutTheFullPathShownSubGroupsStillGetTheirPath) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind2", "ind3"}, "PopA");
    dialog.Controls().showFullPath = false;
    dialog.TogglePathFormat();
    ChooseGroup(dialog, "PopA");
    EXPECT_EQ(dialog.Controls().dataSetName, "PopA");
    EXPECT_EQ(dialog.Controls().dataSetCount, "n= 3");
    AddGroup(dialog, {"ind2"}, "Sub1");
    EXPECT_EQ(dialog.Controls().groupItems, (std::vector<std::string>{"AllData", "PopA", "Sub1"}));
    return true;
  });
  EXPECT_EQ(Names(app.ws.groups.groups), (std::vector<std::string>{"AllData", "AllData/PopA", "AllData/PopA/Sub1"}));
  EXPECT_FALSE(app.ws.groups.showFullPath);
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "PopA", "Sub1"}));
  SelectGroupEntry(2);
  EXPECT_EQ(host.reports.back(), "Group selected: AllData/PopA/Sub1");
}

TEST_F(GroupManagerTest, CancelRestoresEverything) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind2"}, "Kept");
    AddLocusSet(dialog, {"Locus2"}, "One");
    return true;
  });
  const GroupState before = app.ws.groups;
  const auto menu = GroupMenu();
  const int menuChanges = host.menuChanges;

  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind3"}, "Dropped");
    ChooseGroup(dialog, "AllData/Kept");
    dialog.Button4Click();
    dialog.Controls().showFullPath = false;
    dialog.TogglePathFormat();
    AddLocusSet(dialog, {"Locus1", "Locus4"}, "Two");
    ShowLocusSet(dialog, "One");
    dialog.Button7Click();
    return false;
  });
  EXPECT_EQ(app.ws.groups.groups, before.groups);
  EXPECT_EQ(app.ws.groups.locusSets, before.locusSets);
  EXPECT_EQ(app.ws.groups.showFullPath, before.showFullPath);
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, full);
  EXPECT_EQ(GroupMenu(), menu);
  EXPECT_EQ(host.menuChanges, menuChanges);
  EXPECT_TRUE(app.dialogs.groupManager.cancelled);
}

TEST_F(GroupManagerTest, DeletingAGroupKeepsItsSubGroups) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind2", "ind3"}, "A");
    AddGroup(dialog, {"ind4"}, "B");
    ChooseGroup(dialog, "AllData/A");
    AddGroup(dialog, {"ind1"}, "x");
    dialog.Button4Click();
    EXPECT_EQ(dialog.Controls().dataSetName, "AllData");
    EXPECT_EQ(dialog.Controls().groupIndex, 0);
    EXPECT_EQ(dialog.Controls().members.size(), 6u);
    return true;
  });
  EXPECT_EQ(Names(app.ws.groups.groups), (std::vector<std::string>{"AllData", "AllData/B", "AllData/A/x"}));
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "AllData/B", "AllData/A/x"}));
}

TEST_F(GroupManagerTest, TheWholeDataSetAndAllLociCannotBeDeleted) {
  Manage([](GroupManagerView& dialog) {
    dialog.Button4Click();
    dialog.Button6Click();
    return true;
  });
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{
                               "\"AllData\" cannot be deleted from the Group Manager, because\r\nit is not a sub-set of "
                               "your data-set, but the entire current data-set.",
                               "\"AllLoci\" cannot be deleted from the Group Manager"}));
  EXPECT_EQ(app.ws.groups.groups.size(), 1u);
  EXPECT_EQ(app.ws.groups.locusSets.size(), 1u);
}

TEST_F(GroupManagerTest, TheCurrentGroupIsRememberedBetweenOpenings) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind2"}, "A");
    ChooseGroup(dialog, "AllData/A");
    return true;
  });
  Manage([](GroupManagerView& dialog) {
    EXPECT_EQ(dialog.Controls().dataSetName, "AllData/A");
    EXPECT_EQ(dialog.Controls().groupIndex, 1);
    EXPECT_EQ(dialog.Controls().members, (std::vector<std::string>{"ind1", "ind2"}));
    ChooseGroup(dialog, "AllData");
    return false;  // a cancelled choice is not remembered
  });
  Manage([](GroupManagerView& dialog) {
    EXPECT_EQ(dialog.Controls().dataSetName, "AllData/A");
    return true;
  });
}

TEST_F(GroupManagerTest, LocusSetsAreBuiltFromTheTickedLoci) {
  Manage([](GroupManagerView& dialog) {
    auto& c = dialog.Controls();
    dialog.Button8Click();
    EXPECT_EQ(c.locusCount, "n= 0");
    c.locusSetNameField = "Empty";
    dialog.Button5Click();  // nothing ticked: nothing happens
    Tick(dialog, {"Locus3", "Locus1"});
    EXPECT_EQ(c.locusCount, "n= 2");
    c.locusSetNameField = " :: ";
    dialog.Button5Click();
    EXPECT_EQ(c.locusSetNameField, "");
    c.locusSetNameField = "AllLoci";
    dialog.Button5Click();
    c.locusSetNameField = "Core set";
    dialog.Button5Click();
    EXPECT_EQ(c.locusSetName, "Coreset");
    EXPECT_EQ(c.locusSetNameField, "");
    EXPECT_EQ(c.locusSetItems, (std::vector<std::string>{"AllLoci", "Coreset"}));
    ShowLocusSet(dialog, "Coreset");
    EXPECT_EQ(c.locusCount, "n= 2");
    EXPECT_EQ(c.lociTicked, (std::vector<bool>{true, false, true, false}));
    ShowLocusSet(dialog, "AllLoci");
    EXPECT_EQ(c.lociTicked, std::vector<bool>(4, true));
    return true;
  });
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"You need to provide a valid name for your locus set", kNameExists}));
  ASSERT_EQ(app.ws.groups.locusSets.size(), 2u);
  EXPECT_EQ(app.ws.groups.locusSets[1].members, (std::vector<std::string>{"Locus1", "Locus3"}));
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);  // adding does not choose
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(GroupManagerTest, SelectCurrentMakesTheShownLocusSetTheWorkingLociAtOk) {
  Manage([](GroupManagerView& dialog) {
    AddLocusSet(dialog, {"Locus2", "Locus4"}, "Even");
    ShowLocusSet(dialog, "Even");
    dialog.Button7Click();
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 1);
  EXPECT_EQ(app.ws.data.locusLabels.All(), (std::vector<std::string>{"Locus2", "Locus4"}));
  EXPECT_EQ(app.ws.data.individualCount, 6);

  Manage([](GroupManagerView& dialog) {
    EXPECT_EQ(dialog.Controls().locusSetName, "Even");  // the active set is shown at opening,
    EXPECT_EQ(dialog.Controls().lociTicked, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(dialog.Controls().locusSetIndex, 0);      // with the drop-down on AllLoci
    EXPECT_EQ(dialog.Controls().loci.size(), 4u);
    ShowLocusSet(dialog, "AllLoci");
    dialog.Button7Click();
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(GroupManagerTest, SelectCurrentThenCancelLeavesTheLocusSetAtTheNextOk) {
  Manage([](GroupManagerView& dialog) {
    AddLocusSet(dialog, {"Locus1"}, "First");
    return true;
  });
  Manage([](GroupManagerView& dialog) {
    ShowLocusSet(dialog, "First");
    dialog.Button7Click();
    return false;
  });
  Manage([](GroupManagerView&) { return true; });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(GroupManagerTest, ChoosingALocusSetWhileAGroupIsActiveIsRefused) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind4"}, "G");
    AddLocusSet(dialog, {"Locus1", "Locus2"}, "S");
    return true;
  });
  SelectGroupEntry(1);
  const DataMatrix group = app.ws.data;
  Manage([](GroupManagerView& dialog) {
    ShowLocusSet(dialog, "S");
    dialog.Button7Click();
    return true;
  });
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().title, "Warning");
  EXPECT_EQ(host.messages.back().text, kLocusSetsNeedAllData);
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, group);
}

TEST_F(GroupManagerTest, DeletingLocusSetsMovesTheChoiceWithItsEntry) {
  Manage([](GroupManagerView& dialog) {
    AddLocusSet(dialog, {"Locus1"}, "A");
    AddLocusSet(dialog, {"Locus2"}, "B");
    AddLocusSet(dialog, {"Locus3", "Locus4"}, "C");
    ShowLocusSet(dialog, "C");
    dialog.Button7Click();
    ShowLocusSet(dialog, "A");
    dialog.Button6Click();
    EXPECT_EQ(dialog.Controls().locusSetName, "AllLoci");
    EXPECT_EQ(dialog.Controls().lociTicked, std::vector<bool>(4, true));
    EXPECT_EQ(dialog.Controls().locusSetItems, (std::vector<std::string>{"AllLoci", "B", "C"}));
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 2);
  EXPECT_EQ(app.ws.data.locusLabels.All(), (std::vector<std::string>{"Locus3", "Locus4"}));

  Manage([](GroupManagerView& dialog) {
    ShowLocusSet(dialog, "C");  // the chosen one: the choice returns to AllLoci
    dialog.Button6Click();
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, full);
  EXPECT_EQ(Names(app.ws.groups.locusSets), (std::vector<std::string>{"AllLoci", "B"}));
}

TEST_F(GroupManagerTest, TheActiveGroupFollowsItsEntryOrGivesWayWhenDeleted) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1"}, "A");
    AddGroup(dialog, {"ind2", "ind3"}, "B");
    AddGroup(dialog, {"ind4"}, "C");
    return true;
  });
  SelectGroupEntry(2);
  Manage([](GroupManagerView& dialog) {
    ChooseGroup(dialog, "AllData/A");
    dialog.Button4Click();
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeGroup, 1);  // B moved up one place
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "AllData/B", "AllData/C"}));
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"ind2", "ind3"}));

  host.reports.clear();
  Manage([](GroupManagerView& dialog) {
    ChooseGroup(dialog, "AllData/B");
    dialog.Button4Click();
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeGroup, 0);
  EXPECT_EQ(app.ws.data, full);
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Calling Group Manager", "Entire data set (AllData) selected"}));
}

TEST_F(GroupManagerTest, TheLocusSetOfTheWorkingDataStaysWhileAGroupIsActive) {
  Manage([](GroupManagerView& dialog) {
    AddGroup(dialog, {"ind1", "ind4"}, "G");
    AddLocusSet(dialog, {"Locus1", "Locus2"}, "S");
    ShowLocusSet(dialog, "S");
    dialog.Button7Click();
    return true;
  });
  SelectGroupEntry(1);
  const DataMatrix group = app.ws.data;
  Manage([](GroupManagerView& dialog) {
    ShowLocusSet(dialog, "S");
    dialog.Button6Click();
    EXPECT_EQ(dialog.Controls().locusSetItems, (std::vector<std::string>{"AllLoci", "S"}));
    return true;
  });
  EXPECT_EQ(host.messages.back().title, "Warning");
  EXPECT_EQ(host.messages.back().text, kLocusSetsNeedAllData);
  EXPECT_EQ(app.ws.groups.activeLocusSet, 1);
  EXPECT_EQ(app.ws.data, group);

  SelectGroupEntry(0);
  Manage([](GroupManagerView& dialog) {
    ShowLocusSet(dialog, "S");
    dialog.Button6Click();  // with the whole data set active the loci can return to all
    return true;
  });
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_EQ(app.ws.data, full);
}

// AllData describes the data as loaded, not as a filter left them, so the individuals that
// Restore Original Matrix brings back can be picked.
TEST_F(GroupManagerTest, AllDataListsTheLoadedIndividualsThroughFiltersAndRestore) {
  Run("WithMissingData2Click");  // ind4 has 25 % missing scores
  ASSERT_EQ(app.ws.data.individualCount, 5);
  Manage([&](GroupManagerView& dialog) {
    EXPECT_EQ(dialog.Controls().members, full.individualLabels.All());
    AddGroup(dialog, {"ind4", "ind5"}, "Back");
    return true;
  });
  Run("RestoreOriginalMatrix1Click");
  SelectGroupEntry(1);
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"ind4", "ind5"}));
}

// A name picked twice joins the group once, with a warning, as in a [Groups] block.
TEST_F(GroupManagerTest, AGroupPickedTwiceFromTheSameNameHoldsItOnce) {
  Manage([](GroupManagerView& dialog) {
    Pick(dialog, {"ind2"});
    AddGroup(dialog, {"ind2"}, "Twice");
    return true;
  });
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Warning");
  EXPECT_EQ(host.messages[0].text,
            "A member listed more than once in a group or locus set is counted once: \"ind2\" in AllData/Twice (1 "
            "repeated member).");
  SelectGroupEntry(1);
  EXPECT_EQ(host.Errors(), std::vector<std::string>{});
  EXPECT_EQ(app.ws.data.individualLabels.All(), std::vector<std::string>{"ind2"});
}

}  // namespace
}  // namespace vorn
