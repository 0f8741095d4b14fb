// The export writers: exact lines where the formats fix them, the file-name rule, Nexus words,
// Arlequin and NTSYSpc files held against their published layouts, and refusals that leave the
// target file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <sstream>

#include "groups/group_model.h"
#include "io/arlequin_export.h"
#include "io/export_common.h"
#include "io/genepop_export.h"
#include "io/hickory_export.h"
#include "io/hindex_export.h"
#include "io/label_list_export.h"
#include "io/nexus_export.h"
#include "io/ntsys_export.h"
#include "io/structure_export.h"
#include "io/syntax_export.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

// rows: one string per individual, one character (1, 0, ?) per locus.
DataMatrix Matrix(const std::vector<std::string>& labels, const std::vector<std::string>& rows) {
  DataMatrix m;
  m.individualCount = static_cast<std::uint16_t>(rows.size());
  m.locusCount = static_cast<std::uint16_t>(rows.front().size());
  for (std::size_t l = 0; l < m.locusCount; ++l) {
    for (const std::string& row : rows) m.cells.push_back(row[l] == '1' ? Presence : row[l] == '0' ? Absence : Missing);
  }
  m.individualLabels = LabelTable(labels);
  for (std::size_t l = 1; l <= m.locusCount; ++l) m.locusLabels.Add("L" + std::to_string(l));
  return m;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

TEST(ExportFileNames, SuffixGoesIntoTheFileNameOnly) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"data", "_indivlabels", "_indivlabelsdata"},
      {"syntax.txt", "_rowlabels", "syntax_rowlabels.txt"},
      {"/d/my.dir/data", "_indivlabels", "/d/my.dir/_indivlabelsdata"},
      {"/d/a.b/x.y.txt", "_indiv", "/d/a.b/x.y_indiv.txt"},
      {"out/base", "_parents", "out/_parentsbase"},
  };
  for (const auto& [path, suffix, expected] : cases) EXPECT_EQ(InsertIntoFileName(path, suffix), expected) << path;
  EXPECT_EQ(SyntaxIndividualLabelFile("data"), "_indivlabelsdata");
  EXPECT_EQ(SyntaxLocusLabelFile("data"), "_rowlabelsdata");
  EXPECT_EQ(HindexIndividualFile("h.txt"), "h_indiv.txt");
  EXPECT_EQ(HindexParentFile("h.txt"), "h_parents.txt");
}

TEST(NexusWords, QuotedWhenNexusWouldReadThemOtherwise) {
  const std::pair<const char*, const char*> cases[] = {
      {"A1", "A1"},          {"B(2)", "'B(2)'"},   {"O'Hara", "'O''Hara'"}, {"x_y", "'x_y'"},
      {"a,b", "'a,b'"},      {"q\"t", "'q\"t'"},   {"a b", "'a b'"},       {"e.g", "e.g"},
      {"ABCDEFGHIJKLMNOPQRSTUVW", "ABCDEFGHIJKLMNOPQRST"},
  };
  for (const auto& [label, word] : cases) EXPECT_EQ(NexusWord(label), word) << label;
}

TEST(NexusExport, DataBlockOfRestrictionDataAsSpecified) {
  TempDir dir;
  const std::string path = (dir.Path() / "x.nex").string();
  NexusOptions options;
  options.charactersBlock = false;
  options.standard = false;
  ASSERT_TRUE(WriteNexus(path, Matrix({"a", "b", "c"}, {"10?01", "01100", "?????"}), FileLayout{}, options).ok());
  const auto lines = Lines(ReadFile(path));
  const std::vector<std::string> expected = {
      "#NEXUS", "BEGIN TAXA;", "DIMENSIONS NTAX= 3;", "TAXLABELS", "a", "b", "c", ";", "END;", "",
      "BEGIN DATA;", "DIMENSIONS NTAX= 3 NCHAR= 5;", "FORMAT DATATYPE= RESTRICTION MISSING= ? INTERLEAVE;", "MATRIX",
      "a 1 0 ? 0 1 ", "b 0 1 1 0 0 ", "c ? ? ? ? ? ", ";", "END;", ""};
  EXPECT_EQ(lines, expected);
}

