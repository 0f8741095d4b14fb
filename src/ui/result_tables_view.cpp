#include "ui/result_tables_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "commands/dialogs/file_filters.h"
#include "core/shown_table.h"
#include "core/text_file.h"
#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

// The row of the table a cell came from, which the shown order is read back by.
constexpr int kRowRole = Qt::UserRole;

// A cell that sorts as the program orders cells: numbers by value, before texts.
class CellItem : public QTableWidgetItem {
 public:
  CellItem(const std::string& text, int row) : QTableWidgetItem(ToQt(text)), text_(text) {
    setData(kRowRole, row);
    setFlags(flags() & ~Qt::ItemIsEditable);
    if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.back())) || text.back() == '%')) {
      setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
  }
  bool operator<(const QTableWidgetItem& other) const override {
    const auto* cell = dynamic_cast<const CellItem*>(&other);
    return cell ? CellBefore(text_, cell->text_) : QTableWidgetItem::operator<(other);
  }

 private:
  std::string text_;
};

// A table whose Ctrl+C copies the selection with its headers, rather than the current cell alone
// as an item view does.
class CopyingTable : public QTableWidget {
 public:
  CopyingTable(int rows, int columns, std::function<void()> copy)
      : QTableWidget(rows, columns), copy_(std::move(copy)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      copy_();
      event->accept();
      return;
    }
    QTableWidget::keyPressEvent(event);
  }

 private:
  std::function<void()> copy_;
};

QTableWidget* TableOf(const ResultTable& table, std::function<void()> copy) {
  const std::size_t columns = table.rows.empty() ? 0 : table.rows.front().size();
  auto* view = new CopyingTable(int(table.rows.empty() ? 0 : table.rows.size() - 1), int(columns), std::move(copy));
  view->setObjectName(QStringLiteral("resultTable"));
  QStringList header;
  if (!table.rows.empty()) {
    for (const std::string& cell : table.rows.front()) header << ToQt(cell);
  }
  view->setHorizontalHeaderLabels(header);
  for (std::size_t r = 1; r < table.rows.size(); ++r) {
    for (std::size_t c = 0; c < columns; ++c) {
      const std::string cell = c < table.rows[r].size() ? table.rows[r][c] : std::string();
      view->setItem(int(r - 1), int(c), new CellItem(cell, int(r - 1)));
    }
  }
  view->verticalHeader()->setVisible(false);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setSortingEnabled(true);
  view->horizontalHeader()->setSortIndicatorShown(false);
  view->resizeColumnsToContents();
  return view;
}

}  // namespace

ResultTablesView::ResultTablesView(Session& session, std::function<const SessionRecord*()> record, QWidget* parent)
    : QWidget(parent),
      session_(session),
      record_(std::move(record)),
      blocks_(new QListWidget),
      lines_(new QLabel),
      pages_(new QTabWidget) {
  blocks_->setObjectName(QStringLiteral("resultBlocks"));
  lines_->setTextFormat(Qt::PlainText);
  lines_->setWordWrap(true);
  lines_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  pages_->setDocumentMode(true);
  auto* copy = new QPushButton("Cop&y");
  auto* save = new QPushButton("Save as C&SV...");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copy);
  buttons->addWidget(save);
  auto* right = new QWidget;
  auto* column = new QVBoxLayout(right);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(lines_);
  column->addWidget(pages_, 1);
  column->addLayout(buttons);
  auto* splitter = new QSplitter;
  splitter->addWidget(blocks_);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);

  connect(copy, &QPushButton::clicked, this, [this] { CopySelection(); });
  connect(save, &QPushButton::clicked, this, [this] { SaveCsv(); });
  connect(blocks_, &QListWidget::currentRowChanged, this, [this](int row) { Show(row); });
  Refresh();
}

void ResultTablesView::Refresh() {
  const SessionRecord* record = record_ ? record_() : nullptr;
  std::vector<std::string> titles;
  if (record) {
    for (const ReportStep& step : record->steps) titles.push_back(step.title);
  }
  if (titles == titles_) return;
  const bool added = titles.size() > titles_.size() &&
                     std::equal(titles_.begin(), titles_.end(), titles.begin());
  const int kept = blocks_->currentRow();
  titles_ = std::move(titles);
  {
    const QSignalBlocker quiet(blocks_);
    blocks_->clear();
    for (std::size_t k = 0; k < titles_.size(); ++k) blocks_->addItem(QStringLiteral("%1. ").arg(k + 1) + ToQt(titles_[k]));
  }
  // A block just written comes forward; otherwise the one the reader looked at stays.
  const int shown = added || kept < 0 || kept >= blocks_->count() ? blocks_->count() - 1 : kept;
  blocks_->setCurrentRow(shown);
  Show(shown);
}

