// The Data tab: the working data matrix as a grid with frozen row and column headers, the
// current group and locus set named above it, individuals in rows or columns, the group
// level whose colours mark the individuals, and the individuals' coordinates when there are any.
// A toggle shows the whole matrix instead: its missing data map, ordered by that level's groups.
#pragma once

#include <QWidget>

#include "core/workspace.h"
#include "ui/data_table_model.h"
#include "ui/missing_map_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QStackedWidget;
class QTableView;

namespace vorn::ui {

class DataTab : public QWidget {
 public:
  DataTab(const Workspace& workspace, QWidget* parent = nullptr);

  // Shows the workspace's data as they stand now.
  void Refresh();
  DataTableModel& Model() { return *model_; }
  QTableView& View() { return *view_; }
  MissingMapView& Overview() { return *overview_; }
  QCheckBox& OverviewToggle() { return *showOverview_; }

 private:
  void FillLevels();
  void SizeColumns();

  DataTableModel* model_;
  QLabel* caption_;
  QCheckBox* individualsInRows_;
  QComboBox* level_;
  QLabel* legend_;
  QTableView* view_;
  QCheckBox* showOverview_;
  MissingMapView* overview_;
  QStackedWidget* pages_;  // the grid, or the overview
};

}  // namespace vorn::ui
