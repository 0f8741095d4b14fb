// The cluster report of the consensus commands and of R-support in the analysis file: the report
// after the append-or-rewrite question, then, in a second opening without a question, the key
// of the OTU numbers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/shell/main_program.h"

namespace vorn {

// writeReport hands its lines to the function it is given; false when a file could not be
// written (told) or the user gave up choosing.
bool AppendClusterReport(TMainPrg& app,
                         const std::function<void(const std::function<void(std::string_view)>&)>& writeReport,
                         const std::vector<std::string>& names);

}  // namespace vorn
