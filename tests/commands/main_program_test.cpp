#include "commands/shell/main_program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/program_folder.h"
#include "support/command_fixture.h"
#include "support/file_failures.h"

namespace vorn {
namespace {

using testing::FileSizeLimit;
using testing::ReadFile;

class MainProgramTest : public testing::CommandTest {};

TEST_F(MainProgramTest, StartUpSeedsAndWelcomes) {
  app.Start(1234);
  EXPECT_EQ(app.ws.random.State(), 1234u);
  EXPECT_FALSE(app.ws.dataLoaded);
  EXPECT_EQ(host.reports, std::vector<std::string>{"Welcome to Vorn 1.1 beta. Please report any problems you might experience."});
  EXPECT_FALSE(app.dialogs.fileParam.form["ambiguity_negative"].visible);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainProgramTest, CommandsNotBuiltYetSaySo) {
  app.Run(MenuItem{"&Later", "Later1Click", {}, 0});  // a menu item without a handler
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"This command is not available yet."});
}

TEST_F(MainProgramTest, LoadReadsTheFileAndReports) {
  dir.Write("data.txt", "a b c\n1 0 ?\n0 0 1\n*\n");
  LoadFile("data.txt");
  EXPECT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(app.ws.data.individualCount, 3);
  EXPECT_EQ(app.ws.original, app.ws.data);
  EXPECT_EQ(host.reports.back(), "Loading File: data.txt");
  EXPECT_EQ(host.dialogCaptions, std::vector<std::string>{"File Parameter Selection"});
  EXPECT_EQ(host.fileDialogs[0].filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
}

TEST_F(MainProgramTest, LoadCancelledAtTheFileDialogDoesNothing) {
  host.files.push_back(std::nullopt);
  Run("Load1Click");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(MainProgramTest, LoadOfAMissingFile) {
  LoadFile("none.txt");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Error");
  EXPECT_EQ(host.messages[0].text, "Input file does not exist");
  EXPECT_TRUE(host.dialogCaptions.empty());
}

TEST_F(MainProgramTest, CancelledParametersLoadNothingButKeepTheDialogsValues) {
  dir.Write("data.txt", "a b\n1 0\n*\n");
  LoadFile("data.txt", [](DialogForm& form) {
    form["individuals"].selected = 0;
    form["presence"].text = "+";
    return false;
  });
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"No data loaded."});
  EXPECT_FALSE(app.ws.dataLoaded);
  EXPECT_FALSE(app.ws.settings.layout.individualsInColumns);
  EXPECT_EQ(app.ws.settings.layout.presence, '+');
}

TEST_F(MainProgramTest, AFailedReadKeepsThePreviousData) {
  dir.Write("good.txt", "a b\n1 0\n*\n");
  dir.Write("bad.txt", "a b\n1 0 1\n*\n");
  LoadFile("good.txt");
  const DataMatrix before = app.ws.data;
  app.ws.groups.activeGroup = 1;
  LoadFile("bad.txt");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot interpret data block(2a)\r\nLine 2, column 5: the line "
                                                    "holds 3 fields, where each row holds 2 fields; the first one too "
                                                    "many is '1'"});
  EXPECT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(app.ws.data, before);
  EXPECT_EQ(app.ws.groups.activeGroup, 1);
  EXPECT_EQ(host.reports.back(), "Loading File: good.txt");
}

TEST_F(MainProgramTest, ASuccessfulReadReturnsToTheWholeDataSet) {
  dir.Write("data.txt", "a b\n1 0\n*\n");
  app.ws.groups.activeGroup = 2;
  app.ws.groups.activeLocusSet = 1;
  app.ws.groups.parkedIndividuals = ParkedIndividuals{};
  app.ws.groups.parkedLoci = ParkedLoci{};
  LoadFile("data.txt");
  EXPECT_EQ(app.ws.groups.activeGroup, 0);
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_FALSE(app.ws.groups.parkedIndividuals.has_value());
  EXPECT_FALSE(app.ws.groups.parkedLoci.has_value());
}

