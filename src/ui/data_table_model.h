// The Qt model of the Data tab: DataTable's cells, names and group colours as item roles, the
// individuals' coordinates (when there are any) as two lines before the loci. It
// computes each cell's text and colours on request from the workspace's cells, so a matrix of
// 2000 x 5000 costs nothing more than the rows on screen.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <array>
#include <vector>

#include "commands/data/data_table.h"

namespace vorn::ui {

class DataTableModel : public QAbstractTableModel {
 public:
  explicit DataTableModel(const Workspace& workspace, QObject* parent = nullptr);

  DataTable& Table() { return table_; }
  // Takes the workspace as it stands now; the views reset.
  void Refresh();
  void SetOrientation(DataOrientation orientation);
  void SetLevel(std::size_t level);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  QVariant IndividualHeader(std::size_t individual, const std::string& name, int role) const;
  void MakeGroupMarks();

  DataTable table_;
  // The three scores' symbols and colours, made once rather than at every call.
  std::array<QVariant, 3> symbols_;
  std::array<QVariant, 3> backgrounds_;
  std::vector<QVariant> groupMarks_;  // a square of each group's colour beside its individuals' names
};

}  // namespace vorn::ui
