#include "io/data_file_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/file_layouts.h"
#include "support/test_matrix.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::EveryLayout;
using testing::RandomMatrix;
using testing::TempDir;

class ReaderTest : public ::testing::Test {
 protected:
  Result<DataMatrix> Read(const std::string& content, const FileLayout& layout = FileLayout()) {
    return ReadDataFile(dir.Write("data.txt", content), layout);
  }
  std::string ErrorOf(const std::string& content, const FileLayout& layout = FileLayout()) {
    auto result = Read(content, layout);
    return result.ok() ? std::string("(read)") : result.error();
  }
  TempDir dir;
};

TEST_F(ReaderTest, DefaultLayoutExample) {
  auto m = Read("ind1 ind2 ind3\n1 0 ?\n0 0 1 {a remark}\n*\n");
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->individualCount, 3);
  EXPECT_EQ(m->locusCount, 2);
  EXPECT_EQ(m->individualLabels.All(), (std::vector<std::string>{"ind1", "ind2", "ind3"}));
  EXPECT_EQ(m->locusLabels.All(), (std::vector<std::string>{"Locus1", "Locus2"}));
  EXPECT_EQ(m->cells, (std::vector<Cell>{Presence, Absence, Missing, Absence, Absence, Presence}));
}

TEST_F(ReaderTest, UndelimitedRowsWithBothHeadersExample) {
  FileLayout layout;
  layout.individualsInColumns = false;
  layout.locusHeader = true;
  layout.delimitedData = false;
  auto m = Read("L1 L2\nind1 10\nind2 00\nind3 ?1\n*\n", layout);
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->individualLabels.All(), (std::vector<std::string>{"ind1", "ind2", "ind3"}));
  EXPECT_EQ(m->locusLabels.All(), (std::vector<std::string>{"L1", "L2"}));
  EXPECT_EQ(m->cells, (std::vector<Cell>{Presence, Absence, Missing, Absence, Absence, Presence}));
}

// Writes m in the given layout as a user's file would hold it.
std::string Text(const DataMatrix& m, const FileLayout& layout) {
  const char symbol[10] = {layout.absence, layout.presence, 0, 0, 0, 0, 0, 0, 0, layout.ambiguity};
  const std::string gap = layout.delimitedData ? " " : "";
  const bool inColumns = layout.individualsInColumns;
  const std::size_t rows = inColumns ? m.locusCount : m.individualCount;
  const std::size_t columns = inColumns ? m.individualCount : m.locusCount;
  const LabelTable& rowNames = inColumns ? m.locusLabels : m.individualLabels;
  const LabelTable& columnNames = inColumns ? m.individualLabels : m.locusLabels;
  const bool rowHeader = inColumns ? layout.locusHeader : layout.individualHeader;
  const bool columnHeader = inColumns ? layout.individualHeader : layout.locusHeader;
  std::string text = "{ written by the test }\r\n";
  if (columnHeader) {
    for (std::size_t c = 0; c < columns; ++c) text += columnNames[c] + "\t";
    text += "\r\n";
  }
  for (std::size_t r = 0; r < rows; ++r) {
    if (rowHeader) text += rowNames[r] + " ";
    for (std::size_t c = 0; c < columns; ++c) {
      text += symbol[inColumns ? m.At(c, r) : m.At(r, c)];
      text += gap;
    }
    text += "\r\n";
    if (r == 0) text += "   \r\n";  // a blank line inside the table
  }
  return text + "*\r\n[Groups]\r\n";
}

TEST_F(ReaderTest, EveryLayoutReadsTheSameCellsAndLabels) {
  std::mt19937 engine(11);
  const DataMatrix m = RandomMatrix(7, 5, 0.2, 0.4, engine);
  for (auto [layout, description] : EveryLayout()) {
    layout.presence = '+';
    layout.absence = '-';
    layout.ambiguity = 'N';
    SCOPED_TRACE(description);
    auto read = Read(Text(m, layout), layout);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read->cells, m.cells);
    EXPECT_EQ(read->individualLabels, layout.individualHeader ? m.individualLabels : MakeDefaultIndividualLabels(7));
    EXPECT_EQ(read->locusLabels, layout.locusHeader ? m.locusLabels : MakeDefaultLocusLabels(5));
  }
}

TEST_F(ReaderTest, RemarksAndBlankLinesChangeNothing) {
  const std::string plain = "a b c\n1 0 ?\n0 0 1\n*\n";
  auto expected = Read(plain);
  auto remarked = Read("{header follows}\na b {inner} c\n\n1 0{x} ?\n{ a line of its own }\n  \t\n0 0 1 {unclosed remark\n*\n");
  ASSERT_TRUE(remarked.ok()) << remarked.error();
  EXPECT_EQ(remarked->cells, expected->cells);
  EXPECT_EQ(remarked->individualLabels, expected->individualLabels);
}

