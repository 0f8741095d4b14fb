#include "ui/results_tab.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/qt_text.h"
#include "ui/report_text_document.h"
#include "ui/result_tables_view.h"

namespace vorn::ui {
namespace {

QString AbsolutePath(const std::string& path) { return QFileInfo(PathToQt(path)).absoluteFilePath(); }

// The file's text for the view: CR LF and lone CR become line breaks.
QString ShownText(const std::string& bytes) {
  QString text = ToQt(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

FileView::FileView(std::function<std::string()> fileName, QWidget* parent)
    : QWidget(parent), fileName_(std::move(fileName)), path_(new QLabel), text_(new QPlainTextEdit) {
  path_->setTextFormat(Qt::PlainText);
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* openFolder = new QPushButton("Open Fo&lder");
  auto* top = new QHBoxLayout;
  top->addWidget(path_, 1);
  top->addWidget(openFolder);

  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setUndoRedoEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  connect(openFolder, &QPushButton::clicked, this, [this] {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(AbsolutePath(tail_.Path())).absolutePath()));
  });
  Refresh();
}

void FileView::Refresh() {
  const std::string name = fileName_();
  if (name != tail_.Path()) {
    tail_.SetPath(name);
    text_->clear();
  }
  path_->setText(AbsolutePath(name));
  const TailUpdate update = tail_.Read();
  if (!update.restarted && update.text.empty()) return;
  QScrollBar* bar = text_->verticalScrollBar();
  // The view follows new text only while it shows the end: a reader who scrolled up stays put.
  const bool following = bar->value() >= bar->maximum();
  const int kept = bar->value();
  if (update.restarted) text_->clear();
  QTextCursor end(text_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(ShownText(update.text));
  bar->setValue(following ? bar->maximum() : kept);
}

ResultsTab::ResultsTab(std::function<std::string()> analysis, std::function<std::string()> tree,
                       std::function<std::string()> consensus, std::function<ReportPage()> report, QWidget* parent)
    : QWidget(parent),
      files_(new QTabWidget),
      analysis_(new FileView(std::move(analysis))),
      tree_(new FileView(std::move(tree))),
      consensus_(new FileView(std::move(consensus))),
      report_(new QTextBrowser),
      reportPage_(std::move(report)) {
  files_->setDocumentMode(true);
  files_->addTab(analysis_, "A&nalysis File");
  files_->addTab(tree_, "Tree F&ile");
  files_->addTab(consensus_, "&Consensus File");
  report_->setOpenLinks(false);
  files_->addTab(report_, "Re&port");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(files_);
  // Long commands keep painting the window: the files are looked at twice a second meanwhile.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, [this] { Refresh(); });
  timer->start(500);
}

void ResultsTab::Refresh() {
  analysis_->Refresh();
  tree_->Refresh();
  consensus_->Refresh();
}

void ResultsTab::AddTables(ResultTablesView* tables) {
  tables_ = tables;
  files_->addTab(tables_, "Ta&bles");
}

void ResultsTab::RefreshReport() {
  if (tables_) tables_->Refresh();
  if (!reportPage_) return;
  const int kept = report_->verticalScrollBar()->value();
  const ReportPage page = reportPage_();
  FillReportDocument(*report_->document(), page.html, page.figures);
  report_->verticalScrollBar()->setValue(kept);
}

}  // namespace vorn::ui
