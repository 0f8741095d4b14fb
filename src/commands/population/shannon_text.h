// The lines that every Shannon result block opens with: the logarithm base and the basis of the
// band frequencies.
#pragma once

#include <string>

#include "core/settings.h"

namespace vorn {

// "LogBase = 2", "= e", "= 10", or "= " and A for another base.
std::string LogBaseLine(const ShannonScaling& scaling);

// "Frequencies per locus: ..." or "Frequencies per datamatrix: ...".
std::string FrequencyBasisLine(const ShannonScaling& scaling);

}  // namespace vorn
