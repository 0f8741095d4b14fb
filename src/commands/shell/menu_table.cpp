#include "commands/shell/menu_table.h"

#include <cctype>

namespace vorn {
namespace {

MenuItem Command(std::string caption, std::string handler) { return MenuItem{std::move(caption), std::move(handler), {}, 0}; }
MenuItem Submenu(std::string caption, std::vector<MenuItem> items) { return MenuItem{std::move(caption), "", std::move(items), 0}; }
MenuItem Separator() { return MenuItem{"-", "", {}, 0}; }

}  // namespace

MenuBar MainMenu() {
  return {
      Submenu("&File",
              {
                  Command("&Load", "Load1Click"),
                  Command("&Save DataMatrix", "Save1Click"),
                  Submenu("Select File &Names",
                          {
                              Command("Select &Analysis Output File", "SelectAnalysisOutputFile1Click"),
                              Command("Select &Tree Output File", "SelectTreeOutputFile1Click"),
                              Command("Select Consensus Tree Input File", "Seect1Click"),
                              Command("Select Consensus Tree Output File", "SelectConsensusTreeOutputFile1Click"),
                              Command("Select Log File", "SelectLogFile1Click"),
                          }),
                  Submenu("&Export",
                          {
                              Command("&Nexus", "Nexus1Click"),
                              Command("&Arlequin Project", "ArlequinProject1Click"),
                              Command("&GenePop", "GenePop1Click"),
                              Command("GenePop by Gro&ups", "GenePopByGroup1Click"),
                              Command("NTS&yspc", "NTSyspc1Click"),
                              Command("List of &OTUs", "ListofOTUs1Click"),
                              Command("SynTa&x", "SynTax1Click"),
                              Command("&hindex", "hindex1Click"),
                              Command("&Structure", "Structure1Click"),
                              Command("Hic&kory (Nexus)", "HickoryNexusAllelesBlocK91Click"),
                              Command("&Coordinates (CSV)", "ExportCoordinates1Click"),
                              Command("Locus &Metrics (CSV)", "ExportLocusMetrics1Click"),
                          }),
                  Command(std::string(kLogOnCaption), "urnlogon1Click"),
                  Command("E&xit", "Exit1Click"),
                  Separator(),
                  Submenu("&Import",
                          {
                              Command("&CSV / TSV Table...", "ImportCsvTable1Click"),
                              Command("&GenAlEx Workbook (CSV)...", "ImportGenalex1Click"),
                              Command("&DArT Presence/Absence Report (CSV)...", "ImportDartReport1Click"),
                              Command("&Sample Sheet (CSV)...", "ImportSampleSheet1Click"),
                          }),
                  Command("New &Matrix from Clipboard...", "NewMatrixFromClipboard1Click"),
                  Command("Sa&ve Session as Script...", "SaveSessionAsScript1Click"),
                  Command("Write &Report...", "WriteReport1Click"),
              }),
      Submenu("&Edit",
              {
                  Command("&Undo", "Undo1Click"),
                  Command("&Redo", "Redo1Click"),
                  Separator(),
                  Command("&Set Scores...", "SetScores1Click"),
                  Command("Re&name...", "Rename1Click"),
              }),
      Submenu("&DataMatrix",
              {
                  Command("Restore &Original Matrix", "RestoreOriginalMatrix1Click"),
                  Command("Matrix &Statistics", "Statistics1Click"),
                  Submenu("&Frequency Statistics",
                          {
                              Command("Frequencies per &Individuals", "FrequenciesperIndividuals1Click"),
                              Command("Frequencies per &Loci", "Frequencies1Click"),
                          }),
                  Command("&Missing Data Statistics", "CheckMissingData1Click"),
                  Command("&Replace Missing Data", "ReplaceMissingData1Click"),
                  Submenu("Remove &Individuals...",
                          {
                              Command("With &Missing Data...", "WithMissingData2Click"),
                              Command("With Band Frequency &Below...", "WithBandFrequencyBelow1Click"),
                              Command("With Band Frequency Abo&ve...", "WithBandFrequencyAbove2Click"),
                          }),
                  Submenu("Remove &Loci...",
                          {
                              Command("With &Missing Data...", "WithMissingData1Click"),
                              Command("Mo&nomorphic...", "Monomorphic01Click"),
                              Command("Monomorphic &Absences...", "MonomorphicAbsences1Click"),
                              Command("Monomorphic &Presences", "MonomorphicPresences1Click"),
                              Command("With Band Frequency &Below...", "Withbandfrequency1Click"),
                              Command("With Band Frequency Abo&ve...", "WithBandFrequencyAbove1Click"),
                              Command("With mo&re Missing Data than Presences", "WithmoreMissingDatathanPresences1Click"),
                              Separator(),
                              Command("With &Error Rate Above...", "WithErrorRateAbove1Click"),
                              Command("By Locus Me&tric...", "ByLocusMetric1Click"),
                          }),
                  Separator(),
                  Command("&Group Manager", "Groups1Click"),
                  Submenu("Select Group &Only", {Command("AllData", std::string(kSelectGroupHandler))}),
                  Submenu("Group-based &Profiles",
                          {
                              Command("&Additive Band Profile", "AdditiveBandProfile1Click"),
                              Command("&Fixed Band Profile", "FixedBandProfile1Click"),
                          }),
                  Separator(),
                  Command("Replicate &Error Rates...", "ReplicateErrorRates1Click"),
                  Command("Merge Replica&tes...", "MergeReplicates1Click"),
                  Command("Data &Quality Summary", "DataQualitySummary1Click"),
                  Command("Missing Data M&ap...", "MissingDataMap1Click"),
              }),
      Submenu("&Analysis",
              {
                  Command("Stan&dard Similarity", "Jaccard1Click"),
                  Command("Mi&nimum Similarity", "Jaccard2Click"),
                  Command("Ma&ximum Similarity", "MaximumJaccard1Click"),
                  Command("&Average Similarity", "AverageJaccard2Click"),
                  Separator(),
                  Command("&Shannon's Index", "N1Click"),
                  Command("AMO&VA", "AMOVA1Click"),
                  Command("AMOVA &Permutation Test...", "AMOVAPermutationTest1Click"),
                  Command("Population D&iversity...", "PopulationDiversity1Click"),
                  Command("Pair&wise PhiPT...", "PairwisePhiPT1Click"),
                  Command("&Mantel Test...", "MantelTest1Click"),
                  Command("Population S&tructure...", "PopulationStructure1Click"),
                  Command("Assi&gnment Test...", "AssignmentTest1Click"),
                  Command("Missing Data Chec&k...", "MissingDataCheck1Click"),
                  Command("F_ST from &Band Frequencies...", "BandFst1Click"),
                  Command("Band &Rarity and Richness...", "BandRarity1Click"),
                  Command("Spatial A&utocorrelation...", "SpatialAutocorrelation1Click"),
              }),
      Submenu("&Trees",
              {
                  Command("&UPGMA", "UPGMA1Click"),
                  Command("&Strict Consensus", "StrictConsensus1Click"),
                  Command("&Majority Rule Consensus", "MajorityRuleConsensus1Click"),
                  Command("&Principal Coordinate Analysis", "PrincipalCoordinateAnalysis1Click"),
                  Separator(),
                  Command("&Neighbor-Joining", "NeighborJoining1Click"),
                  Command("Support on &Tree...", "SupportonTree1Click"),
                  Command("&Cophenetic Correlation", "CopheneticCorrelation1Click"),
                  Command("Neigh&borNet...", "NeighborNet1Click"),
              }),
      Submenu("&Replicate Analyses",
              {
                  Command("Bootstrap Shannon's &Variance (SH+RMD)", "XXX1Click"),
                  Command("Bootstrap St&d. Tree (BS+RMD)", "BootstrapJaccardTree1Click"),
                  Command("Multiple &Avg. Trees (TR+JC)", "Mul1Click"),
                  Command("&Bootstrap Avg. Trees (BS+JC)", "BootstrapAvgJaccTrees1Click"),
                  Command("Estimate &R-support (TR)", "EstimateRsupport1Click"),
                  Command("Shannon &t-tests", "tests1Click"),
              }),
      Submenu("&Options",
              {
                  Command("&Missing Data Replacement Settings", "MissingDataReplacement1Click"),
                  Command("&Shannon Scaling...", "ShannonScaling1Click"),
                  Command("Replicate &Analysis Settings", "ReplicateAnalysisSettings1Click"),
                  Command("MR Consensus And &R-Support Settings", "MajorityRuleRvalueAnalysisSetting1Click"),
                  Command("Similarity &Coefficient Selection", "SimilarityCoefficientSlection1Click"),
                  Command("&PCoA Settings...", "PCoASettings1Click"),
                  Command("&Tree Method...", "TreeMethod1Click"),
                  Command("&Output Files...", "OutputFiles1Click"),
                  Command("Random S&eed...", "RandomSeed1Click"),
                  Command("Comparable &Loci File...", "ComparableLociFile1Click"),
                  Command("Corrected p-&Values...", "CorrectedPValues1Click"),
              }),
      Submenu("&View",
              {
                  Command("&Tree Viewer...", "TreeViewer1Click"),
                  Command("&PCoA Plot...", "PCoAPlot1Click"),
                  Separator(),
                  Command("Save Tree P&icture...", "SaveTreePicture1Click"),
                  Command("Save PCoA P&lot...", "SavePCoAPlot1Click"),
                  Command("Save &Mantel Plot...", "SaveMantelPlot1Click"),
                  Command("Save St&ructure Plot...", "SaveStructurePlot1Click"),
                  Command("Save &Correlogram...", "SaveCorrelogram1Click"),
                  Command("Save &Network Picture...", "SaveNetworkPicture1Click"),
                  Command("Save R&arefaction Curves...", "SaveRarefactionCurves1Click"),
              }),
      Submenu("&Help",
              {
                  Command("&About", "About1Click"),
                  Command("&Help", "Help1Click"),
              }),
  };
}

std::string PlainCaption(std::string_view caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == '&') continue;
    plain += caption[i];
  }
  return plain;
}

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string NormalCaption(std::string_view caption) {
  std::string plain = PlainCaption(Trim(caption));
  if (plain.size() >= 3 && plain.compare(plain.size() - 3, 3, "...") == 0) plain.resize(plain.size() - 3);
  while (!plain.empty() && plain.back() == ' ') plain.pop_back();
  for (char& c : plain) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return plain;
}

MenuItem* FindIn(std::vector<MenuItem>& items, std::string_view handler, bool wantParent) {
  for (auto& item : items) {
    for (auto& child : item.items) {
      if (child.handler == handler) return wantParent ? &item : &child;
    }
    if (item.handler == handler && !wantParent) return &item;
    if (MenuItem* found = FindIn(item.items, handler, wantParent)) return found;
  }
  return nullptr;
}

}  // namespace

bool SameCaption(std::string_view a, std::string_view b) { return NormalCaption(a) == NormalCaption(b); }

MenuItem* FindByHandler(MenuBar& menu, std::string_view handler) { return FindIn(menu, handler, false); }

MenuItem* FindSubmenuOf(MenuBar& menu, std::string_view handler) { return FindIn(menu, handler, true); }

}  // namespace vorn
