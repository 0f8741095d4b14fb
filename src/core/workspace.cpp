#include "core/workspace.h"

namespace vorn {
namespace {

template <typename Kept>
const Kept* OfWorkingData(const std::optional<Kept>& kept, const DataMatrix& data) {
  return kept && kept->dataFingerprint == Fingerprint(data) ? &*kept : nullptr;
}

}  // namespace

const DistanceMatrix* ResultMatrices::Active() const {
  const std::optional<DistanceMatrix>* kept = nullptr;
  switch (active) {
    case Kept::None: return nullptr;
    case Kept::Standard: kept = &standard; break;
    case Kept::Minimum: kept = &minimum; break;
    case Kept::Maximum: kept = &maximum; break;
    case Kept::Average: kept = &average; break;
  }
  return *kept ? &**kept : nullptr;
}

const DistanceMatrix* Workspace::ActiveMatrix() const {
  const DistanceMatrix* active = results.Active();
  if (!active || active->n != data.individualCount || results.individuals != data.individualLabels) return nullptr;
  return active;
}

const Ordination* Workspace::CurrentOrdination() const { return OfWorkingData(ordination, data); }

const MantelPairs* Workspace::CurrentMantel() const { return OfWorkingData(mantel, data); }

const Correlogram* Workspace::CurrentCorrelogram() const { return OfWorkingData(correlogram, data); }

const RarefactionCurves* Workspace::CurrentRarefaction() const { return OfWorkingData(rarefaction, data); }

UndefinedPairs Workspace::ActiveUndefinedPairs() const {
  return FindUndefinedPairs(*ActiveMatrix(), results.marks);
}

void Workspace::InstallLoadedMatrix(DataMatrix matrix) {
  original = matrix;
  filterLog.Start(matrix);
  data = std::move(matrix);
  dataLoaded = true;
  groups.DropSelection();
  groups.ForgetMerges();
}

void Workspace::ReleaseData() {
  data = DataMatrix();
  original = DataMatrix();
  results.Clear();
  ordination.reset();
  lastTree.reset();
  mantel.reset();
  correlogram.reset();
  rarefaction.reset();
  structure.reset();
  filterLog = FilterLog();
  groups = GroupState();
  dataLoaded = false;
}

}  // namespace vorn
