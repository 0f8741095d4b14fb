#include "commands/trees/cluster_report_files.h"

#include "core/text_file.h"
#include "trees/cluster_report.h"

namespace vorn {
namespace {

// Appends to the analysis file what write writes; with ask, after the append-or-rewrite question.
bool AppendToAnalysisFile(TMainPrg& app, bool ask, const std::function<void(TextFileWriter&)>& write) {
  auto file = ask ? app.BeginOutputFile(app.ws.files.analysis) : app.OpenOutputFile(app.ws.files.analysis, false);
  if (!file) return false;
  write(*file);
  return app.FinishOutputFile(*file);
}

}  // namespace

bool AppendClusterReport(TMainPrg& app,
                         const std::function<void(const std::function<void(std::string_view)>&)>& writeReport,
                         const std::vector<std::string>& names) {
  const auto report = [&](TextFileWriter& file) { writeReport([&](std::string_view line) { file.Line(line); }); };
  const auto key = [&](TextFileWriter& file) {
    for (const std::string& line : OtuKeyLines(names)) file.Line(line);
  };
  return AppendToAnalysisFile(app, true, report) && AppendToAnalysisFile(app, false, key);
}

}  // namespace vorn
