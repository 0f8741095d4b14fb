// The Results tab's Tables view: the session's result blocks (one entry per command that wrote
// one, from the record the report reads) and the tables of the block selected, each as a table
// with labelled columns that a click on a header sorts (numbers as numbers, texts as texts),
// Ctrl+C and Copy giving the selection as tab-separated text with its headers, and "Save as
// CSV..." writing the table as shown through the host's file dialog, whole or not at all.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/result_table.h"
#include "core/session.h"
#include "report/session_record.h"

class QLabel;
class QListWidget;
class QTabWidget;
class QTableWidget;

namespace vorn::ui {

class ResultTablesView : public QWidget {
 public:
  // record gives the session's record as it stands (nullptr for none).
  ResultTablesView(Session& session, std::function<const SessionRecord*()> record, QWidget* parent = nullptr);

  // Takes the record as it stands: a block added since is listed and selected.
  void Refresh();

  QListWidget& Blocks() { return *blocks_; }
  // The table shown, or nullptr when the block selected has none.
  QTableWidget* CurrentTable();
  // The current table's selection (or the whole table when nothing is selected) as Copy puts
  // it on the clipboard.
  std::string SelectionText();
  // The current table in its shown order, its header first.
  ResultTable ShownTable();
  void CopySelection();
  void SaveCsv();

 private:
  void Show(int block);

  Session& session_;
  std::function<const SessionRecord*()> record_;
  std::vector<std::string> titles_;  // the blocks listed
  std::vector<ResultTable> tables_;  // those of the block shown, in the order of its pages
  QListWidget* blocks_;
  QLabel* lines_;
  QTabWidget* pages_;
};

}  // namespace vorn::ui
