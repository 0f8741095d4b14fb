// TMainPrg: the program as every host drives it. It owns the workspace, the dialogs (created
// once, keeping their state for the run) and the menu bar, runs the start-up sequence, and
// runs a menu item's handler with the failures of the command kept inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/dialogs/coefficient_dialog.h"
#include "commands/dialogs/consensus_settings_dialog.h"
#include "commands/dialogs/file_param_dialog.h"
#include "commands/dialogs/group_manager_dialog.h"
#include "commands/dialogs/hindex_filter_dialog.h"
#include "commands/dialogs/differentiation_dialogs.h"
#include "commands/dialogs/edit_dialogs.h"
#include "commands/dialogs/import_dialogs.h"
#include "commands/shell/menu_table.h"
#include "commands/dialogs/missing_data_dialog.h"
#include "commands/dialogs/missing_view_dialogs.h"
#include "commands/dialogs/network_dialog.h"
#include "commands/dialogs/pcoa_settings_dialog.h"
#include "commands/dialogs/output_files_dialog.h"
#include "commands/dialogs/picture_dialogs.h"
#include "commands/dialogs/population_dialogs.h"
#include "commands/dialogs/question_box.h"
#include "commands/shell/recent_files.h"
#include "commands/dialogs/removal_dialogs.h"
#include "commands/dialogs/replicate_sample_dialogs.h"
#include "commands/dialogs/replicate_settings_dialog.h"
#include "commands/dialogs/report_dialogs.h"
#include "commands/shell/session_recorder.h"
#include "commands/dialogs/shannon_scaling_dialog.h"
#include "commands/dialogs/spatial_dialog.h"
#include "commands/dialogs/structure_dialog.h"
#include "commands/dialogs/support_dialog.h"
#include "networks/neighbor_net.h"
#include "commands/dialogs/tree_method_dialog.h"
#include "commands/dialogs/ttest_dialog.h"
#include "core/session.h"
#include "editing/matrix_history.h"
#include "pictures/picture_maker.h"
#include "report/session_record.h"

namespace vorn {

inline constexpr const char* kApplicationTitle = "Vorn";
inline constexpr const char* kMainCaption = "Vorn - Marbleton 1.10 beta";
inline constexpr const char* kVersion = "1.10 beta";
// The About box's title; the window shows the program's icon in that box.
inline constexpr std::string_view kAboutBoxTitle = "About this program";

class TMainPrg;

// The last NeighborNet built, with the labels and the matrix name it was built with, for its picture.
struct KeptNetwork {
  NeighborNet net;
  LabelTable labels;
  std::string matrixName;
};
using CommandHandler = std::function<void(TMainPrg&, const MenuItem&)>;
using HandlerTable = std::map<std::string, CommandHandler, std::less<>>;

// The dialogs of the program, one of each.
struct Dialogs {
  TFileParamDialog fileParam;
  TQBox questionBox;
  TDataRemDlg dataRemoval;
  TDRemFDlg frequencyRemoval;
  TMDR_Dlg missingDataReplacement;
  TShScaleDlg shannonScaling;
  TGrpManDlg groupManager;  // hand-made in each host, so not among All()
  TSelCDlg coefficient;
  TtTstDlg tTest;
  TReplicateSettingsBox replicateSettings;
  THinExpFilt hindexFilter;
  TConsRDlg consensusSettings;
  TreePictureDialog treePicture;
  PcoaPlotDialog pcoaPlot;
  PlotSizeDialog mantelPlot{"Save Mantel Plot"};
  PcoaSettingsDialog pcoaSettings;
  PopulationDiversityDialog populationDiversity;
  PairwisePhiPTDialog pairwisePhiPT;
  MantelTestDialog mantelTest;
  StructureDialog structure;
  StructurePlotDialog structurePlot;
  AssignmentTestDialog assignmentTest;
  TreeMethodDialog treeMethod;
  SupportDialog support;
  TImportTableDialog importTable;
  TImportGenalexDialog importGenalex;
  OutputFilesDialog outputFiles;
  CorrectedPValuesDialog correctedPValues;
  BandFstDialog bandFst;
  BandRarityDialog bandRarity;
  ReplicateErrorRatesDialog replicateErrorRates;
  ErrorRateRemovalDialog errorRateRemoval;
  MergeReplicatesDialog mergeReplicates;
  MissingDataMapDialog missingDataMap;
  MissingDataCheckDialog missingDataCheck;
  ComparableLociDialog comparableLoci;
  TImportReportDialog importReport;
  MetricRemovalDialog metricRemoval;
  TImportSampleSheetDialog importSampleSheet;
  SpatialAutocorrelationDialog spatialAutocorrelation;
  PlotSizeDialog correlogramPlot{"Save Correlogram"};
  PlotSizeDialog rarefactionPlot{"Save Rarefaction Curves"};
  NeighborNetDialog neighborNet;
  SetScoresDialog setScores;
  RenameDialog rename;

