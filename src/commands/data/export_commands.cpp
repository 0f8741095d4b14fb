// File > Export: the band matrix written for other programs. Each command asks for the file in
// the save dialog of the catalogue (io/exports.h), asks its questions, and has the writer refuse
// what the format cannot hold before any file exists; the writer replaces the target only when
// all of it was written.
#include <charconv>
#include <optional>
#include <string>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "groups/group_model.h"
#include "groups/selection.h"
#include "io/arlequin_export.h"
#include "io/exports.h"
#include "io/genepop_export.h"
#include "io/hickory_export.h"
#include "io/hindex_export.h"
#include "io/label_list_export.h"
#include "io/nexus_export.h"
#include "io/ntsys_export.h"
#include "io/structure_export.h"
#include "io/syntax_export.h"
#include "similarity/distance_transformation.h"
#include "matrix/band_frequencies.h"
#include "matrix/replace_missing.h"

namespace vorn {
namespace {

constexpr const char* kAbsenceQuestion = "Should absences be encoded as 0/? rather than 0/0 ?";
constexpr const char* kStructureTitle = "Export to Structure";

const ExportDialog& Dialog(ExportFormat format) {
  for (const ExportDialog& dialog : kExports) {
    if (dialog.format == format) return dialog;
  }
  return kExports.front();
}

// Data loaded, then the format's save dialog: the chosen file, or nothing. No extension is added
// to a name typed without one: the companion files of SynTax and hindex follow the name as typed.
std::optional<std::string> ChooseExportFile(TMainPrg& app, ExportFormat format) {
  if (!RequireMatrix(app)) return std::nullopt;
  const ExportDialog& dialog = Dialog(format);
  const FileDialogOptions options = SaveFileOptions(std::string(dialog.title), std::string(dialog.filter), std::string(dialog.defaultName));
  return app.host.ChooseSaveFile(options);
}

// Shows a refusal or a failed write; on success reports the format's line.
void Finish(TMainPrg& app, const Status& written, ExportFormat format, const std::string& name,
            std::string_view reportEnd = {}) {
  if (!app.Check(written)) return;
  app.Report(std::string(Dialog(format).report) + name + std::string(reportEnd));
}

bool Yes(TMainPrg& app, std::string_view question, std::string_view title) {
  return app.MessageQuery(question, title, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void Nexus1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Nexus);
  if (!name) return;
  const DataMatrix& data = app.ws.data;
  const FileLayout& symbols = app.ws.settings.layout;
  if (!app.Check(CheckNexus(data, symbols))) return;
  NexusOptions options;
  options.charactersBlock =
      Yes(app, "Export data as CHARACTERS block? The alternative is a DATA block?", "Data export");
  options.standard = Yes(app, "Set nexus datatype to STANDARD? The alternative is RESTRICTION (not recognised by PAUP*)?",
                         "DataType");
  std::optional<DistanceMatrix> distances;
  if (const DistanceMatrix* active = app.ws.ActiveMatrix();
      active && Yes(app, "You have a an active (dis)similarity matrix.\r\nDo you wish to export the distance matrix?",
                    "Nexus Data Export")) {
    distances = TransformMatrix(*active, app.ws.settings.similarity.transformation);
    options.distances = &*distances;
  }
  Finish(app, WriteNexus(*name, data, symbols, options), ExportFormat::Nexus, *name);
}

void HickoryNexusAllelesBlocK91Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Hickory);
  if (!name) return;
  const GroupList& groups = app.ws.groups.groups;
  const std::size_t levels = LevelCount(groups);
  if (levels <= 1) {
    app.ErrorBox("You need to have groups (i.e., populations) defined.");
    return;
  }
  if (levels > 2) {
    app.MessageQuery("You have more than one level of groups defined.\r\nOnly the first (highest) level of hierarchy "
                     "will be exported.",
                     "Export to Nexus for Hickory", MessageButtons::Ok);
  }
  Finish(app, WriteHickory(*name, app.ws.data, groups, app.ws.settings.layout.ambiguity), ExportFormat::Hickory,
         *name);
}

void ArlequinProject1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Arlequin);
  if (!name) return;
  const GroupList& groups = app.ws.groups.groups;
  std::size_t levels = LevelCount(groups);
  if (levels <= 1) {
    app.ErrorBox("To export an Arlequin Project, you need to have groups defined!");
    return;
  }
  if (levels > 3) {
    app.MessageQuery("Only first 3 levels of your grouping hierarchy can be exported", "Warning", MessageButtons::Ok);
  }
  if (levels > 2 && Yes(app,
                        "Do you wish to the the first level of hierarchical structure only?\r\nAlternatively, "
                        "[clicking no], the first two levels will be used.",
                        "Export to Arlequin")) {
    levels = 2;
  }
  Finish(app, WriteArlequin(*name, app.ws.data, groups, levels > 2, app.ws.settings.layout.ambiguity),
         ExportFormat::Arlequin, *name);
}

// The ploidy asked in the question box until it is a whole number from 1 to 255; nothing on Cancel.
std::optional<std::uint8_t> AskPloidy(TMainPrg& app) {
  std::string value = "2";
  std::string error;
  for (;;) {
    if (!app.dialogs.questionBox.Query(app.host, kStructureTitle, "What is the ploidy level for your data?", "", value,
                                       error)) {
      return std::nullopt;
    }
    const std::size_t first = value.find_first_not_of(' ');
    const std::size_t last = value.find_last_not_of(' ');
    unsigned ploidy = 0;
    if (first != std::string::npos) {
      const char* end = value.data() + last + 1;
      const auto [at, fault] = std::from_chars(value.data() + first, end, ploidy);
      if (fault == std::errc() && at == end && ploidy >= 1 && ploidy <= 255) return static_cast<std::uint8_t>(ploidy);
    }
    error = "Error: Expecting a number (1-255) !!!";
  }
}

