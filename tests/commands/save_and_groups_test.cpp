// Saving the data matrix, reading the group blocks on load, and "Select Group Only".
#include "support/command_fixture.h"
#include "support/file_failures.h"

namespace vorn {
namespace {

using testing::FileSizeLimit;
using testing::ReadFile;

const char* const kData =
    "{ six individuals, four loci }\n"
    "ind1 ind2 ind3 ind4 ind5 ind6\n"
    "1 0 1 0 1 0\n"
    "0 1 1 0 0 1\n"
    "1 1 0 ? 0 1\n"
    "0 0 0 1 1 ?\n"
    "*\n"
    "\n"
    "[Groups]\n"
    "AllData/South= ind6, ind2, ind4;\n"
    "AllData/North= ind1, ind3, ind5;\n"
    "AllData/North/Lake= ind5, ind3;\n"
    "*\n"
    "\n"
    "[LocusSets]\n"
    "Core= Locus2, Locus3;\n"
    "*\n";

class SaveAndGroupsTest : public testing::CommandTest {
 protected:
  SaveAndGroupsTest() {
    app.Start(1);  // hides "Ambiguity negative" as the program does at start
    host.reports.clear();
    dir.Write("data.txt", kData);
  }

  // Saves to name, setting the file parameter dialog with set (accepted as it stands without).
  void Save(const std::string& name, const std::function<void(DialogForm&)>& set = {}) {
    host.files.push_back(name);
    host.dialogs.push_back([set, this](DialogForm& form) {
      ambiguityNegativeShown = form["ambiguity_negative"].visible;
      if (set) set(form);
      return true;
    });
    Run("Save1Click");
  }

  bool ambiguityNegativeShown = false;
};

TEST_F(SaveAndGroupsTest, LoadingReadsBothBlocksAndOffersTheGroups) {
  LoadFile("data.txt");
  EXPECT_TRUE(host.messages.empty());
  const GroupList& groups = app.ws.groups.groups;
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(groups[0].members, app.ws.data.individualLabels.All());
  EXPECT_EQ(groups[1].name, "AllData/South");
  EXPECT_EQ(groups[3].members, (std::vector<std::string>{"ind5", "ind3"}));
  ASSERT_EQ(app.ws.groups.locusSets.size(), 2u);
  EXPECT_EQ(app.ws.groups.locusSets[1].members, (std::vector<std::string>{"Locus2", "Locus3"}));
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "AllData/South", "AllData/North", "AllData/North/Lake"}));
}

TEST_F(SaveAndGroupsTest, AGroupListedOutOfDataOrderIsSelectedInDataOrder) {
  LoadFile("data.txt");
  const DataMatrix full = app.ws.data;
  SelectGroupEntry(1);
  EXPECT_EQ(host.reports.back(), "Group selected: AllData/South");
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"ind2", "ind4", "ind6"}));
  EXPECT_EQ(app.ws.data.cells, (std::vector<Cell>{Absence, Absence, Absence, Presence, Absence, Presence, Presence,
                                                    Missing, Presence, Absence, Presence, Missing}));
  SelectGroupEntry(3);
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"ind3", "ind5"}));
  SelectGroupEntry(0);
  EXPECT_EQ(host.reports.back(), "Entire data set (AllData) selected");
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(SaveAndGroupsTest, ABlockLineWithoutSemicolonKeepsTheEntriesAboveIt) {
  std::string text = kData;
  text.replace(text.find("ind1, ind3, ind5;"), 17, "ind1, ind3, ind5");
  dir.Write("broken.txt", text);
  LoadFile("broken.txt");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot read [Groups] block(2)"});
  EXPECT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(GroupMenu(), (std::vector<std::string>{"AllData", "AllData/South"}));
  EXPECT_EQ(app.ws.groups.locusSets.size(), 2u);  // the next block is still read
  EXPECT_EQ(host.reports.back(), "Loading File: broken.txt");
}

