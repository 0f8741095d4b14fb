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

  // What the page's buttons and list do: run the command of a handler, load a recent file.
  std::function<void(const std::string&)> onCommand;
  std::function<void(const std::string&)> onRecentFile;

  // Lists the recent data files, newest first.
  void ShowRecent(const std::vector<std::string>& paths);
  QListWidget& Recent() { return *recent_; }

 private:
  QListWidget* recent_;
};

}  // namespace vorn::ui
