#include "commands/shell/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace vorn {
namespace {

// Every field of a layout, by name: a flag or a symbol.
struct LayoutField {
  const char* name;
  bool FileLayout::*flag;
  char FileLayout::*symbol;
};

constexpr LayoutField kFields[] = {
    {"columns", &FileLayout::individualsInColumns, nullptr},
    {"individual_header", &FileLayout::individualHeader, nullptr},
    {"locus_header", &FileLayout::locusHeader, nullptr},
    {"presence", nullptr, &FileLayout::presence},
    {"absence", nullptr, &FileLayout::absence},
    {"ambiguity", nullptr, &FileLayout::ambiguity},
    {"open_remark", nullptr, &FileLayout::openRemark},
    {"close_remark", nullptr, &FileLayout::closeRemark},
    {"end_of_data", nullptr, &FileLayout::endOfData},
    {"delimited", &FileLayout::delimitedData, nullptr},
    {"include_groups", &FileLayout::includeGroups, nullptr},
};

}  // namespace

void RecentFiles::Add(const std::string& path, const FileLayout& layout) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  RecentFile entry{error ? path : absolute.lexically_normal().string(), layout};
  std::erase_if(files_, [&](const RecentFile& file) { return file.path == entry.path; });
  files_.insert(files_.begin(), std::move(entry));
  if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

std::string LayoutText(const FileLayout& layout) {
  std::string text;
  for (const LayoutField& field : kFields) {
    const int value = field.flag ? int{layout.*field.flag} : static_cast<unsigned char>(layout.*field.symbol);
    text += (text.empty() ? "" : ",") + std::string(field.name) + "=" + std::to_string(value);
  }
  return text;
}

std::optional<FileLayout> ParseLayoutText(const std::string& text) {
  std::map<std::string, int, std::less<>> values;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    const auto equals = item.find('=');
    if (equals == std::string::npos) return std::nullopt;
    try {
      values[item.substr(0, equals)] = std::stoi(item.substr(equals + 1));
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  FileLayout layout;
  for (const LayoutField& field : kFields) {
    const auto found = values.find(field.name);
    if (found == values.end()) return std::nullopt;
    const int value = found->second;
    if (field.flag) {
      if (value != 0 && value != 1) return std::nullopt;
      layout.*field.flag = value == 1;
    } else {
      if (value < 1 || value > 255) return std::nullopt;
      layout.*field.symbol = static_cast<char>(value);
    }
  }
  return layout;
}

}  // namespace vorn
