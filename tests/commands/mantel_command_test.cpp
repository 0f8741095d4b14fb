// Analysis > Mantel Test and View > Save Mantel Plot: the inputs refused (with nothing written),
// and the pairs kept for the plot.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_fixture.h"

namespace vorn {
namespace {

constexpr const char* kThreePopulations =
    "a1 a2 b1 b2 c1 c2\n"
    "1 0 0 0 1 1\n"
    "1 1 1 0 1 0\n"
    "0 1 1 0 0 1\n"
    "1 1 0 1 0 0\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1, a2;\n"
    "AllData/B = b1, b2;\n"
    "AllData/C = c1, c2;\n"
    "*\n";
constexpr const char* kPlaces = "name,x,y\na1,0,0\na2,1,0\nb1,5,1\nb2,6,2\nc1,9,9\nc2,10,7\n";

class MantelCommandTest : public testing::CommandTest {
 protected:
  // Answers the dialog "Mantel Test": text fields as given, the radio groups by their item keys.
  void AnswerMantel(std::vector<std::pair<std::string, std::string>> fields) {
    host.dialogs.push_back([fields](DialogForm& form) {
      for (const auto& [key, value] : fields) {
        Control& control = form[key];
        if (control.kind == ControlKind::RadioGroup) {
          control.selected = static_cast<int>(std::find(control.itemKeys.begin(), control.itemKeys.end(), value) -
                                              control.itemKeys.begin());
        } else {
          control.text = value;
        }
      }
      return true;
    });
  }
};

struct Refusal {
  std::string data;
  std::string places;  // the coordinates file; "" for none
  std::vector<std::pair<std::string, std::string>> fields;
  std::string error;
};

TEST_F(MantelCommandTest, RefusalsNameTheirCauseAndWriteNothing) {
  const std::string three = kThreePopulations, places = kPlaces;
  const std::string two = three.substr(0, three.find("AllData/C")) + "*\n";
  const std::string single = three.substr(0, three.find("AllData/B")) + "AllData/B = b1;\nAllData/C = b2, c1, c2;\n*\n";
  const std::string together = "name,x,y\na1,0,0\na2,1,1\nb1,1,0\nb2,0,1\nc1,0,1\nc2,1,0\n";
  const std::vector<Refusal> refusals = {
      {three, "", {}, "There are no coordinates: import them with the data (File > Import) or name a coordinates file "
                      "in the dialog."},
      {three, places.substr(0, places.find("c2")), {{"coordinates_file", "places.csv"}},
       "1 of 6 individuals have no coordinates: c2."},
      {three, places.substr(0, places.find("c2")), {{"matrices", "populations"}},
       "In the population AllData/C, 1 of 2 individuals have no coordinates: c2."},
      {three, "name,x,y\na1,0,zero\n", {{"matrices", "individuals"}},
       "places.csv: Row 2, column 3: 'zero' is not a number"},
      {three, "name,latitude,longitude\na1,95,0\n", {}, "places.csv: Row 2, column 2: a latitude lies between -90 and 90"},
      {three, "name,latitude,longitude\na1,45,-181\n", {},
       "places.csv: Row 2, column 3: a longitude lies between -180 and 180"},
      {two, places, {{"matrices", "populations"}},
       "The populations of level 1 (groups 2 deep in the hierarchy) number 2; this command needs at least 3."},
      {single, places, {},
       "PhiPT needs at least two individuals in every population (a population of one has no variance within it); "
       "AllData/B has one. Choose Nei's distance or another level."},
      {three, together, {{"genetic", "nei"}},
       "The geographic distance is the same for every pair, so their correlation r is undefined."},
      {three, places, {{"permutations", "-1"}},
       "The number of permutations (permutations) must be a whole number from 0 to 1000000, not \"-1\"."},
  };
  // The dialog keeps its fields from one row to the next.
  for (const Refusal& refusal : refusals) {
    Load(refusal.data);
    Run("Jaccard1Click");
    std::filesystem::remove("analysis.txt");
    if (!refusal.places.empty()) dir.Write("places.csv", refusal.places);
    host.messages.clear();
    AnswerMantel(refusal.fields);
    host.dialogs.push_back([](DialogForm&) { return false; });  // shown again after its refusal: cancelled
    Run("MantelTest1Click");
    host.dialogs.clear();
    EXPECT_EQ(host.Errors(), std::vector<std::string>{refusal.error}) << refusal.error;
    EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
    EXPECT_FALSE(app.ws.mantel);
  }
}

TEST_F(MantelCommandTest, KeepsThePairsForThePlotAndWritesThemOnYes) {
  Load(kThreePopulations);
  dir.Write("places.csv", kPlaces);
  AnswerMantel({{"matrices", "populations"}, {"genetic", "nei"}, {"coordinates_file", "places.csv"},
                {"permutations", "0"}, {"pairs_file", "pairs.tsv"}});
  host.answers = {MessageAnswer::Yes};
  Run("MantelTest1Click");
  ASSERT_TRUE(app.ws.mantel);
  EXPECT_EQ(app.ws.mantel->geographic.size(), 3u);
  EXPECT_DOUBLE_EQ(app.ws.mantel->geographic[0], std::hypot(5.5 - 0.5, 1.5 - 0.0));
  EXPECT_EQ(testing::ReadFile("pairs.tsv").substr(0, 53), "First\tSecond\tGeographic\tGenetic\r\nAllData/A\tAllData/B\t");
  EXPECT_NE(testing::ReadFile("analysis.txt").find("\r\np             - (no permutations)\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vorn