void Structure1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Structure);
  if (!name) return;
  const auto ploidy = AskPloidy(app);
  if (!ploidy) return;
  StructureOptions options;
  options.ploidy = *ploidy;
  if (options.ploidy > 1) options.absenceAsUnknown = Yes(app, kAbsenceQuestion, kStructureTitle);
  const GroupList& groups = app.ws.groups.groups;
  options.populations =
      LevelCount(groups) > 1 &&
      Yes(app, "You have groups defined. Should they be encoded as population information for use in structure?",
          kStructureTitle);
  Finish(app, WriteStructure(*name, app.ws.data, groups, options), ExportFormat::Structure, *name);
}

void GenePopExport(TMainPrg& app, ExportFormat format, const GroupList* populations) {
  const auto name = ChooseExportFile(app, format);
  if (!name) return;
  const bool absenceAsUnknown = Yes(app, kAbsenceQuestion, kStructureTitle);
  Finish(app, WriteGenePop(*name, app.ws.data, absenceAsUnknown, populations), format, *name);
}

void GenePop1Click(TMainPrg& app) { GenePopExport(app, ExportFormat::GenePop, nullptr); }
// The same file with one POP per group of the first level.
void GenePopByGroup1Click(TMainPrg& app) { GenePopExport(app, ExportFormat::GenePopByGroup, &app.ws.groups.groups); }

void NTSyspc1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Ntsys);
  if (!name) return;
  Finish(app, WriteNtsys(*name, app.ws.data), ExportFormat::Ntsys, *name);
}

void ListofOTUs1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::OtuList);
  if (!name) return;
  Finish(app, WriteOtuList(*name, app.ws.data), ExportFormat::OtuList, *name);
}

void SynTax1Click(TMainPrg& app) {
  const auto name = ChooseExportFile(app, ExportFormat::Syntax);
  if (!name) return;
  Finish(app, WriteSyntax(*name, app.ws.data), ExportFormat::Syntax, *name, kSyntaxReportEnd);
}

// The individuals of group index, taken from the full data (the parked whole data set while a
// group is the working data), without changing the working data or the selection.
Result<DataMatrix> GroupCopy(const Workspace& ws, const DataMatrix& full, std::size_t index) {
  if (auto members = MemberPositions(full.individualLabels, ws.groups.groups[index]); !members) {
    return Failure{members.error()};
  }
  return SelGrpOnly(full, ws.groups.groups, index);
}

// A parent's band frequency per locus (share of its individuals), counted on its copied cells
// after the missing scores were replaced.
Result<std::vector<Real>> ParentalFrequencies(TMainPrg& app, DataMatrix parent) {
  std::vector<Cell> replaced(parent.cells.size());
  ReplaceMissing(parent.cells, replaced, app.ws.settings.missingDataReplacement, app.ws.random);
  parent.cells = std::move(replaced);
  return LocusBandFrequencies(parent, FrequencyBasis::PerIndividual);
}

void hindex1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const GroupList& groups = app.ws.groups.groups;
  if (groups.size() < 2) {
    app.ErrorBox("At least 2 groups must be defined to use this feature!");
    return;
  }
  const auto name = ChooseExportFile(app, ExportFormat::Hindex);
  if (!name) return;
  const auto chosen = app.dialogs.hindexFilter.Execute(app.host, DisplayNames(groups, app.ws.groups.showFullPath));
  if (!chosen) return;

  const Workspace& ws = app.ws;
  std::optional<DataMatrix> parked;
  if (const auto& slot = ws.groups.parkedIndividuals) {
    parked = DataMatrix{slot->individualCount, slot->locusCount, slot->cells, slot->labels, slot->locusLabels, slot->locusMetrics};
  }
  const DataMatrix& full = parked ? *parked : ws.data;
  auto tested = GroupCopy(ws, full, chosen->tested);
  if (!app.Check(tested)) return;
  auto parent1 = GroupCopy(ws, full, chosen->parent1);
  if (!app.Check(parent1)) return;
  auto parent2 = GroupCopy(ws, full, chosen->parent2);
  if (!app.Check(parent2)) return;
  auto frequencies1 = ParentalFrequencies(app, std::move(*parent1));
  if (!app.Check(frequencies1)) return;
  auto frequencies2 = ParentalFrequencies(app, std::move(*parent2));
  if (!app.Check(frequencies2)) return;

  HindexData data;
  data.tested = &*tested;
  data.testedName = groups[chosen->tested].name;
  data.parent1Name = groups[chosen->parent1].name;
  data.parent2Name = groups[chosen->parent2].name;
  data.parent1 = std::move(*frequencies1);
  data.parent2 = std::move(*frequencies2);
  Finish(app, WriteHindex(*name, data), ExportFormat::Hindex, *name, kHindexReportEnd);
}

}  // namespace

void RegisterExportCommands(HandlerTable& table) {
  table["Nexus1Click"] = Plain(Nexus1Click);
  table["HickoryNexusAllelesBlocK91Click"] = Plain(HickoryNexusAllelesBlocK91Click);
  table["ArlequinProject1Click"] = Plain(ArlequinProject1Click);
  table["Structure1Click"] = Plain(Structure1Click);
  table["GenePop1Click"] = Plain(GenePop1Click);
  table["GenePopByGroup1Click"] = Plain(GenePopByGroup1Click);
  table["NTSyspc1Click"] = Plain(NTSyspc1Click);
  table["ListofOTUs1Click"] = Plain(ListofOTUs1Click);
  table["SynTax1Click"] = Plain(SynTax1Click);
  table["hindex1Click"] = Plain(hindex1Click);
}

}  // namespace vorn
