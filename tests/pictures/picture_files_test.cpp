#include "pictures/picture_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <map>
#include <optional>
#include <utility>
#include <string>

#include "core/text_file.h"
#include "pictures/plot_frame.h"
#include "pictures/tree_painter.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

// Every <text> element's content, counted.
std::map<std::string, int> SvgTexts(const std::string& path) {
  QFile file(QString::fromStdString(path));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  QXmlStreamReader xml(&file);
  std::map<std::string, int> texts;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("text")) {
      ++texts[xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString()];
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

class SavedPictures : public ::testing::Test {
 protected:
  PictureApplication application_;
};

TreeScene Scene(const std::string& line, const GroupList& groups = {}) {
  auto scene = MakeTreeScene({line}, 1, "constree.ph", groups, 1);
  EXPECT_TRUE(scene) << scene.error();
  return std::move(*scene);
}

TEST_F(SavedPictures, TreeSvgIsXmlWithOneTextPerTipAndTheNodeLabels) {
  testing::TempDir dir;
  const TreeScene scene = Scene("(((Dd,Ee)100,(Aa,Bb)100)80,Cc)100;",
                                {{"AllData", {}, false}, {"AllData/North", {"Aa", "Bb"}, false}});
  const std::string path = dir.File("tree.svg");
  ASSERT_TRUE(SaveTreePicture(scene, 16, 400, path).ok());
  const auto texts = SvgTexts(path);
  for (const char* tip : {"Aa", "Bb", "Cc", "Dd", "Ee"}) EXPECT_EQ(texts.count(tip) ? texts.at(tip) : 0, 1) << tip;
  EXPECT_EQ(texts.at("100"), 2);  // the two inner groups; the root's is the title's
  EXPECT_EQ(texts.at("80"), 1);
  EXPECT_EQ(texts.at("North"), 1);  // the legend
  EXPECT_EQ(texts.at("constree.ph: tree 1 of 1, 100"), 1);
}

TEST_F(SavedPictures, MidpointRootedTreeDrawsItsTipsTurnedRound) {
  testing::TempDir dir;
  auto scene = MakeTreeScene({"(C:0.15,(A:0.1,B:0.12)80:0.05,D:0.3)NJx;"}, 1, "nj.ph", {}, 0, TreeRooting::Midpoint);
  ASSERT_TRUE(scene && SaveTreePicture(*scene, 16, 400, dir.File("tree.svg")).ok());
  const std::string svg = testing::ReadFile(dir.File("tree.svg"));
  // The title, the label, then the tips from the top row down.
  std::size_t at = 0;
  for (const char* text : {">nj.ph: tree 1 of 1, NJx, rooted at its midpoint<", ">80<", ">D<", ">C<", ">A<", ">B<"}) {
    at = svg.find(text, at);
    ASSERT_NE(at, std::string::npos) << text;
  }
}

// A negative branch (neighbour-joining) puts its tip left of its parent: the label starts at the
// branch's right end, clear of the branch, not over it.
TEST_F(SavedPictures, TipLabelsOfNegativeBranchesStartPastTheBranch) {
  const TreeScene scene = Scene("(A:0.3,(B:-0.1,C:0.2):0.2);");
  const TreeDrawing drawing(scene, 16, 400);
  const auto tip = [&](const char* name) {
    for (int t : scene.layout.tips) {
      if (scene.tree.nodes[static_cast<std::size_t>(t)].name == name) return drawing.TipPoint(t);
    }
    return QPointF();
  };
  // The parent stands at 0.2 and C at 0.4 of a tree 0.4 wide drawn 400 pixels wide.
  EXPECT_DOUBLE_EQ(tip("C").x() - tip("B").x(), 200);
  EXPECT_DOUBLE_EQ(tip("C").x() - tip("A").x(), 100);
}

TEST_F(SavedPictures, SegmentsAreClippedToTheFrame) {
  const QRectF frame(10, 10, 100, 50);  // x 10 to 110, y 10 to 60
  const struct {
    QPointF a, b;
    std::optional<std::pair<QPointF, QPointF>> clipped;
  } cases[] = {
      {{20, 20}, {100, 50}, std::make_pair(QPointF(20, 20), QPointF(100, 50))},  // inside
      {{0, 35}, {120, 35}, std::make_pair(QPointF(10, 35), QPointF(110, 35))},   // across
      {{0, 0}, {120, 120}, std::make_pair(QPointF(10, 10), QPointF(60, 60))},    // in at a corner, out below
      {{60, 70}, {60, 0}, std::make_pair(QPointF(60, 60), QPointF(60, 10))},     // upwards
      {{0, 70}, {5, 0}, std::nullopt},                                          // beside it
      {{120, 20}, {130, 20}, std::nullopt},                                     // parallel, outside
  };
  for (const auto& c : cases) {
    const auto clipped = ClipSegment(c.a, c.b, frame);
    ASSERT_EQ(clipped.has_value(), c.clipped.has_value()) << c.a.x() << "," << c.a.y();
    if (!clipped) continue;
    EXPECT_NEAR(QLineF(clipped->first, c.clipped->first).length(), 0, 1e-9);
    EXPECT_NEAR(QLineF(clipped->second, c.clipped->second).length(), 0, 1e-9);
  }
}

MantelPairs SteepMantelPairs() {
  MantelPairs pairs;
  pairs.geographic = {0, 10, 20, 30};
  pairs.genetic = {0.1, 0.9, 0.2, 0.3};
  pairs.slope = 0.1, pairs.intercept = -0.5;  // from -0.5 to 2.5: far outside the plot
  pairs.title = "Mantel test: r= 0.412, p= 0.001 (999 permutations)";
  pairs.xCaption = "Great-circle distance (km)";
  pairs.yCaption = "Genetic distance: StdJaccard, 1-S";
  return pairs;
}

// Text grows with the picture: printed 85 mm wide, the tick labels (the smallest text, 11 pixels
// at scale 1) come to 6 pt or more; on screen and in small files they stay 11 pixels.
TEST_F(SavedPictures, FileTextGrowsWithThePicture) {
  for (double width : {200.0, 400.0, 640.0, 1200.0, 2400.0, 8000.0}) {
    const double points = 11 * FileTextScale(QSizeF(width, 300)) * (85 / 25.4 * 72) / width;
    EXPECT_GE(points + 1e-9, std::min(6.0, 11 * (85 / 25.4 * 72) / width)) << width;
    EXPECT_GE(FileTextScale(QSizeF(width, 300)), 1.0) << width;
  }
  EXPECT_NEAR(11 * FileTextScale(QSizeF(2400, 1800)) * (85 / 25.4 * 72) / 2400, 6, 1e-9);
}

// Sizes too small for the frame and captions are refused, naming a size that would do; the title
// is set smaller rather than cut; the regression line ends at the frame in the SVG file too.
TEST_F(SavedPictures, MantelPlotsFitTheirSizeOrAreRefused) {
  testing::TempDir dir;
  const MantelPairs pairs = SteepMantelPairs();
  const Status tiny = SaveMantelPicture(pairs, QSizeF(200, 200), dir.File("tiny.svg"));
  ASSERT_FALSE(tiny.ok());
  EXPECT_TRUE(tiny.error().starts_with("At 200 x 200 pixels the plot has no room for its frame and axis captions: "
                                       "choose at least "))
      << tiny.error();
  EXPECT_FALSE(FileExists(dir.File("tiny.svg")));
  for (const QSizeF size : {QSizeF(400, 300), QSizeF(2400, 1800)}) {
    const std::string path = dir.File("mantel.svg");
    ASSERT_TRUE(SaveMantelPicture(pairs, size, path).ok()) << size.width();
    const auto texts = SvgTexts(path);
    for (const std::string& text : {pairs.title, pairs.xCaption, pairs.yCaption}) {
      EXPECT_EQ(texts.count(text), 1u) << size.width() << ": " << text;
    }
  }
  ASSERT_TRUE(SaveMantelPicture(pairs, QSizeF(400, 300), dir.File("line.svg")).ok());
  QSvgRenderer svg(QString::fromStdString(dir.File("line.svg")));
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    svg.render(&painter);
  }
  // No red of the line above the frame's top (y 40 at scale 1).
  for (int y = 0; y < 38; ++y) {
    for (int x = 0; x < 400; ++x) {
      const QColor c = image.pixelColor(x, y);
      EXPECT_FALSE(c.red() > 150 && c.green() < 100 && c.blue() < 100) << x << "," << y;
    }
  }
}

