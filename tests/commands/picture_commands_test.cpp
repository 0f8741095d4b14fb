#include <gtest/gtest.h>

#include "support/command_fixture.h"

namespace vorn {
namespace {

// Records what it was asked to draw instead of drawing it.
class RecordingMaker : public PictureMaker {
 public:
  Status SaveTree(const TreeScene& scene, double rowHeight, double treeWidth, const std::string& path) override {
    tree = scene;
    size = {rowHeight, treeWidth};
    this->path = path;
    return Success();
  }
  Status SavePcoa(const PcoaScene& scene, double width, double height, const std::string& path) override {
    pcoa = scene;
    size = {width, height};
    this->path = path;
    return Success();
  }
  Status SaveMantel(const MantelPairs& pairs, double width, double height, const std::string& path) override {
    mantel = pairs;
    size = {width, height};
    this->path = path;
    return Success();
  }
  Status SaveCorrelogram(const Correlogram& picture, double width, double height, const std::string& path) override {
    correlogram = picture;
    size = {width, height};
    this->path = path;
    return Success();
  }
  Status SaveRarefaction(const RarefactionCurves& curves, double width, double height,
                         const std::string& path) override {
    rarefaction = curves;
    size = {width, height};
    this->path = path;
    return Success();
  }
  std::optional<RarefactionCurves> rarefaction;
  Status SaveStructure(const StructureBars& bars, std::size_t shownK, bool, double width, double height,
                       const std::string& path) override {
    structure = bars;
    structureK = shownK;
    size = {width, height};
    this->path = path;
    return Success();
  }
  Status SaveNetwork(const NetworkScene& scene, double width, double height, const std::string& path,
                     std::size_t& leftOut) override {
    network = scene;
    size = {width, height};
    this->path = path;
    leftOut = 0;
    return Success();
  }
  NetworkScene network;
  Status SaveMissingMap(const MissingMap& map, const DataMatrix&, double width, double height,
                        const std::string& path) override {
    missingMap = map;
    size = {width, height};
    this->path = path;
    return Success();
  }
  std::optional<MissingMap> missingMap;
  std::optional<TreeScene> tree;
  std::optional<StructureBars> structure;
  std::size_t structureK = 0;
  std::optional<MantelPairs> mantel;
  std::optional<Correlogram> correlogram;
  std::optional<PcoaScene> pcoa;
  std::pair<double, double> size;
  std::string path;
};

class PictureCommandsTest : public testing::CommandTest {
 protected:
  void LoadThreeGroups() {
    dir.Write("data.txt",
              "a b c d\n1 0 1 1\n0 0 1 0\n1 1 0 0\n*\n[Groups]\nAllData/P= a, b;\nAllData/Q= c;\n*\n");
    LoadFile("data.txt");
    ASSERT_TRUE(app.ws.dataLoaded);
  }
  RecordingMaker maker;
};

TEST_F(PictureCommandsTest, ABuildWithoutQtSaysSoForEveryPictureCommand) {
  for (const char* handler : {"TreeViewer1Click", "PCoAPlot1Click", "SaveTreePicture1Click", "SavePCoAPlot1Click"}) {
    host.messages.clear();
    Run(handler);
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"This build of Vorn draws no pictures: it was built without Qt "
                                                      "(Debian: qt6-base-dev and qt6-svg-dev)."})
        << handler;
  }
}

TEST_F(PictureCommandsTest, SaveTreePictureDrawsTheChosenTreeWithTheGroupsOfTheLevel) {
  app.pictures = &maker;
  LoadThreeGroups();
  dir.Write("trees.ph", "((a:1,b:1):1,c:2)First;\r\n((a,c)70,b,d)Second;\r\n");
  Answer({{"tree_file", "trees.ph"}, {"tree", "2"}, {"level", "1"}, {"row_height", "20"}, {"width", "300"}});
  host.files.push_back("tree.svg");
  Run("SaveTreePicture1Click");
  ASSERT_TRUE(maker.tree);
  EXPECT_EQ(maker.tree->title, "trees.ph: tree 2 of 2, Second");
  EXPECT_EQ(maker.tree->colouring.Names(), (std::vector<std::string>{"P", "Q"}));
  EXPECT_EQ(maker.tree->colouring.GroupOf("c"), 1);
  EXPECT_EQ(maker.size, std::make_pair(20.0, 300.0));
  EXPECT_EQ(maker.path, "tree.svg");
  EXPECT_EQ(host.reports.back(), "Tree picture saved: tree.svg");
}