TEST_F(MainProgramTest, AnEmptiedSymbolIsRefusedAndAskedAgain) {
  dir.Write("data.txt", "a b\n+ 0\n*\n");
  LoadFile("data.txt", [](DialogForm& form) {
    form["absence"].text = "";
    form["presence"].text = "+";
    return true;
  });
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Each symbol must be exactly one character, and not a space."});
  EXPECT_EQ(host.dialogCaptions.size(), 2u);
  EXPECT_EQ(app.ws.settings.layout.absence, '0');
  EXPECT_EQ(app.ws.settings.layout.presence, '+');
  EXPECT_EQ(app.dialogs.fileParam.form["absence"].text, "0");
  EXPECT_EQ(app.ws.data.cells, (std::vector<Cell>{Presence, Absence}));
}

TEST_F(MainProgramTest, TheDialogIsFilledFromTheSettingsEachTime) {
  app.ws.settings.layout.endOfData = '#';
  app.ws.settings.layout.delimitedData = false;
  dir.Write("data.txt", "10\n01\n#\n");
  std::string shownEnd;
  bool shownDelimited = true;
  LoadFile("data.txt", [&](DialogForm& form) {
    shownEnd = form["end_of_data"].text;
    shownDelimited = form["delimited"].checked;
    form["individual_header"].checked = false;
    return true;
  });
  EXPECT_EQ(shownEnd, "#");
  EXPECT_FALSE(shownDelimited);
  EXPECT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(app.ws.data.individualCount, 2);
}

TEST_F(MainProgramTest, LogToggleChangesTheCaptionAndExitClosesTheLog) {
  Run("urnlogon1Click");
  EXPECT_TRUE(app.ws.log.logging);
  EXPECT_EQ(FindByHandler(app.menu, "urnlogon1Click")->caption, "Turn log off");
  Run("Exit1Click");
  EXPECT_TRUE(host.quit);
  EXPECT_FALSE(app.ws.log.logging);
  EXPECT_EQ(ReadFile("vornlog.txt"), "Started Logging on 08.12.2026 at 10:11:12\r\nExiting program. Bye bye!\r\n");
}

TEST_F(MainProgramTest, TurningTheLogOffRestoresTheCaption) {
  Run("urnlogon1Click");
  Run("urnlogon1Click");
  EXPECT_FALSE(app.ws.log.logging);
  EXPECT_EQ(FindByHandler(app.menu, "urnlogon1Click")->caption, "&Turn log on");
}

TEST_F(MainProgramTest, ALogThatCannotBeOpenedLeavesTheCaption) {
  app.ws.files.log = "missing/folder/log.txt";
  Run("urnlogon1Click");
  EXPECT_FALSE(app.ws.log.logging);
  EXPECT_EQ(FindByHandler(app.menu, "urnlogon1Click")->caption, "&Turn log on");
  EXPECT_EQ(host.Errors().size(), 1u);
}

// A log on a full disk: the first line that cannot be written is told once, with the system's
// reason, and logging turns itself off, caption included; later lines are only shown.
TEST_F(MainProgramTest, ALogThatCannotBeWrittenTurnsItselfOff) {
  if (!FileExists("/dev/full")) GTEST_SKIP();
  app.ws.files.log = "/dev/full";
  host.answers = {MessageAnswer::Yes};  // the device exists: append to it
  Run("urnlogon1Click");
  EXPECT_FALSE(app.ws.log.logging);
  EXPECT_EQ(FindByHandler(app.menu, "urnlogon1Click")->caption, "&Turn log on");
  Run("About1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write /dev/full: No space left on device\r\n\r\n"
                                                    "Logging has been turned off."});
  EXPECT_EQ(host.reports.back(), "Displaying About Box");
}

TEST_F(MainProgramTest, ALogThatFillsTheDiskLaterTurnsItselfOffThen) {
  Run("urnlogon1Click");
  ASSERT_TRUE(app.ws.log.logging);
  const std::string logged = ReadFile("vornlog.txt");
  {
    FileSizeLimit full(logged.size());  // no more room for the log
    Run("About1Click");
  }
  EXPECT_FALSE(app.ws.log.logging);
  EXPECT_EQ(FindByHandler(app.menu, "urnlogon1Click")->caption, "&Turn log on");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write vornlog.txt: File too large\r\n\r\n"
                                                    "Logging has been turned off."});
  Run("Exit1Click");
  EXPECT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(ReadFile("vornlog.txt"), logged);
}

