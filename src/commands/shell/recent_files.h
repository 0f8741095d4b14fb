// The data files loaded last, newest first, each with the layout it was loaded with, so that a
// host can offer them again (File > Recent Files in the window). At most eight; loading a file
// again moves it to the front. A host that keeps them between runs stores each layout as the
// text LayoutText gives and reads it back with ParseLayoutText.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"

namespace vorn {

struct RecentFile {
  std::string path;  // absolute
  FileLayout layout;
  bool operator==(const RecentFile&) const = default;
};

class RecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  // Puts the file first (a path given relative is made absolute), dropping an older entry of the
  // same file and the entries beyond the eighth.
  void Add(const std::string& path, const FileLayout& layout);
  const std::vector<RecentFile>& Files() const { return files_; }

 private:
  std::vector<RecentFile> files_;
};

// "columns=1,individual_header=1,locus_header=0,presence=49,..." (symbols by character code).
std::string LayoutText(const FileLayout& layout);
// The layout of such a text; nothing when a field is missing or out of range.
std::optional<FileLayout> ParseLayoutText(const std::string& text);

}  // namespace vorn
