// A command script: one menu path per line ("Analysis > Standard Similarity"), each followed by
// indented answer lines ("file: data.txt", "Output file exists: No", "Caption: key=value").
// "#" starts a comment; blank lines are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/shell/menu_table.h"  // SameCaption, which answers use too
#include "core/result.h"

namespace vorn {

struct ScriptAnswer {
  int line = 0;
  std::string target;  // "file", a message box title or a dialog caption
  std::string value;
  std::string text;    // the line as written, for messages
};

struct ScriptCommand {
  int line = 0;
  std::string text;               // the menu path as written
  std::vector<std::string> path;  // its captions
  std::vector<ScriptAnswer> answers;
};

Result<std::vector<ScriptCommand>> ParseScript(std::string_view source);

}  // namespace vorn
