#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <QVBoxLayout>

#include "commands/file_opening.h"
#include "commands/report_document.h"
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

QString RecentFileCaption(std::size_t index, const std::string& path) {
  QString shown = PathToQt(path);
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
      [this]() -> const KeptNetwork* { return program_.network ? &*program_.network : nullptr; });

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

  RebuildMenu();
  ShowStatus(program_.ws.status);
  setMinimumSize(fontMetrics().averageCharWidth() * 80, statusPanel_->sizeHint().height() * 3);
  if (!restoreGeometry(settings_.Geometry())) resize(OpeningSize(screen()));
}

void MainWindow::RunCommand(const MenuItem& item) {
  if (running_) return;
  running_ = true;
  {
    const ScopedCursor busy(Qt::WaitCursor);
    program_.Run(item);
  }
  running_ = false;
  workbench_->Refresh();
  if (commandEnded_) commandEnded_();
  settings_.SetRecent(program_.recentFiles);
  if (menuStale_) RebuildMenu();
  if (closeAfterCommand_) close();
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
  AddMenuItems(*bar, program_.menu, [this](const MenuItem& item) { RunCommand(item); });
  // The recent data files follow the File menu's own items; the list is read when it opens.
  recentMenu_ = nullptr;
  if (!bar->actions().isEmpty() && bar->actions().first()->menu()) {
    QMenu* file = bar->actions().first()->menu();
    recentMenu_ = new QMenu(QStringLiteral("Recent &Files"), file);
    for (QAction* own : {file->addSeparator(), file->addMenu(recentMenu_)}) own->setProperty("windowOwn", true);
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentFiles(); });
    FillRecentFiles();
  }
}

void MainWindow::FillRecentFiles() {
  recentMenu_->clear();
  const auto& files = program_.recentFiles.Files();
  recentMenu_->setEnabled(!files.empty());
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* action = recentMenu_->addAction(RecentFileCaption(i, files[i].path));
    const RecentFile file = files[i];
    connect(action, &QAction::triggered, this, [this, file] { LoadFile(file.path, &file.layout); });
  }
}

void MainWindow::LoadFile(const std::string& path, const FileLayout* layout) {
  if (layout && !running_) program_.ws.settings.layout = *layout;
  RunOnFile("Load1Click", path);
}

void MainWindow::OpenFile(const std::string& path) { RunOnFile(OpeningHandler(path), path); }

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