// The user's entries stay; AllData and AllLoci always describe the data just loaded.
TEST_F(SaveAndGroupsTest, AFileWithoutBlocksOrWithoutIncludeGroupsKeepsTheLists) {
  LoadFile("data.txt");
  const GroupState before = app.ws.groups;
  const auto menu = GroupMenu();
  const auto expectKept = [&](const std::vector<std::string>& individuals, const std::vector<std::string>& loci) {
    GroupList groups = before.groups, locusSets = before.locusSets;
    groups[0].members = individuals;
    locusSets[0].members = loci;
    EXPECT_EQ(app.ws.groups.groups, groups);
    EXPECT_EQ(app.ws.groups.locusSets, locusSets);
    EXPECT_EQ(GroupMenu(), menu);
  };
  dir.Write("plain.txt", "ind1 ind2\n1 0\n*\n");
  LoadFile("plain.txt");
  expectKept({"ind1", "ind2"}, {"Locus1"});

  dir.Write("other.txt", "x1 x2 x3\n1 0 1\n0 0 1\n*\n[Groups]\nAllData/X=x1;\n*\n");
  LoadFile("other.txt", [](DialogForm& form) {
    form["include_groups"].checked = false;
    EXPECT_FALSE(form["ambiguity_negative"].visible);
    return true;
  });
  expectKept({"x1", "x2", "x3"}, {"Locus1", "Locus2"});
  EXPECT_TRUE(host.Errors().empty());
}

TEST_F(SaveAndGroupsTest, SelectGroupOnlyWithoutDataDoesNothing) {
  SelectGroupEntry(0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(SaveAndGroupsTest, AGroupNamingAnAbsentIndividualShowsTheOrderingMessage) {
  dir.Write("absent.txt", "ind1 ind2\n1 0\n*\n[Groups]\nAllData/X=ind1,ind9;\n*\n");
  LoadFile("absent.txt");
  const DataMatrix full = app.ws.data;
  host.reports.clear();
  SelectGroupEntry(1);
  EXPECT_EQ(host.Errors(), std::vector<std::string>{
                               "Ordering Filter/Indiv failed.\r\n [This can happen e.g. if the individual names in your "
                               "group filter do not match your actual individual names]"});
  EXPECT_TRUE(host.reports.empty());
  EXPECT_EQ(app.ws.data, full);
}

TEST_F(SaveAndGroupsTest, SaveAsksForTheFileThenTheLayoutWithAmbiguityNegative) {
  LoadFile("data.txt");
  Save("saved");
  ASSERT_EQ(host.fileDialogs.size(), 2u);
  const FileDialogOptions& options = host.fileDialogs[1];
  EXPECT_EQ(options.initialName, "datafile.txt");
  EXPECT_EQ(options.defaultExtension, "txt");
  EXPECT_EQ(options.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_TRUE(options.confirmOverwrite);
  EXPECT_TRUE(ambiguityNegativeShown);
  EXPECT_FALSE(app.dialogs.fileParam.form["ambiguity_negative"].visible);
  EXPECT_EQ(host.reports.back(), "Saving DataMatrix to saved");
  EXPECT_EQ(ReadFile("saved"),
            "ind1 ind2 ind3 ind4 ind5 ind6 \r\n1 0 1 0 1 0 \r\n0 1 1 0 0 1 \r\n1 1 0 ? 0 1 \r\n0 0 0 1 1 ? \r\n*\r\n"
            "\r\n[Groups]\r\nAllData/South= ind6, ind2, ind4;\r\nAllData/North= ind1, ind3, ind5;\r\n"
            "AllData/North/Lake= ind5, ind3;\r\n*\r\n"
            "\r\n[LocusSets]\r\nCore= Locus2, Locus3;\r\n*\r\n");
}

TEST_F(SaveAndGroupsTest, SaveNeedsDataAndStopsQuietlyWhenCancelled) {
  Run("Save1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"No data loaded!"});
  LoadFile("data.txt");
  host.messages.clear();
  host.files.push_back(std::nullopt);
  Run("Save1Click");
  host.files.push_back("cancelled.txt");
  host.dialogs.push_back([](DialogForm&) { return false; });
  Run("Save1Click");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(FileExists("cancelled.txt"));
  EXPECT_FALSE(app.dialogs.fileParam.form["ambiguity_negative"].visible);
  EXPECT_EQ(host.reports.back(), "Loading File: data.txt");
}

TEST_F(SaveAndGroupsTest, TheWorkingDataAreSavedWithEveryGroup) {
  LoadFile("data.txt");
  SelectGroupEntry(1);
  Save("south.txt", [](DialogForm& form) { form["include_groups"].checked = false; });
  EXPECT_EQ(ReadFile("south.txt"), "ind2 ind4 ind6 \r\n0 0 0 \r\n1 0 1 \r\n1 ? 1 \r\n0 1 ? \r\n*\r\n");
}

TEST_F(SaveAndGroupsTest, OnlyTheWholeDataSetWritesNoBlock) {
  dir.Write("plain.txt", "ind1 ind2\n1 0\n*\n");
  LoadFile("plain.txt");
  Save("saved.txt");
  EXPECT_EQ(ReadFile("saved.txt"), "ind1 ind2 \r\n1 0 \r\n*\r\n");
}

// A member that is no individual of the saved data (here one of a selected group's complement)
// loses the characters the block cannot hold, with the notice.
TEST_F(SaveAndGroupsTest, MemberNamesWithBlockCharactersAreCleanedWithANotice) {
  dir.Write("odd.txt", "a c=d\n1 0\n*\n");
  LoadFile("odd.txt");
  app.ws.groups.groups = {GroupEntry{"AllData", {"a", "c=d"}, false}, GroupEntry{"AllData/X", {"a", "x,y"}, false}};
  app.ws.groups.locusSets = {GroupEntry{"AllLoci", {"Locus1"}, false}, GroupEntry{"S", {"Locus1"}, false}};
  Save("saved.txt");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"One or more individual names contained one of the characters "
                                                    "\",\" or \";\" or \"=\", which have been removed."});
  EXPECT_EQ(host.reports.back(), "Saving DataMatrix to saved.txt");
}

// An individual whose name the [Groups] block cannot hold would lose its group on loading the
// file: Save refuses, naming it, and writes nothing.
TEST_F(SaveAndGroupsTest, AnIndividualTheBlockCannotNameIsRefused) {
  dir.Write("odd.txt", "Smith,_J. b\n1 0\n*\n");
  LoadFile("odd.txt");
  app.ws.groups.groups = {GroupEntry{"AllData", {"Smith,_J.", "b"}, false},
                          GroupEntry{"AllData/X", {"Smith,_J."}, false}};
  dir.Write("saved.txt", "old");
  Save("saved.txt");
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"The individual \"Smith,_J.\" (individual 1), a member of the group "
                                     "\"AllData/X\", contains \",\" \";\" or \"=\", which the [Groups] block cannot "
                                     "hold; please delete the group in the Group Manager or untick \"Include Groups\", "
                                     "or the saved file could not be read again."});
  EXPECT_EQ(ReadFile("saved.txt"), "old");
}

