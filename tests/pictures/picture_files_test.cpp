#include "pictures/picture_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <map>
#include <string>

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
