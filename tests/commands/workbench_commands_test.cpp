// What the desktop workbench builds on, without a window: the Data tab's table over the working
// matrix, completion lines after commands that write files, the Output Files and Random Seed
// options, and the recent data files with their layouts.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/shell/completion_lines.h"
#include "commands/data/data_table.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::CommandTest;
using testing::kFiveIndividuals;
using testing::ReadFile;

constexpr const char* kGrouped =
    "A B C\n1 0 ?\n0 0 1\n*\n[Groups]\nAllData/P= A, C;\nAllData/Q= B;\nAllData/P/Sub= C;\n*\n";

class WorkbenchCommandsTest : public CommandTest {};

// Load reads the [LocusMetrics] block with the data; the locus tooltips show the metrics.
TEST_F(WorkbenchCommandsTest, DataTableLocusTipsShowTheLocusMetricsLoadRead) {
  Load("A B C\n1 0 ?\n0 0 1\n*\n\n[LocusMetrics]\nLocus, CallRate, PIC\nLocus1, 0.9, 0.5\nLocus2, NA, 0.25\n*\n");
  DataTable table(app.ws);
  table.Refresh();
  EXPECT_EQ(table.LocusTip(0), "Locus1\nCallRate: 0.9\nPIC: 0.5");
  EXPECT_EQ(table.LocusTip(1), "Locus2\nCallRate: NA\nPIC: 0.25");
  EXPECT_EQ(app.ws.original.locusMetrics, app.ws.data.locusMetrics);
}

TEST_F(WorkbenchCommandsTest, DataTableShowsTheWorkingCellsEitherWayWithGroupsAndSelection) {
  DataTable table(app.ws);
  table.Refresh();
  EXPECT_EQ(table.Rows(), 0u);
  EXPECT_EQ(table.Caption(), "No data loaded");

  Load(kGrouped);
  table.Refresh();
  ASSERT_EQ(table.Rows(), 3u);  // individuals in rows
  ASSERT_EQ(table.Columns(), 2u);
  EXPECT_EQ(table.RowName(2), "C");
  EXPECT_EQ(table.ColumnName(1), "Locus2");
  EXPECT_EQ(table.ScoreAt(2, 0), Missing);
  EXPECT_EQ(table.ScoreAt(2, 1), Presence);
  EXPECT_EQ(table.Levels(), 2u);
  EXPECT_EQ(table.GroupOf(0), 0);  // A in P
  EXPECT_EQ(table.GroupOf(1), 1);  // B in Q
  EXPECT_EQ(table.GroupNames(), (std::vector<std::string>{"P", "Q"}));
  table.SetLevel(2);
  EXPECT_EQ(table.GroupOf(0), -1);
  EXPECT_EQ(table.GroupOf(2), 0);  // C in P/Sub
  EXPECT_EQ(table.Caption(), "Group AllData, locus set AllLoci: 3 individuals x 2 loci");

  table.SetOrientation(DataOrientation::IndividualsInColumns);
  EXPECT_EQ(table.Rows(), 2u);
  EXPECT_EQ(table.ScoreAt(0, 2), Missing);
  EXPECT_EQ(table.RowName(0), "Locus1");
  EXPECT_EQ(table.ColumnName(0), "A");

  SelectGroupEntry(1);  // AllData/P
  table.Refresh();
  EXPECT_EQ(table.Columns(), 2u);
  EXPECT_EQ(table.ColumnName(1), "C");
  EXPECT_EQ(table.Caption(), "Group AllData/P, locus set AllLoci: 2 individuals x 2 loci");

  // The three scores differ in symbol and in colour.
  EXPECT_STREQ(LookOf(Presence).symbol, "1");
  EXPECT_STREQ(LookOf(Absence).symbol, "0");
  EXPECT_STREQ(LookOf(Missing).symbol, "?");
  EXPECT_NE(LookOf(Presence).background, LookOf(Missing).background);
}

TEST_F(WorkbenchCommandsTest, CompletionLinesFollowTheReportLineOnlyOnAWindowLikeHost) {
  host.showsCompletionLines = true;
  Load(kFiveIndividuals);
  Run("Jaccard1Click");
  Run("UPGMA1Click");
  const std::string here = std::filesystem::current_path().string();
  const std::string analysis = ReadFile("analysis.txt");
  const auto lines = std::count(analysis.begin(), analysis.end(), '\n');
  ASSERT_GE(host.reports.size(), 2u);
  EXPECT_EQ(host.reports.back(), "1 tree written to " + here + "/outtree.ph");
  const auto& status = app.ws.status.Lines();
  EXPECT_NE(std::find(status.begin(), status.end(), "1 tree written to " + here + "/outtree.ph"), status.end());
  EXPECT_NE(std::find(host.reports.begin(), host.reports.end(),
                      std::to_string(lines) + " lines written to " + here + "/analysis.txt"),
            host.reports.end());

  // The log file gets the reported lines only; an appended file counts the lines it gained.
  host.reports.clear();
  Run("urnlogon1Click");
  host.answers.push_back(MessageAnswer::Yes);
  Run("UPGMA1Click");
  Run("urnlogon1Click");
  ASSERT_EQ(host.reports.size(), 4u);
  EXPECT_EQ(host.reports[2], "1 tree written to " + here + "/outtree.ph");
  EXPECT_EQ(ReadFile("vornlog.txt").find("written to"), std::string::npos);

  // A script's host shows none.
  host.showsCompletionLines = false;
  host.reports.clear();
  host.answers.push_back(MessageAnswer::No);
  Run("UPGMA1Click");
  EXPECT_EQ(host.reports.back().find("written to"), std::string::npos);
}

