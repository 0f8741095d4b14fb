// Making a freshly read matrix the program's data, the one way that Load and the imports share.
#pragma once

#include <string>
#include <string_view>

#include "commands/shell/main_program.h"

namespace vorn {

// The matrix becomes the working data and the original copy, both selections return to the
// whole data set, and AllData and AllLoci are made anew from it (the user's groups and locus
// sets stay behind them until the file's own replace them). Undo starts a new history there.
// The report record starts anew, as the filter log does.
void InstallReadMatrix(TMainPrg& app, DataMatrix matrix);

// The file the installed data came from, with its SHA-256, for the filter log and the report.
void NameDataSource(TMainPrg& app, const std::string& name);

// "Not loaded: bad.txt: Cannot interpret data block(2a) Line 3, column 4: ..." (the message's
// lines joined by blanks).
std::string RefusedFileLine(const std::string& name, std::string_view message);

// A file that could not be read: the refusal in the error box, and one line naming the file in
// the status lines and, on a host that keeps them, its log of the session, where it can still be
// read once the box is closed. True when there was no refusal.
template <typename T>
bool CheckFileRead(TMainPrg& app, const std::string& name, const Result<T>& read) {
  if (read) return true;
  app.ErrorBox(read.error());
  app.Tell(RefusedFileLine(name, read.error()));
  return false;
}

}  // namespace vorn
