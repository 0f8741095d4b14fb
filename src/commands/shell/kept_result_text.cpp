#include "commands/shell/kept_result_text.h"

namespace vorn {
namespace {

std::string MissingResultText(bool computedFromOtherData, const std::string& result, const std::string& command) {
  if (computedFromOtherData) {
    return "The last " + result + " was computed from other data (before a load, import, filter or selection): run " +
           command + " again.";
  }
  return "There is no " + result + " to show: run " + command + " first.";
}

}  // namespace

std::string NoOrdinationText(const Workspace& ws) {
  return MissingResultText(ws.ordination && !ws.CurrentOrdination(), "principal coordinate analysis", "Trees > Principal Coordinate Analysis");
}

std::string NoCorrelogramText(const Workspace& ws) {
  return MissingResultText(ws.correlogram && !ws.CurrentCorrelogram(), "spatial autocorrelation",
                           "Analysis > Spatial Autocorrelation");
}

std::string NoRarefactionText(const Workspace& ws) {
  return MissingResultText(ws.rarefaction && !ws.CurrentRarefaction(), "rarefied band richness",
                           "Analysis > Band Rarity and Richness");
}

std::string NoMantelText(const Workspace& ws) {
  return MissingResultText(ws.mantel && !ws.CurrentMantel(), "Mantel test", "Analysis > Mantel Test");
}

}  // namespace vorn