TEST_F(SaveAndGroupsTest, ALayoutThatCouldNotBeReadBackSavesNothing) {
  LoadFile("data.txt");
  Save("saved.txt", [](DialogForm& form) {
    form["ambiguity_negative"].checked = true;
    form["absence"].text = "-";
  });
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"With \"Ambiguity negative\" no symbol may be \"-\", or the saved "
                                                    "file could not be read again."});
  EXPECT_FALSE(FileExists("saved.txt"));
  EXPECT_EQ(host.reports.back(), "Loading File: data.txt");
}

TEST_F(SaveAndGroupsTest, OpenRemarkEqualToEndOfDataIsRefused) {
  LoadFile("data.txt");
  Save("saved.txt", [](DialogForm& form) { form["open_remark"].text = "*"; });
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"OpenRemark and EndOfData must be two different characters, or "
                                                    "the saved file could not be read again."});
  EXPECT_FALSE(FileExists("saved.txt"));
}

// Profiles are named after their groups: a group "AllData/" gives an individual without a name,
// which a header line cannot hold.
TEST_F(SaveAndGroupsTest, AnEmptyIndividualNameIsSavedOnlyWithoutNames) {
  dir.Write("unnamed.txt", "a b c\n1 0 1\n0 1 1\n*\n[Groups]\nAllData/= a, b;\nAllData/X= c;\n*\n");
  LoadFile("unnamed.txt");
  Run("AdditiveBandProfile1Click");
  ASSERT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"", "X"}));
  host.messages.clear();
  Save("profile.txt");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"The individual name \"\" (individual 1) is empty; please save "
                                                    "without individual names, or the saved file could not be read "
                                                    "again."});
  EXPECT_FALSE(FileExists("profile.txt"));
  host.messages.clear();
  Save("profile.txt", [](DialogForm& form) { form["individual_header"].checked = false; });
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(ReadFile("profile.txt"), "1 1 \r\n1 1 \r\n*\r\n\r\n[Groups]\r\nAllData/= a, b;\r\nAllData/X= c;\r\n*\r\n");
}