// The correlogram at a journal's column width and on screen: its texts whole, the filled dot of a
// significant class in the line's blue, an undefined r and a missing band simply left out.
TEST_F(SavedPictures, CorrelogramsShowTheirTextsAndMarkSignificantClasses) {
  testing::TempDir dir;
  Correlogram correlogram;
  correlogram.classes = {{100, 0.3, -0.05, 0.06, 0.22, 0.38, true},
                         {300, 0.02, -0.04, 0.05, -0.03, 0.07, false},
                         {500, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, false},
                         {700, -0.2, -0.05, 0.05, -0.3, -0.1, true}};
  correlogram.title = "Spatial autocorrelation of 30 individuals: omega= 41.3, p= 0.005";
  correlogram.xCaption = "Euclidean distance (class mean)";
  for (const QSizeF size : {QSizeF(800, 640), QSizeF(2400, 1800)}) {
    const std::string path = dir.File("correlogram.svg");
    ASSERT_TRUE(SaveCorrelogramPicture(correlogram, size, path).ok()) << size.width();
    const auto texts = SvgTexts(path);
    for (const std::string& text : {correlogram.title, correlogram.xCaption, std::string("r"),
                                    std::string("r, p <= 0.05"), std::string("95 % null band")}) {
      EXPECT_EQ(texts.count(text), 1u) << size.width() << ": " << text;
    }
  }
  ASSERT_TRUE(SaveCorrelogramPicture(correlogram, QSizeF(800, 640), dir.File("correlogram.png")).ok());
  const QImage image(QString::fromStdString(dir.File("correlogram.png")));
  CorrelogramDrawing drawing(correlogram, QSizeF(800, 640), FileTextScale(QSizeF(800, 640)));
  EXPECT_TRUE(drawing.TooSmall().empty());
  EXPECT_FALSE(SaveCorrelogramPicture(correlogram, QSizeF(200, 200), dir.File("tiny.png")).ok());
  EXPECT_FALSE(FileExists(dir.File("tiny.png")));
  // Somewhere the significant classes' blue fill is drawn.
  bool blue = false;
  for (int y = 0; y < image.height() && !blue; ++y) {
    for (int x = 0; x < image.width() && !blue; ++x) blue = image.pixelColor(x, y) == QColor(0x1f, 0x5f, 0x9f);
  }
  EXPECT_TRUE(blue);
}

