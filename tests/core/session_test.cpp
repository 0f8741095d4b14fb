#include "core/session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_failures.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::Entries;
using testing::FileSizeLimit;
using testing::ReadFile;
using testing::RecordingHost;
using testing::TempDir;

class SessionTest : public ::testing::Test {
 protected:
  Workspace ws;
  RecordingHost host;
  Session session{ws, host};
  TempDir dir;
};

TEST_F(SessionTest, ReportFillsStatusLinesAndTellsTheHost) {
  session.Report("first");
  EXPECT_EQ(ws.status.Lines()[0], "first");
  EXPECT_EQ(host.reports, std::vector<std::string>{"first"});
}

TEST_F(SessionTest, ErrorBoxIsTitledErrorWithOk) {
  session.ErrorBox("No data loaded!");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Error");
  EXPECT_EQ(host.messages[0].text, "No data loaded!");
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
}

TEST_F(SessionTest, RequireDataIsTheSharedGuard) {
  EXPECT_FALSE(session.RequireData());
  EXPECT_FALSE(session.RequireData("No data loaded"));
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"No data loaded!", "No data loaded"}));
  ws.dataLoaded = true;
  EXPECT_TRUE(session.RequireData());
  EXPECT_EQ(host.messages.size(), 2u);
}

TEST_F(SessionTest, PrepareOutputFileCreatesAMissingFileWithoutAsking) {
  const auto name = dir.File("analysis.txt");
  const auto rewrite = session.PrepareOutputFile(name);
  ASSERT_TRUE(rewrite.has_value());
  EXPECT_FALSE(*rewrite);
  EXPECT_TRUE(FileExists(name));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SessionTest, PrepareOutputFileAsksAtEveryWriteToAnExistingFile) {
  const auto name = dir.Write("analysis.txt", "old\r\n");
  host.answers = {MessageAnswer::Yes, MessageAnswer::No};
  EXPECT_EQ(session.PrepareOutputFile(name), std::optional<bool>(false));
  EXPECT_EQ(session.PrepareOutputFile(name), std::optional<bool>(true));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].title, "Output file exists");
  EXPECT_EQ(host.messages[0].text, "File already exists.\r\n\r\n" + name +
                                       "\r\n\r\nAppend data to file rather than rewriting file?");
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(SessionTest, AnsweringNoMakesTheNewBlockTheOnlyContent) {
  const auto name = dir.Write("analysis.txt", "old block\r\n");
  host.answers = {MessageAnswer::No};
  auto file = session.BeginOutputFile(name);
  ASSERT_TRUE(file.has_value());
  file->Line("new block");
  ASSERT_TRUE(session.FinishOutputFile(*file));
  EXPECT_EQ(ReadFile(name), "new block\r\n");
}

// "No" to the append question writes the file anew: the old one stays until the new block is
// whole, and stays as it was when the writing fails.
TEST_F(SessionTest, ARewriteThatFailsKeepsTheOldFile) {
  const auto name = dir.Write("analysis.txt", "old block\r\n");
  host.answers = {MessageAnswer::No, MessageAnswer::No};
  {
    FileSizeLimit full(16);  // writes fail as on a full disk
    auto file = session.BeginOutputFile(name);
    ASSERT_TRUE(file.has_value());
    file->Line("a new block that does not fit");
    EXPECT_FALSE(session.FinishOutputFile(*file));
  }
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write " + name + ": File too large"});
  EXPECT_EQ(ReadFile(name), "old block\r\n");
  {
    auto file = session.BeginOutputFile(name);  // a command that stops half-way
    file->Line("half a block");
  }
  EXPECT_EQ(ReadFile(name), "old block\r\n");
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"analysis.txt"});
}

TEST_F(SessionTest, AnsweringYesAppends) {
  const auto name = dir.Write("analysis.txt", "old block\r\n");
  host.answers = {MessageAnswer::Yes};
  auto file = session.BeginOutputFile(name);
  file->Line("new block");
  session.FinishOutputFile(*file);
  EXPECT_EQ(ReadFile(name), "old block\r\nnew block\r\n");
}

