// The Results tab: the analysis file, the tree file and the consensus tree file as the program
// writes them, one sub-tab each, the session report as File > Write Report would write it, and
// (when given) the Tables view of the session's result blocks. Each view reads the file itself (only what was added since it
// last looked), follows new text unless the user scrolled up, and names the file with a button
// that opens its folder.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/file_tail.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTextBrowser;

namespace vorn::ui {

class ResultTablesView;

class FileView : public QWidget {
 public:
  // fileName gives the file to show as the workspace names it now.
  explicit FileView(std::function<std::string()> fileName, QWidget* parent = nullptr);

  // Reads what the file gained since the last look, or the whole file when it was replaced.
  void Refresh();
  QPlainTextEdit& Text() { return *text_; }
  const std::string& Path() const { return tail_.Path(); }

 private:
  std::function<std::string()> fileName_;
  FileTail tail_;
  QLabel* path_;
  QPlainTextEdit* text_;
};

// The report's HTML in its Document form and the SVG of its figures.
struct ReportPage {
  std::string html;
  std::vector<std::string> figures;
};

class ResultsTab : public QWidget {
 public:
  // report: the page the Report view shows; none leaves that view empty.
  ResultsTab(std::function<std::string()> analysis, std::function<std::string()> tree,
             std::function<std::string()> consensus, std::function<ReportPage()> report = {},
             QWidget* parent = nullptr);

  // The files; the report is made anew only by RefreshReport, after a command.
  void Refresh();
  void RefreshReport();
  // Adds the Tables view as the last sub-tab; RefreshReport then refreshes it too.
  void AddTables(ResultTablesView* tables);
  QTextBrowser& Report() { return *report_; }
  ResultTablesView* Tables() { return tables_; }
  FileView& Analysis() { return *analysis_; }
  FileView& Trees() { return *tree_; }
  FileView& Consensus() { return *consensus_; }

 private:
  QTabWidget* files_;
  FileView* analysis_;
  FileView* tree_;
  FileView* consensus_;
  QTextBrowser* report_;
  ResultTablesView* tables_ = nullptr;
  std::function<ReportPage()> reportPage_;
};

}  // namespace vorn::ui