TEST(NexusExport, SymbolsOtherThanZeroAndOneAreDeclaredAndDistancesWithoutValueAreMissing) {
  TempDir dir;
  const std::string path = (dir.Path() / "x.nex").string();
  FileLayout symbols;
  symbols.absence = 'a';
  symbols.presence = 'p';
  DistanceMatrix distances(2);
  distances(1, 0) = std::numeric_limits<Real>::quiet_NaN();
  NexusOptions options;
  options.distances = &distances;
  ASSERT_TRUE(WriteNexus(path, Matrix({"a", "b"}, {"10", "0?"}), symbols, options).ok());
  const auto lines = Lines(ReadFile(path));
  EXPECT_EQ(lines[11], "FORMAT DATATYPE= STANDARD SYMBOLS=\"ap\" MISSING= ? INTERLEAVE;");
  EXPECT_EQ(lines[13], "a p a ");
  EXPECT_EQ(std::vector<std::string>(lines.end() - 7, lines.end()),
            (std::vector<std::string>{"FORMAT TRIANGLE=LOWER DIAGONAL NOLABELS;", "MATRIX", "0.0000000000 ",
                                      "? 0.0000000000 ", ";", "END;", ""}));
}

// Checks a project against Arlequin's layout: every sample's size is its number of data lines,
// every haplotype it names is defined with one score per locus, NbSamples and NbGroups count
// their entries, and the structure names only samples.
void CheckArlequinLayout(const std::string& text, std::size_t loci) {
  const auto lines = Lines(text);
  std::map<std::string, std::size_t> haplotypes;
  std::vector<std::string> samples;
  std::size_t nbSamples = 0, nbGroups = 0, groups = 0, size = 0;
  enum { None, Haplotypes, SampleData, Group } block = None;
  std::size_t sampleLines = 0;
  for (const std::string& line : lines) {
    const auto words = Words(line);
    if (line.starts_with(" NbSamples=")) nbSamples = std::stoul(line.substr(11));
    else if (line.starts_with("  NbGroups=")) nbGroups = std::stoul(line.substr(11));
    else if (line == "  HaplList={") block = Haplotypes;
    else if (line.starts_with("  SampleName=\"")) samples.push_back(line.substr(14, line.size() - 15));
    else if (line.starts_with("  SampleSize=")) size = std::stoul(line.substr(13));
    else if (line == "  SampleData={") block = SampleData, sampleLines = 0;
    else if (line == "  Group={") block = Group, ++groups;
    else if (line == "  }") {
      if (block == SampleData) {
        EXPECT_EQ(sampleLines, size) << samples.back();
      }
      block = None;
    } else if (block == Haplotypes) {
      ASSERT_EQ(words.size(), loci + 1) << line;
      haplotypes[words[0]] = 1;
    } else if (block == SampleData) {
      ++sampleLines;
      ASSERT_EQ(words.size(), 2u) << line;
      EXPECT_TRUE(haplotypes.count(words[0])) << line;
      EXPECT_EQ(words[1], "1");
    } else if (block == Group) {
      ASSERT_EQ(words.size(), 1u);
      EXPECT_NE(std::find(samples.begin(), samples.end(), words[0].substr(1, words[0].size() - 2)), samples.end());
    }
  }
  EXPECT_EQ(nbSamples, samples.size());
  EXPECT_EQ(nbGroups, groups);
  EXPECT_EQ(lines.front(), "[Profile]");
}

const GroupList kTwoLevels{{"AllData", {"a", "b", "c"}},  {"AllData/N", {"a", "b"}},  {"AllData/S", {"c"}},
                           {"AllData/N/x", {"b", "a"}},   {"AllData/S/y", {"c"}}};

TEST(ArlequinExport, OneAndTwoLevelsKeepThePublishedLayout) {
  TempDir dir;
  const DataMatrix matrix = Matrix({"a", "b", "c"}, {"10?", "011", "000"});
  for (bool twoLevels : {false, true}) {
    const std::string path = (dir.Path() / "x.arp").string();
    ASSERT_TRUE(WriteArlequin(path, matrix, kTwoLevels, twoLevels, '?').ok());
    CheckArlequinLayout(ReadFile(path), 3);
  }
}

