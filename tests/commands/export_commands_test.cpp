// The File > Export commands on a recording host: save dialogs, questions, reports, the ploidy
// question, refusals that leave the target as it was, and the hindex export leaving the working
// data, the selection and the frequency basis as they were.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/all_commands.h"
#include "support/command_fixture.h"

namespace vorn::testing {
namespace {

constexpr const char* kData =
    "a b c d\n"
    "1 0 ? 1\n"
    "0 1 1 ?\n"
    "*\n"
    "[Groups]\n"
    "AllData/P1 = a, b;\n"
    "AllData/P2 = c, d;\n"
    "*\n";

class ExportCommandTest : public CommandTest {
 protected:
  void SetUp() override { Load(kData); }

  // Answers the next question box with value and OK.
  void Ploidy(const std::string& value) { Answer({{"value", value}}); }
};

struct DialogCase {
  const char* handler;
  const char* title;
  const char* name;
  const char* filter;
};

TEST_F(ExportCommandTest, EachExportOpensItsSaveDialog) {
  const std::string text = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  const DialogCase cases[] = {
      {"Nexus1Click", "Select File To Export To...", "export.nex", "Nexus Files (*.nex)|*.nex|All Files (*.*)|*.*"},
      {"HickoryNexusAllelesBlocK91Click", "Select File To Export To...", "export_alleles.nex",
       "Nexus Files (*.nex)|*.nex|All Files (*.*)|*.*"},
      {"ArlequinProject1Click", "Select File To Export Arlequin Data To...", "export.arp",
       "Arlequin Project Files (*.arp)|*.arp|All Files (*.*)|*.*"},
      {"Structure1Click", "Select File To Export To...", "export_structure.txt", text.c_str()},
      {"GenePop1Click", "Select File To Export To...", "export_genepop.txt", text.c_str()},
      {"GenePopByGroup1Click", "Select File To Export To...", "export_genepop.txt", text.c_str()},
      {"NTSyspc1Click", "Select File To Export To...", "export.nts",
       "NTSYSpc Files (*.nts)|*.nts|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"},
      {"ListofOTUs1Click", "Select File To Export OTU-List To...", "otulist.txt", text.c_str()},
      {"SynTax1Click", "Select File To Export SynTax Data To...", "syntax.txt", text.c_str()},
      {"hindex1Click", "Select Base File Name To Export Hindex Data To...", "export_hindex.txt", text.c_str()},
  };
  for (const DialogCase& c : cases) {
    host.files.push_back(std::nullopt);
    Run(c.handler);
    ASSERT_FALSE(host.fileDialogs.empty()) << c.handler;
    EXPECT_EQ(host.fileDialogs.back().title, c.title) << c.handler;
    EXPECT_EQ(host.fileDialogs.back().initialName, c.name) << c.handler;
    EXPECT_EQ(host.fileDialogs.back().filter, c.filter) << c.handler;
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(ExportCommandTest, WithoutDataEveryExportSaysSo) {
  TMainPrg fresh{host, AllCommands()};
  for (const char* handler : {"Nexus1Click", "SynTax1Click", "hindex1Click", "Structure1Click"}) {
    host.messages.clear();
    fresh.Run(*FindByHandler(fresh.menu, handler));
    ASSERT_EQ(host.Errors().size(), 1u) << handler;
    EXPECT_EQ(host.Errors()[0], "No data loaded!");
  }
}

TEST_F(ExportCommandTest, PloidyOutsideOneTo255IsAskedAgain) {
  host.files.push_back("s.txt");
  for (const char* refused : {"256", "0", "-1", "2.5", "", "x"}) Ploidy(refused);
  Ploidy(" 3 ");
  host.answers = {MessageAnswer::No, MessageAnswer::No};
  Run("Structure1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Data exported to structure file s.txt"});
  EXPECT_EQ(ReadFile("s.txt"), "Locus1 Locus2 \r\n"
                                "a 1 -9 -9 2 2 2 \r\n"
                                "b 2 2 2 1 -9 -9 \r\n"
                                "c -9 -9 -9 1 -9 -9 \r\n"
                                "d 1 -9 -9 -9 -9 -9 \r\n");
}

TEST_F(ExportCommandTest, TheRepeatedPloidyQuestionCarriesTheErrorLine) {
  host.files.push_back("s.txt");
  std::vector<std::string> errorLines;
  for (const char* value : {"256", "1"}) {
    host.dialogs.push_back([&errorLines, value](DialogForm& form) {
      EXPECT_EQ(form.Caption(), "Export to Structure");
      EXPECT_EQ(form["text1"].caption, "What is the ploidy level for your data?");
      errorLines.push_back(form["text3"].caption);
      form["value"].text = value;
      return true;
    });
  }
  host.answers = {MessageAnswer::No};
  Run("Structure1Click");
  EXPECT_EQ(errorLines, (std::vector<std::string>{"", "Error: Expecting a number (1-255) !!!"}));
}

TEST_F(ExportCommandTest, RefusedExportKeepsTheFileThatWasThere) {
  dir.Write("keep.nex", "before");
  app.ws.groups.groups.push_back({"AllData/P3", {"a", "ghost"}});
  host.files.push_back("keep.nex");
  Run("HickoryNexusAllelesBlocK91Click");
  ASSERT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(host.Errors()[0],
            "The member \"ghost\" of group \"AllData/P3\" is not an individual of the current data. "
            "Nothing was exported.");
  EXPECT_EQ(ReadFile("keep.nex"), "before");
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(ExportCommandTest, HindexLeavesWorkingDataSelectionAndBasisAsTheyWere) {
  SelectGroupEntry(2);  // AllData/P2 becomes the working data
  app.ws.settings.shannon.frequencyBasis = FrequencyBasis::RelativeToAllPresences;
  app.ws.settings.missingDataReplacement = 1.0;
  const DataMatrix before = app.ws.data;
  const auto parked = app.ws.groups.parkedIndividuals;
  host.reports.clear();
  host.files.push_back("h.txt");
  host.dialogs.push_back([](DialogForm& form) {
    EXPECT_EQ(form.Caption(), "hindex export filter");
    EXPECT_EQ(form["parent1"].items, (std::vector<std::string>{"AllData", "AllData/P1", "AllData/P2"}));
    form["parent1"].selected = 1;
    form["parent2"].selected = 2;
    form["tested"].selected = 0;
    return true;
  });
  Run("hindex1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(app.ws.data, before);
  EXPECT_EQ(app.ws.groups.activeGroup, 2);
  ASSERT_TRUE(app.ws.groups.parkedIndividuals);
  EXPECT_EQ(app.ws.groups.parkedIndividuals->cells, parked->cells);
  EXPECT_EQ(app.ws.settings.shannon.frequencyBasis, FrequencyBasis::RelativeToAllPresences);
  EXPECT_EQ(host.reports,
            std::vector<std::string>{"EXPERIMENTAL - Exported Hindex files to h.txt plus \"_indiv\"/\"_parents\" suffixes"});
  EXPECT_EQ(ReadFile("h_indiv.txt"), "Individual\r\nAllData # a b c d \r\nLocus1 # 1 0 NA 1 \r\nLocus2 # 0 1 1 NA \r\n");
  EXPECT_EQ(ReadFile("h_parents.txt"),
            "Parental\r\nAllData/P1 AllData/P2 #\r\nLocus1 # D 0.500000000 1.000000000\r\n"
            "Locus2 # D 0.500000000 1.000000000\r\n");
}

TEST_F(ExportCommandTest, HindexNeedsAGroup) {
  app.ws.groups.groups.resize(1);
  const std::size_t dialogs = host.fileDialogs.size();
  Run("hindex1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"At least 2 groups must be defined to use this feature!"});
  EXPECT_EQ(host.fileDialogs.size(), dialogs);
}

TEST_F(ExportCommandTest, NexusOffersTheDistancesOnlyForTheWorkingIndividuals) {
  Run("Jaccard1Click");
  SelectGroupEntry(1);
  host.files.push_back("n.nex");
  host.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  Run("Nexus1Click");
  EXPECT_TRUE(host.answers.empty());
  EXPECT_EQ(ReadFile("n.nex").find("DISTANCES"), std::string::npos);
}

}  // namespace
}  // namespace vorn::testing
