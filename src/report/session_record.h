// What a session did, kept for its report: each analysis in the order it ran, with the tables it
// wrote to the analysis file (the same ResultTable rows), the figures it drew, and the sentence a
// methods section says of it with the works that sentence cites.
#pragma once

#include <string>
#include <vector>

#include "core/result_table.h"

namespace vorn {

struct ReportTable {
  ResultTable table;               // its first row the header
  std::vector<std::string> notes;  // the notes the analysis file writes beneath it
};

struct ReportFigure {
  std::string caption;  // "UPGMA tree of 30 individuals, Standard Jaccard similarity, d=1-s"
  std::string svg;      // one <svg> element; "" when this build draws no pictures
};

struct ReportStep {
  std::string title;               // "AMOVA", "Pairwise PhiPT"
  std::vector<std::string> lines;  // the block's heading lines as the analysis file has them
  std::string method;              // a sentence of the methods paragraph, "" for none
  std::vector<std::string> references;  // keys of the bibliography (report/bibliography.h)
  std::vector<ReportTable> tables;
  std::vector<ReportFigure> figures;
};

// The analyses since the data were loaded; a new load starts it anew, as the filter log does.
struct SessionRecord {
  std::vector<ReportStep> steps;

  void Add(ReportStep step) { steps.push_back(std::move(step)); }
};

}  // namespace vorn
