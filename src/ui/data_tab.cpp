#include "ui/data_tab.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/dialog_form.h"
#include "ui/elided_label.h"
#include "ui/qt_text.h"

namespace vorn::ui {

DataTab::DataTab(const Workspace& workspace, QWidget* parent)
    : QWidget(parent),
      ws_(workspace),
      model_(new DataTableModel(workspace, this)),
      find_(new QLineEdit),
      caption_(new ElidedLabel),
      individualsInRows_(new QCheckBox("I&ndividuals in rows")),
      level_(new QComboBox),
      legend_(new QLabel),
      view_(new QTableView),
      showOverview_(new QCheckBox("&Whole matrix")),
      overview_(new MissingMapView(workspace)),
      start_(new StartPage),
      pages_(new QStackedWidget) {
  caption_->setObjectName("dataCaption");
  caption_->setTextFormat(Qt::PlainText);
  individualsInRows_->setChecked(true);
  legend_->setTextFormat(Qt::RichText);
  legend_->setText(QString("<span style='background:%1'>&nbsp;1&nbsp;</span> presence &nbsp; "
                           "<span style='background:%2'>&nbsp;0&nbsp;</span> absence &nbsp; "
                           "<span style='background:%3'>&nbsp;?&nbsp;</span> missing")
                       .arg(ToQt(HexColour(LookOf(Presence).background)), ToQt(HexColour(LookOf(Absence).background)),
                            ToQt(HexColour(LookOf(Missing).background))));
  auto* tools = new QHBoxLayout;
  tools->addWidget(caption_, 1);
  tools->addWidget(legend_);
  tools->addSpacing(12);
  auto* colourBy = new QLabel("&Colour by:");
  colourBy->setBuddy(level_);
  tools->addWidget(colourBy);
  // As wide as its longest entry: the entries change with the data's levels.
  level_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tools->addWidget(level_);
  tools->addWidget(individualsInRows_);
  showOverview_->setToolTip("The missing data map of the whole working matrix instead of the grid");
  tools->addWidget(showOverview_);
  find_->setObjectName("dataFind");
  find_->setPlaceholderText("Find individual or locus");
  find_->setClearButtonEnabled(true);
  // On a line of its own, so the controls above keep their width in a narrow window.
  find_->setMaximumWidth(find_->fontMetrics().averageCharWidth() * 30);
  auto* search = new QHBoxLayout;
  search->addWidget(find_);
  search->addStretch(1);
  connect(find_, &QLineEdit::returnPressed, this, [this] { Find(find_->text()); });

  view_->setModel(model_);
  // Rows of one text line and narrow score columns: the grid shows as many scores as fit, and the
  // headers never resize to their contents, which would read every name of a large matrix.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setWordWrap(false);
  view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  // Typing and the context menu edit scores here, never an editor inside a cell.
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->installEventFilter(this);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, &DataTab::ShowContextMenu);
  const auto selectionChanged = [this] {
    if (onSelectionChanged) onSelectionChanged();
  };
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionChanged);
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, selectionChanged);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addLayout(search);
  pages_->addWidget(view_);
  pages_->addWidget(overview_);
  pages_->addWidget(start_);
  layout->addWidget(pages_, 1);

  connect(individualsInRows_, &QCheckBox::toggled, this, [this](bool rows) {
    model_->SetOrientation(rows ? DataOrientation::IndividualsInRows : DataOrientation::IndividualsInColumns);
    SizeColumns();
  });
  connect(level_, &QComboBox::activated, this, [this](int level) {
    model_->SetLevel(static_cast<std::size_t>(level));
    if (showOverview_->isChecked()) overview_->Refresh(model_->Table().Level());
  });
  connect(showOverview_, &QCheckBox::toggled, this, [this](bool overview) {
    // The map is made only while it is shown: a large matrix costs nothing in the grid.
    if (overview) overview_->Refresh(model_->Table().Level());
    ShowPage();
  });
  Refresh();
}

void DataTab::FillLevels() {
  level_->clear();
  level_->addItem("no groups");
  const std::size_t levels = model_->Table().Levels();
  for (std::size_t level = 1; level <= levels; ++level) level_->addItem(QString("groups of level %1").arg(level));
  level_->setCurrentIndex(static_cast<int>(model_->Table().Level()));
}

