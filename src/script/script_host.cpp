#include "script/script_host.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "commands/shell/session_recorder.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "io/csv_tokenizer.h"
#include "commands/shell/dialog_answer.h"
#include "script/group_manager_answer.h"

namespace vorn {
namespace {

// The lines of a message, whichever line break it uses.
std::vector<std::string> MessageLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  lines.push_back(std::move(line));
  return lines;
}

std::string ClockText(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

// A file name typed without an extension gets the dialog's default one, as a desktop file
// dialog would add it.
std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty()) return path;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return path;
  return path + "." + extension;
}

}  // namespace

void ScriptHost::BeginCommand(const ScriptCommand& command) {
  command_ = &command;
  nextAnswer_ = 0;
  acceptedAsShown_.clear();
  errorShown_ = false;
}

void ScriptHost::EndCommand() {
  if (command_ && nextAnswer_ < command_->answers.size()) {
    const ScriptAnswer& unused = command_->answers[nextAnswer_];
    Stop("line " + std::to_string(unused.line) + ": the answer \"" + unused.text + "\" was not asked for");
  }
  command_ = nullptr;
}

void ScriptHost::Stop(const std::string& message) { throw ScriptStop{message}; }

const ScriptAnswer* ScriptHost::TakeAnswer(std::string_view target) {
  if (!command_ || nextAnswer_ >= command_->answers.size()) return nullptr;
  const ScriptAnswer& answer = command_->answers[nextAnswer_];
  if (!SameCaption(answer.target, target)) return nullptr;
  ++nextAnswer_;
  return &answer;
}

MessageAnswer ScriptHost::ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) {
  out_ << "[" << DisplayText(title) << "]\n";
  for (const auto& line : MessageLines(text)) out_ << "    " << DisplayText(line) << "\n";
  if (title == "Error") errorShown_ = true;

  const ScriptAnswer* answer = TakeAnswer(title);
  const std::string where = answer ? "line " + std::to_string(answer->line) + ": " : "";
  if (buttons == MessageButtons::Ok) {
    if (answer && !SameCaption(answer->value, "OK")) Stop(where + "the box \"" + std::string(title) + "\" has only an OK button");
    out_ << "  -> OK\n";
    return MessageAnswer::Ok;
  }
  if (!answer) {
    std::string flat;
    for (const auto& line : MessageLines(text)) {
      if (!line.empty()) flat += (flat.empty() ? "" : " ") + line;
    }
    Stop("line " + std::to_string(command_ ? command_->line : 0) + ": no answer for the box \"" + std::string(title) +
         "\": " + flat);
  }
  if (SameCaption(answer->value, "Yes")) {
    out_ << "  -> Yes\n";
    return MessageAnswer::Yes;
  }
  if (SameCaption(answer->value, "No")) {
    out_ << "  -> No\n";
    return MessageAnswer::No;
  }
  Stop(where + "the box \"" + std::string(title) + "\" is answered Yes or No, not \"" + answer->value + "\"");
}

std::optional<std::string> ScriptHost::ChooseFile(const char* kind, const FileDialogOptions& options, bool save) {
  const ScriptAnswer* answer = TakeAnswer("file");
  if (!answer) {
    Stop("line " + std::to_string(command_ ? command_->line : 0) + ": no answer for the " + kind +
         " dialog" + (options.title.empty() ? "" : " \"" + options.title + "\"") + "; add \"file: PATH\"");
  }
  if (SameCaption(answer->value, "cancel")) {
    out_ << "[" << kind << "] cancel\n";
    return std::nullopt;
  }
  const std::string path = save ? WithDefaultExtension(answer->value, options.defaultExtension) : answer->value;
  out_ << "[" << kind << "] " << DisplayText(path) << "\n";
  return path;
}

std::optional<std::string> ScriptHost::ChooseOpenFile(const FileDialogOptions& options) {
  return ChooseFile("Open file", options, false);
}

std::optional<std::string> ScriptHost::ChooseSaveFile(const FileDialogOptions& options) {
  return ChooseFile("Save file", options, true);
}

bool ScriptHost::ShowDialog(DialogForm& form) {
  const std::string caption = DisplayText(form.Caption());
  const ScriptAnswer* answer = TakeAnswer(form.Caption());
  if (!answer) {
    if (!acceptedAsShown_.insert(form.Caption()).second) {
      Stop("line " + std::to_string(command_ ? command_->line : 0) + ": the dialog \"" + form.Caption() +
           "\" was shown again after its values were refused; give it an answer line");
    }
    out_ << "[" << caption << "] -> OK\n";
    return true;
  }
  if (SameCaption(answer->value, "cancel")) {
    out_ << "[" << caption << "] -> Cancel\n";
    return false;
  }
  if (!SameCaption(answer->value, "OK")) {
    if (auto applied = ApplyDialogAnswer(form, answer->value); !applied) {
      Stop("line " + std::to_string(answer->line) + ": " + applied.error());
    }
    out_ << "[" << caption << "] " << DisplayText(answer->value) << " -> OK\n";
    return true;
  }
  out_ << "[" << caption << "] -> OK\n";
  return true;
}

