// The main window: the menu bar drawn from the program's menu table and the six status lines.
// Commands run here, on the user-interface thread, under the busy cursor; a menu change made
// by a command is drawn when the command ends, so no menu is replaced under its own action.
#pragma once

#include <QMainWindow>
#include <array>

#include "commands/main_program.h"
#include "ui/qt_host.h"

class QLabel;
class QFrame;

namespace vorn::ui {

class MainWindow : public QMainWindow, public HostWindow {
 public:
  explicit MainWindow(TMainPrg& program);

  // Runs a menu command; the window repaints meanwhile only when the command asks for it.
  void RunCommand(const MenuItem& item);
  bool CommandRunning() const { return running_; }

  QWidget* DialogParent() override { return this; }
  void ShowStatus(const StatusHistory& lines) override;
  void RefreshMenu() override;
  void RequestQuit() override;

 protected:
  // Closing the window leaves the program as Exit does (farewell line, log closed).
  void closeEvent(QCloseEvent* event) override;

 private:
  void RebuildMenu();

  TMainPrg& program_;
  QFrame* statusPanel_ = nullptr;
  std::array<QLabel*, StatusHistory::kLineCount> statusLines_{};
  bool running_ = false;
  bool menuStale_ = false;
  bool closeAfterCommand_ = false;
  bool quitRequested_ = false;
};

}  // namespace vorn::ui
