// Undo and Redo over the working data. A step is either the whole state the working data had on
// its other side (for the commands that build a new matrix: filters, replacement, merges,
// profiles, selections, restore, renames) or just the scores a hand edit changed. The steps
// kept weigh at most a byte budget, counted from the scores and names they hold: when a new
// step goes over it, the oldest steps are dropped first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "editing/score_edit.h"

namespace vorn {

// 256 MiB: 25 whole states of a 2000 x 5000 matrix.
inline constexpr std::size_t kUndoBudget = std::size_t{256} << 20;

// What a step of the working data changes: the matrix, the groups with the selection and what
// is parked, the filter log and the coordinates (kept by name, so a rename changes them).
struct MatrixState {
  DataMatrix data;
  GroupState groups;
  FilterLog filterLog;
  IndividualCoordinates coordinates;

  static MatrixState Of(const Workspace& ws) { return MatrixState{ws.data, ws.groups, ws.filterLog, ws.coordinates}; }
  // Exchanges this state with the workspace's.
  void SwapWith(Workspace& ws);
  // True when the workspace's working data are this state's.
  bool SameAs(const Workspace& ws) const;
  // The bytes of the scores and names it holds.
  std::size_t Bytes() const;
};

class MatrixHistory {
 public:
  explicit MatrixHistory(std::size_t budget = kUndoBudget) : budget_(budget) {}

  // A command named name changed the working data from before; Redo is forgotten. title is the
  // step's short name for a host's menu ("Set Scores"); empty: name.
  void RecordState(std::string name, MatrixState before, std::string title = {});
  // A hand edit changed these scores of the working matrix.
  void RecordScores(std::string name, std::vector<ScoreChange> changes, std::string title = {});
  // Takes the workspace one step back (or forward again); the step's name, nothing when there is
  // no step.
  std::optional<std::string> Undo(Workspace& ws);
  std::optional<std::string> Redo(Workspace& ws);
  // Forgets every step (new data were loaded).
  void Clear();

  // The short names of the steps Undo and Redo would take; nothing when there is none.
  std::optional<std::string> UndoTitle() const;
  std::optional<std::string> RedoTitle() const;
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t UndoSteps() const { return undo_.size(); }
  std::size_t Bytes() const;
  std::size_t Budget() const { return budget_; }
  // Counts the steps recorded, undone and redone: tells a caller whether a command moved the
  // history itself.
  std::uint64_t Moves() const { return moves_; }

 private:
  struct Step {
    std::string name;
    std::string title;
    std::optional<MatrixState> state;  // the other side of the step, or
    std::vector<ScoreChange> scores;   // the scores it changed
    std::size_t Bytes() const;
  };
  void Push(Step step);
  // Exchanges the workspace with the step's other side.
  static void Cross(Step& step, Workspace& ws, bool undo);
  void Trim();

  std::size_t budget_;
  std::deque<Step> undo_;  // oldest first
  std::deque<Step> redo_;  // the next to redo last
  std::uint64_t moves_ = 0;
};

}  // namespace vorn