// The rarefaction curves: both panels' titles and captions and every population's name in the
// SVG, at a journal's column width and on screen; a size without room for the panels refused.
TEST_F(SavedPictures, RarefactionCurvesNameEveryPopulation) {
  testing::TempDir dir;
  RarefactionCurves curves;
  curves.populations = {"Karst", "Uphill", "Valley floor"};
  curves.richness = {{20, 18.5, 22}, {26, 24, 29.5}, {30, 27.2, 33}};
  curves.privateRichness = {{2, 0.5, 3}, {2.8, 0.9, 4.1}, {3.3, 1.2, 4.9}};
  for (const QSizeF size : {QSizeF(800, 640), QSizeF(2400, 1400)}) {
    const std::string path = dir.File("rarefaction.svg");
    ASSERT_TRUE(SaveRarefactionPicture(curves, size, path).ok()) << size.width();
    const auto texts = SvgTexts(path);
    for (const char* text : {"Karst", "Uphill", "Valley floor", "Band richness", "Private band richness",
                                    "Br(g)", "Private Br(g)"}) {
      EXPECT_EQ(texts.count(text), 1u) << size.width() << ": " << text;
    }
    EXPECT_EQ(texts.at("g (individuals drawn)"), 2) << size.width();
  }
  ASSERT_TRUE(SaveRarefactionPicture(curves, QSizeF(800, 640), dir.File("rarefaction.png")).ok());
  EXPECT_FALSE(SaveRarefactionPicture(curves, QSizeF(300, 200), dir.File("tiny.png")).ok());
  EXPECT_FALSE(FileExists(dir.File("tiny.png")));
}

