#include "script/script.h"

#include <cctype>

#include "commands/shell/menu_table.h"
#include "core/text_lines.h"

namespace vorn {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::vector<std::string> SplitPath(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t arrow = text.find('>', start);
    parts.emplace_back(Trim(text.substr(start, arrow == std::string_view::npos ? std::string_view::npos : arrow - start)));
    if (arrow == std::string_view::npos) break;
    start = arrow + 1;
  }
  return parts;
}

Failure LineFailure(int line, const std::string& message) {
  return Failure{"line " + std::to_string(line) + ": " + message};
}

}  // namespace

Result<std::vector<ScriptCommand>> ParseScript(std::string_view source) {
  std::vector<ScriptCommand> commands;
  int lineNumber = 0;
  // Lines end as in data files (CR LF, LF or CR), and a byte-order mark is no command.
  for (const std::string_view raw : TextLines(source)) {
    ++lineNumber;
    const std::string_view text = Trim(raw);
    if (text.empty() || text.front() == '#') continue;

    const bool indented = raw.front() == ' ' || raw.front() == '\t';
    if (!indented) {
      ScriptCommand command;
      command.line = lineNumber;
      command.text = std::string(text);
      command.path = SplitPath(text);
      for (const auto& part : command.path) {
        if (part.empty()) return LineFailure(lineNumber, "empty caption in menu path \"" + command.text + "\"");
      }
      commands.push_back(std::move(command));
      continue;
    }
    if (commands.empty()) return LineFailure(lineNumber, "an answer line needs a command above it");
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) {
      return LineFailure(lineNumber, "an answer line reads \"TITLE: ANSWER\", not \"" + std::string(text) + "\"");
    }
    ScriptAnswer answer;
    answer.line = lineNumber;
    answer.target = std::string(Trim(text.substr(0, colon)));
    answer.value = std::string(Trim(text.substr(colon + 1)));
    answer.text = std::string(text);
    commands.back().answers.push_back(std::move(answer));
  }
  return commands;
}

}  // namespace vorn
