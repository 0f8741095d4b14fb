// A host for tests: answers from queues set up by the test, and records everything shown.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/host.h"

namespace vorn::testing {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageButtons buttons;
};

class RecordingHost : public Host {
 public:
  // Answers for Yes/No boxes, in order; OK boxes need none.
  std::deque<MessageAnswer> answers;
  // Answers for file dialogs, in order; nullopt cancels.
  std::deque<std::optional<std::string>> files;
  // Called for each dialog shown, in order; returns true for OK. A dialog shown with no
  // function left is accepted as it stands.
  std::deque<std::function<bool(DialogForm&)>> dialogs;
  // Works each Group Manager shown, in order, through its controls and handlers; returns true
  // for OK. One shown with no function left is closed with OK as it stands.
  std::deque<std::function<bool(GroupManagerView&)>> groupManagers;

  // The text the clipboard holds; nothing for none.
  std::optional<std::string> clipboard;

  std::vector<ShownMessage> messages;
  std::vector<std::string> reports;
  std::vector<std::string> dialogCaptions;
  int groupManagersShown = 0;
  std::vector<FileDialogOptions> fileDialogs;
  std::vector<std::string> openedDocuments;
  int menuChanges = 0;
  bool quit = false;
  bool documentOpens = true;
  bool showsCompletionLines = false;  // as the desktop window; completion lines then join reports
  // The progress texts shown, and how many progress windows were taken away.
  std::vector<std::string> progress;
  int progressEnds = 0;
  // Presses Cancel in the progress window once this many steps are done, or when it shows this
  // text (caption: text).
  std::optional<std::size_t> cancelAfter;
  std::optional<std::string> cancelAt;

  MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) override {
    messages.push_back({std::string(text), std::string(title), buttons});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) throw std::logic_error("unexpected question: " + std::string(text));
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override { return NextFile(options); }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override { return NextFile(options); }
  bool ShowDialog(DialogForm& form) override {
    dialogCaptions.push_back(form.Caption());
    if (dialogs.empty()) return true;
    auto answer = std::move(dialogs.front());
    dialogs.pop_front();
    return answer(form);
  }
  bool ShowGroupManager(GroupManagerView& dialog) override {
    ++groupManagersShown;
    if (groupManagers.empty()) return true;
    auto answer = std::move(groupManagers.front());
    groupManagers.pop_front();
    return answer(dialog);
  }
  std::optional<std::string> ClipboardText() override { return clipboard; }
  void Reported(std::string_view line, const StatusHistory&) override { reports.emplace_back(line); }
  bool ShowsCompletionLines() const override { return showsCompletionLines; }
  bool ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t) override {
    progress.push_back(std::string(caption) + ": " + std::string(text));
    return !(cancelAfter && done >= *cancelAfter) && !(cancelAt && progress.back() == *cancelAt);
  }
  void EndProgress() override { ++progressEnds; }
  void MenuChanged() override { ++menuChanges; }
  bool OpenDocument(const std::string& path) override {
    openedDocuments.push_back(path);
    return documentOpens;
  }
  std::string DateText() override { return "08.12.2026"; }
  std::string TimeText() override { return "10:11:12"; }
  void Quit() override { quit = true; }

  // Texts of the boxes titled "Error".
  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const auto& message : messages) {
      if (message.title == "Error") errors.push_back(message.text);
    }
    return errors;
  }

 private:
  std::optional<std::string> NextFile(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (files.empty()) throw std::logic_error("unexpected file dialog");
    auto file = files.front();
    files.pop_front();
    return file;
  }
};

}  // namespace vorn::testing