TEST(ArlequinExport, RefusesSamplesArlequinCannotTellApart) {
  const DataMatrix matrix = Matrix({"a", "b", "q\"t"}, {"10?", "011", "000"});
  const std::pair<GroupList, std::string> cases[] = {
      {{{"AllData", {}}, {"AllData/R1", {"a"}}, {"AllData/R1/PopA", {"a"}}, {"AllData/R2", {"b"}},
        {"AllData/R2/PopA", {"b"}}},
       "Two samples are called \"PopA\" (the last part of their group names). Nothing was exported."},
      {{{"AllData", {}}, {"AllData/P", {}}},
       "The sample \"AllData/P\" has no members. Nothing was exported."},
      {{{"AllData", {}}, {"AllData/P", {"a", "z"}}},
       "The member \"z\" of group \"AllData/P\" is not an individual of the current data. Nothing was exported."},
      {{{"AllData", {}}, {"AllData/P", {"a"}}},
       "The name \"q\"t\" cannot be written to an Arlequin project file: it contains \"\"\". Nothing was exported."},
  };
  TempDir dir;
  for (const auto& [groups, message] : cases) {
    const auto written = WriteArlequin((dir.Path() / "x.arp").string(), matrix, groups, LevelCount(groups) > 2, '?');
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), message);
  }
}

TEST(NtsysExport, KeepsThePublishedLayout) {
  TempDir dir;
  const std::string path = (dir.Path() / "x.nts").string();
  ASSERT_TRUE(WriteNtsys(path, Matrix({"a", "b", "c"}, {"10?1", "0110", "?001"})).ok());
  const auto lines = Lines(ReadFile(path));
  ASSERT_EQ(lines.size(), 4u + 4u);
  EXPECT_EQ(lines[0], "\"VORN exported data");
  EXPECT_EQ(Words(lines[1]), (std::vector<std::string>{"1", "4L", "3L", "1", "-9"}));
  EXPECT_EQ(Words(lines[2]).size(), 4u);
  EXPECT_EQ(Words(lines[3]), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(lines[4], "1  0  -9 ");
  for (std::size_t l = 4; l < lines.size(); ++l) EXPECT_EQ(Words(lines[l]).size(), 3u);
}

TEST(StructureExport, CodesForEachPloidyAndAbsenceAnswer) {
  const std::tuple<int, bool, const char*, const char*, const char*> cases[] = {
      {1, true, "1 ", "2 ", "-9 "},
      {2, true, "1 -9 ", "2 -9 ", "-9 -9 "},
      {2, false, "1 -9 ", "2 2 ", "-9 -9 "},
      {3, false, "1 -9 -9 ", "2 2 2 ", "-9 -9 -9 "},
  };
  for (const auto& [ploidy, unknown, presence, absence, missing] : cases) {
    const ScoreCodes codes = StructureCodes({static_cast<std::uint8_t>(ploidy), unknown, false});
    EXPECT_EQ(codes.presence, presence);
    EXPECT_EQ(codes.absence, absence);
    EXPECT_EQ(codes.missing, missing);
  }
}

// One POP for all, as specified, or one per group of the first level, its members in data order.
TEST(GenePopExport, OnePopulationForAllOrOnePerGroup) {
  const DataMatrix m = Matrix({"a", "b", "c"}, {"10", "0?", "11"});
  TempDir dir;
  const std::string path = (dir.Path() / "g.txt").string();
  ASSERT_TRUE(WriteGenePop(path, m, false).ok());
  EXPECT_EQ(ReadFile(path), "VORN exported data\r\nL1, L2\r\nPOP\r\na, 0100 0202 \r\nb, 0202 0000 \r\n"
                            "c, 0100 0100 \r\n");
  const GroupList groups{{"AllData", {"a", "b", "c"}}, {"AllData/Q", {"c", "a"}}, {"AllData/Q/Sub", {"c"}},
                         {"AllData/P", {"b"}}};
  ASSERT_TRUE(WriteGenePop(path, m, true, &groups).ok());
  EXPECT_EQ(ReadFile(path), "VORN exported data\r\nL1, L2\r\nPOP\r\na, 0100 0200 \r\nc, 0100 0100 \r\n"
                            "POP\r\nb, 0200 0000 \r\n");

  const struct {
    GroupList groups;
    std::string message;
  } refusals[] = {
      {{{"AllData", {"a", "b", "c"}}},
       "No groups are defined below AllData: one population per group needs them. Nothing was exported."},
      {{{"AllData", {}}, {"AllData/P", {"a", "b"}}, {"AllData/Q", {"b", "c"}}},
       "The individual \"b\" is a member of both \"AllData/P\" and \"AllData/Q\"; GenePop takes each individual in "
       "one population. Nothing was exported."},
      {{{"AllData", {}}, {"AllData/P", {"a", "c"}}},
       "The individual \"b\" is in no group below AllData; GenePop takes each individual in one population. Nothing "
       "was exported."},
  };
  for (const auto& refusal : refusals) {
    EXPECT_EQ(WriteGenePop(path, m, true, &refusal.groups).error(), refusal.message);
  }
}

// Every writer, each refusing a cell without a score: the file that was there stays.
TEST(Exports, RefusalLeavesTheFileThatWasThere) {
  DataMatrix bad = Matrix({"a", "b"}, {"10", "01"});
  bad.cells[1] = 5;
  const GroupList groups{{"AllData", {"a", "b"}}, {"AllData/P", {"a", "b"}}};
  const std::pair<const char*, std::function<Status(const std::string&)>> writers[] = {
      {"Data Error. Could not complete saving of data file(2)",
       [&](const std::string& p) { return WriteNexus(p, bad, FileLayout{}, NexusOptions{}); }},
      {"Data Error. Could not complete saving of nex data file",
       [&](const std::string& p) { return WriteHickory(p, bad, groups, '?'); }},
      {"Data Error. Could not complete saving of data file (ARP)",
       [&](const std::string& p) { return WriteArlequin(p, bad, groups, false, '?'); }},
      {"Data Error. Could not complete structure export of data file",
       [&](const std::string& p) { return WriteStructure(p, bad, groups, StructureOptions{}); }},
      {"Data Error. Could not complete genepop export of data file",
       [&](const std::string& p) { return WriteGenePop(p, bad, true); }},
      {"Data Error. Could not complete genepop export of data file",
       [&](const std::string& p) { return WriteNtsys(p, bad); }},
      {"Data Error. Could not complete saving of data file", [&](const std::string& p) { return WriteSyntax(p, bad); }},
      {"Data Error. Could not complete hindex export of data file",
       [&](const std::string& p) { return WriteHindex(p, HindexData{&bad, "AllData", "a", "b", {}, {}}); }},
  };
  TempDir dir;
  const std::string path = dir.Write("target.txt", "before");
  for (const auto& [message, write] : writers) {
    const auto written = write(path);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), message);
    EXPECT_EQ(ReadFile(path), "before");
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 1u);
}

