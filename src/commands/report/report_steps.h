// Adding what a command wrote to the session's report record: trees with their drawing, the
// pictures a command saved as SVG, and tables bounded to what a report page holds. The tables of the population commands are added where they are
// written (commands/population_support.h); AMOVA and the cophenetic correlation add their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "commands/shell/main_program.h"

namespace vorn {

// The report shows a similarity or distance matrix of up to kReportedMatrixSize individuals as a
// table, and a listing (a row per locus or per individual) of up to kReportedRows rows; a larger
// one is named by a line with the file that holds it whole.
inline constexpr std::size_t kReportedMatrixSize = 30;
inline constexpr std::size_t kReportedRows = 500;

// Adds matrix to step under title (the table's first note), or the line saying where it is.
void AddMatrix(ReportStep& step, const DistanceMatrix& matrix, const LabelTable& labels, const std::string& title,
               const std::string& file);

// Adds the table (its first row the header) with its notes to step, or the line saying where it is.
void AddListing(ReportStep& step, ResultTable table, std::vector<std::string> notes, const std::string& file);

// Adds a table of clusters (a digit per OTU, so as wide as the individuals are many) under caption,
// and the key of its OTU numbers, to step; above kReportedMatrixSize individuals the line saying
// that the clusters (what) are in file.
void AddClusterTables(ReportStep& step, ResultTable clusters, const std::string& caption, const std::string& what,
                      const std::vector<std::string>& names, const std::string& file);

// How the active matrix treated missing scores, as the similarity settings name it.
SimilarityMode ActiveMode(const Workspace& ws);

// The distances of the active matrix, for a methods sentence.
std::string ActiveDistancePhrase(const Workspace& ws, std::vector<std::string>& references);

// The SVG element a picture maker's save writes to a scratch file; "" when this build draws
// nothing or the drawing failed (the report then names the figure as not drawn).
std::string DrawnSvg(TMainPrg& app, const std::function<Status(PictureMaker&, const std::string&)>& save);

// A tree of Newick text drawn as View > Save Tree Picture draws it by default (node labels such
// as support percentages shown), under caption.
ReportFigure TreeFigure(TMainPrg& app, const std::string& caption, const std::string& newick);

// A tree just written (method "UPGMA", reference its key), drawn for the report when this build
// draws pictures.
void RecordTree(TMainPrg& app, const std::string& method, const std::string& reference, const std::string& newick);

// A picture just saved at path: an SVG file joins the report with its caption, a PNG does not.
void RecordPicture(TMainPrg& app, const std::string& caption, const std::string& path);

}  // namespace vorn