// Columns as wide as the widest column name, from 4 to 16 characters (the whole name is the
// header's tooltip); coordinates widen the columns that show them. The names are measured here,
// once per refresh, rather than by a header resizing to its contents, which would measure them
// again at every scroll.
void DataTab::SizeColumns() {
  QHeaderView& header = *view_->horizontalHeader();
  const QFontMetrics metrics(header.font());
  const int character = metrics.averageCharWidth();
  const auto fit = [&](int width) { return std::clamp(width + 2 * character, 4 * character, 16 * character); };
  const auto width = [&](const QVariant& text) { return metrics.horizontalAdvance(text.toString()); };
  const bool individualsInRows = model_->Table().RowsAreIndividuals();
  const int lead = static_cast<int>(model_->Table().CoordinateLines());
  int widest = 0;
  for (int column = individualsInRows ? lead : 0; column < model_->columnCount(); ++column) {
    widest = std::max(widest, width(model_->headerData(column, Qt::Horizontal)));
    for (int row = 0; !individualsInRows && row < lead; ++row) widest = std::max(widest, width(model_->index(row, column).data()));
  }
  header.setDefaultSectionSize(fit(widest));
  for (int column = 0; individualsInRows && column < lead; ++column) {
    int values = width(model_->headerData(column, Qt::Horizontal));
    for (int row = 0; row < model_->rowCount(); ++row) values = std::max(values, width(model_->index(row, column).data()));
    header.resizeSection(column, fit(values));
  }
}

void DataTab::Refresh() {
  // An edit keeps the grid where it was: the same cell current, the same cells selected.
  const int rows = model_->rowCount(), columns = model_->columnCount();
  const QModelIndex current = view_->currentIndex();
  const QItemSelection selection = view_->selectionModel()->selection();
  const int across = view_->horizontalScrollBar()->value(), down = view_->verticalScrollBar()->value();
  model_->Refresh();
  if (rows == model_->rowCount() && columns == model_->columnCount() && current.isValid()) {
    QItemSelection again;
    for (const QItemSelectionRange& range : selection) {
      again.select(model_->index(range.top(), range.left()), model_->index(range.bottom(), range.right()));
    }
    view_->selectionModel()->setCurrentIndex(model_->index(current.row(), current.column()), QItemSelectionModel::NoUpdate);
    view_->selectionModel()->select(again, QItemSelectionModel::ClearAndSelect);
    view_->horizontalScrollBar()->setValue(across);
    view_->verticalScrollBar()->setValue(down);
  }
  SizeColumns();
  FillLevels();
  caption_->setText(ToQt(model_->Table().Caption()));
  if (showOverview_->isChecked()) overview_->Refresh(model_->Table().Level());
  ShowPage();
}

void DataTab::ShowPage() {
  QWidget* page = !ws_.dataLoaded ? static_cast<QWidget*>(start_)
                  : showOverview_->isChecked() ? static_cast<QWidget*>(overview_)
                                               : view_;
  pages_->setCurrentWidget(page);
}

std::optional<GridRange> DataTab::SelectedScores() const {
  const DataTable& table = model_->Table();
  const int lead = static_cast<int>(table.CoordinateLines());
  int top = 0, left = 0, bottom = -1, right = -1;
  const QItemSelection selection = view_->selectionModel()->selection();
  for (const QItemSelectionRange& range : selection) {
    top = bottom < 0 ? range.top() : std::min(top, range.top());
    left = right < 0 ? range.left() : std::min(left, range.left());
    bottom = std::max(bottom, range.bottom());
    right = std::max(right, range.right());
  }
  if (bottom < 0) {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid()) return std::nullopt;
    top = bottom = current.row();
    left = right = current.column();
  }
  // The coordinate lines lead the loci: columns with individuals in rows, rows otherwise.
  int& first = table.RowsAreIndividuals() ? left : top;
  int& last = table.RowsAreIndividuals() ? right : bottom;
  first = std::max(first - lead, 0);
  last -= lead;
  if (last < first || bottom < top || right < left || table.Rows() == 0 || table.Columns() == 0) return std::nullopt;
  return GridRange{static_cast<std::size_t>(top), static_cast<std::size_t>(left), static_cast<std::size_t>(bottom - top + 1),
                   static_cast<std::size_t>(right - left + 1)};
}

bool DataTab::Copy() {
  const auto range = SelectedScores();
  if (!range) return false;
  QApplication::clipboard()->setText(ToQt(CopiedText(model_->Table(), ws_.settings.layout, *range)));
  return true;
}

