// The workbench: the tabs in the middle of the main window. Data shows the working matrix,
// Results the files the commands write and the session report, Trees and PCoA the tree viewer and the PCoA plot, Structure the
// bar plot of the last population structure run, Correlogram the last spatial autocorrelation, Log every
// status line of the session, Network the splits graph of the last NeighborNet. After each
// command the tabs take the workspace as it stands.
#pragma once

#include <QTabWidget>
#include <functional>
#include <string_view>

#include "core/session.h"
#include "report/session_record.h"
#include "ui/results_tab.h"

namespace vorn {
struct KeptNetwork;
}

namespace vorn::ui {

class CorrelogramTab;
class DataTab;
class LogTab;
class NetworkTab;
class PcoaPlotWindow;
class ResultsTab;
class StructureTab;
class TreeViewerWindow;

class Workbench : public QTabWidget {
 public:
  // report: what the Results tab's Report view shows; network gives the last NeighborNet, or
  // nullptr before the first (none without one); record the session's result blocks for the
  // Results tab's Tables view (none: no such view).
  explicit Workbench(Session& session, std::function<ReportPage()> report = {},
                     std::function<const KeptNetwork*()> network = {},
                     std::function<const SessionRecord*()> record = {}, QWidget* parent = nullptr);

  // Brings every tab up to date with the workspace and the result files.
  void Refresh();
  // A status line, for the Log tab.
  void Reported(std::string_view time, std::string_view line);

  DataTab& Data() { return *data_; }
  ResultsTab& Results() { return *results_; }
  TreeViewerWindow& Trees() { return *trees_; }
  PcoaPlotWindow& Pcoa() { return *pcoa_; }
  StructureTab& Structure() { return *structure_; }
  CorrelogramTab& Correlogram() { return *correlogram_; }
  LogTab& Log() { return *log_; }
  NetworkTab& Network() { return *network_; }

 private:
  Session& session_;
  DataTab* data_;
  ResultsTab* results_;
  TreeViewerWindow* trees_;
  PcoaPlotWindow* pcoa_;
  StructureTab* structure_;
  CorrelogramTab* correlogram_;
  LogTab* log_;
  NetworkTab* network_;
};

}  // namespace vorn::ui
