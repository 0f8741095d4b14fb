#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QShortcut>
#include <QMimeData>
#include <QUrl>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <QVBoxLayout>

#include "commands/shell/file_opening.h"
#include "commands/report/report_document.h"
#include "ui/correlogram_tab.h"
#include "ui/data_tab.h"
#include "ui/log_tab.h"
#include "ui/network_tab.h"
#include "ui/pcoa_plot_window.h"
#include "ui/results_tab.h"
#include "ui/structure_tab.h"
#include "ui/tree_viewer_window.h"
#include "ui/menu_builder.h"
#include "ui/qt_text.h"
#include "ui/scoped_cursor.h"

namespace vorn::ui {

QSize OpeningSize(const QScreen* screen) {
  const QSize wanted(1000, 700);
  if (!screen) return wanted;
  const QSize available = screen->availableGeometry().size();
  return QSize(std::min(available.width(), std::max(wanted.width(), available.width() * 4 / 5)),
               std::min(available.height(), std::max(wanted.height(), available.height() * 4 / 5)));
}

QString RecentFileCaption(std::size_t index, const std::string& path, const std::string& way) {
  QString shown = PathToQt(path);
  if (!way.empty()) shown += QStringLiteral(" (") + ToQt(way) + QLatin1Char(')');
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 ").arg(index + 1) + shown;
}

MainWindow::MainWindow(TMainPrg& program, QtHost& host, DesktopSettings& settings)
    : program_(program), host_(host), settings_(settings) {
  setWindowTitle(ToQt(kMainCaption));
  setAcceptDrops(true);
  program_.recentFiles = settings_.Recent();
  workbench_ = new Workbench(
      program_, [this] { return ReportPage{ReportHtmlOf(program_, ReportForm::Document), ReportFigures(program_)}; },
      [this]() -> const KeptNetwork* { return program_.network ? &*program_.network : nullptr; },
      [this]() -> const SessionRecord* { return &program_.reportRecord; });

  statusPanel_ = new QFrame;
  statusPanel_->setObjectName(QStringLiteral("statusPanel"));
  statusPanel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  statusPanel_->setBackgroundRole(QPalette::Base);
  statusPanel_->setAutoFillBackground(true);
  statusPanel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  auto* lines = new QVBoxLayout(statusPanel_);
  lines->setContentsMargins(10, 8, 10, 8);
  lines->setSpacing(4);
  for (std::size_t i = 0; i < statusLines_.size(); ++i) {
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("statusLine%1").arg(i + 1));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long line (a file path) is cut at the window's edge instead of widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    label->setMinimumHeight(label->fontMetrics().height());
    lines->addWidget(label);
    statusLines_[i] = label;
  }

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(workbench_, 1);
  layout->addWidget(statusPanel_);
  setCentralWidget(central);

  DataTab& data = workbench_->Data();
  data.onSetScores = [this](const ScoreBlock& block) {
    program_.dialogs.setScores.Fill(block);
    RunFilled("SetScores1Click", program_.dialogs.setScores.form.Caption());
  };
  data.onRename = [this](NameKind kind, const std::string& name) {
    program_.dialogs.rename.Fill(RenameChoice{kind, name, name});
    if (const MenuItem* rename = FindByHandler(program_.menu, "Rename1Click")) RunCommand(MenuItem(*rename));
  };
  data.onRefused = [this](const std::string& message) { program_.ErrorBox(message); };
  data.onSelectionChanged = [this] { UpdateEditActions(); };
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateEditActions(); });
  data.Start().onCommand = [this](const std::string& handler) {
    if (const MenuItem* command = FindByHandler(program_.menu, handler)) RunCommand(MenuItem(*command));
  };
  data.Start().onRecentFile = [this](std::size_t index) {
    const auto& files = program_.recentFiles.Files();
    // A copy: reading the file moves its entry in the list.
    if (index < files.size()) OpenRecent(RecentFile(files[index]));
  };
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    if (workbench_->currentWidget() == &workbench_->Log()) {
      workbench_->Log().FocusFind();
    } else {
      workbench_->setCurrentWidget(&workbench_->Data());
      workbench_->Data().FocusFind();
    }
  });

  RebuildMenu();
  ShowRecentFiles();
  ShowStatus(program_.ws.status);
  setMinimumSize(fontMetrics().averageCharWidth() * 80, statusPanel_->sizeHint().height() * 3);
  if (!restoreGeometry(settings_.Geometry())) resize(OpeningSize(screen()));
}

namespace {

// The size of a result file, -1 when there is none.
long long FileSize(const std::string& path) {
  const QFileInfo file(PathToQt(path));
  return file.exists() ? file.size() : -1;
}

}  // namespace

