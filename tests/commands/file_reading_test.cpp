// Load and the imports as the user meets them: the first lines of the file under the layout
// controls, refusals that point at a line and column and stay in the status lines, and import
// previews read from the first rows only.
#include "support/command_fixture.h"

namespace vorn {
namespace {

class FileReadingTest : public testing::CommandTest {
 protected:
  FileReadingTest() { host.showsCompletionLines = true; }
};

TEST_F(FileReadingTest, FileParameterSelectionShowsTheFirstLinesOfTheFileToLoad) {
  std::string text = "{ made by hand }\nA\tB &C\n";
  for (int i = 0; i < 12; ++i) text += "1 0 1\n";
  dir.Write("data.txt", text + "*\n");
  std::string preview;
  bool shown = false;
  LoadFile("data.txt", [&](DialogForm& form) {
    preview = form["preview"].caption;
    shown = form["preview"].visible;
    return true;
  });
  EXPECT_TRUE(shown);
  ASSERT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(preview,
            "First lines of the file:\n 1  { made by hand }\n 2  A B &&C\n 3  1 0 1\n 4  1 0 1\n 5  1 0 1\n"
            " 6  1 0 1\n 7  1 0 1\n 8  1 0 1\n 9  1 0 1\n10  1 0 1");
  // Saving shows no file.
  host.files.push_back("saved.txt");
  host.dialogs.push_back([&](DialogForm& form) {
    shown = form["preview"].visible;
    return false;
  });
  Run("Save1Click");
  EXPECT_FALSE(shown);
}

TEST_F(FileReadingTest, ARefusedLoadIsToldInTheStatusLinesToo) {
  dir.Write("bad.txt", "a b c\n1 0 1\n1 0\n*\n");
  LoadFile("bad.txt");
  const std::string message =
      "Cannot interpret data block(2a)\r\nLine 3, column 4: the line holds 2 fields, where each row holds 3 fields";
  EXPECT_EQ(host.Errors(), std::vector<std::string>{message});
  EXPECT_EQ(host.reports, std::vector<std::string>{"Not loaded: bad.txt: Cannot interpret data block(2a) Line 3, "
                                                   "column 4: the line holds 2 fields, where each row holds 3 fields"});
}

// The preview reads the first 50 rows; the whole table is read at OK, where row 81 is refused.
TEST_F(FileReadingTest, AnImportPreviewsTheFirstRowsAndReadsTheWholeTableAtOk) {
  std::string text = "name,L1\n";
  for (int i = 1; i <= 99; ++i) text += "i" + std::to_string(i) + (i == 80 ? ",2\n" : ",1\n");
  dir.Write("table.csv", text);
  host.files.push_back("table.csv");
  std::string counts;
  host.dialogs.push_back([&](DialogForm& form) {
    counts = form["counts"].caption;
    return true;
  });
  Run("ImportCsvTable1Click");
  EXPECT_EQ(counts, "Separator: comma (detected); the first 50 rows: 49 individuals, 1 loci");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Row 81, column 2: '2' is neither present, absent nor missing"});
  EXPECT_FALSE(app.ws.dataLoaded);
}

// The same value for present and absent is refused as a setting, and the dialog shown again.
TEST_F(FileReadingTest, AnImportRefusesOneValueForTwoScores) {
  dir.Write("table.csv", "name,L1\na,1\nb,0\n");
  host.files.push_back("table.csv");
  Answer({{"presence", "1"}, {"absence", "1"}});
  Answer({{"absence", "0"}});
  Run("ImportCsvTable1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Present and absent need different values: '1' is in both."});
  EXPECT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(app.ws.data.cells, (std::vector<Cell>{Presence, Absence}));
}

}  // namespace
}  // namespace vorn
