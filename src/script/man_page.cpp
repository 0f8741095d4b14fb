#include "script/man_page.h"

#include <cctype>
#include <sstream>

namespace vorn {
namespace {

// A line as roff prints it: backslashes and hyphens escaped (so options copy as typed), a leading
// "." or "'" kept from reading as a request.
std::string RoffText(std::string_view line) {
  std::string text;
  if (!line.empty() && (line.front() == '.' || line.front() == '\'')) text += "\\&";
  for (char c : line) {
    if (c == '\\') text += "\\e";
    else if (c == '-') text += "\\-";
    else text += c;
  }
  return text;
}

bool IsHeading(std::string_view line) {
  return !line.empty() && line.back() == ':' && !std::isspace(static_cast<unsigned char>(line.front()));
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::string ManPage(std::string_view helpText) {
  std::istringstream lines{std::string(helpText)};
  std::string first;
  std::getline(lines, first);
  // "Vorn 1.10 beta: a workbench for ..." gives the version and the one-line description.
  const std::size_t colon = first.find(": ");
  const std::string version = first.substr(0, colon);
  const std::string summary = colon == std::string::npos ? first : first.substr(colon + 2);

  std::string page = ".TH VORN 1 \"\" \"" + version + "\" \"User Commands\"\n.SH NAME\nvorn \\- " +
                     RoffText(summary.substr(0, summary.find_last_not_of('.') + 1)) + "\n";
  bool inSection = false;
  std::string line;
  while (std::getline(lines, line)) {
    if (IsHeading(line)) {
      if (inSection) page += ".fi\n";
      const std::string heading = line.substr(0, line.size() - 1);
      page += ".SH " + (heading == "Usage" ? std::string("SYNOPSIS") : "\"" + Upper(heading) + "\"") + "\n.nf\n";
      inSection = true;
    } else if (inSection) {
      page += line.empty() ? std::string(".sp\n") : RoffText(line) + "\n";
    }
  }
  if (inSection) page += ".fi\n";
  return page;
}

}  // namespace vorn