std::optional<std::string> ScriptHost::ClipboardText() {
  if (const ScriptAnswer* answer = TakeAnswer("clipboard text")) {
    auto text = UnescapedAnswerText(answer->value);
    if (!text) {
      Stop("line " + std::to_string(answer->line) + ": the clipboard text is written in double quotes, with \\\\, \\t, "
           "\\n and \\r for a backslash, a tab and the line breaks");
    }
    out_ << "[Clipboard] " << TextLines(*text).size() << " lines of text\n";
    return text;
  }
  const ScriptAnswer* answer = TakeAnswer("clipboard");
  if (!answer) {
    Stop("line " + std::to_string(command_ ? command_->line : 0) +
         ": there is no clipboard without the window; add \"clipboard: PATH\", a file that holds the table");
  }
  auto text = ReadFileText(answer->value);
  if (!text) Stop("line " + std::to_string(answer->line) + ": cannot read the clipboard's table: " + text.error());
  out_ << "[Clipboard] " << DisplayText(answer->value) << "\n";
  return std::move(*text);
}

void ScriptHost::ShowChanges(const GroupManagerControls& controls, std::vector<std::string>& shown) {
  const auto lines = GroupManagerStateLines(controls);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= shown.size() || lines[i] != shown[i]) out_ << "    " << DisplayText(lines[i]) << "\n";
  }
  shown = lines;
}

// Runs the "Group Manager:" answer lines of the command, action by action, showing after each
// what changed in the window. Without a closing action the dialog is closed with OK.
bool ScriptHost::ShowGroupManager(GroupManagerView& dialog) {
  out_ << "[Group Manager]\n";
  std::vector<std::string> shown;
  ShowChanges(dialog.Controls(), shown);
  while (const ScriptAnswer* answer = TakeAnswer("Group Manager")) {
    const std::string where = "line " + std::to_string(answer->line) + ": ";
    auto actions = ParseGroupManagerActions(answer->value);
    if (!actions) Stop(where + actions.error());
    for (std::size_t i = 0; i < actions->size(); ++i) {
      const GroupManagerAction& action = (*actions)[i];
      if (ClosesGroupManager(action)) {
        if (i + 1 < actions->size()) Stop(where + "nothing can follow \"" + action.text + "\"");
        const bool ok = SameCaption(action.key, "OK");
        out_ << (ok ? "  -> OK\n" : "  -> Cancel\n");
        return ok;
      }
      out_ << "  " << DisplayText(action.text) << "\n";
      if (auto ran = RunGroupManagerAction(dialog, action); !ran) Stop(where + ran.error());
      ShowChanges(dialog.Controls(), shown);
    }
  }
  out_ << "  -> OK\n";
  return true;
}

bool ScriptHost::ShowProgress(std::string_view caption, std::string_view text, std::size_t done, std::size_t total) {
  if (!isatty(STDERR_FILENO)) return true;
  // At most ten lines a second, and the last one.
  const auto now = std::chrono::steady_clock::now();
  if (done > 0 && done < total && now - progressShown_ < std::chrono::milliseconds(100)) return true;
  progressShown_ = now;
  const std::string line = DisplayText(caption) + ": " + DisplayText(text);
  // Blanks cover what is left of a longer previous line.
  const std::size_t blanks = progressWidth_ > line.size() ? progressWidth_ - line.size() : 0;
  std::fprintf(stderr, "\r%s%*s", line.c_str(), static_cast<int>(blanks), "");
  std::fflush(stderr);
  progressWidth_ = std::max(progressWidth_, line.size());
  return true;
}

void ScriptHost::EndProgress() {
  if (progressWidth_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(progressWidth_), "");
  std::fflush(stderr);
  progressWidth_ = 0;
}

void ScriptHost::Reported(std::string_view line, const StatusHistory&) { out_ << DisplayText(line) << "\n"; }

bool ScriptHost::OpenDocument(const std::string& path) {
  out_ << "[Open document] " << DisplayText(path) << "\n";
  return true;
}

std::string ScriptHost::DateText() { return fixedClock_ ? "01/01/2000" : ClockText("%x"); }

std::string ScriptHost::TimeText() { return fixedClock_ ? "00:00:00" : ClockText("%X"); }

}  // namespace vorn
