#include "commands/shell/menu_table.h"

#include <cctype>
#include <string_view>

#include <gtest/gtest.h>

#include "commands/shell/file_opening.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

// Every entry of the menu as "Menu|Caption|Handler", depth-first, submenus as "Menu|Sub>Caption".
void Flatten(const std::vector<MenuItem>& items, const std::string& prefix, std::vector<std::string>& out) {
  for (const auto& item : items) {
    if (item.IsSubmenu()) {
      Flatten(item.items, prefix + item.caption + ">", out);
    } else {
      out.push_back(prefix + item.caption + "|" + item.handler);
    }
  }
}

TEST(MenuTable, EveryCaptionAndHandlerInOrder) {
  std::vector<std::string> entries;
  Flatten(MainMenu(), "", entries);
  const std::vector<std::string> expected = {
      "&File>&Load|Load1Click",
      "&File>&Save DataMatrix|Save1Click",
      "&File>Select File &Names>Select &Analysis Output File|SelectAnalysisOutputFile1Click",
      "&File>Select File &Names>Select &Tree Output File|SelectTreeOutputFile1Click",
      "&File>Select File &Names>Select Consensus Tree Input File|Seect1Click",
      "&File>Select File &Names>Select Consensus Tree Output File|SelectConsensusTreeOutputFile1Click",
      "&File>Select File &Names>Select Log File|SelectLogFile1Click",
      "&File>&Export>&Nexus|Nexus1Click",
      "&File>&Export>&Arlequin Project|ArlequinProject1Click",
      "&File>&Export>&GenePop|GenePop1Click",
      "&File>&Export>GenePop by Gro&ups|GenePopByGroup1Click",
      "&File>&Export>NTS&yspc|NTSyspc1Click",
      "&File>&Export>List of &OTUs|ListofOTUs1Click",
      "&File>&Export>SynTa&x|SynTax1Click",
      "&File>&Export>&hindex|hindex1Click",
      "&File>&Export>&Structure|Structure1Click",
      "&File>&Export>Hic&kory (Nexus)|HickoryNexusAllelesBlocK91Click",
      "&File>&Export>&Coordinates (CSV)|ExportCoordinates1Click",
      "&File>&Export>Locus &Metrics (CSV)|ExportLocusMetrics1Click",
      "&File>&Turn log on|urnlogon1Click",
      "&File>E&xit|Exit1Click",
      "&File>-|",
      "&File>&Import>&CSV / TSV Table...|ImportCsvTable1Click",
      "&File>&Import>&GenAlEx Workbook (CSV)...|ImportGenalex1Click",
      "&File>&Import>&DArT Presence/Absence Report (CSV)...|ImportDartReport1Click",
      "&File>&Import>&Sample Sheet (CSV)...|ImportSampleSheet1Click",
      "&File>New &Matrix from Clipboard...|NewMatrixFromClipboard1Click",
      "&File>Sa&ve Session as Script...|SaveSessionAsScript1Click",
      "&File>Write &Report...|WriteReport1Click",
      "&Edit>&Undo|Undo1Click",
      "&Edit>&Redo|Redo1Click",
      "&Edit>-|",
      "&Edit>&Set Scores...|SetScores1Click",
      "&Edit>Re&name...|Rename1Click",
      "&DataMatrix>Restore &Original Matrix|RestoreOriginalMatrix1Click",
      "&DataMatrix>Matrix &Statistics|Statistics1Click",
      "&DataMatrix>&Frequency Statistics>Frequencies per &Individuals|FrequenciesperIndividuals1Click",
      "&DataMatrix>&Frequency Statistics>Frequencies per &Loci|Frequencies1Click",
      "&DataMatrix>&Missing Data Statistics|CheckMissingData1Click",
      "&DataMatrix>&Replace Missing Data|ReplaceMissingData1Click",
      "&DataMatrix>Remove &Individuals...>With &Missing Data...|WithMissingData2Click",
      "&DataMatrix>Remove &Individuals...>With Band Frequency &Below...|WithBandFrequencyBelow1Click",
      "&DataMatrix>Remove &Individuals...>With Band Frequency Abo&ve...|WithBandFrequencyAbove2Click",
      "&DataMatrix>Remove &Loci...>With &Missing Data...|WithMissingData1Click",
      "&DataMatrix>Remove &Loci...>Mo&nomorphic...|Monomorphic01Click",
      "&DataMatrix>Remove &Loci...>Monomorphic &Absences...|MonomorphicAbsences1Click",
      "&DataMatrix>Remove &Loci...>Monomorphic &Presences|MonomorphicPresences1Click",
      "&DataMatrix>Remove &Loci...>With Band Frequency &Below...|Withbandfrequency1Click",
      "&DataMatrix>Remove &Loci...>With Band Frequency Abo&ve...|WithBandFrequencyAbove1Click",
      "&DataMatrix>Remove &Loci...>With mo&re Missing Data than Presences|WithmoreMissingDatathanPresences1Click",
      "&DataMatrix>Remove &Loci...>-|",
      "&DataMatrix>Remove &Loci...>With &Error Rate Above...|WithErrorRateAbove1Click",
      "&DataMatrix>Remove &Loci...>By Locus Me&tric...|ByLocusMetric1Click",
      "&DataMatrix>-|",
      "&DataMatrix>&Group Manager|Groups1Click",
      "&DataMatrix>Select Group &Only>AllData|geh",
      "&DataMatrix>Group-based &Profiles>&Additive Band Profile|AdditiveBandProfile1Click",
      "&DataMatrix>Group-based &Profiles>&Fixed Band Profile|FixedBandProfile1Click",
      "&DataMatrix>-|",
      "&DataMatrix>Replicate &Error Rates...|ReplicateErrorRates1Click",
      "&DataMatrix>Merge Replica&tes...|MergeReplicates1Click",
      "&DataMatrix>Data &Quality Summary|DataQualitySummary1Click",
      "&DataMatrix>Missing Data M&ap...|MissingDataMap1Click",
      "&Analysis>Stan&dard Similarity|Jaccard1Click",
      "&Analysis>Mi&nimum Similarity|Jaccard2Click",
      "&Analysis>Ma&ximum Similarity|MaximumJaccard1Click",
      "&Analysis>&Average Similarity|AverageJaccard2Click",
      "&Analysis>-|",
      "&Analysis>&Shannon's Index|N1Click",
      "&Analysis>AMO&VA|AMOVA1Click",
      "&Analysis>AMOVA &Permutation Test...|AMOVAPermutationTest1Click",
      "&Analysis>Population D&iversity...|PopulationDiversity1Click",
      "&Analysis>Pair&wise PhiPT...|PairwisePhiPT1Click",
      "&Analysis>&Mantel Test...|MantelTest1Click",
      "&Analysis>Population S&tructure...|PopulationStructure1Click",
      "&Analysis>Assi&gnment Test...|AssignmentTest1Click",
      "&Analysis>Missing Data Chec&k...|MissingDataCheck1Click",
      "&Analysis>F_ST from &Band Frequencies...|BandFst1Click",
      "&Analysis>Band &Rarity and Richness...|BandRarity1Click",
      "&Analysis>Spatial A&utocorrelation...|SpatialAutocorrelation1Click",
      "&Trees>&UPGMA|UPGMA1Click",
      "&Trees>&Strict Consensus|StrictConsensus1Click",
      "&Trees>&Majority Rule Consensus|MajorityRuleConsensus1Click",
      "&Trees>&Principal Coordinate Analysis|PrincipalCoordinateAnalysis1Click",
      "&Trees>-|",
      "&Trees>&Neighbor-Joining|NeighborJoining1Click",
      "&Trees>Support on &Tree...|SupportonTree1Click",
      "&Trees>&Cophenetic Correlation|CopheneticCorrelation1Click",
      "&Trees>Neigh&borNet...|NeighborNet1Click",
      "&Replicate Analyses>Bootstrap Shannon's &Variance (SH+RMD)|XXX1Click",
      "&Replicate Analyses>Bootstrap St&d. Tree (BS+RMD)|BootstrapJaccardTree1Click",
      "&Replicate Analyses>Multiple &Avg. Trees (TR+JC)|Mul1Click",
      "&Replicate Analyses>&Bootstrap Avg. Trees (BS+JC)|BootstrapAvgJaccTrees1Click",
      "&Replicate Analyses>Estimate &R-support (TR)|EstimateRsupport1Click",
      "&Replicate Analyses>Shannon &t-tests|tests1Click",
      "&Options>&Missing Data Replacement Settings|MissingDataReplacement1Click",
      "&Options>&Shannon Scaling...|ShannonScaling1Click",
      "&Options>Replicate &Analysis Settings|ReplicateAnalysisSettings1Click",
      "&Options>MR Consensus And &R-Support Settings|MajorityRuleRvalueAnalysisSetting1Click",
      "&Options>Similarity &Coefficient Selection|SimilarityCoefficientSlection1Click",
      "&Options>&PCoA Settings...|PCoASettings1Click",
      "&Options>&Tree Method...|TreeMethod1Click",
      "&Options>&Output Files...|OutputFiles1Click",
      "&Options>Random S&eed...|RandomSeed1Click",
      "&Options>Comparable &Loci File...|ComparableLociFile1Click",
      "&Options>Corrected p-&Values...|CorrectedPValues1Click",
      "&View>&Tree Viewer...|TreeViewer1Click",
      "&View>&PCoA Plot...|PCoAPlot1Click",
      "&View>-|",
      "&View>Save Tree P&icture...|SaveTreePicture1Click",
      "&View>Save PCoA P&lot...|SavePCoAPlot1Click",
      "&View>Save &Mantel Plot...|SaveMantelPlot1Click",
      "&View>Save St&ructure Plot...|SaveStructurePlot1Click",
      "&View>Save &Correlogram...|SaveCorrelogram1Click",
      "&View>Save &Network Picture...|SaveNetworkPicture1Click",
      "&View>Save R&arefaction Curves...|SaveRarefactionCurves1Click",
      "&Help>&About|About1Click",
      "&Help>&Help|Help1Click",
  };
  EXPECT_EQ(entries, expected);
}

