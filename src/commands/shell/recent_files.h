// The data files loaded or imported last, newest first, each with the layout it was loaded with
// or the settings of the import that read it, so that a host can offer them again (File > Recent
// Files in the window). At most eight; reading a file again moves it to the front. A host that
// keeps them between runs stores each layout as the text LayoutText gives and reads it back with
// ParseLayoutText; an import's settings are already text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/result.h"
#include "core/settings.h"

namespace vorn {

inline constexpr const char* kLoadHandler = "Load1Click";

struct RecentFile {
  std::string path;  // absolute
  FileLayout layout;
  // The command that read it: File > Load, or an import (CSV / TSV, GenAlEx, DArT report) whose
  // dialog's values settings holds as a script answer writes them ("separator=tab, ...").
  std::string handler = kLoadHandler;
  std::string settings;
  bool IsImport() const { return handler != kLoadHandler; }
  bool operator==(const RecentFile&) const = default;
};

class RecentFiles {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  // Puts the file first (a path given relative is made absolute), dropping an older entry of the
  // same file and the entries beyond the eighth.
  void Add(const std::string& path, const FileLayout& layout);
  // The same for a file read by the import of handler with the dialog's values settings.
  void AddImport(const std::string& path, const std::string& handler, const std::string& settings);
  const std::vector<RecentFile>& Files() const { return files_; }

 private:
  void Put(RecentFile entry);

  std::vector<RecentFile> files_;
};



// "columns=1,individual_header=1,locus_header=0,presence=49,..." (symbols by character code).
std::string LayoutText(const FileLayout& layout);
// The layout of such a text; nothing when a field is missing or out of range.
std::optional<FileLayout> ParseLayoutText(const std::string& text);

class TMainPrg;
// How a recent file is read, for a host's list: "" for File > Load, else the caption of the
// import's dialog ("Import CSV / TSV Table").
std::string RecentWayText(TMainPrg& app, const RecentFile& file);
// Puts back what reading file again needs: the layout of a loaded file, or the values of its
// import's dialog, which then shows them; fails, naming the file, for an unknown import or values
// the dialog cannot take (a damaged settings file).
Status RestoreRecentSettings(TMainPrg& app, const RecentFile& file);

}  // namespace vorn