TEST_F(PictureCommandsTest, SaveTreePictureRootsAtTheMidpointOnRequest) {
  app.pictures = &maker;
  dir.Write("nj.ph", "(c:0.15,(a:0.1,b:0.12)80:0.05,d:0.3)NJx;\n(a,(b,c)70,d)Second;\n");
  host.dialogs.push_back([](DialogForm& form) { form["tree_file"].text = "nj.ph"; form["midpoint_root"].checked = true; return true; });
  host.files.push_back("tree.svg");
  Run("SaveTreePicture1Click");
  ASSERT_TRUE(maker.tree);
  EXPECT_EQ(maker.tree->title, "nj.ph: tree 1 of 2, NJx, rooted at its midpoint");
  Answer({{"tree", "2"}});
  host.files.push_back("tree.svg");
  Run("SaveTreePicture1Click");
  EXPECT_EQ(host.reports.back(), "Tree 2 of nj.ph is drawn as written. The tree has no midpoint to root at: the "
                                 "branch to the tip \"a\" has no length.");
}

TEST_F(PictureCommandsTest, SaveTreePictureRefusesWhatItCannotDraw) {
  app.pictures = &maker;
  struct Case {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string error;
  };
  dir.Write("one.ph", "(a,b);\n");
  const Case cases[] = {
      {{{"tree_file", "none.ph"}}, "Cannot open none.ph"},
      {{{"tree_file", "one.ph"}, {"tree", "2"}}, "The file one.ph holds 1 trees; there is no tree 2."},
      {{{"tree", "0"}}, "The tree number (tree) must be a whole number from 1 to 1000000, not \"0\"."},
      {{{"tree", "1"}, {"level", "1001"}}, "The group level (level) must be a whole number from 0 to 1000, not \"1001\"."},
      {{{"level", "0"}, {"row_height", "8"}}, "The row height (row_height) must be a whole number from 9 to 100, not \"8\"."},
      {{{"row_height", "9"}, {"width", "x"}}, "The width (width) must be a whole number from 100 to 20000, not \"x\"."},
  };
  for (const auto& c : cases) {
    host.messages.clear();
    Answer(c.fields);
    Run("SaveTreePicture1Click");
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0].substr(0, c.error.size()), c.error);
  }
  EXPECT_FALSE(maker.tree);
  // The name chooses the format: one typed without an extension gets none, and is refused.
  host.messages.clear();
  Answer({{"width", "100"}});
  host.files.push_back("tree");
  Run("SaveTreePicture1Click");
  EXPECT_TRUE(host.fileDialogs.back().defaultExtension.empty());
  EXPECT_EQ(maker.path, "tree");
}

TEST_F(PictureCommandsTest, PcoaPicturesNeedAnAnalysisFirst) {
  app.pictures = &maker;
  for (const char* handler : {"PCoAPlot1Click", "SavePCoAPlot1Click"}) {
    host.messages.clear();
    Run(handler);
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"There is no principal coordinate analysis to show: run Trees > "
                                                      "Principal Coordinate Analysis first."});
  }
}

TEST_F(PictureCommandsTest, MissingDataMapOrdersTheIndividualsByTheGroupsOfTheLevel) {
  app.pictures = &maker;
  dir.Write("data.txt", "a b c d e f\n1 ? 0 0 1 0\n1 0 ? ? 1 1\n0 1 1 1 0 ?\n*\n[Groups]\n"
                        "AllData/Q= c, d;\nAllData/P= a, e;\n*\n");
  LoadFile("data.txt");
  Answer({{"level", "2"}});
  Run("MissingDataMap1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"There is no group level 2: the groups have 1 level."});
  EXPECT_FALSE(maker.missingMap);
  Answer({{"level", "1"}, {"width", "500"}});
  host.files.push_back("missing.png");
  Run("MissingDataMap1Click");
  ASSERT_TRUE(maker.missingMap);
  EXPECT_EQ(maker.missingMap->rows, (std::vector<std::uint32_t>{2, 3, 0, 4, 1, 5}));
  EXPECT_EQ(maker.size.first, 500);
  EXPECT_EQ(host.reports.back(), "Missing data map saved: missing.png (22.22 % of the scores missing)");
}

TEST_F(PictureCommandsTest, SaveStructurePlotDrawsTheBarsOfTheLastRunInPopulationOrder) {
  app.pictures = &maker;
  Run("SaveStructurePlot1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{
                               "There is no population structure to show: run Analysis > Population Structure first."});
  // The populations as the group list orders them (Q before P), whatever the data order.
  dir.Write("data.txt", "a b c d e f\n1 1 0 0 1 0\n1 0 0 0 1 1\n0 1 1 1 0 0\n1 1 0 1 1 1\n*\n[Groups]\n"
                        "AllData/Q= c, d;\nAllData/P= a, b, e, f;\n*\n");
  LoadFile("data.txt");
  Answer({{"max_k", "2"}, {"runs", "2"}, {"folds", "0"}});
  host.answers.push_back(MessageAnswer::No);
  Run("PopulationStructure1Click");
  ASSERT_TRUE(app.ws.structure);
  host.messages.clear();
  Answer({{"k", "3"}});
  Run("SaveStructurePlot1Click");
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"The last population structure run has no K = 3 (it ran K = 1 to 2)."});
  Answer({{"k", "2"}, {"width", "600"}});
  host.files.push_back("bars.svg");
  Run("SaveStructurePlot1Click");
  ASSERT_TRUE(maker.structure);
  EXPECT_EQ(maker.structureK, 2u);
  EXPECT_EQ(maker.size.first, 600);
  EXPECT_EQ(maker.structure->populations, (std::vector<std::string>{"Q", "Q", "P", "P", "P", "P"}));
  EXPECT_EQ(maker.structure->clusters, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(maker.structure->q[1].size(), 12u);
}

