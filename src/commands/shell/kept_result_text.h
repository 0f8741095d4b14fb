// Why the picture of a kept result cannot be drawn: the result was never computed, or the
// working data changed since (a load, an import, a filter, a replacement or a selection). The
// picture commands' boxes and the PCoA tab say the same.
#pragma once

#include <string>

#include "core/workspace.h"

namespace vorn {

std::string NoOrdinationText(const Workspace& ws);
std::string NoMantelText(const Workspace& ws);
std::string NoCorrelogramText(const Workspace& ws);
std::string NoRarefactionText(const Workspace& ws);

}  // namespace vorn
