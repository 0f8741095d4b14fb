#include "ui/data_table_model.h"

#include <QBrush>
#include <algorithm>
#include <QIcon>
#include <QPixmap>

#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

std::size_t Slot(Cell score) { return score == Presence ? 0 : score == Absence ? 1 : 2; }

QColor ToColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

}  // namespace

DataTableModel::DataTableModel(const Workspace& workspace, QObject* parent)
    : QAbstractTableModel(parent), table_(workspace) {
  for (const Cell score : {Presence, Absence, Missing}) {
    const CellLook look = LookOf(score);
    symbols_[Slot(score)] = QString::fromLatin1(look.symbol);
    backgrounds_[Slot(score)] = QBrush(ToColor(look.background));
  }
  table_.Refresh();
  MakeGroupMarks();
}

void DataTableModel::MakeGroupMarks() {
  groupMarks_.clear();
  for (std::size_t group = 0; group < table_.GroupNames().size(); ++group) {
    QPixmap mark(10, 10);
    mark.fill(ToColor(GroupColour(static_cast<int>(group))));
    groupMarks_.push_back(QIcon(mark));
  }
}

void DataTableModel::Refresh() {
  beginResetModel();
  table_.Refresh();
  MakeGroupMarks();
  endResetModel();
}

void DataTableModel::SetOrientation(DataOrientation orientation) {
  beginResetModel();
  table_.SetOrientation(orientation);
  endResetModel();
}

void DataTableModel::SetLevel(std::size_t level) {
  table_.SetLevel(level);
  MakeGroupMarks();
  emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnCount() - 1));
}

// The coordinate lines come before the loci: columns when individuals are in rows, else rows.
int DataTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(table_.Rows() + (table_.RowsAreIndividuals() ? 0 : table_.CoordinateLines()));
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(table_.Columns() + (table_.RowsAreIndividuals() ? table_.CoordinateLines() : 0));
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::BackgroundRole && role != Qt::TextAlignmentRole) return {};
  auto row = static_cast<std::size_t>(index.row()), column = static_cast<std::size_t>(index.column());
  std::size_t& locus = table_.RowsAreIndividuals() ? column : row;
  if (locus < table_.CoordinateLines()) {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::BackgroundRole) return {};
    return ToQt(table_.CoordinateText(table_.RowsAreIndividuals() ? row : column, locus));
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  locus -= table_.CoordinateLines();
  const std::size_t slot = Slot(table_.ScoreAt(row, column));
  return role == Qt::DisplayRole ? symbols_[slot] : backgrounds_[slot];
}

QVariant DataTableModel::IndividualHeader(std::size_t individual, const std::string& name, int role) const {
  const int group = table_.GroupOf(individual);
  switch (role) {
    case Qt::DisplayRole: return ToQt(name);
    case Qt::ForegroundRole: return group < 0 ? QVariant() : QVariant(QBrush(ToColor(GroupColour(group))));
    case Qt::DecorationRole: return group < 0 ? QVariant() : groupMarks_[static_cast<std::size_t>(group)];
    case Qt::ToolTipRole:
      return group < 0 ? ToQt(name) : ToQt(name + " (" + table_.GroupNames()[static_cast<std::size_t>(group)] + ")");
    default: return {};
  }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (section < 0) return {};
  const auto at = static_cast<std::size_t>(section);
  const bool rowHeader = orientation == Qt::Vertical;
  const auto nameAt = [&](std::size_t line) -> const std::string& {
    return rowHeader ? table_.RowName(line) : table_.ColumnName(line);
  };
  if (rowHeader == table_.RowsAreIndividuals()) return IndividualHeader(at, nameAt(at), role);
  const std::size_t lead = table_.CoordinateLines();
  const std::string& name = at < lead ? table_.CoordinateName(at) : nameAt(at - lead);
  // A locus name cut by a narrow column shows whole in its tooltip, with the locus's metrics.
  if (role == Qt::ToolTipRole && at >= lead) return ToQt(table_.LocusTip(at - lead));
  return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(ToQt(name)) : QVariant();
}

}  // namespace vorn::ui