TEST_F(SavedPictures, TipLabelsTakeTheirGroupsColour) {
  testing::TempDir dir;
  const TreeScene scene = Scene("((A:1,B:1):1,C:2)StdJaccard;",
                                {{"AllData", {}, false}, {"AllData/P", {"A"}, false}, {"AllData/Q", {"C"}, false}});
  const std::string path = dir.File("tree.svg");
  ASSERT_TRUE(SaveTreePicture(scene, 16, 400, path).ok());
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::string svg = file.readAll().toStdString();
  EXPECT_NE(svg.find(HexColour(GroupColour(0))), std::string::npos);
  EXPECT_NE(svg.find(HexColour(GroupColour(1))), std::string::npos);
  EXPECT_NE(svg.find(HexColour(GroupColour(-1))), std::string::npos);  // B, in no group
}

TEST_F(SavedPictures, PngHasTheDrawingsSize) {
  testing::TempDir dir;
  PcoaScene scene;
  scene.layout.points = {{0, 0, "a", 0}, {1, 1, "b", 1}};
  scene.layout.xTitle = "PCo1 (60.0 %)";
  scene.layout.yTitle = "PCo2 (40.0 %)";
  scene.groupNames = {"P", "Q"};
  scene.pointLabels = true;
  const std::string png = dir.File("plot.PNG");
  ASSERT_TRUE(SavePcoaPicture(scene, QSizeF(640, 480), png).ok());
  const QImage image(QString::fromStdString(png));
  EXPECT_EQ(image.size(), QSize(640, 480));
  const std::string svg = dir.File("plot.svg");
  ASSERT_TRUE(SavePcoaPicture(scene, QSizeF(640, 480), svg).ok());
  const auto texts = SvgTexts(svg);
  for (const char* text : {"a", "b", "P", "Q", "PCo1 (60.0 %)", "PCo2 (40.0 %)"}) EXPECT_EQ(texts.count(text), 1u) << text;
}

