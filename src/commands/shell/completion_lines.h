// Completion lines: after a command, one line per result file it wrote, naming the file by its
// absolute path ("100 trees written to /home/me/study/outtree.ph"). Tree files count their trees
// (one per line), every other file its lines; a file written twice by one command is named once
// with the lines it gained (a rewrite starts the count again). The log file is no result and is left out.
#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/text_file.h"

namespace vorn {

std::vector<std::string> CompletionLines(const std::vector<WrittenFile>& files, const FileNames& names);

}  // namespace vorn
