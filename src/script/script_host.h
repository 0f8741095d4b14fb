// The headless host: answers the program's questions from the answer lines of the command
// being run and writes a transcript of every report line, box and dialog.
#pragma once

#include <chrono>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/host.h"
#include "script/script.h"

namespace vorn {

// Stops the script: a question without an answer, an answer that does not fit. Deliberately not
// a std::exception, so that no command's own failure handling can swallow it.
struct ScriptStop {
  std::string message;
};

class ScriptHost : public Host {
 public:
  explicit ScriptHost(std::ostream& transcript, bool fixedClock = false)
      : out_(transcript), fixedClock_(fixedClock) {}

  // The answers for the next command; the previous command's must all have been used.
  void BeginCommand(const ScriptCommand& command);
  // Throws ScriptStop when an answer line was not used.
  void EndCommand();

  bool ErrorShown() const { return errorShown_; }
  bool QuitRequested() const { return quit_; }

  MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  bool ShowDialog(DialogForm& form) override;
  bool ShowGroupManager(GroupManagerView& dialog) override;
  // Headless there is no clipboard: the answer "clipboard: PATH" reads the text from a file,
  // "clipboard text: \"...\"" gives it escaped (as a recorded session writes it).
  std::optional<std::string> ClipboardText() override;
  void Reported(std::string_view line, const StatusHistory& lines) override;
  // On a terminal, the progress line is shown on standard error and rewritten in place;
  // otherwise (a file, a pipe, a test) nothing is shown.
  bool ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) override;
  void EndProgress() override;
  void MenuChanged() override {}
  bool OpenDocument(const std::string& path) override;
  std::string DateText() override;
  std::string TimeText() override;
  void Quit() override { quit_ = true; }

 private:
  // The next unused answer when its target matches, else nullptr.
  const ScriptAnswer* TakeAnswer(std::string_view target);
  std::optional<std::string> ChooseFile(const char* kind, const FileDialogOptions& options, bool save);
  // Writes the lines of the dialog's state that differ from shown, and remembers them.
  void ShowChanges(const GroupManagerControls& controls, std::vector<std::string>& shown);
  [[noreturn]] void Stop(const std::string& message);

  std::ostream& out_;
  bool fixedClock_;
  const ScriptCommand* command_ = nullptr;
  std::size_t nextAnswer_ = 0;
  std::set<std::string> acceptedAsShown_;  // dialogs accepted without an answer in this command
  bool errorShown_ = false;
  std::size_t progressWidth_ = 0;  // characters of the progress line on the terminal
  std::chrono::steady_clock::time_point progressShown_;
  bool quit_ = false;
};

}  // namespace vorn
