// The dialogs of the replicate-sample commands. Each declares the replicates by name (a suffix
// pattern) or by groups (a level) and lists the samples and pairs that declaration finds as the
// user edits it; a declaration that finds none, a pattern that is no regular expression or a
// level whose groups do not resolve is refused with its reason and the dialog opens again.
// "Replicate Error Rates" adds a file for the tab-separated copy, "Remove Loci by Error Rate"
// the threshold and the least pairs a locus must be scored in, "Merge Replicates" what a
// disagreement gives and the merged individual's name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "quality/merge_replicates.h"
#include "quality/replicate_samples.h"

namespace vorn {

class ReplicateSamplesDialog : public ModalDialog {
 protected:
  explicit ReplicateSamplesDialog(std::string caption);

  // Shows the dialog until the declaration finds samples in the working data and readRest takes
  // the command's own fields (true); nothing on Cancel.
  template <typename ReadRest>
  std::optional<std::vector<ReplicateSample>> ShowUntilRead(Session& session, const ReadRest& readRest);

 private:
  Result<std::vector<ReplicateSample>> Declared(Session& session, bool quiet);
  void UpdateFound(Session& session);
};

struct ErrorRateChoices {
  std::vector<ReplicateSample> samples;
  std::string tableFile;  // "" for no tab-separated copy
};

class ReplicateErrorRatesDialog : public ReplicateSamplesDialog {
 public:
  ReplicateErrorRatesDialog();
  std::optional<ErrorRateChoices> Execute(Session& session);
};

struct ErrorRateRemovalChoices {
  std::vector<ReplicateSample> samples;
  double threshold = 0.05;    // a fraction
  std::size_t leastPairs = 0;  // 0: no locus goes for being scored in too few pairs
};

class ErrorRateRemovalDialog : public ReplicateSamplesDialog {
 public:
  ErrorRateRemovalDialog();
  std::optional<ErrorRateRemovalChoices> Execute(Session& session);
};

struct MergeChoices {
  std::vector<ReplicateSample> samples;
  Disagreement disagreement = Disagreement::Missing;
  MergedName naming = MergedName::FirstReplicate;
};

class MergeReplicatesDialog : public ReplicateSamplesDialog {
 public:
  MergeReplicatesDialog();
  std::optional<MergeChoices> Execute(Session& session);
};

}  // namespace vorn