void DataTab::Paste() {
  const auto range = SelectedScores();
  if (!range) return;
  const auto block =
      PastedBlock(model_->Table(), ws_.settings.layout, FromQt(QApplication::clipboard()->text()), *range);
  if (!block) {
    if (onRefused) onRefused(block.error());
    return;
  }
  if (onSetScores) onSetScores(*block);
}

void DataTab::SetSelection(const std::string& text) {
  const auto range = SelectedScores();
  if (range && onSetScores) onSetScores(RangeBlock(model_->Table(), *range, text));
}

bool DataTab::Find(const QString& text) {
  if (text.isEmpty()) return false;
  const DataTable& table = model_->Table();
  const int lead = static_cast<int>(table.CoordinateLines());
  const bool leadColumns = table.RowsAreIndividuals();
  // Rows first, then columns, after the name found last; from the start again at the end.
  const QModelIndex current = view_->currentIndex();
  const std::size_t rows = table.Rows(), columns = table.Columns(), lines = rows + columns;
  for (std::size_t step = 0; step < lines; ++step) {
    const std::size_t line = (findFrom_ + step) % lines;
    const bool row = line < rows;
    const std::string& name = row ? table.RowName(line) : table.ColumnName(line - rows);
    if (!ToQt(name).contains(text, Qt::CaseInsensitive)) continue;
    const int r = row ? static_cast<int>(line) + (leadColumns ? 0 : lead) : std::max(current.row(), 0);
    const int c = row ? std::max(current.column(), 0) : static_cast<int>(line - rows) + (leadColumns ? lead : 0);
    const QModelIndex found = model_->index(r, c);
    findFrom_ = line + 1;
    view_->setCurrentIndex(found);
    view_->scrollTo(found);
    if (!row) view_->selectColumn(c);
    return true;
  }
  return false;
}

void DataTab::FocusFind() {
  find_->setFocus(Qt::ShortcutFocusReason);
  find_->selectAll();
}

bool DataTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched != view_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->matches(QKeySequence::Copy)) {
    Copy();
    return true;
  }
  if (key->matches(QKeySequence::Paste)) {
    Paste();
    return true;
  }
  if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
    // Shift+F10 opens the context menu at the current cell, as the Menu key does.
    ShowContextMenu(view_->visualRect(view_->currentIndex()).center());
    return true;
  }
  const std::string text = FromQt(key->text());
  const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (plain && text.size() == 1 && ScoreOfText(text, ws_.settings.layout)) {
    SetSelection(text);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void DataTab::ShowContextMenu(const QPoint& at) {
  const auto range = SelectedScores();
  if (!range) return;
  const DataTable& table = model_->Table();
  const FileLayout& layout = ws_.settings.layout;
  QMenu menu(this);
  // Each entry has an accelerator of its own, so the menu opened by the keyboard is worked by it.
  for (const auto& [score, word] : {std::pair{Presence, "p&resence"}, std::pair{Absence, "&absence"}, std::pair{Missing, "&missing"}}) {
    const std::string symbol(1, SymbolOf(score, layout));
    QAction* set = menu.addAction(QString("Set to %1 (%2)").arg(ToQt(LiteralCaption(symbol)), QString::fromLatin1(word)));
    connect(set, &QAction::triggered, this, [this, symbol] { SetSelection(symbol); });
  }
  menu.addSeparator();
  QAction* copy = menu.addAction("&Copy");
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, [this] { Copy(); });
  QAction* paste = menu.addAction("&Paste");
  paste->setShortcut(QKeySequence::Paste);
  connect(paste, &QAction::triggered, this, [this] { Paste(); });
  menu.addSeparator();
  const std::string row = table.RowName(range->top), column = table.ColumnName(range->left);
  const std::string& individual = table.RowsAreIndividuals() ? row : column;
  const std::string& locus = table.RowsAreIndividuals() ? column : row;
  for (const auto& entry : {std::pair{NameKind::Individual, individual}, std::pair{NameKind::Locus, locus}}) {
    const NameKind kind = entry.first;
    const std::string name = entry.second;
    const QString caption = kind == NameKind::Individual ? "Rename &Individual %1..." : "Rename &Locus %1...";
    // A name is shown as it is: an "&" in it is no accelerator.
    QAction* rename = menu.addAction(caption.arg(ToQt(LiteralCaption(name))));
    connect(rename, &QAction::triggered, this, [this, kind, name] {
      if (onRename) onRename(kind, name);
    });
  }
  menu.exec(view_->viewport()->mapToGlobal(at));
}

}  // namespace vorn::ui