TEST(MenuTable, PlainCaptionDropsAccelerators) {
  EXPECT_EQ(PlainCaption("Stan&dard Similarity"), "Standard Similarity");
  EXPECT_EQ(PlainCaption("Salt && Pepper"), "Salt & Pepper");
  EXPECT_EQ(PlainCaption("AllData"), "AllData");
}

TEST(MenuTable, FindsItemsAndTheGroupSubmenu) {
  MenuBar menu = MainMenu();
  ASSERT_NE(FindByHandler(menu, "urnlogon1Click"), nullptr);
  EXPECT_EQ(FindByHandler(menu, "urnlogon1Click")->caption, "&Turn log on");
  ASSERT_NE(FindSubmenuOf(menu, kSelectGroupHandler), nullptr);
  EXPECT_EQ(FindSubmenuOf(menu, kSelectGroupHandler)->caption, "Select Group &Only");
  EXPECT_EQ(FindByHandler(menu, "NoSuchHandler"), nullptr);
}

// A "&" marks the accelerator letter after it and "&&" stands for one "&"; a lone "&" before a
// space ("Lynch & Milligan") would be taken as a mark and shown as "Lynch _Milligan".
bool AmpersandsMarked(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (i + 1 < caption.size() && caption[i + 1] == '&') {
      ++i;
    } else if (i + 1 == caption.size() || !std::isalnum(static_cast<unsigned char>(caption[i + 1]))) {
      return false;
    }
  }
  return true;
}