TEST_F(PictureCommandsTest, SavePcoaPlotDrawsTheChosenAxesOfTheLastAnalysis) {
  app.pictures = &maker;
  LoadThreeGroups();
  Run("Jaccard1Click");
  host.answers.push_back(MessageAnswer::Yes);  // append to the analysis file
  Run("PrincipalCoordinateAnalysis1Click");
  ASSERT_TRUE(app.ws.ordination);
  Answer({{"x_axis", "2"}, {"y_axis", "1"}, {"width", "500"}, {"height", "400"}});
  host.files.push_back("plot.png");
  Run("SavePCoAPlot1Click");
  ASSERT_TRUE(maker.pcoa);
  EXPECT_EQ(maker.pcoa->layout.points.size(), 4u);
  EXPECT_EQ(maker.pcoa->layout.xTitle.substr(0, 5), "PCo2 ");
  EXPECT_EQ(maker.pcoa->layout.points[2].group, 1);
  EXPECT_EQ(maker.size, std::make_pair(500.0, 400.0));
  EXPECT_EQ(host.reports.back(), "PCoA plot saved: plot.png");
}

// A load, a filter or a selection leaves the analysis to other data: the pictures say so
// instead of drawing its points under the groups of the new data.
TEST_F(PictureCommandsTest, PcoaPicturesRefuseAnAnalysisOfOtherData) {
  app.pictures = &maker;
  const std::string stale = "The last principal coordinate analysis was computed from other data (before a load, "
                            "import, filter or selection): run Trees > Principal Coordinate Analysis again.";
  const struct {
    const char* change;
    const char* data;
  } cases[] = {
      {"other data", "a b c d\n1 0 1 1\n0 0 1 1\n1 1 0 0\n*\n"},
      {"the same names", "a b c d\n1 1 1 1\n0 0 1 0\n1 1 0 0\n*\n"},
  };
  for (const auto& c : cases) {
    LoadThreeGroups();
    Run("Jaccard1Click");
    host.answers.push_back(MessageAnswer::Yes);
    Run("PrincipalCoordinateAnalysis1Click");
    ASSERT_TRUE(app.ws.CurrentOrdination()) << c.change;
    maker.pcoa.reset();  // the analysis drew its figure for the report
    dir.Write("other.txt", c.data);
    LoadFile("other.txt");
    for (const char* handler : {"PCoAPlot1Click", "SavePCoAPlot1Click"}) {
      host.messages.clear();
      Run(handler);
      EXPECT_EQ(host.Errors(), std::vector<std::string>{stale}) << c.change << ", " << handler;
    }
    EXPECT_FALSE(maker.pcoa) << c.change;
  }
}

// The curves of the last band rarity run, refused before one and after a filter changed the data.
TEST_F(PictureCommandsTest, SaveRarefactionCurvesDrawsTheLastRunAndRefusesAStaleOne) {
  app.pictures = &maker;
  Run("SaveRarefactionCurves1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"There is no rarefied band richness to show: run Analysis > Band "
                                                    "Rarity and Richness first."});
  dir.Write("data.txt", "a b c d e f\n1 1 0 0 1 0\n1 0 0 0 1 1\n0 1 1 1 0 0\n1 1 0 1 1 1\n*\n[Groups]\n"
                        "AllData/P= a, b, c;\nAllData/Q= d, e, f;\n*\n");
  LoadFile("data.txt");
  Answer({{"level", "1"}, {"replicates", "0"}});
  host.answers.push_back(MessageAnswer::No);
  Run("BandRarity1Click");
  ASSERT_TRUE(app.ws.CurrentRarefaction());
  host.messages.clear();
  Answer({{"width", "700"}});
  host.files.push_back("curves.svg");
  Run("SaveRarefactionCurves1Click");
  EXPECT_TRUE(host.Errors().empty());
  ASSERT_TRUE(maker.rarefaction);
  EXPECT_EQ(maker.size.first, 700);
  EXPECT_EQ(maker.rarefaction->populations, (std::vector<std::string>{"AllData/P", "AllData/Q"}));
  EXPECT_EQ(maker.rarefaction->richness.size(), 2u);  // g = 2, 3
  app.ws.data.cells[0] = app.ws.data.cells[0] == Presence ? Absence : Presence;
  host.messages.clear();
  Run("SaveRarefactionCurves1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{
                               "The last rarefied band richness was computed from other data (before a load, import, "
                               "filter or selection): run Analysis > Band Rarity and Richness again."});
}

}  // namespace
}  // namespace vorn
