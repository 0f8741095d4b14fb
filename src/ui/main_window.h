// The main window: the menu bar drawn from the program's menu table, the workbench tabs and,
// below them, the six status lines. Commands run here, on the user-interface thread, under the
// busy cursor; a menu change made by a command is drawn when the command ends, so no menu is
// replaced under its own action. The window also offers the recent data files (File > Recent
// Files) and loads a data file dropped on it, and keeps its geometry between runs. Its title
// marks working data that changed since they were loaded or saved, and Exit asks before such
// changes are lost. After a command the tab that shows its result comes forward (View > Bring
// Results Forward turns that off); Edit > Copy and Paste and Ctrl+F serve the Data and Log tabs.
// Undo and Redo name the step they take ("Undo Set Scores") and are greyed without one, as Copy
// and Paste are without a selection in the grid (Paste also without text on the clipboard).
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "commands/shell/main_program.h"
#include "ui/desktop_settings.h"
#include "ui/qt_host.h"
#include "ui/workbench.h"

class QLabel;
class QFrame;
class QMenu;
class QScreen;

namespace vorn::ui {

// The window's size at its first opening: 1000 x 700 at least, or 80 % of a larger screen, never
// more than the screen.
QSize OpeningSize(const QScreen* screen);

// The caption of a Recent Files entry: "&1 /home/me/data.txt", an "&" of the path doubled, and
// how an import reads it: "&2 /home/me/table.csv (Import CSV / TSV Table)".
QString RecentFileCaption(std::size_t index, const std::string& path, const std::string& way = {});

class MainWindow : public QMainWindow, public HostWindow {
 public:
  MainWindow(TMainPrg& program, QtHost& host, DesktopSettings& settings);

  // Runs a menu command; the window repaints meanwhile only when the command asks for it.
  void RunCommand(const MenuItem& item);
  bool CommandRunning() const { return running_; }
  // Called after each command, once the tabs took the workspace as it stands: for the windows of
  // their own that show it too.
  void OnCommandEnded(std::function<void()> hook) { commandEnded_ = std::move(hook); }
  // File > Load on path without its open-file dialog, the layout (when given) shown in File
  // Parameter Selection; the user confirms it there as with every load.
  void LoadFile(const std::string& path, const FileLayout* layout = nullptr);
  // A file named on the command line or dropped on the window: a CSV or TSV table through File >
  // Import > CSV / TSV Table, any other file through File > Load; the user confirms the layout.
  void OpenFile(const std::string& path);
  // A recent file read again as it was read last: loaded with its layout or imported with its
  // import's settings, shown in the dialog for the user to confirm.
  void OpenRecent(const RecentFile& file);

  QWidget* DialogParent() override { return this; }
  void ShowStatus(const StatusHistory& lines) override;
  void AddToLog(std::string_view time, std::string_view line) override;
  void RefreshMenu() override;
  void RequestQuit() override;
  Workbench& Tabs() { return *workbench_; }
  QMenu* RecentFilesMenu() const { return recentMenu_; }
  bool BringsResultsForward() const { return bringForward_; }

 protected:
  // Closing the window leaves the program as Exit does (farewell line, log closed).
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void RebuildMenu();
  void FillRecentFiles();
  // The recent files on the Data tab's start page.
  void ShowRecentFiles();
  // Runs the command of handler with path as the answer of its open-file dialog.
  void RunOnFile(std::string_view handler, const std::string& path);
  // The window's own entries of the Edit and View menus and the Find shortcut.
  void AddWindowActions(QMenuBar& bar);
  // Undo, Redo, Copy and Paste as the history, the grid's selection and the clipboard stand.
  void UpdateEditActions();
  // Runs the command of handler with its dialog answered by the values the form holds.
  void RunFilled(std::string_view handler, const std::string& caption);
  // True when nothing unsaved would be lost, or the user lets it go.
  bool MayDiscardChanges();
  // Brings forward the tab that shows what the command just did, from the sizes of the result
  // files and the count of loads before it: Data after a load, Trees after a tree, PCoA after an
  // ordination, Results after a result block.
  QWidget* PictureTab(std::string_view handler);
  void BringResultForward(const MenuItem& item, const std::array<long long, 3>& sizesBefore, std::uint64_t loadsBefore);

  TMainPrg& program_;
  QtHost& host_;
  DesktopSettings& settings_;
  Workbench* workbench_ = nullptr;
  QFrame* statusPanel_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  std::array<QLabel*, StatusHistory::kLineCount> statusLines_{};
  std::function<void()> commandEnded_;
  bool running_ = false;
  bool menuStale_ = false;
  bool closeAfterCommand_ = false;
  bool quitRequested_ = false;
  bool bringForward_ = true;
};

}  // namespace vorn::ui