void ExpectMarked(const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    EXPECT_TRUE(AmpersandsMarked(item.caption)) << item.caption;
    ExpectMarked(item.items);
  }
}

class CaptionTest : public testing::CommandTest {};

// A table named on the command line or dropped on the window is imported; the handler named
// exists in the menu.
TEST(MenuTable, CsvAndTsvTablesOpenThroughTheTableImport) {
  MenuBar menu = MainMenu();
  const std::pair<const char*, const char*> cases[] = {
      {"table.csv", "ImportCsvTable1Click"}, {"/home/me/TABLE.CSV", "ImportCsvTable1Click"},
      {"columns.tsv", "ImportCsvTable1Click"}, {"data.txt", "Load1Click"},
      {"csv", "Load1Click"}, {"study.csv/data", "Load1Click"}, {"table.csv.txt", "Load1Click"},
  };
  for (const auto& [path, handler] : cases) {
    EXPECT_EQ(OpeningHandler(path), handler) << path;
    EXPECT_NE(FindByHandler(menu, OpeningHandler(path)), nullptr) << path;
  }
}

TEST_F(CaptionTest, EveryMenuAndDialogCaptionDoublesAnAmpersandMeantAsText) {
  EXPECT_FALSE(AmpersandsMarked("Lynch & Milligan"));
  EXPECT_TRUE(AmpersandsMarked("Lynch && Milligan: &use"));
  ExpectMarked(app.menu);
  for (ModalDialog* dialog : app.dialogs.All()) {
    for (const Control& control : dialog->form.Controls()) {
      EXPECT_TRUE(AmpersandsMarked(control.caption)) << dialog->form.Caption() << ": " << control.caption;
      EXPECT_TRUE(AmpersandsMarked(control.frame)) << dialog->form.Caption() << ": " << control.frame;
      if (control.kind != ControlKind::RadioGroup) continue;
      for (const std::string& item : control.items) EXPECT_TRUE(AmpersandsMarked(item)) << dialog->form.Caption() << ": " << item;
    }
  }
}

}  // namespace
}  // namespace vorn
