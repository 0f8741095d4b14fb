#include "editing/score_edit.h"

namespace vorn {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The position of each name in labels, or the refusal of the first the labels lack.
Result<std::vector<std::size_t>> Positions(const LabelTable& labels, const std::vector<std::string>& names,
                                           const char* kind) {
  std::vector<std::size_t> positions;
  for (const std::string& name : names) {
    const long at = labels.Find(name);
    if (at < 0) return Failure{std::string("No ") + kind + " is named '" + name + "'."};
    positions.push_back(static_cast<std::size_t>(at));
  }
  return positions;
}

std::string Symbols(const FileLayout& layout) {
  return std::string(1, layout.presence) + ", " + layout.absence + " or " + layout.ambiguity;
}

// The score of the block's cell (individual i, locus l), or the refusal that names the cell.
Result<Cell> ScoreAt(const ScoreBlock& block, std::size_t i, std::size_t l, const FileLayout& layout) {
  const std::string& text = block.scores.size() == 1 ? block.scores[0] : block.scores[i * block.loci.size() + l];
  if (const std::optional<Cell> score = ScoreOfText(text, layout)) return *score;
  return Failure{block.individuals[i] + " " + block.loci[l] + ": '" + text + "' is not a score (" + Symbols(layout) + ")"};
}

}  // namespace

std::optional<Cell> ScoreOfText(std::string_view text, const FileLayout& layout) {
  text = Trimmed(text);
  if (text.size() != 1) return std::nullopt;
  const char c = text[0];
  for (const auto& [symbol, score] : {std::pair{layout.absence, Absence}, std::pair{layout.ambiguity, Missing},
                                      std::pair{layout.presence, Presence}, std::pair{'0', Absence},
                                      std::pair{'?', Missing}, std::pair{'1', Presence}}) {
    if (c == symbol) return score;
  }
  return std::nullopt;
}

char SymbolOf(Cell score, const FileLayout& layout) {
  return score == Presence ? layout.presence : score == Absence ? layout.absence : layout.ambiguity;
}

Result<std::vector<ScoreChange>> PlanScores(const DataMatrix& matrix, const FileLayout& layout, const ScoreBlock& block) {
  const auto individuals = Positions(matrix.individualLabels, block.individuals, "individual");
  if (!individuals) return Failure{individuals.error()};
  const auto loci = Positions(matrix.locusLabels, block.loci, "locus");
  if (!loci) return Failure{loci.error()};
  const std::size_t cells = individuals->size() * loci->size();
  if (block.scores.size() != 1 && block.scores.size() != cells) {
    return Failure{std::to_string(block.scores.size()) + " scores given for " + std::to_string(individuals->size()) +
                   " individuals by " + std::to_string(loci->size()) + " loci."};
  }
  std::vector<ScoreChange> changes;
  for (std::size_t i = 0; i < individuals->size(); ++i) {
    for (std::size_t l = 0; l < loci->size(); ++l) {
      const Result<Cell> score = ScoreAt(block, i, l, layout);
      if (!score) return Failure{score.error()};
      const std::size_t position = matrix.Position((*individuals)[i], (*loci)[l]);
      if (matrix.cells[position] != *score) changes.push_back(ScoreChange{position, matrix.cells[position], *score});
    }
  }
  return changes;
}

Result<ScoreBlock> SymbolBlock(const ScoreBlock& block, const FileLayout& layout) {
  ScoreBlock symbols{block.individuals, block.loci, {}};
  const std::size_t width = block.scores.size() == 1 ? 1 : block.loci.size();
  for (std::size_t at = 0; at < block.scores.size(); ++at) {
    const Result<Cell> score = ScoreAt(block, at / width, at % width, layout);
    if (!score) return Failure{score.error()};
    symbols.scores.emplace_back(1, SymbolOf(*score, layout));
  }
  return symbols;
}

void ApplyScores(DataMatrix& matrix, const std::vector<ScoreChange>& changes, bool undo) {
  for (const ScoreChange& change : changes) matrix.cells[change.position] = undo ? change.before : change.after;
}

std::string ChangeLine(const DataMatrix& matrix, const FileLayout& layout, const ScoreChange& change) {
  const std::size_t individual = change.position % matrix.individualCount;
  const std::size_t locus = change.position / matrix.individualCount;
  return matrix.individualLabels[individual] + " " + matrix.locusLabels[locus] + ": " + SymbolOf(change.before, layout) +
         " \u2192 " + SymbolOf(change.after, layout);
}

}  // namespace vorn
