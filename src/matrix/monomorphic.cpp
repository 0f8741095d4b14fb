#include "matrix/monomorphic.h"

namespace vorn {
namespace {

bool Includes(MonomorphicKinds kinds, MonomorphicKinds kind) {
  return (static_cast<std::uint8_t>(kinds) & static_cast<std::uint8_t>(kind)) != 0;
}

}  // namespace

bool IsMonomorphic(const BandCounts& counts, MonomorphicKinds kinds) {
  const bool presences = counts.absences == 0 && counts.presences >= counts.missing;
  const bool absences = counts.presences == 0 && counts.absences >= counts.missing;
  return (Includes(kinds, MonomorphicKinds::Presences) && presences) ||
         (Includes(kinds, MonomorphicKinds::Absences) && absences);
}

Result<bool> HasMonomorphicLoci(const DataMatrix& matrix) {
  for (const BandCounts& counts : CountRows(matrix, RowKind::Loci)) {
    if (counts.Scored() != matrix.individualCount) return Failure{kDataMatrixError};
    if (IsMonomorphic(counts)) return true;
  }
  return false;
}

Result<Removal> RemoveMonomorphicLoci(const DataMatrix& matrix, MonomorphicKinds kinds) {
  return RemoveRows(matrix, RowKind::Loci, [kinds](const BandCounts& counts, std::size_t) { return IsMonomorphic(counts, kinds); });
}

}  // namespace vorn