void MainWindow::RunCommand(const MenuItem& item) {
  if (running_) return;
  if (item.handler == "Exit1Click" && !MayDiscardChanges()) return;
  running_ = true;
  const FileNames& files = program_.ws.files;
  const std::array<long long, 3> sizes{FileSize(files.analysis), FileSize(files.tree), FileSize(files.consensusOutput)};
  const std::uint64_t loads = program_.loads;
  {
    const ScopedCursor busy(Qt::WaitCursor);
    program_.Run(item);
  }
  running_ = false;
  workbench_->Refresh();
  // The caption as it is, followed by " *" while the working data have unsaved changes.
  setWindowTitle(ToQt(kMainCaption) + (program_.unsavedChanges ? QStringLiteral(" *") : QString()));
  if (bringForward_) BringResultForward(item, sizes, loads);
  if (commandEnded_) commandEnded_();
  settings_.SetRecent(program_.recentFiles);
  ShowRecentFiles();
  if (menuStale_) RebuildMenu();
  UpdateEditActions();
  if (closeAfterCommand_) close();
}

void MainWindow::ShowRecentFiles() {
  std::vector<std::string> entries;
  for (const RecentFile& file : program_.recentFiles.Files()) {
    const std::string way = RecentWayText(program_, file);
    entries.push_back(way.empty() ? file.path : file.path + " (" + way + ")");
  }
  workbench_->Data().Start().ShowRecent(entries);
}

void MainWindow::RunFilled(std::string_view handler, const std::string& caption) {
  const MenuItem* command = FindByHandler(program_.menu, handler);
  if (running_ || !command) return;
  host_.AcceptNextDialog(caption);
  RunCommand(MenuItem(*command));
  host_.AcceptNextDialog({});
}

bool MainWindow::MayDiscardChanges() {
  if (!program_.unsavedChanges) return true;
  return host_.ShowMessage("The working data have changes that are not saved (File > Save DataMatrix keeps them).\r\n"
                           "Exit anyway?",
                           "Exit", MessageButtons::YesNo) == MessageAnswer::Yes;
}

// The tab that draws what the command wrote to the analysis file, nothing when none does.
QWidget* MainWindow::PictureTab(std::string_view handler) {
  if (handler == "NeighborNet1Click") return &workbench_->Network();
  if (handler == "PopulationStructure1Click") return &workbench_->Structure();
  if (handler == "SpatialAutocorrelation1Click") return &workbench_->Correlogram();
  return nullptr;
}

void MainWindow::BringResultForward(const MenuItem& item, const std::array<long long, 3>& sizesBefore,
                                    std::uint64_t loadsBefore) {
  const FileNames& files = program_.ws.files;
  if (program_.loads != loadsBefore) {
    workbench_->setCurrentWidget(&workbench_->Data());
  } else if (item.handler == "PrincipalCoordinateAnalysis1Click" && program_.ws.CurrentOrdination()) {
    workbench_->setCurrentWidget(&workbench_->Pcoa());
  } else if (FileSize(files.analysis) != sizesBefore[0] && PictureTab(item.handler)) {
    workbench_->setCurrentWidget(PictureTab(item.handler));
  } else if (FileSize(files.tree) != sizesBefore[1]) {
    workbench_->setCurrentWidget(&workbench_->Trees());
  } else if (FileSize(files.analysis) != sizesBefore[0] || FileSize(files.consensusOutput) != sizesBefore[2]) {
    workbench_->setCurrentWidget(&workbench_->Results());
  }
}

void MainWindow::AddWindowActions(QMenuBar& bar) {
  const auto own = [](QAction* action) {
    action->setProperty("windowOwn", true);
    return action;
  };
  for (QAction* top : bar.actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    if (top->text() == QStringLiteral("&Edit")) {
      // Copy and Paste after Redo: they work on the Data grid's selection.
      QAction* after = menu->actions().size() > 2 ? menu->actions().at(2) : nullptr;
      QAction* separator = own(new QAction(menu));
      separator->setSeparator(true);
      copy_ = own(new QAction(QStringLiteral("&Copy"), menu));
      copy_->setShortcut(QKeySequence::Copy);
      connect(copy_, &QAction::triggered, this, [this] { workbench_->Data().Copy(); });
      paste_ = own(new QAction(QStringLiteral("&Paste"), menu));
      paste_->setShortcut(QKeySequence::Paste);
      connect(paste_, &QAction::triggered, this, [this] {
        if (!running_) workbench_->Data().Paste();
      });
      menu->insertActions(after, {separator, copy_, paste_});
    } else if (top->text() == QStringLiteral("&View")) {
      own(menu->addSeparator());
      QAction* forward = own(menu->addAction(QStringLiteral("&Bring Results Forward")));
      forward->setCheckable(true);
      forward->setChecked(bringForward_);
      connect(forward, &QAction::toggled, this, [this](bool on) { bringForward_ = on; });
    }
  }
}

