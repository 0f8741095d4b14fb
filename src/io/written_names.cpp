#include "io/written_names.h"

#include <algorithm>

#include "core/label_table.h"
#include "core/settings.h"
#include "core/text_encoding.h"

namespace vorn {

std::string_view NameFault(std::string_view name, bool cutToLabel) {
  if (name.empty()) return "is empty";
  if (std::any_of(name.begin(), name.end(), IsDelimiter)) return "contains a space, tab, line break or NUL character";
  if (cutToLabel && CharacterCount(name) > kLabelLength) return "is longer than 20 characters";
  return "";
}

std::string QuotedName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    switch (c) {
      case '\t': quoted += "<tab>"; break;
      case '\r': quoted += "<CR>"; break;
      case '\n': quoted += "<LF>"; break;
      case '\0': quoted += "<NUL>"; break;
      default: quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace vorn
