// QtHost: the desktop's answers to what the program asks of its platform. Message boxes, file
// dialogs and the rendered settings dialogs are modal windows over the main window; status
// lines, menu changes and quitting go to the window through HostWindow.
//
// Every modal window passes through RunModal, which closes the progress window, gives it the
// normal cursor while a command runs, or hands it to a responder (tests and the screenshot hook
// answer windows that way).
// A hand-made window is added as one more Host operation whose override builds the QDialog and
// calls RunModal.
#pragma once

#include <QDialog>
#include <QProgressDialog>
#include <chrono>
#include <functional>
#include <memory>

#include "core/host.h"

namespace vorn::ui {

// What the host needs of the main window.
class HostWindow {
 public:
  virtual ~HostWindow() = default;
  virtual QWidget* DialogParent() = 0;
  virtual void ShowStatus(const StatusHistory& lines) = 0;
  // A line was reported at time (the locale's long time format).
  virtual void AddToLog(std::string_view time, std::string_view line) { (void)time, (void)line; }
  virtual void RefreshMenu() = 0;
  virtual void RequestQuit() = 0;
};

class QtHost : public Host {
 public:
  // Answers a modal window instead of the user: the window is set up but not shown; the
  // responder returns what exec() would (QDialog::Accepted or Rejected). A message box is
  // answered by clicking one of its buttons. File dialogs are Qt's own widgets then.
  using Responder = std::function<int(QDialog&)>;

  void Attach(HostWindow* window) { window_ = window; }
  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  // The next open-file dialog is not shown and gives path (a recent or dropped file); an empty
  // path shows dialogs again.
  void AnswerNextOpenFile(std::string path) { nextOpenFile_ = std::move(path); }
  // The next dialog captioned caption is not shown and is accepted with the values its form
  // holds (the grid filled them); an empty caption shows dialogs again.
  void AcceptNextDialog(std::string caption) { nextAccepted_ = std::move(caption); }

  // Runs dialog modally (or through the responder) with the normal cursor; its result code.
  int RunModal(QDialog& dialog);
  QWidget* DialogParent() const { return window_ ? window_->DialogParent() : nullptr; }

  MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  bool ShowDialog(DialogForm& form) override;
  bool ShowGroupManager(GroupManagerView& dialog) override;
  std::optional<std::string> ClipboardText() override;
  void Reported(std::string_view line, const StatusHistory& lines) override;
  bool ShowsCompletionLines() const override { return true; }
  // A modal progress window with a Cancel button, shown when the command will take more than half
  // a second; the window stays painted and its button works between the command's steps.
  bool ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) override;
  void EndProgress() override;
  void MenuChanged() override;
  bool OpenDocument(const std::string& path) override;
  std::string DateText() override;
  std::string TimeText() override;
  void Quit() override;

 private:
  // A file dialog over parent (nullptr: the main window).
  std::optional<std::string> ChooseFile(const FileDialogOptions& options, bool save, QWidget* parent = nullptr);

  HostWindow* window_ = nullptr;
  Responder responder_;
  std::string nextOpenFile_;
  std::string nextAccepted_;
  std::unique_ptr<QProgressDialog> progress_;
  std::chrono::steady_clock::time_point progressShown_;
};

}  // namespace vorn::ui
