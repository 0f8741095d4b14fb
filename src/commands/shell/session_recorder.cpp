#include "commands/shell/session_recorder.h"

#include "commands/shell/recorded_group_manager.h"

namespace vorn {
namespace {

std::string ItemText(const Control& control) {
  const auto at = static_cast<std::size_t>(control.selected);
  if (at < control.itemKeys.size()) return control.itemKeys[at];
  return std::to_string(control.selected + 1);
}

std::string MarkedItems(const Control& control) {
  std::string marked;
  for (std::size_t i = 0; i < control.items.size() && i < control.marks.size(); ++i) {
    if (control.marks[i]) marked += (marked.empty() ? "" : "|") + control.items[i];
  }
  return marked;
}

// The caption as a script names it: without "&" and a trailing "...".
std::string ScriptCaption(const std::string& caption) {
  std::string plain = PlainCaption(caption);
  if (plain.size() > 3 && plain.ends_with("...")) plain.resize(plain.size() - 3);
  return plain;
}

bool FindPath(const std::vector<MenuItem>& items, const MenuItem& wanted, std::string prefix, std::string& path) {
  for (const MenuItem& item : items) {
    if (item.IsSeparator()) continue;
    const std::string here = prefix + ScriptCaption(item.caption);
    if (item.IsSubmenu()) {
      if (FindPath(item.items, wanted, here + " > ", path)) return true;
    } else if (item.handler == wanted.handler && item.tag == wanted.tag && item.caption == wanted.caption) {
      path = here;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string QuotedAnswerValue(const std::string& value) {
  const bool plain = !value.empty() && value.find_first_of(",\"") == std::string::npos && value.front() != ' ' &&
                     value.back() != ' ';
  return plain ? value : "\"" + value + "\"";
}

std::string EscapedAnswerText(std::string_view text) {
  std::string escaped = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped + "\"";
}

std::optional<std::string> UnescapedAnswerText(std::string_view value) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::nullopt;
  value = value.substr(1, value.size() - 2);
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case '\\': text += '\\'; break;
      case 't': text += '\t'; break;
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      default: return std::nullopt;
    }
  }
  return text;
}

std::string DialogAnswerText(const DialogForm& form) {
  std::string answer;
  for (const Control& control : form.Controls()) {
    if (!control.visible || control.key.empty()) continue;
    std::string value;
    switch (control.kind) {
      case ControlKind::Label: continue;
      case ControlKind::RadioGroup:
      case ControlKind::DropDown: value = ItemText(control); break;
      case ControlKind::CheckBox: value = control.checked ? "true" : "false"; break;
      case ControlKind::CharField:
      case ControlKind::TextField: value = control.text; break;
      case ControlKind::TickList:
      case ControlKind::MultiList: value = MarkedItems(control); break;
    }
    answer += (answer.empty() ? "" : ", ") + control.key + "=" + QuotedAnswerValue(value);
  }
  return answer;
}

std::string ScriptPathOf(const MenuBar& menu, const MenuItem& item) {
  std::string path;
  FindPath(menu, item, "", path);
  return path;
}

void SessionRecorder::BeginCommand(const MenuBar& menu, const MenuItem& item) {
  recording_ = item.handler != kSaveSessionHandler;
  if (recording_) lines_.push_back(ScriptPathOf(menu, item));
}

void SessionRecorder::Answer(const std::string& line) {
  if (recording_) lines_.push_back("    " + line);
}

std::string SessionRecorder::Script(std::uint32_t seed) const {
  std::string script = "# A session of the Vorn window. Replay it with: vorn --script FILE --seed " + std::to_string(seed) + "\n";
  for (const std::string& line : lines_) script += line + "\n";
  return script;
}

MessageAnswer SessionRecorder::ShowMessage(std::string_view text, std::string_view title, MessageButtons buttons) {
  const MessageAnswer answer = inner_.ShowMessage(text, title, buttons);
  if (buttons == MessageButtons::YesNo) Answer(std::string(title) + ": " + (answer == MessageAnswer::Yes ? "Yes" : "No"));
  return answer;
}

std::optional<std::string> SessionRecorder::Chosen(std::optional<std::string> path) {
  Answer("file: " + (path ? *path : std::string("cancel")));
  return path;
}

std::optional<std::string> SessionRecorder::ChooseOpenFile(const FileDialogOptions& options) {
  return Chosen(inner_.ChooseOpenFile(options));
}

std::optional<std::string> SessionRecorder::ChooseSaveFile(const FileDialogOptions& options) {
  return Chosen(inner_.ChooseSaveFile(options));
}

bool SessionRecorder::ShowDialog(DialogForm& form) {
  const bool accepted = inner_.ShowDialog(form);
  const std::string values = DialogAnswerText(form);
  Answer(form.Caption() + ": " + (!accepted ? "cancel" : values.empty() ? "OK" : values));
  return accepted;
}

std::optional<std::string> SessionRecorder::ClipboardText() {
  std::optional<std::string> text = inner_.ClipboardText();
  // No text replays as an empty one: the command refuses both alike.
  Answer("clipboard text: " + EscapedAnswerText(text ? *text : std::string()));
  return text;
}

bool SessionRecorder::ShowGroupManager(GroupManagerView& dialog) {
  RecordedGroupManager recorded(dialog);
  const bool accepted = inner_.ShowGroupManager(recorded);
  for (const std::string& line : recorded.AnswerLines(accepted)) Answer(line);
  return accepted;
}

}  // namespace vorn
