#include "commands/shell/dialog_answer.h"

#include <cctype>
#include <utility>
#include <vector>

#include "commands/shell/menu_table.h"

namespace vorn {
namespace {

bool IsKeyChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// True when text at position starts a new "key=" (after optional spaces).
bool StartsPair(std::string_view text, std::size_t position) {
  while (position < text.size() && text[position] == ' ') ++position;
  const std::size_t keyStart = position;
  while (position < text.size() && IsKeyChar(text[position])) ++position;
  if (position == keyStart) return false;
  while (position < text.size() && text[position] == ' ') ++position;
  return position < text.size() && text[position] == '=';
}

Result<std::vector<std::pair<std::string, std::string>>> SplitPairs(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t keyStart = i;
    while (i < text.size() && IsKeyChar(text[i])) ++i;
    std::string key(text.substr(keyStart, i - keyStart));
    while (i < text.size() && text[i] == ' ') ++i;
    if (key.empty() || i >= text.size() || text[i] != '=') {
      return Failure{"expected key=value at \"" + std::string(text.substr(keyStart)) + "\""};
    }
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
    std::string value;
    if (i < text.size() && text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return Failure{"unclosed quote in the value of " + key};
      value = std::string(text.substr(i + 1, close - i - 1));
      i = close + 1;
      while (i < text.size() && text[i] == ' ') ++i;
      if (i < text.size() && text[i] != ',') return Failure{"expected \",\" after the quoted value of " + key};
      ++i;
    } else {
      std::size_t end = i;
      while (end < text.size() && !(text[end] == ',' && StartsPair(text, end + 1))) ++end;
      value = std::string(text.substr(i, end - i));
      while (!value.empty() && value.back() == ' ') value.pop_back();
      i = end + 1;
    }
    // A second value for a key would silently replace the first: the answer is ambiguous.
    for (const auto& earlier : pairs) {
      if (earlier.first == key) return Failure{"the key \"" + key + "\" is given twice"};
    }
    pairs.emplace_back(std::move(key), std::move(value));
  }
  return pairs;
}

Result<int> ItemIndex(const Control& control, const std::string& value) {
  for (std::size_t i = 0; i < control.items.size(); ++i) {
    const bool byKey = i < control.itemKeys.size() && Lower(control.itemKeys[i]) == Lower(value);
    if (byKey || SameCaption(control.items[i], value)) return static_cast<int>(i);
  }
  if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos && value.size() < 6) {
    const int number = std::stoi(value);
    if (number >= 1 && number <= static_cast<int>(control.items.size())) return number - 1;
  }
  return Failure{"\"" + value + "\" is not an item of " + control.key};
}

Result<bool> Flag(const std::string& value) {
  const std::string v = Lower(value);
  if (v == "true" || v == "yes" || v == "on" || v == "1") return true;
  if (v == "false" || v == "no" || v == "off" || v == "0") return false;
  return Failure{"\"" + value + "\" is not true or false"};
}

Status SetControl(Control& control, const std::string& value) {
  switch (control.kind) {
    case ControlKind::Label:
      return Failure{control.key + " is a text, not a control"};
    case ControlKind::RadioGroup:
    case ControlKind::DropDown: {
      auto index = ItemIndex(control, value);
      if (!index) return Failure{index.error()};
      control.selected = *index;
      return Success();
    }
    case ControlKind::CheckBox: {
      auto flag = Flag(value);
      if (!flag) return Failure{flag.error()};
      control.checked = *flag;
      return Success();
    }
    case ControlKind::CharField:
    case ControlKind::TextField:
      if (control.maxLength > 0 && static_cast<int>(value.size()) > control.maxLength) {
        return Failure{control.key + " takes at most " + std::to_string(control.maxLength) + " characters"};
      }
      if (control.digitsOnly && value.find_first_not_of("0123456789") != std::string::npos) {
        return Failure{control.key + " takes digits only"};
      }
      control.text = value;
      return Success();
    case ControlKind::TickList:
    case ControlKind::MultiList: {
      auto marks = MarkItems(control.items, value, control.key);
      if (!marks) return Failure{marks.error()};
      control.marks = std::move(*marks);
      return Success();
    }
  }
  return Success();
}

std::string Values(const Control& control) {
  switch (control.kind) {
    case ControlKind::Label: return "";
    case ControlKind::CheckBox: return "true | false";
    case ControlKind::CharField: return "one character";
    case ControlKind::TextField:
      return std::string(control.digitsOnly ? "digits" : "text") +
             (control.maxLength > 0 ? ", at most " + std::to_string(control.maxLength) + " characters" : "");
    case ControlKind::TickList:
    case ControlKind::MultiList: return "items joined with |";
    case ControlKind::RadioGroup:
    case ControlKind::DropDown: {
      if (control.items.empty()) return "an item of the list";
      std::string values;
      for (std::size_t i = 0; i < control.items.size(); ++i) {
        if (i) values += " | ";
        values += i < control.itemKeys.size() ? control.itemKeys[i] : control.items[i];
      }
      return values;
    }
  }
  return "";
}

}  // namespace

Result<std::vector<bool>> MarkItems(const std::vector<std::string>& items, std::string_view value,
                                    std::string_view listName) {
  std::vector<bool> marks(items.size(), false);
  std::size_t start = 0;
  while (!value.empty() && start <= value.size()) {
    const std::size_t bar = std::min(value.find('|', start), value.size());
    const std::string_view item = value.substr(start, bar - start);
    bool found = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == item) marks[i] = found = true;
    }
    if (!found) return Failure{"\"" + std::string(item) + "\" is not an item of " + std::string(listName)};
    start = bar + 1;
  }
  return marks;
}

Status ApplyDialogAnswer(DialogForm& form, std::string_view answer) {
  auto pairs = SplitPairs(answer);
  if (!pairs) return Failure{pairs.error()};
  for (const auto& [key, value] : *pairs) {
    Control* control = form.Find(key);
    if (!control || control->kind == ControlKind::Label) {
      return Failure{"the dialog \"" + form.Caption() + "\" has no control \"" + key + "\""};
    }
    if (!control->visible) return Failure{"\"" + key + "\" is not shown in the dialog \"" + form.Caption() + "\" now"};
    if (auto set = SetControl(*control, value); !set) return set;
  }
  return Success();
}

std::string DescribeDialog(const DialogForm& form) {
  std::string text;
  for (const auto& control : form.Controls()) {
    if (control.kind == ControlKind::Label) continue;
    text += "    " + control.key + " = " + Values(control) + (control.visible ? "" : "  (not always shown)") + "\n";
  }
  return text;
}

}  // namespace vorn
