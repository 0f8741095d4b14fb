#include "commands/report/report_document.h"

#include "groups/group_model.h"
#include "quality/quality_summary.h"

namespace vorn {
namespace {

// The window's recorded session, or the script a headless run reads, headed by how to run it.
std::string ReproducingScript(const TMainPrg& app) {
  if (app.recorder) return app.recorder->Script(app.StartSeed());
  std::string script = "# Repeat this run with: vorn --script FILE --seed " + std::to_string(app.StartSeed()) + "\n";
  script += app.scriptSource;
  if (!script.empty() && script.back() != '\n') script += '\n';
  return script;
}

}  // namespace

std::string ReportHtmlOf(TMainPrg& app, ReportForm form) {
  const Workspace& ws = app.ws;
  ReportInput input;
  input.written = app.host.DateText() + " " + app.host.TimeText();
  input.version = kVersion;
  input.commit = app.buildCommit;
  input.seed = app.StartSeed();
  input.record = &app.reportRecord;
  input.script = ReproducingScript(app);
  input.form = form;
  if (ws.dataLoaded && ws.data.CellCount() > 0) {
    ReportData data;
    data.file = ws.filterLog.source;
    data.sha256 = ws.filterLog.sourceSha256;
    data.loaded = ws.filterLog.loaded;
    data.now = CountsOf(ws.data);
    data.groups = ws.groups.groups.empty() ? 0 : ws.groups.groups.size() - 1;
    const std::size_t levels = LevelCount(ws.groups.groups);
    data.levels = levels == 0 ? 0 : levels - 1;
    data.steps = FilterStepTable(ws.filterLog);
    data.sentences = MethodsSentences(ws.filterLog, MissingSharesOf(ws.data));
    input.data = std::move(data);
  }
  return ReportHtml(input);
}

std::vector<std::string> ReportFigures(const TMainPrg& app) {
  std::vector<std::string> figures;
  for (const ReportStep& step : app.reportRecord.steps) {
    for (const ReportFigure& figure : step.figures) figures.push_back(figure.svg);
  }
  return figures;
}

}  // namespace vorn