TEST_F(SessionTest, AnUnwritableFolderGivesTheSystemsReason) {
  EXPECT_FALSE(session.PrepareOutputFile(dir.File("missing/analysis.txt")).has_value());
  ASSERT_EQ(host.Errors().size(), 1u);
  EXPECT_NE(host.Errors()[0].find("No such file or directory"), std::string::npos);
}

TEST_F(SessionTest, LogGetsEveryReportLineWithoutTimeStamps) {
  ws.files.log = dir.File("vornlog.txt");
  session.Report("before logging");
  ASSERT_TRUE(session.StartLogging());
  session.Report("a report");
  session.StopLogging();
  session.Report("after logging");
  EXPECT_EQ(ReadFile(ws.files.log),
            "Started Logging on 08.12.2026 at 10:11:12\r\n"
            "a report\r\n"
            "Stopped Logging on 08.12.2026 at 10:11:12\r\n");
  EXPECT_FALSE(ws.log.logging);
}

TEST_F(SessionTest, LoggingToAnExistingLogAsksAndAppendsOnYes) {
  ws.files.log = dir.Write("vornlog.txt", "old line\r\n");
  host.answers = {MessageAnswer::Yes};
  ASSERT_TRUE(session.StartLogging());
  session.CloseLog();
  EXPECT_EQ(ReadFile(ws.files.log), "old line\r\nStarted Logging on 08.12.2026 at 10:11:12\r\n");
}

TEST_F(SessionTest, LoggingToAnExistingLogRewritesOnNo) {
  ws.files.log = dir.Write("vornlog.txt", "old line\r\n");
  host.answers = {MessageAnswer::No};
  ASSERT_TRUE(session.StartLogging());
  session.CloseLog();
  EXPECT_EQ(ReadFile(ws.files.log), "Started Logging on 08.12.2026 at 10:11:12\r\n");
}

// A log that cannot be written (disk full) is told once, at the first line that fails, and
// logging turns itself off; the lines after it are only shown.
TEST_F(SessionTest, AFailedLogWriteIsToldOnceAndTurnsLoggingOff) {
  if (!FileExists("/dev/full")) GTEST_SKIP();
  ws.files.log = "/dev/full";
  host.answers = {MessageAnswer::Yes};
  ASSERT_TRUE(session.StartLogging());
  EXPECT_FALSE(ws.log.logging);
  EXPECT_FALSE(ws.log.file.has_value());
  session.Report("a later line");
  session.StopLogging();  // as at exit: nothing is open any more
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write /dev/full: No space left on device\r\n\r\n"
                                                    "Logging has been turned off."});
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Started Logging on 08.12.2026 at 10:11:12", "a later line",
                                                    "Stopped Logging on 08.12.2026 at 10:11:12"}));
}

TEST_F(SessionTest, RewritingALogThatIsADeviceWritesNothingToIt) {
  if (!FileExists("/dev/null")) GTEST_SKIP();
  ws.files.log = "/dev/null";
  host.answers = {MessageAnswer::No};
  ASSERT_TRUE(session.StartLogging());
  EXPECT_TRUE(ws.log.logging);
  session.CloseLog();
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

TEST(WorkspaceActiveMatrix, OfferedOnlyForTheIndividualsItDescribes) {
  Workspace ws;
  ws.data.individualCount = 2;
  ws.data.individualLabels = LabelTable({"a", "b"});
  ws.results.standard = DistanceMatrix(2);
  ws.results.active = ResultMatrices::Kept::Standard;
  ws.results.individuals = ws.data.individualLabels;
  EXPECT_EQ(ws.ActiveMatrix(), &*ws.results.standard);

  ws.data.individualLabels = LabelTable({"a", "c"});  // another group of the same size
  EXPECT_EQ(ws.ActiveMatrix(), nullptr);
  ws.data.individualCount = 1;
  ws.data.individualLabels = LabelTable({"a"});
  EXPECT_EQ(ws.ActiveMatrix(), nullptr);
  ws.results.active = ResultMatrices::Kept::None;
  EXPECT_EQ(ws.results.Active(), nullptr);
}

}  // namespace
}  // namespace vorn
