// SessionRecorder: a Host between the program and the window's own host that passes every call
// on and writes down each command run with whatever answered it (message boxes with Yes or No,
// file choices, every dialog's values at OK, or Cancel) in the command-script language, so that
// `vorn --script FILE --seed N` with the session's seed runs the same commands on the same answers
// and writes the same files. The Group Manager's work is written down control by control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands/shell/menu_table.h"
#include "core/host.h"

namespace vorn {

// The command that saves the script; it is left out of the script itself.
inline constexpr std::string_view kSaveSessionHandler = "SaveSessionAsScript1Click";

class SessionRecorder : public Host {
 public:
  explicit SessionRecorder(Host& inner) : inner_(inner) {}

  // A command starts: its menu path, as a script names it, begins a new entry (except for the
  // command that saves the script, whose answers are not written down).
  void BeginCommand(const MenuBar& menu, const MenuItem& item);
  // The command returned. What the window asks between commands (the tree viewer's Open...,
  // a picture's Export...) is viewing, not a command, and no script answers it.
  void EndCommand() { recording_ = false; }
  // The script of the session so far, headed by how to run it.
  std::string Script(std::uint32_t seed) const;

  MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  bool ShowDialog(DialogForm& form) override;
  bool ShowGroupManager(GroupManagerView& dialog) override;
  // The clipboard's text goes into the script itself ("clipboard text: ..."), so that the replay
  // reads the same table however the clipboard changed since.
  std::optional<std::string> ClipboardText() override;
  void Reported(std::string_view line, const StatusHistory& lines) override { inner_.Reported(line, lines); }
  bool ShowsCompletionLines() const override { return inner_.ShowsCompletionLines(); }
  bool ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) override {
    return inner_.ShowProgress(caption, text, done, total);
  }
  void EndProgress() override { inner_.EndProgress(); }
  void MenuChanged() override { inner_.MenuChanged(); }
  bool OpenDocument(const std::string& path) override { return inner_.OpenDocument(path); }
  std::string DateText() override { return inner_.DateText(); }
  std::string TimeText() override { return inner_.TimeText(); }
  void Quit() override { inner_.Quit(); }

 private:
  void Answer(const std::string& line);
  std::optional<std::string> Chosen(std::optional<std::string> path);

  Host& inner_;
  std::vector<std::string> lines_;
  bool recording_ = false;  // the running command is written down
};

// A value as a script answer writes it: in double quotes when the script reader would otherwise
// cut it at a comma, trim its spaces or read it as empty.
std::string QuotedAnswerValue(const std::string& value);
// A text of any lines as one answer value: in double quotes, with backslash, tab, line feed and
// carriage return written \\, \t, \n and \r.
std::string EscapedAnswerText(std::string_view text);
// The text of such a value; nothing when it is not in double quotes or holds another escape.
std::optional<std::string> UnescapedAnswerText(std::string_view value);
// The values of a dialog's visible controls as one script answer: "bs=20, use_mdr=true".
std::string DialogAnswerText(const DialogForm& form);
// The menu path of item as a script writes it ("Analysis > Standard Similarity"); "" when the
// menu does not hold it.
std::string ScriptPathOf(const MenuBar& menu, const MenuItem& item);

}  // namespace vorn
