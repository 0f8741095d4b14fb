// Making a freshly read matrix the program's data, the one way that Load and the imports share.
#pragma once

#include "commands/main_program.h"

namespace vorn {

// The matrix becomes the working data and the original copy, both selections return to the
// whole data set, and AllData and AllLoci are made anew from it (the user's groups and locus
// sets stay behind them until the file's own replace them).
void InstallReadMatrix(TMainPrg& app, DataMatrix matrix);

}  // namespace vorn
