// The session report as one HTML file: Data, Methods, Results in the order the analyses ran,
// Reproduce and References, with its style sheet (screen and print), its figures and the script
// of its copy buttons inline, so that it opens offline in any browser and refers to nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/filter_log.h"
#include "core/result_table.h"
#include "report/session_record.h"

namespace vorn {

// The data the analyses ran on, as the filter log and the group lists tell them.
struct ReportData {
  std::string file;    // "" when the command that read the data did not name a file
  std::string sha256;  // "" when the file could no longer be read
  MatrixCounts loaded;
  MatrixCounts now;
  std::size_t groups = 0;  // below AllData
  std::size_t levels = 0;
  ResultTable steps;                   // every filter, replacement and selection, counts before and after
  std::vector<std::string> sentences;  // what a methods section says of them
};

// Browser: inline SVG figures and copy buttons. Document: for a word processor or Qt's text
// browser, figures as images named by FigureImageName and no script.
enum class ReportForm { Browser, Document };

struct ReportInput {
  std::string written;  // date and time of writing
  std::string version;
  std::string commit;   // "" when not known
  std::uint32_t seed = 0;
  std::optional<ReportData> data;
  const SessionRecord* record = nullptr;
  std::string script;   // the command script that repeats the session
  ReportForm form = ReportForm::Browser;
};

std::string ReportHtml(const ReportInput& input);

// The name the Document form gives figure number (from 1): "figure-1.png".
std::string FigureImageName(std::size_t number);

// The <svg> element of an SVG file's text, without the XML declaration before it; "" when the
// text holds none.
std::string InlineSvg(const std::string& fileText);

// Text with &, <, > and " written as HTML references.
std::string HtmlEscaped(const std::string& text);

}  // namespace vorn