TEST(CompletionLines, NameEachFileOnceByItsAbsolutePath) {
  const std::string here = std::filesystem::current_path().string();
  FileNames names;
  names.consensusOutput = "cons.ph";
  const std::vector<WrittenFile> written = {
      {"analysis.txt", 3, false}, {"outtree.ph", 100, false}, {"analysis.txt", 2, false},
      {"cons.ph", 1, true},       {"vornlog.txt", 1, false},  {"/tmp/x.nex", 7, true},
      {"/tmp/x.nex", 4, true},
  };
  EXPECT_EQ(CompletionLines(written, names), (std::vector<std::string>{
                                                 "5 lines written to " + here + "/analysis.txt",
                                                 "100 trees written to " + here + "/outtree.ph",
                                                 "1 tree written to " + here + "/cons.ph",
                                                 "4 lines written to /tmp/x.nex",
                                             }));
}

TEST_F(WorkbenchCommandsTest, OutputFilesAnswersTheAppendQuestionOnceForAll) {
  Load(kFiveIndividuals);
  Run("Jaccard1Click");
  const std::string block = ReadFile("analysis.txt");
  ASSERT_FALSE(block.empty());
  const auto choose = [this](const char* key) {
    host.dialogs.push_back([key](DialogForm& form) {
      const auto& keys = form["existing"].itemKeys;
      form["existing"].selected = static_cast<int>(std::find(keys.begin(), keys.end(), key) - keys.begin());
      return true;
    });
    Run("OutputFiles1Click");
  };
  choose("append");
  EXPECT_EQ(host.reports.back(), "Existing output files: always appended");
  Run("Jaccard1Click");
  EXPECT_EQ(ReadFile("analysis.txt"), block + block);
  choose("rewrite");
  EXPECT_EQ(host.reports.back(), "Existing output files: always rewritten");
  Run("Jaccard1Click");
  EXPECT_EQ(ReadFile("analysis.txt"), block);
  const auto questions = [this] {
    return std::count_if(host.messages.begin(), host.messages.end(),
                         [](const auto& message) { return message.title == "Output file exists"; });
  };
  EXPECT_EQ(questions(), 0);

  choose("ask");
  EXPECT_EQ(host.reports.back(), "Existing output files: asked whether to append");
  host.answers.push_back(MessageAnswer::Yes);
  Run("Jaccard1Click");
  EXPECT_EQ(questions(), 1);
  // Cancel keeps the choice.
  host.dialogs.push_back([](DialogForm&) { return false; });
  Run("OutputFiles1Click");
  EXPECT_EQ(app.ws.settings.existingOutputFile, ExistingOutputFile::Ask);
}

TEST_F(WorkbenchCommandsTest, RandomSeedSetsTheGeneratorOrRefusesWhatIsNoSeed) {
  app.Start(5);
  EXPECT_EQ(app.StartSeed(), 5u);
  for (const auto& [typed, state] : {std::pair{"4294967295", 4294967295u}, {"-1", 4294967295u}, {"12x", 4294967295u},
                                     {"4294967296", 4294967295u}, {"7", 7u}}) {
    Answer({{"value", typed}});
    Run("RandomSeed1Click");
    EXPECT_EQ(app.ws.random.State(), state) << typed;
  }
  EXPECT_EQ(host.reports.back(), "Random seed set to 7");
  EXPECT_EQ(host.Errors().back(), "The seed \"4294967296\" is not a whole number from 0 to 4294967295.");
}

TEST_F(WorkbenchCommandsTest, RecentFilesKeepTheLastEightLoadsWithTheirLayouts) {
  for (int i = 0; i < 10; ++i) dir.Write("d" + std::to_string(i) + ".txt", kFiveIndividuals);
  for (int i = 0; i < 10; ++i) LoadFile("d" + std::to_string(i) + ".txt");
  host.dialogs.push_back([](DialogForm& form) {
    form["open_remark"].text = "[";
    return true;
  });
  LoadFile("d5.txt");
  const auto& files = app.recentFiles.Files();
  ASSERT_EQ(files.size(), RecentFiles::kMaxFiles);
  EXPECT_EQ(files[0].path, dir.File("d5.txt"));
  EXPECT_EQ(files[0].layout.openRemark, '[');
  EXPECT_EQ(files[1].path, dir.File("d9.txt"));
  EXPECT_EQ(files[7].path, dir.File("d2.txt"));

  // The layout as a text and back; a damaged text is refused.
  FileLayout layout;
  layout.individualsInColumns = false;
  layout.ambiguity = '-';
  EXPECT_EQ(ParseLayoutText(LayoutText(layout)), layout);
  EXPECT_EQ(LayoutText(FileLayout()), "columns=1,individual_header=1,locus_header=0,presence=49,absence=48,ambiguity=63,"
                                      "open_remark=123,close_remark=125,end_of_data=42,delimited=1,include_groups=1");
  for (const char* damaged : {"", "columns=2", "columns=1,presence=0", "x"}) EXPECT_FALSE(ParseLayoutText(damaged)) << damaged;
}

}  // namespace
}  // namespace vorn
