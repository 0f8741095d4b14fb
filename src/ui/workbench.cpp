#include "ui/workbench.h"

#include <QShortcut>
#include <utility>

#include "ui/correlogram_tab.h"
#include "ui/data_tab.h"
#include "ui/log_tab.h"
#include "ui/network_tab.h"
#include "ui/pcoa_plot_window.h"
#include "ui/result_tables_view.h"
#include "ui/results_tab.h"
#include "ui/structure_tab.h"
#include "ui/tree_viewer_window.h"

namespace vorn::ui {

Workbench::Workbench(Session& session, std::function<ReportPage()> report,
                     std::function<const KeptNetwork*()> network, std::function<const SessionRecord*()> record,
                     QWidget* parent)
    : QTabWidget(parent),
      session_(session),
      data_(new DataTab(session.ws)),
      results_(new ResultsTab([&session] { return session.ws.files.analysis; }, [&session] { return session.ws.files.tree; },
                              [&session] { return session.ws.files.consensusOutput; }, std::move(report))),
      trees_(new TreeViewerWindow(session, nullptr)),
      pcoa_(new PcoaPlotWindow(session, nullptr)),
      structure_(new StructureTab(session)),
      correlogram_(new CorrelogramTab(session)),
      log_(new LogTab),
      network_(new NetworkTab(session, std::move(network))) {
  setObjectName("workbench");
  if (record) results_->AddTables(new ResultTablesView(session, std::move(record)));
  // The menu bar holds the Alt letters; the tabs answer to Ctrl+1 ... Ctrl+8.
  const std::pair<QWidget*, const char*> tabs[] = {{data_, "Data"}, {results_, "Results"}, {trees_, "Trees"}, {pcoa_, "PCoA"}, {structure_, "Structure"}, {correlogram_, "Correlogram"}, {log_, "Log"}, {network_, "Network"}};
  for (const auto& [tab, title] : tabs) {
    const int index = addTab(tab, title);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + index)), this);
    connect(shortcut, &QShortcut::activated, this, [this, index] { setCurrentIndex(index); });
  }
}

void Workbench::Refresh() {
  data_->Refresh();
  results_->Refresh();
  results_->RefreshReport();
  trees_->Refresh();
  trees_->Follow(session_.ws.files.tree);
  pcoa_->Refresh();
  structure_->Refresh();
  correlogram_->Refresh();
  network_->Refresh();
}

void Workbench::Reported(std::string_view time, std::string_view line) { log_->Add(time, line); }

}  // namespace vorn::ui