void ResultTablesView::Show(int block) {
  while (pages_->count() > 0) {
    QWidget* page = pages_->widget(0);
    pages_->removeTab(0);
    delete page;
  }
  tables_.clear();
  lines_->clear();
  const SessionRecord* record = record_ ? record_() : nullptr;
  if (!record || block < 0 || std::size_t(block) >= record->steps.size()) return;
  const ReportStep& step = record->steps[std::size_t(block)];
  std::string lines;
  for (const std::string& line : step.lines) lines += (lines.empty() ? "" : "\n") + line;
  if (step.tables.empty()) lines += std::string(lines.empty() ? "" : "\n") + "This block holds no table.";
  lines_->setText(ToQt(lines));
  for (std::size_t t = 0; t < step.tables.size(); ++t) {
    const ReportTable& table = step.tables[t];
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(TableOf(table.table, [this] { CopySelection(); }), 1);
    if (!table.notes.empty()) {
      std::string notes;
      for (const std::string& note : table.notes) notes += (notes.empty() ? "" : "\n") + note;
      auto* label = new QLabel(ToQt(notes));
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      column->addWidget(label);
    }
    const int index = pages_->addTab(page, QStringLiteral("Table %1").arg(t + 1));
    if (!table.notes.empty()) pages_->setTabToolTip(index, ToQt(table.notes.front()));
    tables_.push_back(table.table);
  }
}

QTableWidget* ResultTablesView::CurrentTable() {
  QWidget* page = pages_->currentWidget();
  return page ? page->findChild<QTableWidget*>() : nullptr;
}

ResultTable ResultTablesView::ShownTable() {
  QTableWidget* view = CurrentTable();
  const int page = pages_->currentIndex();
  if (!view || page < 0) return {};
  const ResultTable& table = tables_[std::size_t(page)];
  ResultTable shown;
  shown.rows.push_back(table.rows.front());
  for (int r = 0; r < view->rowCount(); ++r) {
    shown.rows.push_back(table.rows[std::size_t(view->item(r, 0)->data(kRowRole).toInt()) + 1]);
  }
  return shown;
}

std::string ResultTablesView::SelectionText() {
  QTableWidget* view = CurrentTable();
  const ResultTable shown = ShownTable();
  if (!view || shown.rows.empty()) return "";
  std::vector<std::size_t> rows, columns;
  for (const QModelIndex& index : view->selectionModel()->selectedIndexes()) {
    rows.push_back(std::size_t(index.row()));
    columns.push_back(std::size_t(view->horizontalHeader()->visualIndex(index.column())));
  }
  if (rows.empty()) {
    for (std::size_t r = 0; r + 1 < shown.rows.size(); ++r) rows.push_back(r);
    for (int c = 0; c < view->columnCount(); ++c) columns.push_back(std::size_t(c));
  }
  const auto unique = [](std::vector<std::size_t>& values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
  };
  unique(rows);
  unique(columns);
  // The columns in the order shown: visual positions back to the table's columns.
  for (std::size_t& c : columns) c = std::size_t(view->horizontalHeader()->logicalIndex(int(c)));
  return vorn::SelectionText(shown, rows, columns);
}

void ResultTablesView::CopySelection() {
  if (CurrentTable()) QApplication::clipboard()->setText(ToQt(SelectionText()));
}

void ResultTablesView::SaveCsv() {
  const ResultTable shown = ShownTable();
  if (shown.rows.empty()) return;
  const FileDialogOptions options = SaveFileOptions("Save Table as CSV", kCsvFilter, "table.csv", "csv");
  const auto path = session_.host.ChooseSaveFile(options);
  if (!path) return;
  if (const Status written = ReplaceFileWithText(*path, shown.Csv()); !written) {
    session_.ErrorBox(written.error());
    return;
  }
  session_.Report("Table saved as CSV: " + *path);
}

}  // namespace vorn::ui