void MainWindow::UpdateEditActions() {
  const QMenuBar& bar = *menuBar();
  const bool data = program_.ws.dataLoaded;
  const std::pair<const char*, std::optional<std::string>> steps[] = {{"Undo1Click", program_.history.UndoTitle()},
                                                                     {"Redo1Click", program_.history.RedoTitle()}};
  for (const auto& [handler, title] : steps) {
    QAction* action = ActionOf(bar, handler);
    const MenuItem* item = FindByHandler(program_.menu, handler);
    if (!action || !item) continue;
    QString caption = ToQt(item->caption);
    if (title) caption += QLatin1Char(' ') + ToQt(LiteralCaption(*title));
    action->setText(caption);
    action->setEnabled(data && title.has_value());
  }
  const bool selection = workbench_->Data().HasSelection();
  if (copy_) copy_->setEnabled(selection);
  if (paste_) paste_->setEnabled(selection && !QApplication::clipboard()->text().isEmpty());
}

void MainWindow::ShowStatus(const StatusHistory& lines) {
  for (std::size_t i = 0; i < statusLines_.size(); ++i) {
    const QString text = ToQt(lines.Shown(i));
    statusLines_[i]->setText(text);
    statusLines_[i]->setToolTip(text);
  }
  // Shown at once, even in the middle of a long command.
  if (statusPanel_->isVisible()) statusPanel_->repaint();
}

void MainWindow::AddToLog(std::string_view time, std::string_view line) { workbench_->Reported(time, line); }

void MainWindow::RefreshMenu() {
  if (running_) {
    menuStale_ = true;
  } else {
    RebuildMenu();
  }
}

void MainWindow::RebuildMenu() {
  menuStale_ = false;
  QMenuBar* bar = menuBar();
  // The old menus may hold the action whose command is still returning: they go later.
  for (QMenu* menu : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) menu->deleteLater();
  bar->clear();
  copy_ = paste_ = nullptr;
  AddMenuItems(*bar, program_.menu, [this](const MenuItem& item) { RunCommand(item); });
  AddWindowActions(*bar);
  // The recent data files follow the File menu's own items; the list is read when it opens.
  recentMenu_ = nullptr;
  if (!bar->actions().isEmpty() && bar->actions().first()->menu()) {
    QMenu* file = bar->actions().first()->menu();
    recentMenu_ = new QMenu(QStringLiteral("Recent &Files"), file);
    for (QAction* own : {file->addSeparator(), file->addMenu(recentMenu_)}) own->setProperty("windowOwn", true);
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentFiles(); });
    FillRecentFiles();
  }
  UpdateEditActions();
}

void MainWindow::FillRecentFiles() {
  recentMenu_->clear();
  const auto& files = program_.recentFiles.Files();
  recentMenu_->setEnabled(!files.empty());
  // An import's settings show as the entry's tooltip.
  recentMenu_->setToolTipsVisible(true);
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* action = recentMenu_->addAction(RecentFileCaption(i, files[i].path, RecentWayText(program_, files[i])));
    if (files[i].IsImport()) action->setToolTip(ToQt(files[i].settings));
    const RecentFile file = files[i];
    connect(action, &QAction::triggered, this, [this, file] { OpenRecent(file); });
  }
}

void MainWindow::LoadFile(const std::string& path, const FileLayout* layout) {
  if (layout && !running_) program_.ws.settings.layout = *layout;
  RunOnFile("Load1Click", path);
}

void MainWindow::OpenFile(const std::string& path) { RunOnFile(OpeningHandler(path), path); }

void MainWindow::OpenRecent(const RecentFile& file) {
  if (running_) return;
  if (const Status restored = RestoreRecentSettings(program_, file); !restored) {
    program_.ErrorBox(restored.error());
    return;
  }
  RunOnFile(file.handler, file.path);
}

void MainWindow::RunOnFile(std::string_view handler, const std::string& path) {
  const MenuItem* command = FindByHandler(program_.menu, handler);
  if (running_ || !command) return;
  host_.AnswerNextOpenFile(path);
  RunCommand(MenuItem(*command));
  host_.AnswerNextOpenFile({});
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!running_ && urls.size() == 1 && urls.first().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = PathFromQt(urls.first().toLocalFile());
  // The drop ends before the load asks its questions.
  QMetaObject::invokeMethod(this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

void MainWindow::RequestQuit() {
  quitRequested_ = true;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (quitRequested_) {
    settings_.SetGeometry(saveGeometry());
    event->accept();
    return;
  }
  event->ignore();
  if (running_) {
    closeAfterCommand_ = true;
    return;
  }
  if (const MenuItem* exit = FindByHandler(program_.menu, "Exit1Click")) RunCommand(MenuItem(*exit));
}

}  // namespace vorn::ui
