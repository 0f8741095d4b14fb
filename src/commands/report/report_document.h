// The session report of the running program, for File > Write Report and the window's Report
// view: the data as the filter log tells them, the analyses recorded, the script that repeats it.
#pragma once

#include <string>
#include <vector>

#include "commands/shell/main_program.h"
#include "report/html_report.h"

namespace vorn {

std::string ReportHtmlOf(TMainPrg& app, ReportForm form);

// The SVG of every figure the report shows, in its order; "" for one that is not drawn.
std::vector<std::string> ReportFigures(const TMainPrg& app);

}  // namespace vorn