TEST_F(SaveAndGroupsTest, AnEmptyWorkingMatrixIsNotSaved) {
  LoadFile("data.txt");
  app.ws.data = DataMatrix();  // as a selected group without members leaves it
  Run("Save1Click");           // asks for no file
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"The current data matrix holds no individuals or no loci."});
}

// The saved file is replaced only when the whole new file is written: a full disk, a device
// that takes nothing or a missing folder leave the file that was there, byte for byte, and
// nothing beside it, and the error box gives the system's reason.
TEST_F(SaveAndGroupsTest, ASaveThatCannotBeWrittenLeavesThePreviousFile) {
  LoadFile("data.txt");
  const std::string old = "the previous\r\ncontents\r\n";
  dir.Write("saved.txt", old);
  host.reports.clear();
  {
    FileSizeLimit full(64);  // writes fail as on a full disk
    Save("saved.txt");
  }
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write saved.txt: File too large"});
  EXPECT_EQ(ReadFile("saved.txt"), old);
  EXPECT_EQ(testing::Entries(dir), (std::vector<std::string>{"data.txt", "saved.txt"}));
  EXPECT_TRUE(host.reports.empty());

  host.messages.clear();
  Save("missing/saved.txt");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write missing/saved.txt: No such file or directory"});
  if (FileExists("/dev/full")) {
    host.messages.clear();
    Save("/dev/full");
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write /dev/full: No space left on device"});
  }
  EXPECT_TRUE(host.reports.empty());
}

// Saving and loading again with the same settings gives back the scores, labels, groups and
// locus sets, in every layout.
TEST_F(SaveAndGroupsTest, SaveThenLoadGivesBackEverythingInEveryLayout) {
  dir.Write("named.txt",
            "L1 L2 L3 L4\nind1 10?1\nind2 0110\nind3 ?001\nind4 1111\n*\n"
            "[Groups]\nAllData/P=ind4,ind1;\nAllData/P/Q=ind1;\nAllData/R=ind2,ind3;\n*\n[LocusSets]\nEnds=L1,L4;\n*\n");
  LoadFile("named.txt", [](DialogForm& form) {
    form["individuals"].selected = 0;
    form["locus_header"].checked = true;
    form["delimited"].checked = false;
    return true;
  });
  ASSERT_TRUE(host.messages.empty());
  const Workspace& ws = app.ws;
  const DataMatrix loaded = ws.data;
  const GroupList groups = ws.groups.groups;
  const GroupList locusSets = ws.groups.locusSets;

  for (int columns : {0, 1}) {
    for (bool delimited : {true, false}) {
      for (bool negative : {true, false}) {
        const auto layout = [=](DialogForm& form) {
          form["individuals"].selected = columns;
          form["individual_header"].checked = true;
          form["locus_header"].checked = true;
          form["delimited"].checked = delimited;
          form["ambiguity_negative"].checked = negative;
        };
        SCOPED_TRACE(::testing::Message() << "columns=" << columns << " delimited=" << delimited
                                          << " negative=" << negative);
        Save("round.txt", layout);
        app.ws.groups.groups.clear();
        app.ws.groups.locusSets.clear();
        LoadFile("round.txt", [=](DialogForm& form) {
          layout(form);
          return true;
        });
        ASSERT_TRUE(host.Errors().empty()) << host.Errors()[0];
        EXPECT_EQ(ws.data, loaded);
        EXPECT_EQ(ws.groups.groups, groups);
        EXPECT_EQ(ws.groups.locusSets, locusSets);
      }
    }
  }
}

}  // namespace
}  // namespace vorn
