// Which command opens a file named on the command line or dropped on the window: a .csv or .tsv
// table (any case) goes to File > Import > CSV / TSV Table, anything else to File > Load.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace vorn {

inline std::string_view OpeningHandler(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return "Load1Click";
  std::string extension(path.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == "csv" || extension == "tsv" ? "ImportCsvTable1Click" : "Load1Click";
}

}  // namespace vorn
