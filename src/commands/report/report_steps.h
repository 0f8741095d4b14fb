// Adding what a command wrote to the session's report record: trees with their drawing, and the
// pictures a command saved as SVG. The tables of the population commands are added where they are
// written (commands/population_support.h); AMOVA and the cophenetic correlation add their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "commands/shell/main_program.h"

namespace vorn {

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