  std::vector<ModalDialog*> All() {
    return {&fileParam, &questionBox, &dataRemoval, &frequencyRemoval, &missingDataReplacement, &shannonScaling,
            &coefficient, &tTest, &replicateSettings, &hindexFilter, &consensusSettings, &treePicture, &pcoaPlot,
            &pcoaSettings, &populationDiversity, &pairwisePhiPT, &treeMethod, &support, &importTable, &importGenalex, &outputFiles,
            &mantelTest, &mantelPlot, &structure, &structurePlot, &assignmentTest, &replicateErrorRates,
            &errorRateRemoval, &mergeReplicates, &missingDataMap, &missingDataCheck, &comparableLoci,
            &importReport, &metricRemoval, &importSampleSheet, &correctedPValues, &bandFst, &bandRarity,
            &spatialAutocorrelation, &correlogramPlot, &neighborNet, &rarefactionPlot, &setScores, &rename};
  }
};

namespace detail {
// Holds the workspace so that it exists before the Session that refers to it.
struct WorkspaceOwner {
  Workspace workspace;
};
}  // namespace detail

class TMainPrg : private detail::WorkspaceOwner, public Session {
 public:
  // handlers: what each menu item runs (commands/all_commands.h gives every command).
  TMainPrg(Host& host, HandlerTable handlers);

  // The start-up sequence up to the event loop: seeds the generator (from the clock unless a
  // seed is given), checks the floating-point unit, hides the save-only control and reports the
  // welcome line.
  void Start(std::optional<std::uint32_t> seed = std::nullopt);
  // The seed Start gave the generator: a script run with --seed and it draws the same numbers.
  std::uint32_t StartSeed() const { return startSeed_; }

  // Runs the item's command; a command that is not built yet says so. Failures the command did
  // not expect end it with an error box instead of escaping to the host.
  void Run(const MenuItem& item);

  // Shows the log caption that matches the log state.
  void UpdateLogCaption();
  // Rebuilds "Select Group Only": "AllData", then one entry per group from the second on.
  void RebuildGroupMenu(const std::vector<std::string>& displayNames);

  Dialogs dialogs;
  MenuBar menu;
  // The help document Help opens: "vornhelp.pdf" beside the program, whatever the current folder.
  std::string helpDocument;
  PictureMaker* pictures = nullptr;  // set by a host built with Qt
  RecentFiles recentFiles;           // the data files loaded in this run, for a host that offers them
  SessionRecorder* recorder = nullptr;  // set by a host that records its session as a script
  std::optional<KeptNetwork> network;
  SessionRecord reportRecord;  // the analyses since the last load, for File > Write Report
  std::string scriptSource;    // the script a headless run reads, which its report reproduces
  std::string buildCommit;     // the commit the program was built from, "" when not known
  // Undo and Redo over the working data since the last load, and whether the working data
  // changed since they were loaded or saved.
  MatrixHistory history;
  bool unsavedChanges = false;
  std::uint64_t loads = 0;  // data installed from a file or a table: tells a command its data were replaced

 protected:
  void LoggingTurnedOff() override { UpdateLogCaption(); }

 private:
  // After a command: a new load forgets the history; a command that changed the working data
  // without moving the history itself becomes one undo step (before is the state it started from).
  void NoteDataChange(const MenuItem& item, std::optional<MatrixState> before, std::uint64_t loadsBefore,
                      std::uint64_t moves, bool wroteFiles);

  HandlerTable handlers_;
  std::uint32_t startSeed_ = 0;
};

// Adapts a handler that does not need its menu item.
inline CommandHandler Plain(void (*handler)(TMainPrg&)) {
  return [handler](TMainPrg& app, const MenuItem&) { handler(app); };
}

}  // namespace vorn
