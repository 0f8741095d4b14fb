#include "ui/main_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/menu_builder.h"
#include "ui/qt_text.h"
#include "ui/scoped_cursor.h"

namespace vorn::ui {

MainWindow::MainWindow(TMainPrg& program) : program_(program) {
  setWindowTitle(ToQt(kMainCaption));

  statusPanel_ = new QFrame;
  statusPanel_->setObjectName(QStringLiteral("statusPanel"));
  statusPanel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  statusPanel_->setBackgroundRole(QPalette::Base);
  statusPanel_->setAutoFillBackground(true);
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
  layout->addWidget(statusPanel_);
  setCentralWidget(central);

  RebuildMenu();
  ShowStatus(program_.ws.status);
  const int width = fontMetrics().averageCharWidth() * 110;
  resize(width, sizeHint().height());
  setMinimumSize(width / 2, sizeHint().height());
}

void MainWindow::RunCommand(const MenuItem& item) {
  if (running_) return;
  running_ = true;
  {
    const ScopedCursor busy(Qt::WaitCursor);
    program_.Run(item);
  }
  running_ = false;
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
}

void MainWindow::RequestQuit() {
  quitRequested_ = true;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (quitRequested_) {
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
