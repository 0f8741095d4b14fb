#include "commands/dialogs/edit_dialogs.h"

#include "core/session.h"

namespace vorn {
namespace {

std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  if (text.empty()) return names;
  std::size_t start = 0;
  for (std::size_t bar = text.find('|'); ; bar = text.find('|', start)) {
    names.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return names;
    start = bar + 1;
  }
}

}  // namespace

Result<ScoreBlock> ScoreBlockOf(const std::string& individuals, const std::string& loci, const std::string& scores) {
  ScoreBlock block{SplitNames(individuals), SplitNames(loci), {}};
  if (block.individuals.empty() || block.loci.empty()) return Failure{"Set Scores needs at least one individual and one locus."};
  if (scores.size() == 1) {
    block.scores.push_back(scores);
    return block;
  }
  // Rows of one symbol per locus, each after a "|" but the first: a symbol may itself be "|".
  const std::size_t rows = block.individuals.size(), width = block.loci.size();
  bool fits = scores.size() == rows * (width + 1) - 1;
  for (std::size_t row = 1; fits && row < rows; ++row) fits = scores[row * (width + 1) - 1] == '|';
  if (!fits) {
    return Failure{"The scores '" + scores + "' are not " + std::to_string(rows) + " rows of " + std::to_string(width) +
                   " symbols separated by |, nor one symbol for all."};
  }
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t column = 0; column < width; ++column) block.scores.push_back(scores.substr(row * (width + 1) + column, 1));
  }
  return block;
}

std::string ScoreRowsText(const ScoreBlock& block) {
  std::string text;
  const std::size_t width = block.loci.size();
  for (std::size_t at = 0; at < block.scores.size(); ++at) {
    if (at > 0 && at % width == 0) text += '|';
    text += block.scores[at];
  }
  return text;
}

std::string NameListText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "|") + name;
  return text;
}

SetScoresDialog::SetScoresDialog() : ModalDialog("Set Scores") {
  form.Add(TextFieldControl("individuals", "&Individuals (names separated by |)"));
  form.Add(TextFieldControl("loci", "&Loci (names separated by |)"));
  form.Add(TextFieldControl("scores", "&Scores (one symbol for all, or a row per individual, rows separated by |)"));
}

void SetScoresDialog::Fill(const ScoreBlock& block) {
  form["individuals"].text = NameListText(block.individuals);
  form["loci"].text = NameListText(block.loci);
  form["scores"].text = ScoreRowsText(block);
}

std::optional<ScoreBlock> SetScoresDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  Result<ScoreBlock> block = ScoreBlockOf(form["individuals"].text, form["loci"].text, form["scores"].text);
  if (!session.Check(block)) return std::nullopt;
  return std::move(*block);
}

RenameDialog::RenameDialog() : ModalDialog("Rename") {
  form.Add(RadioGroupControl("kind", "Rename", {"&Individual", "&Locus"}, {"individual", "locus"}));
  form.Add(TextFieldControl("name", "&Name"));
  form.Add(TextFieldControl("new_name", "N&ew name"));
}

void RenameDialog::Fill(const RenameChoice& choice) {
  form["kind"].selected = choice.kind == NameKind::Individual ? 0 : 1;
  form["name"].text = choice.name;
  form["new_name"].text = choice.newName;
}

std::optional<RenameChoice> RenameDialog::Execute(Host& host) {
  if (!ShowModal(host)) return std::nullopt;
  return RenameChoice{form["kind"].selected == 1 ? NameKind::Locus : NameKind::Individual, form["name"].text,
                      form["new_name"].text};
}

}  // namespace vorn
