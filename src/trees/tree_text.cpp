#include "trees/tree_text.h"

#include "core/label_table.h"
#include "core/text_encoding.h"
#include "core/text_file.h"

namespace vorn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\0'; }
bool EndsBranchLength(char c) { return c == ')' || c == ',' || c == ';'; }
bool SeparatesNames(char c) { return c == ',' || c == ';' || c == '(' || c == ')'; }

}  // namespace

Result<std::vector<std::string>> ReadTreeList(const std::string& fileName) {
  auto reader = LineReader::Open(fileName);
  if (!reader) return Failure{reader.error()};
  std::vector<std::string> trees;
  std::string line;
  while (reader->Next(line)) {
    if (!line.empty() && IsBlank(line.back())) line.pop_back();
    if (!line.empty() && IsBlank(line.front())) line.erase(0, 1);
    if (line.empty()) continue;
    if (line == "*") break;
    trees.push_back(DisplayText(line));  // UTF-8, as the labels its names are compared with
  }
  if (reader->Failed()) return Failure{"Cannot read " + fileName};
  return trees;
}

std::string NormaliseTreeText(std::string_view text) {
  std::string normal;
  normal.reserve(text.size());
  bool inLength = false;
  for (char c : text) {
    if (IsBlank(c)) continue;
    if (c == ':') inLength = true;
    if (inLength && !EndsBranchLength(c)) continue;
    inLength = false;
    normal += c;
  }
  return normal;
}

std::vector<std::string> ExtractOTUNames(std::string_view treeText) {
  std::string text = NormaliseTreeText(treeText);
  const std::size_t end = std::min(text.find(';'), text.size());
  const std::size_t lastClose = text.rfind(')', end == 0 ? 0 : end - 1);
  if (lastClose != std::string::npos && lastClose < end) text.erase(lastClose + 1, end - lastClose - 1);

  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size() && names.size() < kMaxTreeNames; ++i) {
    if (i < text.size() && !SeparatesNames(text[i])) continue;
    if (i > start) names.push_back(CutLabel(std::string_view(text).substr(start, i - start)));
    start = i + 1;
  }
  return names;
}

}  // namespace vorn
