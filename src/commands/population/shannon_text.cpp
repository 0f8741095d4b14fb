#include "commands/population/shannon_text.h"

#include "core/number_format.h"

namespace vorn {

std::string LogBaseLine(const ShannonScaling& scaling) {
  switch (scaling.logBase) {
    case LogBase::Two: return "LogBase = 2";
    case LogBase::E: return "LogBase = e";
    case LogBase::Ten: return "LogBase = 10";
    case LogBase::Other: break;
  }
  return "LogBase = " + FormatReal(scaling.baseValue);
}

std::string FrequencyBasisLine(const ShannonScaling& scaling) {
  return scaling.frequencyBasis == FrequencyBasis::PerIndividual
             ? "Frequencies per locus: p(i):=presences(i)/#individuals"
             : "Frequencies per datamatrix: p(i):=presences(i)/presences(datamatrix)";
}

}  // namespace vorn
