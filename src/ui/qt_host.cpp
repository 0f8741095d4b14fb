#include "ui/qt_host.h"

#include <algorithm>
#include <climits>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

#include "commands/shell/main_program.h"
#include "ui/file_dialogs.h"
#include "ui/form_dialog.h"
#include "ui/group_manager_window.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"
#include "ui/scoped_cursor.h"

namespace vorn::ui {
namespace {

// How long Help waits for xdg-open to say whether a viewer took the document, in milliseconds.
constexpr int kOpenerWait = 3000;

// The locale's long time format without its time zone, which the log lines do not want.
QString LongTimeFormat(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString kept;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (quoted || c != QLatin1Char('t')) kept += c;
  }
  return kept.simplified();
}

// The program breaks its messages into lines itself; they stay whole as far as the screen
// allows, where Qt would wrap them again at its own narrower limit.
void KeepLinesWhole(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!label) return;
  const QFontMetrics metrics(label->font());
  int widest = 0;
  for (const QString& line : box.text().split(QLatin1Char('\n'))) widest = qMax(widest, metrics.horizontalAdvance(line));
  const QScreen* screen = box.screen();
  const int limit = screen ? screen->availableGeometry().width() * 2 / 3 : 800;
  label->setMinimumWidth(qMin(widest + 2, limit));
}

}  // namespace

int QtHost::RunModal(QDialog& dialog) {
  // A question or box of the command replaces its progress window, which would otherwise stay
  // on screen behind it; the next step of the command shows a new one.
  EndProgress();
  const ScopedCursor normal(Qt::ArrowCursor);
  return responder_ ? responder_(dialog) : dialog.exec();
}

MessageAnswer QtHost::ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) {
  QMessageBox box(DialogParent());
  box.setIcon(QMessageBox::NoIcon);
  if (title == kAboutBoxTitle) box.setIconPixmap(ProgramIcon().pixmap(64, 64));
  box.setWindowTitle(ToQt(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQt(text));
  KeepLinesWhole(box);
  if (buttons == MessageButtons::Ok) {
    box.setStandardButtons(QMessageBox::Ok);
    RunModal(box);
    return MessageAnswer::Ok;
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  RunModal(box);
  return box.clickedButton() == box.button(QMessageBox::Yes) ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::string> QtHost::ChooseFile(const FileDialogOptions& options, bool save, QWidget* parent) {
  QFileDialog dialog(parent ? parent : DialogParent());
  if (responder_) dialog.setOption(QFileDialog::DontUseNativeDialog);
  SetUpFileDialog(dialog, options, save);
  if (RunModal(dialog) != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return PathFromQt(chosen.first());
}

std::optional<std::string> QtHost::ChooseOpenFile(const FileDialogOptions& options) {
  if (!nextOpenFile_.empty()) return std::exchange(nextOpenFile_, {});
  return ChooseFile(options, false);
}

std::optional<std::string> QtHost::ChooseSaveFile(const FileDialogOptions& options) { return ChooseFile(options, true); }

bool QtHost::ShowDialog(DialogForm& form) {
  if (!nextAccepted_.empty() && form.Caption() == nextAccepted_) {
    nextAccepted_.clear();
    return true;
  }
  // Browse… beside a path field opens the file dialog over the settings dialog.
  FormDialog dialog(form, DialogParent(),
                    [this](const FileDialogOptions& options, bool save, QWidget* parent) {
                      return ChooseFile(options, save, parent);
                    });
  const bool accepted = RunModal(dialog) == QDialog::Accepted;
  dialog.Store();
  return accepted;
}

bool QtHost::ShowGroupManager(GroupManagerView& dialog) {
  GroupManagerWindow window(dialog, DialogParent());
  return RunModal(window) == QDialog::Accepted;
}

std::optional<std::string> QtHost::ClipboardText() {
  const QString text = QApplication::clipboard()->text();
  if (text.isEmpty()) return std::nullopt;
  return FromQt(text);
}

void QtHost::Reported(std::string_view line, const StatusHistory& lines) {
  if (!window_) return;
  window_->AddToLog(TimeText(), line);
  window_->ShowStatus(lines);
}

bool QtHost::ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) {
  const int steps = static_cast<int>(std::min<std::size_t>(total, INT_MAX));
  if (!progress_) {
    progress_ = std::make_unique<QProgressDialog>(DialogParent());
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setWindowTitle(ToQt(caption));
    progress_->setCancelButtonText(QStringLiteral("Cancel"));
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setMinimumDuration(500);
    progress_->setRange(0, steps);
    // The busy cursor with an arrow: work goes on, and the Cancel button can be pressed.
    progress_->setCursor(Qt::BusyCursor);
  }
  // Steps can be short: the window is brought up to date at most every 50 ms, and at the end.
  const auto now = std::chrono::steady_clock::now();
  if (done > 0 && done < total && now - progressShown_ < std::chrono::milliseconds(50)) return !progress_->wasCanceled();
  progressShown_ = now;
  progress_->setLabelText(ToQt(text));
  progress_->setValue(static_cast<int>(std::min<std::size_t>(done, static_cast<std::size_t>(steps))));
  // The window is modal, so only it takes the user's input: a press on Cancel is seen here.
  QCoreApplication::processEvents();
  return !progress_->wasCanceled();
}

void QtHost::EndProgress() { progress_.reset(); }

void QtHost::MenuChanged() {
  if (window_) window_->RefreshMenu();
}

// Qt hands a document to xdg-open without waiting, so it cannot tell when no viewer was found
// (xdg-open then only writes to standard error and ends with a status other than 0). Where
// xdg-open is installed it is run here and its status read. Without a desktop environment it
// runs the viewer itself and returns when the viewer is closed: still running after a few
// seconds means the viewer is open, and the opener is left to run.
bool QtHost::OpenDocument(const std::string& path) {
  const QString file = QFileInfo(PathToQt(path)).absoluteFilePath();
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(opener, {file});
  if (!process->waitForStarted()) {
    delete process;
    return false;
  }
  const ScopedCursor busy(Qt::BusyCursor);
  if (!process->waitForFinished(kOpenerWait)) {
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
  }
  const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
  delete process;
  return opened;
}

std::string QtHost::DateText() { return FromQt(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)); }

std::string QtHost::TimeText() {
  const QLocale locale;
  return FromQt(locale.toString(QTime::currentTime(), LongTimeFormat(locale)));
}

void QtHost::Quit() {
  if (window_) window_->RequestQuit();
}

}  // namespace vorn::ui
