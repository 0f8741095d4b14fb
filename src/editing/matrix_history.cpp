#include "editing/matrix_history.h"

#include <algorithm>
#include <utility>

namespace vorn {
namespace {

// A name's bytes with what a string of it costs beside them.
std::size_t NameBytes(const std::string& name) { return sizeof(std::string) + name.size(); }

std::size_t LabelBytes(const LabelTable& labels) {
  std::size_t bytes = 0;
  for (const std::string& label : labels.All()) bytes += NameBytes(label);
  return bytes;
}

std::size_t ListBytes(const GroupList& list) {
  std::size_t bytes = 0;
  for (const GroupEntry& entry : list) {
    bytes += NameBytes(entry.name);
    for (const std::string& member : entry.members) bytes += NameBytes(member);
  }
  return bytes;
}

bool SameParked(const GroupState& a, const GroupState& b) {
  const auto sameIndividuals = [](const ParkedIndividuals& x, const ParkedIndividuals& y) {
    return x.cells == y.cells && x.labels == y.labels && x.locusLabels == y.locusLabels;
  };
  const auto sameLoci = [](const ParkedLoci& x, const ParkedLoci& y) {
    return x.cells == y.cells && x.labels == y.labels && x.individualLabels == y.individualLabels;
  };
  if (a.parkedIndividuals.has_value() != b.parkedIndividuals.has_value()) return false;
  if (a.parkedLoci.has_value() != b.parkedLoci.has_value()) return false;
  if (a.parkedIndividuals && !sameIndividuals(*a.parkedIndividuals, *b.parkedIndividuals)) return false;
  return !a.parkedLoci || sameLoci(*a.parkedLoci, *b.parkedLoci);
}

}  // namespace

void MatrixState::SwapWith(Workspace& ws) {
  std::swap(data, ws.data);
  std::swap(groups, ws.groups);
  std::swap(filterLog, ws.filterLog);
  std::swap(coordinates, ws.coordinates);
}

bool MatrixState::SameAs(const Workspace& ws) const {
  const auto samePoint = [](const auto& a, const auto& b) {
    return a.first == b.first && a.second.first == b.second.first && a.second.second == b.second.second;
  };
  const auto& points = ws.coordinates.points;
  const bool sameCoordinates = coordinates.kind == ws.coordinates.kind && coordinates.points.size() == points.size() &&
                               std::equal(coordinates.points.begin(), coordinates.points.end(), points.begin(), samePoint);
  return data == ws.data && sameCoordinates && groups.groups == ws.groups.groups &&
         groups.locusSets == ws.groups.locusSets && groups.activeGroup == ws.groups.activeGroup &&
         groups.activeLocusSet == ws.groups.activeLocusSet && groups.mergedFrom == ws.groups.mergedFrom &&
         SameParked(groups, ws.groups) && filterLog.steps.size() == ws.filterLog.steps.size();
}

std::size_t MatrixState::Bytes() const {
  std::size_t bytes = data.cells.size() + LabelBytes(data.individualLabels) + LabelBytes(data.locusLabels);
  bytes += ListBytes(groups.groups) + ListBytes(groups.locusSets);
  if (groups.parkedIndividuals) {
    bytes += groups.parkedIndividuals->cells.size() + LabelBytes(groups.parkedIndividuals->labels) +
             LabelBytes(groups.parkedIndividuals->locusLabels);
  }
  if (groups.parkedLoci) {
    bytes += groups.parkedLoci->cells.size() + LabelBytes(groups.parkedLoci->labels) +
             LabelBytes(groups.parkedLoci->individualLabels);
  }
  return bytes + coordinates.points.size() * (sizeof(CoordinatePoint) + sizeof(std::string) + 32);
}

std::size_t MatrixHistory::Step::Bytes() const {
  return NameBytes(name) + title.size() + (state ? state->Bytes() : 0) + scores.size() * sizeof(ScoreChange);
}

void MatrixHistory::RecordState(std::string name, MatrixState before, std::string title) {
  Push(Step{std::move(name), std::move(title), std::move(before), {}});
}

void MatrixHistory::RecordScores(std::string name, std::vector<ScoreChange> changes, std::string title) {
  Push(Step{std::move(name), std::move(title), std::nullopt, std::move(changes)});
}

std::optional<std::string> MatrixHistory::UndoTitle() const {
  if (undo_.empty()) return std::nullopt;
  return undo_.back().title.empty() ? undo_.back().name : undo_.back().title;
}

std::optional<std::string> MatrixHistory::RedoTitle() const {
  if (redo_.empty()) return std::nullopt;
  return redo_.back().title.empty() ? redo_.back().name : redo_.back().title;
}

void MatrixHistory::Push(Step step) {
  ++moves_;
  redo_.clear();
  undo_.push_back(std::move(step));
  Trim();
}

void MatrixHistory::Cross(Step& step, Workspace& ws, bool undo) {
  if (step.state) {
    step.state->SwapWith(ws);
  } else {
    ApplyScores(ws.data, step.scores, undo);
  }
}

std::optional<std::string> MatrixHistory::Undo(Workspace& ws) {
  if (undo_.empty()) return std::nullopt;
  ++moves_;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  Cross(step, ws, true);
  std::string name = step.name;
  redo_.push_back(std::move(step));
  Trim();
  return name;
}

std::optional<std::string> MatrixHistory::Redo(Workspace& ws) {
  if (redo_.empty()) return std::nullopt;
  ++moves_;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  Cross(step, ws, false);
  std::string name = step.name;
  undo_.push_back(std::move(step));
  Trim();
  return name;
}

void MatrixHistory::Clear() {
  if (!undo_.empty() || !redo_.empty()) ++moves_;
  undo_.clear();
  redo_.clear();
}

std::size_t MatrixHistory::Bytes() const {
  std::size_t bytes = 0;
  for (const Step& step : undo_) bytes += step.Bytes();
  for (const Step& step : redo_) bytes += step.Bytes();
  return bytes;
}

// The oldest undo steps go first, then the redo steps furthest away.
void MatrixHistory::Trim() {
  std::size_t bytes = Bytes();
  while (bytes > budget_ && !undo_.empty()) {
    bytes -= undo_.front().Bytes();
    undo_.pop_front();
  }
  while (bytes > budget_ && !redo_.empty()) {
    bytes -= redo_.front().Bytes();
    redo_.pop_front();
  }
}

}  // namespace vorn
