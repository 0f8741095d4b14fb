// The exported files read by the target formats' common readers from Debian's packages:
// DendroPy and Biopython for Nexus (python3-dendropy, python3-biopython), Biopython and
// adegenet for GenePop and adegenet for Structure (r-cran-adegenet). A reader that is not
// installed skips its tests with a note saying which package to install.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "core/distance_matrix.h"
#include "io/genepop_export.h"
#include "io/nexus_export.h"
#include "io/structure_export.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::TempDir;

const std::string kPeers = std::string(VORN_TEST_DATA) + "/peers/";

bool Available(const std::string& probe) { return std::system((probe + " >/dev/null 2>&1").c_str()) == 0; }

#define REQUIRE_PEER(probe, package)                                                              \
  if (!Available(probe)) GTEST_SKIP() << "reader not installed (apt-get install " package "); skipped"

int RunPeer(const std::string& command) { return std::system((command + " 2>&1").c_str()); }

// Four individuals, five loci: labels with Nexus punctuation, quotes and an underscore.
DataMatrix Sample(bool plainNames) {
  DataMatrix m;
  m.individualCount = 4;
  m.locusCount = 5;
  const std::string rows[] = {"10?01", "0110?", "?0011", "11100"};
  for (std::size_t l = 0; l < 5; ++l) {
    for (const std::string& row : rows) {
      m.cells.push_back(row[l] == '1' ? Presence : row[l] == '0' ? Absence : Missing);
    }
  }
  m.individualLabels = plainNames ? LabelTable({"ind1", "ind2", "ind3", "ind4"})
                                  : LabelTable({"A1", "B(2)", "O'Hara", "x_y"});
  m.locusLabels = LabelTable({"L1", "L2", "L3", "L4", "L5"});
  return m;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class NexusReaders : public ::testing::TestWithParam<std::tuple<bool, bool, bool>> {};

TEST_P(NexusReaders, ReadTheSameTaxaScoresAndDistances) {
  REQUIRE_PEER("/usr/bin/python3 -c 'import dendropy'", "python3-dendropy");
  const auto [standard, characters, customSymbols] = GetParam();
  TempDir dir;
  const DataMatrix matrix = Sample(false);
  FileLayout symbols;
  if (customSymbols) {
    symbols.absence = 'a';
    symbols.presence = 'p';
    symbols.ambiguity = 'n';
  }
  DistanceMatrix distances(4);
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < i; ++j) distances(i, j) = 0.125L * static_cast<Real>(i + j);
  }
  distances(3, 1) = std::numeric_limits<Real>::quiet_NaN();
  NexusOptions options;
  options.standard = standard;
  options.charactersBlock = characters;
  options.distances = &distances;
  const std::string path = (dir.Path() / "x.nex").string();
  ASSERT_TRUE(WriteNexus(path, matrix, symbols, options).ok());
  const std::string expected = dir.Write(
      "expected.json",
      std::string("{\"datatype\": \"") + (standard ? "standard" : "restriction") + "\", \"symbols\": \"" +
          (customSymbols ? "ap" : "01") +
          "\", \"taxa\": [\"A1\", \"B(2)\", \"O'Hara\", \"x_y\"], \"rows\": [\"10?01\", \"0110?\", \"?0011\", "
          "\"11100\"], \"distances\": [[0.0], [0.125, 0.0], [0.25, 0.375, 0.0], [0.375, null, 0.625, 0.0]]}");
  EXPECT_EQ(RunPeer("/usr/bin/python3 " + kPeers + "nexus_dendropy.py " + Quote(path) + " " + Quote(expected)), 0);
  // Biopython reads STANDARD data only with a SYMBOLS statement, which the file has for symbols
  // other than 0 and 1.
  if (standard && customSymbols && Available("/usr/bin/python3 -c 'from Bio.Nexus import Nexus'")) {
    EXPECT_EQ(RunPeer("/usr/bin/python3 " + kPeers + "nexus_biopython.py " + Quote(path) + " " + Quote(expected)), 0);
  }
}

// Custom symbols are declared for STANDARD only; RESTRICTION data are 0 and 1 by definition.
INSTANTIATE_TEST_SUITE_P(BlocksAndTypes, NexusReaders,
                         ::testing::Values(std::tuple{true, true, false}, std::tuple{true, false, false},
                                           std::tuple{false, true, false}, std::tuple{false, false, false},
                                           std::tuple{true, true, true}));

class GenePopReaders : public ::testing::TestWithParam<bool> {};

TEST_P(GenePopReaders, ReadTheSameLociIndividualsAndGenotypes) {
  const bool absenceAsUnknown = GetParam();
  TempDir dir;
  const std::string path = (dir.Path() / "x.gen").string();
  ASSERT_TRUE(WriteGenePop(path, Sample(true), absenceAsUnknown).ok());
  const bool biopython = Available("/usr/bin/python3 -c 'from Bio.PopGen import GenePop'");
  const bool adegenet = Available("Rscript -e 'library(adegenet)'");
  if (!biopython && !adegenet) GTEST_SKIP() << "readers not installed (apt-get install python3-biopython r-cran-adegenet); skipped";
  if (biopython) {
    EXPECT_EQ(RunPeer("/usr/bin/python3 " + kPeers + "genepop_biopython.py " + Quote(path) +
                      " L1,L2,L3,L4,L5 ind1,ind2,ind3,ind4 10?01,0110?,?0011,11100 " +
                      (absenceAsUnknown ? "0200" : "0202")),
              0);
  }
  if (adegenet) {
    EXPECT_EQ(RunPeer("Rscript " + kPeers + "adegenet_read.R genepop " + Quote(path) + " 4 5 ind1,ind2,ind3,ind4"), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(BothAbsenceCodes, GenePopReaders, ::testing::Bool());

// adegenet counts a genotype with one unknown allele as unknown, so in a file whose absences are
// 0/? every genotype is unknown to it and it drops every locus; it reads the 0/0 files.
class StructureReader : public ::testing::TestWithParam<bool> {};

TEST_P(StructureReader, AdegenetReadsDiploidFiles) {
  REQUIRE_PEER("Rscript -e 'library(adegenet)'", "r-cran-adegenet");
  const bool populations = GetParam();
  TempDir dir;
  const std::string path = (dir.Path() / "x.str").string();
  GroupList groups{{"AllData", {"ind1", "ind2", "ind3", "ind4"}},
                   {"AllData/P1", {"ind1", "ind3"}},
                   {"AllData/P2", {"ind2", "ind4"}}};
  StructureOptions options;
  options.ploidy = 2;
  options.absenceAsUnknown = false;
  options.populations = populations;
  ASSERT_TRUE(WriteStructure(path, Sample(true), groups, options).ok());
  EXPECT_EQ(RunPeer("Rscript " + kPeers + "adegenet_read.R structure " + Quote(path) + " 4 5 ind1,ind2,ind3,ind4 '" +
                    (populations ? "1,2,1,2" : "") + "'"),
            0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutPopulations, StructureReader, ::testing::Bool());

}  // namespace
}  // namespace vorn