TEST_F(ReaderTest, EndOfDataInsideARemarkDoesNotEndTheTable) {
  auto m = Read("a b\n1 0 {*}\n0 1\n*\n1 1\n");
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->locusCount, 2);
}

TEST_F(ReaderTest, WithoutEndOfDataTheFileIsReadToItsEnd) {
  auto m = Read("a b\r\n1 0\r\n0 1\r\n\r\n\r\n");
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->locusCount, 2);
}

TEST_F(ReaderTest, ReadsCrAndLfLineEnds) {
  auto m = Read("a b\r1 0\r0 1\r*\r");
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->locusCount, 2);
}

TEST_F(ReaderTest, LongNamesAreCutToTwentyCharacters) {
  auto m = Read("a_name_of_twenty_five_char b\n1 0\n*\n");
  ASSERT_TRUE(m.ok());
  EXPECT_EQ(m->individualLabels[0], "a_name_of_twenty_fiv");
}

TEST(LabelsMergedByCut, CountsNamesThatTheCutMadeEqual) {
  const struct {
    std::vector<std::string> names;
    std::vector<MergedLabel> merged;
  } cases[] = {
      {{"Population_North_ind_1", "Short", "Population_North_ind_2", "Population_North_ind_1"},
       {{"Population_North_ind", 3}}},
      {{"exactly_twenty_chars", "exactly_twenty_chars_too", "a", "a"}, {{"exactly_twenty_chars", 2}}},
      {{"same", "same", "Population_North_ind_1"}, {}},  // equal as given: not the cut's doing
      {{"M\xC3\xBCller", "M\xFCller", "x_first_twenty_char_1", "x_first_twenty_char_2"},
       {{"M\xC3\xBCller", 2}, {"x_first_twenty_char_", 2}}},
  };
  for (const auto& c : cases) EXPECT_EQ(LabelsMergedByCut(c.names), c.merged) << c.names[0];
}

// Names that became equal once cut are counted for the warning at load, individuals and loci
// apart, whichever the file's orientation.
TEST_F(ReaderTest, NamesMergedByTheCutAreTold) {
  FileLayout layout;
  layout.individualsInColumns = false;
  layout.locusHeader = true;
  MergedNames merged;
  auto m = ReadDataFile(dir.Write("data.txt",
                                  "locus_with_a_long_name_1 locus_with_a_long_name_2\n"
                                  "Population_North_ind_1 1 0\nPopulation_North_ind_2 0 1\nPopulation_North_ind_3 1 1\n"
                                  "a_1 0 0\na_1 1 1\n"),
                        layout, &merged);
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(merged.individuals, (std::vector<MergedLabel>{{"Population_North_ind", 3}}));
  EXPECT_EQ(merged.loci, (std::vector<MergedLabel>{{"locus_with_a_long_na", 2}}));
  EXPECT_EQ(MergedNamesNotice(merged),
            "The names of 3 individuals became equal once cut to 20 characters: \"Population_North_ind\" (3 "
            "individuals).\r\nThe names of 2 loci became equal once cut to 20 characters: \"locus_with_a_long_na\" (2 "
            "loci).\r\nGroups, trees and exports cannot tell them apart; give them names that differ within their "
            "first 20 characters.");
  EXPECT_EQ(MergedNamesNotice(MergedNames{}), "");
}

// A spreadsheet's "Unicode text": UTF-16 with its byte-order mark, either byte order.
TEST_F(ReaderTest, Utf16FilesReadAsTheirUtf8Text) {
  for (const bool bigEndian : {false, true}) {
    std::string utf16 = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : std::u16string(u"a\u00FC b\r\n1 0\r\n0 ?\r\n*\r\n")) {
      const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
      utf16 += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    auto m = Read(utf16);
    ASSERT_TRUE(m.ok()) << m.error();
    EXPECT_EQ(m->individualLabels.All(), (std::vector<std::string>{"a\xC3\xBC", "b"}));
    EXPECT_EQ(m->cells, (std::vector<Cell>{Presence, Absence, Absence, Missing}));
  }
}

TEST_F(ReaderTest, AbsenceWinsOverAmbiguityAndFieldsKeepOnlyScores) {
  FileLayout layout;
  layout.ambiguity = '0';
  auto m = Read("a b\n0 1\n*\n", layout);
  EXPECT_EQ(m->cells, (std::vector<Cell>{Absence, Presence}));
  auto negative = Read("a b c\n-? 1 0\n*\n");
  ASSERT_TRUE(negative.ok());
  EXPECT_EQ(negative->cells, (std::vector<Cell>{Missing, Presence, Absence}));
}

