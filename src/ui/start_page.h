// The page the Data tab shows while no data are loaded: Load and Import as buttons, the recent
// data files, and the usual road of an analysis as a short list of menu paths.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace vorn::ui {

class StartPage : public QWidget {
 public:
  explicit StartPage(QWidget* parent = nullptr);

  // What the page's buttons and list do: run the command of a handler, read a recent file again
  // (its place in the list).
  std::function<void(const std::string&)> onCommand;
  std::function<void(std::size_t)> onRecentFile;

  // Lists the recent data files, newest first: each its path, and how it is read when that is an
  // import ("data.csv (Import CSV / TSV Table)").
  void ShowRecent(const std::vector<std::string>& entries);
  QListWidget& Recent() { return *recent_; }

 private:
  QListWidget* recent_;
};

}  // namespace vorn::ui
