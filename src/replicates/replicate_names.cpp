#include "replicates/replicate_names.h"

#include "core/label_table.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

std::string Number(std::int32_t value) { return std::to_string(value); }

}  // namespace

std::string ReplicateTreeLabel(ReplicateAnalysis analysis, SimilarityCoefficient coefficient, std::int32_t drawCount,
                               std::int32_t replicate) {
  const std::string name = CoefficientName(coefficient);
  switch (analysis) {
    case ReplicateAnalysis::BootstrapStd: return CutLabel("BS" + name + Number(replicate));
    case ReplicateAnalysis::BootstrapAverage:
      return CutLabel("BSAvg" + name + Number(drawCount) + "x" + Number(replicate));
    case ReplicateAnalysis::MultipleAverage: return CutLabel("Avg" + name + Number(drawCount) + "x" + Number(replicate));
  }
  return {};
}

std::string ReplicateMatrixTitle(ReplicateAnalysis analysis, SimilarityCoefficient coefficient,
                                 std::int32_t drawCount, std::int32_t replicate) {
  const std::string name = CoefficientName(coefficient);
  switch (analysis) {
    case ReplicateAnalysis::BootstrapStd: return "Std " + name + " from resampled data matrix replicate " + Number(replicate);
    case ReplicateAnalysis::BootstrapAverage: return "Avg " + name + " from resampled data replicate " + Number(replicate);
    case ReplicateAnalysis::MultipleAverage:
      return "Average Expected " + name + " values (" + Number(drawCount) + "x, run" + Number(replicate) + ")";
  }
  return {};
}

std::string ReplicateVarianceTitle(ReplicateAnalysis analysis, SimilarityCoefficient coefficient,
                                   std::int32_t drawCount, std::int32_t replicate) {
  const std::string name = CoefficientName(coefficient);
  if (analysis == ReplicateAnalysis::MultipleAverage) {
    return "Variance of Expected " + name + " values(" + Number(drawCount) + "x, run" + Number(replicate) + ")";
  }
  return "Variance on " + name + " from resampled data replicate " + Number(replicate);
}

std::string ReplicateStartLine(ReplicateAnalysis analysis, SimilarityCoefficient coefficient) {
  const std::string name = CoefficientName(coefficient);
  switch (analysis) {
    case ReplicateAnalysis::BootstrapStd: return "Bootstrapping Std " + name + " Tree...";
    case ReplicateAnalysis::BootstrapAverage: return "Bootstrapping Average " + name + " trees...";
    case ReplicateAnalysis::MultipleAverage: return "Generating Multiple Average " + name + " trees...";
  }
  return {};
}

}  // namespace vorn
