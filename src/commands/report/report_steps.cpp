#include "commands/report/report_steps.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "pictures/picture_scenes.h"
#include "report/bibliography.h"
#include "report/html_report.h"
#include "report/methods_text.h"
#include "similarity/coefficient_names.h"
#include "similarity/matrix_text.h"

namespace vorn {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool EndsWithSvg(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".svg";
}

}  // namespace

ReportFigure TreeFigure(TMainPrg& app, const std::string& caption, const std::string& newick) {
  auto scene = MakeTreeScene({newick}, 1, app.ws.files.tree, app.ws.groups.groups, 1);
  if (!scene) return ReportFigure{caption, ""};
  return ReportFigure{caption, DrawnSvg(app, [&](PictureMaker& maker, const std::string& path) {
                        return maker.SaveTree(*scene, 16, 600, path);
                      })};
}

std::string DrawnSvg(TMainPrg& app, const std::function<Status(PictureMaker&, const std::string&)>& save) {
  if (!app.pictures) return "";
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("vorn-report-figure-" + std::to_string(getpid()) + ".svg");
  const Status saved = save(*app.pictures, scratch.string());
  std::string svg = saved ? InlineSvg(ReadWhole(scratch.string())) : "";
  std::error_code ignored;
  std::filesystem::remove(scratch, ignored);
  return svg;
}

SimilarityMode ActiveMode(const Workspace& ws) {
  switch (ws.results.active) {
    case ResultMatrices::Kept::Minimum: return SimilarityMode::Minimum;
    case ResultMatrices::Kept::Maximum: return SimilarityMode::Maximum;
    case ResultMatrices::Kept::Average: return SimilarityMode::Average;
    default: return SimilarityMode::Standard;
  }
}

std::string ActiveDistancePhrase(const Workspace& ws, std::vector<std::string>& references) {
  return DistancePhrase(ws.settings.similarity, ActiveMode(ws), ws.settings.replicates.JC, references);
}

void AddMatrix(ReportStep& step, const DistanceMatrix& matrix, const LabelTable& labels, const std::string& title,
               const std::string& file) {
  if (matrix.n > kReportedMatrixSize) {
    step.lines.push_back(title + ": the matrix of " + std::to_string(matrix.n) + " individuals is written whole to " +
                         file + " (the report shows matrices of up to " + std::to_string(kReportedMatrixSize) +
                         " individuals).");
    return;
  }
  step.tables.push_back(ReportTable{MatrixTable(matrix, labels), {title}});
}

void AddListing(ReportStep& step, ResultTable table, std::vector<std::string> notes, const std::string& file) {
  const std::size_t rows = table.rows.empty() ? 0 : table.rows.size() - 1;
  if (rows > kReportedRows) {
    const std::string what = notes.empty() ? std::string("The table") : notes.front();
    step.lines.push_back(what + ": its " + std::to_string(rows) + " rows are written whole to " + file +
                         " (the report shows tables of up to " + std::to_string(kReportedRows) + " rows).");
    return;
  }
  step.tables.push_back(ReportTable{std::move(table), std::move(notes)});
}

void AddClusterTables(ReportStep& step, ResultTable clusters, const std::string& caption, const std::string& what,
                      const std::vector<std::string>& names, const std::string& file) {
  if (names.size() > kReportedMatrixSize) {
    step.lines.push_back("The " + what + " of " + std::to_string(names.size()) + " individuals are written to " + file +
                         " (the report shows those of up to " + std::to_string(kReportedMatrixSize) + " individuals).");
    return;
  }
  AddListing(step, std::move(clusters), {caption}, file);
  ResultTable key{{{"OTU", "Individual"}}};
  for (std::size_t i = 0; i < names.size(); ++i) key.rows.push_back({"#" + std::to_string(i + 1), names[i]});
  step.tables.push_back(ReportTable{std::move(key), {"The OTU numbers of the clusters."}});
}

void RecordTree(TMainPrg& app, const std::string& method, const std::string& reference, const std::string& newick) {
  const Workspace& ws = app.ws;
  ReportStep step;
  step.title = method + " tree " + ws.results.activeName;
  step.references = {reference};
  const std::string individuals = std::to_string(ws.data.individualCount) + " individuals";
  step.method = "A " + method + " tree (" + std::string(ReferenceOf(reference).cited) + ") of the " + individuals +
                " was built from " + ActiveDistancePhrase(ws, step.references) + ".";
  step.lines = {"Written to " + ws.files.tree + " as the tree " + ws.results.activeName + "."};
  const SimilaritySettings& settings = ws.settings.similarity;
  step.figures.push_back(TreeFigure(app,
                                    method + " tree of " + individuals + ", " +
                                        SimilarityModeName(ActiveMode(ws), settings.coefficient, false) + " " +
                                        CoefficientName(settings.coefficient) + ", distances " +
                                        TransformationName(settings.transformation),
                                    newick));
  app.reportRecord.Add(std::move(step));
}

void RecordPicture(TMainPrg& app, const std::string& caption, const std::string& path) {
  if (!EndsWithSvg(path)) return;
  const std::string svg = InlineSvg(ReadWhole(path));
  if (svg.empty()) return;
  ReportStep step;
  step.title = "Picture " + path;
  step.figures.push_back(ReportFigure{caption, svg});
  app.reportRecord.Add(std::move(step));
}

}  // namespace vorn
