// Workspace: the one state of a running program. Every command handler reads and changes it
// directly; nothing else is carried from one command to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/coordinates.h"
#include "core/correlogram.h"
#include "core/data_matrix.h"
#include "core/distance_matrix.h"
#include "core/filter_log.h"
#include "core/group_lists.h"
#include "core/mantel_pairs.h"
#include "core/structure_bars.h"
#include "core/ordination.h"
#include "core/random_generator.h"
#include "core/rarefaction_curves.h"
#include "core/settings.h"
#include "core/status_history.h"
#include "core/text_file.h"
#include "core/undefined_pairs.h"

namespace vorn {

// The similarity matrices kept between commands, and which of them the tree, ordination and
// export commands use.
struct ResultMatrices {
  enum class Kept { None, Standard, Minimum, Maximum, Average };

  std::optional<DistanceMatrix> standard;
  std::optional<DistanceMatrix> minimum;
  std::optional<DistanceMatrix> maximum;
  std::optional<DistanceMatrix> average;
  std::optional<DistanceMatrix> standardDeviation;
  Kept active = Kept::None;
  std::string activeName;  // at most 20 characters, e.g. "StdJaccard"
  LabelTable individuals;  // the individuals the kept matrices were computed for
  UndefinedMarks marks;    // of the active matrix: what its entries do not tell of pairs without a distance

  const DistanceMatrix* Active() const;
  void Clear() { *this = ResultMatrices(); }
};

// The last tree Trees > UPGMA or Trees > Neighbor-Joining wrote, with the fingerprint of the
// active matrix it was built from (before the transformation), for the cophenetic correlation.
struct BuiltTree {
  std::string newick;
  std::uint64_t matrixFingerprint = 0;
  DistanceTransformation transformation = DistanceTransformation::OneMinusS;
  std::string matrixName;
};

// The log file: open for appending from "Turn log on" until "Turn log off" or exit.
struct LogState {
  bool logging = false;
  std::optional<TextFileWriter> file;
};

struct Workspace {
  DataMatrix data;
  DataMatrix original;  // the matrix as loaded; "Restore Original Matrix" brings it back
  bool dataLoaded = false;

  Settings settings;
  FileNames files;
  GroupState groups;
  ResultMatrices results;
  RandomGenerator random;
  std::optional<Ordination> ordination;  // the last principal coordinate analysis
  std::optional<BuiltTree> lastTree;
  IndividualCoordinates coordinates;      // imported with the data or read from a file
  std::optional<MantelPairs> mantel;      // the last Mantel test, for its plot
  std::optional<StructureBars> structure;  // the last population structure run, for its bar plot
  std::optional<Correlogram> correlogram;  // the last spatial autocorrelation, for its picture
  std::optional<RarefactionCurves> rarefaction;  // the last band richness curves, for their picture
  FilterLog filterLog;                     // what the working data went through since the load

  StatusHistory status;
  LogState log;

  // Makes a freshly read matrix the working data and its original copy, and starts the filter
  // log. Both selections return to the whole data set: whatever was parked belongs to the
  // previous data.
  void InstallLoadedMatrix(DataMatrix matrix);

  // Releases the data and every result, as at exit.
  void ReleaseData();

  // The active matrix while it still describes the working individuals; after a load, a filter
  // or a group selection changed them it is not offered, so no consumer reads past its size or
  // pairs its entries with other labels.
  const DistanceMatrix* ActiveMatrix() const;

  // The last ordination and the last Mantel test while the working data are still those they
  // were computed from: after a load, an import, a filter, a replacement or a selection no
  // picture shows them under the groups of other data.
  const Ordination* CurrentOrdination() const;
  const MantelPairs* CurrentMantel() const;
  const Correlogram* CurrentCorrelogram() const;
  const RarefactionCurves* CurrentRarefaction() const;

  // The pairs of the active matrix (which must be offered) that have no distance.
  UndefinedPairs ActiveUndefinedPairs() const;
};

}  // namespace vorn