TEST_F(MainProgramTest, TheLogFileCannotChangeWhileLogging) {
  Run("urnlogon1Click");
  Run("SelectLogFile1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"You cannot change the log file while logging to that file is enabled!"});
  EXPECT_EQ(app.ws.files.log, "vornlog.txt");
}

TEST_F(MainProgramTest, FileSelectionsStoreAndReport) {
  host.files = {"a.txt", "t.ph", "in.ph", "out.ph", "log.txt", std::nullopt};
  Run("SelectAnalysisOutputFile1Click");
  Run("SelectTreeOutputFile1Click");
  Run("Seect1Click");
  Run("SelectConsensusTreeOutputFile1Click");
  Run("SelectLogFile1Click");
  Run("SelectAnalysisOutputFile1Click");
  EXPECT_EQ(host.reports, (std::vector<std::string>{
                              "Analysis Output File set to a.txt",
                              "Tree Output File set to t.ph",
                              "Consensus Input Tree File set to: in.ph",
                              "Consensus Tree Output File set to: out.ph",
                              "Selected Log File: log.txt",
                          }));
  EXPECT_EQ(app.ws.files.analysis, "a.txt");
  EXPECT_EQ(app.ws.files.tree, "t.ph");
  EXPECT_EQ(app.ws.files.consensusInput, "in.ph");
  EXPECT_EQ(app.ws.files.consensusOutput, "out.ph");
  EXPECT_EQ(app.ws.files.log, "log.txt");
  EXPECT_EQ(host.fileDialogs[0].initialName, "analysis.txt");
  EXPECT_EQ(host.fileDialogs[5].initialName, "a.txt");
  EXPECT_EQ(host.fileDialogs[1].filter, "Phylip/Newick Tree File (*.ph)|*.ph");
  EXPECT_EQ(host.fileDialogs[2].title, "Select Consensus Input Tree File...");
  EXPECT_EQ(host.fileDialogs[2].filter, "Phylip/Newick Tree File (*.ph)|*.ph|All Files (*.*)|*.*");
  EXPECT_EQ(host.fileDialogs[3].title, "Select Consensus Tree Output File...");
  EXPECT_EQ(host.fileDialogs[4].title, "Select Log File...");
  EXPECT_TRUE(host.fileDialogs[0].confirmOverwrite);
}

TEST_F(MainProgramTest, AboutReportsAndShowsItsBox) {
  Run("About1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Displaying About Box"});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "About this program");
}

TEST_F(MainProgramTest, HelpLooksBesideTheProgramNotInTheCurrentFolder) {
  EXPECT_EQ(app.helpDocument, ProgramFolder() + "/vornhelp.pdf");
  EXPECT_EQ(std::filesystem::path(ProgramFolder()), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

TEST_F(MainProgramTest, HelpOpensTheDocumentOrSaysItIsMissing) {
  dir.Write("vornhelp.pdf", "%PDF");  // a copy in the current folder is not the one beside the program
  app.helpDocument = (dir.Path() / "bin" / "vornhelp.pdf").string();
  Run("Help1Click");
  EXPECT_TRUE(host.openedDocuments.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The help document \"" + app.helpDocument + "\" was not found beside the program.");
  std::filesystem::create_directory(dir.Path() / "bin");
  dir.Write("bin/vornhelp.pdf", "%PDF");
  Run("Help1Click");
  EXPECT_EQ(host.openedDocuments, std::vector<std::string>{app.helpDocument});
  EXPECT_TRUE(host.reports.empty());
  host.documentOpens = false;  // no viewer for PDF files
  Run("Help1Click");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "No viewer could open the help document \"" + app.helpDocument + "\".");
}

TEST_F(MainProgramTest, TheGroupSubmenuIsRebuiltFromDisplayNames) {
  app.RebuildGroupMenu({"AllData", "AllData/PopA", "AllData/B&C"});
  const MenuItem* submenu = FindSubmenuOf(app.menu, kSelectGroupHandler);
  ASSERT_EQ(submenu->items.size(), 3u);
  EXPECT_EQ(submenu->items[0].caption, "AllData");
  EXPECT_EQ(submenu->items[1].caption, "AllData/PopA");
  EXPECT_EQ(submenu->items[1].tag, 1);
  EXPECT_EQ(submenu->items[2].caption, "AllData/B&&C");
  app.RebuildGroupMenu({"AllData"});
  EXPECT_EQ(submenu->items.size(), 1u);
}

}  // namespace
}  // namespace vorn
