// The Data tab: the working data matrix as a grid with frozen row and column headers, the
// current group and locus set named above it, individuals in rows or columns, the group
// level whose colours mark the individuals, and the individuals' coordinates when there are any.
// A toggle shows the whole matrix instead: its missing data map, ordered by that level's groups.
// Scores are edited in the grid: a score's symbol typed sets the selected cells, the context menu
// sets them or renames, and the selection is copied and pasted as tab-separated text. The tab
// changes nothing itself: it hands each edit to the window, which runs it as a command. While no
// data are loaded it shows the start page instead.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "commands/data/grid_clipboard.h"
#include "core/workspace.h"
#include "editing/renaming.h"
#include "ui/data_table_model.h"
#include "ui/missing_map_view.h"
#include "ui/start_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
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
  QLineEdit& FindField() { return *find_; }
  StartPage& Start() { return *start_; }

  // What the window does with an edit: sets a block of scores, renames (the dialog then asks for
  // the new name), or shows why a copy or paste cannot be done.
  std::function<void(const ScoreBlock&)> onSetScores;
  std::function<void(NameKind, const std::string&)> onRename;
  std::function<void(const std::string&)> onRefused;
  // The grid's selection (or current cell) changed: the window greys Copy and Paste without one.
  std::function<void()> onSelectionChanged;

  // True when the grid shows data and some of its scores are selected (or one is current).
  bool HasSelection() const { return ws_.dataLoaded && SelectedScores().has_value(); }

  // The selected scores as tab-separated text on the clipboard; false without a selection.
  bool Copy();
  // The clipboard's block pasted into the selection (one score fills it).
  void Paste();
  // Sets every selected score to text (a score's symbol).
  void SetSelection(const std::string& text);
  // Shows the next individual or locus whose name holds text after the current one; false when none.
  bool Find(const QString& text);
  void FocusFind();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillLevels();
  void SizeColumns();
  // The selected scores (coordinate cells left out), nothing without a selection of scores.
  std::optional<GridRange> SelectedScores() const;
  void ShowContextMenu(const QPoint& at);
  // The start page without data, else the grid or the overview as toggled.
  void ShowPage();

  const Workspace& ws_;
  DataTableModel* model_;
  QLineEdit* find_;
  std::size_t findFrom_ = 0;  // the row or column (rows first) where the next search starts
  QLabel* caption_;
  QCheckBox* individualsInRows_;
  QComboBox* level_;
  QLabel* legend_;
  QTableView* view_;
  QCheckBox* showOverview_;
  MissingMapView* overview_;
  StartPage* start_;
  QStackedWidget* pages_;  // the grid, the overview or the start page
};

}  // namespace vorn::ui