TEST_F(ReaderTest, EveryFailureMessage) {
  FileLayout undelimited;
  undelimited.delimitedData = false;
  undelimited.individualHeader = false;
  FileLayout undelimitedNamed = undelimited;
  undelimitedNamed.locusHeader = true;
  FileLayout rowNames;
  rowNames.locusHeader = true;

  // Each table message is followed by the line and column in the file and what was found there.
  const struct {
    std::string text;
    FileLayout layout;
    std::string message;
  } cases[] = {
      {"L1 10 1\n", undelimitedNamed,
       "Cannot interpret data block(3)\r\nLine 1, column 7: the line holds 3 fields, where the first line holds 2: a "
       "name and the scores written together; the first one too many is '1'"},
      {"10 10\n", undelimited,
       "Cannot interpret data block(4)\r\nLine 1, column 4: the line holds 2 fields, where the first line holds 1: "
       "the scores written together; the first one too many is '10'"},
      {"a b\nL1 1 0\nL2 1\n*\n", rowNames,
       "Cannot interpret data block(1a)\r\nLine 3, column 5: the line holds 2 fields, where each row holds 3 fields"},
      {"a b c\n1 0 1\n1 0\n*\n", FileLayout(),
       "Cannot interpret data block(2a)\r\nLine 3, column 4: the line holds 2 fields, where each row holds 3 fields"},
      {"L1 101\nL2 10\n", undelimitedNamed,
       "Cannot interpret data block(1)\r\nLine 2, column 6: the scores '10' are 2 characters, where each row holds 3"},
      {"101\n10 1\n", undelimited,
       "Cannot interpret data block(2)\r\nLine 2, column 4: the line holds 2 fields, where each row holds 1 field; "
       "the first one too many is '1'"},
      {"a b c\n1 0 x\n*\n", FileLayout(),
       "Error interpreting data block(!)\r\nLine 2, column 5: 'x' is no score, and the line holds 2 of the 3 scores "
       "of each row"},
      {"a b\n1 10\n*\n", FileLayout(),
       "Error interpreting data block(!)\r\nLine 2, column 4: the score '0' is one more than the 2 scores of each row"},
      {"a b c\n1 0\t\n*\n", FileLayout(),
       "Cannot interpret data block(2a)\r\nLine 2, column 4: the line holds 2 fields, where each row holds 3 fields"},
      // Lines count as the file holds them, remarks and blank lines too, and columns count the
      // characters of the line before its remarks were removed.
      {"{ a remark }\na b c\n\n1 0 1\n{x} 1 0 1 2\n*\n", FileLayout(),
       "Cannot interpret data block(2a)\r\nLine 5, column 11: the line holds 4 fields, where each row holds 3 "
       "fields; the first one too many is '2'"},
      {"\xC3\xA4 b c\n1 {\xC3\xBC} 0 x\n*\n", FileLayout(),
       "Error interpreting data block(!)\r\nLine 2, column 9: 'x' is no score, and the line holds 2 of the 3 scores "
       "of each row"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text, c.layout), c.message) << c.text;
  EXPECT_EQ(ReadDataFile(dir.File("missing.txt"), FileLayout()).error(), "Input file error");
  EXPECT_EQ(ReadDataFile(dir.Path().string(), FileLayout()).error(), "Input file error");
}

TEST_F(ReaderTest, SizeLimits) {
  EXPECT_EQ(CheckMatrixSize(65535, 32767).ok(), true);
  EXPECT_EQ(CheckMatrixSize(65535, 32769).error(), "Not enough memory");
  EXPECT_EQ(CheckMatrixSize(65536, 1).error(), "The input file holds 65536 individuals; at most 65535 can be read.");
  EXPECT_EQ(CheckMatrixSize(1, 70000).error(), "The input file holds 70000 loci; at most 65535 can be read.");
  EXPECT_EQ(CheckMatrixSize(0, 5).error(), "The input file holds no scores.");
}

TEST_F(ReaderTest, BadInputGetsAClearMessage) {
  EXPECT_EQ(ErrorOf(""), "The input file holds no scores.");
  EXPECT_EQ(ErrorOf("{only a remark}\n\n"), "The input file holds no scores.");
  EXPECT_EQ(ErrorOf("a b c\n*\n"), "The input file holds no scores.");

  std::string wide;
  for (int i = 0; i < 65536; ++i) wide += "1 ";
  FileLayout noNames;
  noNames.individualHeader = false;
  EXPECT_EQ(ErrorOf(wide + "\n" + wide + "\n", noNames), "The input file holds 65536 individuals; at most 65535 can be read.");

  std::string binary;
  std::mt19937 random(3);
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(random() % 256);
  EXPECT_NE(ErrorOf(binary), "(read)");

  EXPECT_EQ(ErrorOf(std::string(2'000'000, '1')), "The input file holds no scores.");
}

TEST_F(ReaderTest, ALongUndelimitedLineIsOneRow) {
  FileLayout layout;
  layout.individualHeader = false;
  layout.delimitedData = false;
  auto m = Read(std::string(60000, '1') + "\n" + std::string(60000, '0') + "\n", layout);
  ASSERT_TRUE(m.ok()) << m.error();
  EXPECT_EQ(m->individualCount, 60000);
  EXPECT_EQ(m->locusCount, 2);
  EXPECT_EQ(m->At(59999, 1), Absence);
}

}  // namespace
}  // namespace vorn