TEST(Exports, NamesTheFormatCannotHoldAreRefused) {
  TempDir dir;
  const std::string path = (dir.Path() / "x").string();
  const auto duplicate = WriteNexus(path, Matrix({"Ab", "aB"}, {"1", "0"}), FileLayout{}, NexusOptions{});
  EXPECT_EQ(duplicate.error(), "Two individuals are called \"aB\" (Nexus does not tell upper from lower case). "
                               "Nothing was exported.");
  const auto cut = WriteNexus(path, Matrix({"ABCDEFGHIJKLMNOPQRSTU1", "ABCDEFGHIJKLMNOPQRSTU2"}, {"1", "0"}),
                              FileLayout{}, NexusOptions{});
  EXPECT_FALSE(cut.ok());
  FileLayout semicolon;
  semicolon.ambiguity = ';';
  EXPECT_FALSE(WriteNexus(path, Matrix({"a"}, {"1"}), semicolon, NexusOptions{}).ok());
  EXPECT_EQ(WriteGenePop(path, Matrix({"a,b"}, {"1"}), true).error(),
            "The individual name \"a,b\" cannot be written to a GenePop file: it contains \",\". Nothing was exported.");
  EXPECT_EQ(WriteOtuList(path, Matrix({}, {"1"})).error(), "No individual names. Could not export OTU list");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace vorn
