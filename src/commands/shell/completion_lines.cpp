#include "commands/shell/completion_lines.h"

#include <algorithm>
#include <filesystem>

namespace vorn {
namespace {

std::string Absolute(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> CompletionLines(const std::vector<WrittenFile>& files, const FileNames& names) {
  std::vector<std::pair<std::string, std::size_t>> totals;  // absolute path and lines, in the order written
  for (const WrittenFile& file : files) {
    const std::string path = Absolute(file.path);
    if (path == Absolute(names.log)) continue;
    auto same = std::find_if(totals.begin(), totals.end(), [&](const auto& total) { return total.first == path; });
    if (same == totals.end()) {
      totals.emplace_back(path, file.lines);
    } else {
      same->second = (file.replaced ? 0 : same->second) + file.lines;
    }
  }
  const std::string tree = Absolute(names.tree);
  const std::string consensus = Absolute(names.consensusOutput);
  std::vector<std::string> lines;
  for (const auto& [path, count] : totals) {
    const bool trees = path == tree || path == consensus;
    lines.push_back((trees ? Counted(count, "tree", "trees") : Counted(count, "line", "lines")) + " written to " + path);
  }
  return lines;
}

}  // namespace vorn