TEST_F(SavedPictures, RefusesOtherFormatsAndOversizedPngs) {
  testing::TempDir dir;
  const TreeScene scene = Scene("(A,B);");
  // A name without an extension gets none: it, an empty name and a bare ".svg" are refused.
  for (const std::string name : {"tree.jpg", "tree", "", ".svg", "svg"}) {
    const std::string path = name.empty() ? "" : dir.File(name);
    const auto refused = SaveTreePicture(scene, 16, 400, path);
    ASSERT_FALSE(refused) << name;
    EXPECT_EQ(refused.error(), "A picture is saved as SVG or PNG: the file name must be a name ending in \".svg\" or "
                               "\".png\", which \"" + path + "\" is not.");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_FALSE(SaveTreePicture(scene, 16, 40000, dir.File("wide.png")));
}

// The grid of a missing data map as its pixels show it: two individuals by two loci, the first
// individual's first score missing, stretched over the grid's area without blending.
TEST_F(SavedPictures, MissingDataMapPngShowsEachCellInItsColour) {
  testing::TempDir dir;
  DataMatrix data;
  data.individualCount = 2;
  data.locusCount = 2;
  data.cells = {Missing, Presence, Absence, Presence};  // locus-major: (i1, l1) is missing
  data.individualLabels = MakeNumberedLabels("i", 2);
  const MissingMap map = MakeMissingMap(data, {}, 0, false);
  const QSizeF size(600, 600);
  const std::string png = dir.File("map.png");
  ASSERT_TRUE(SaveMissingMapPicture(map, data, size, png).ok());
  const QImage image(QString::fromStdString(png));
  const QRectF grid = MissingMapDrawing(map, data, size).Grid();
  const auto at = [&](double x, double y) {
    return image.pixel(static_cast<int>(grid.left() + x * grid.width()), static_cast<int>(grid.top() + y * grid.height()));
  };
  EXPECT_EQ(at(0.25, 0.25), MissingShareColour(1));  // i1 (top row) at l1
  EXPECT_EQ(at(0.75, 0.25), MissingShareColour(0));
  EXPECT_EQ(at(0.25, 0.75), MissingShareColour(0));
  EXPECT_EQ(at(0.75, 0.75), MissingShareColour(0));
  EXPECT_EQ(MissingShareColour(0), qRgb(255, 255, 255));
  EXPECT_EQ(MissingShareColour(0.5f), qRgb(0xd9, 0x8c, 0x95));
  EXPECT_GT(SvgTexts([&] {
              const std::string svg = dir.File("map.svg");
              EXPECT_TRUE(SaveMissingMapPicture(map, data, size, svg).ok());
              return svg;
            }()).count("Missing scores: 2 individuals x 2 loci, 25.0 % missing"),
            0u);
}

// The drawing time of large trees is measured by bench/picture_bench.cpp.
TEST_F(SavedPictures, TwoThousandTipsDraw) {
  std::string line = "(";
  for (int i = 0; i < 2000; ++i) line += (i ? ",(" : "(") + std::string("t") + std::to_string(i) + ":0.5,u" + std::to_string(i) + ":0.5):0.5";
  line += ");";
  const TreeScene scene = Scene(line);
  QImage image(1000, 1000, QImage::Format_RGB32);
  QPainter painter(&image);
  TreeDrawing(scene, 14, 600).Paint(painter);
  EXPECT_EQ(scene.layout.tips.size(), 4000u);
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

// 200 individuals in a network: one text per label drawn, the others left out and counted.
TEST_F(SavedPictures, NetworkOf200DrawsTheLabelsThatDoNotCollide) {
  const std::size_t n = 200;
  std::vector<Real> pairs(n * (n - 1) / 2);
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) pairs[i * (i - 1) / 2 + j] = 0.2L + static_cast<Real>((i * 7 + j * 13) % 17) / 40;
  const auto net = FitNeighborNet(n, pairs);
  ASSERT_TRUE(net) << net.error();
  std::vector<std::string> names;
  for (std::size_t i = 0; i < n; ++i) names.push_back("ind" + std::to_string(i + 1));
  const NetworkScene scene = MakeNetworkScene(*net, LabelTable(names), std::vector<int>(n, 0), {"All"}, "NeighborNet");
  testing::TempDir dir;
  std::size_t leftOut = 0;
  ASSERT_TRUE(SaveNetworkPicture(scene, QSizeF(1600, 1600), dir.File("net.svg"), leftOut).ok());
  const auto texts = SvgTexts(dir.File("net.svg"));
  std::size_t labels = 0;
  for (const auto& [text, count] : texts)
    if (text.rfind("ind", 0) == 0) labels += static_cast<std::size_t>(count);
  EXPECT_EQ(labels + leftOut, n);
  EXPECT_GT(labels, n / 2);
  ASSERT_TRUE(SaveNetworkPicture(scene, QSizeF(1600, 1600), dir.File("net.png"), leftOut).ok());
  EXPECT_EQ(QImage(QString::fromStdString(dir.File("net.png"))).width(), 1600);
}

}  // namespace
}  // namespace vorn
