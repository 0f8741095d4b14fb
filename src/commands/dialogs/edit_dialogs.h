// The dialogs of the Edit menu. "Set Scores" names a block of individuals by loci and its
// scores as text a script can carry: names separated by "|", and either one symbol for every
// cell or, per individual, a row of one symbol per locus, the rows separated by "|". "Rename"
// names an individual or a locus and its new name.
#pragma once

#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/result.h"
#include "editing/renaming.h"
#include "editing/score_edit.h"

namespace vorn {

class Session;

// The block the three texts describe; refuses rows that do not match the names.
Result<ScoreBlock> ScoreBlockOf(const std::string& individuals, const std::string& loci, const std::string& scores);
// The scores of a block of single symbols as the dialog writes them: "01|10".
std::string ScoreRowsText(const ScoreBlock& block);
// Names joined by "|".
std::string NameListText(const std::vector<std::string>& names);

class SetScoresDialog : public ModalDialog {
 public:
  SetScoresDialog();
  // Fills the fields with block (the grid's choice), which OK then sets.
  void Fill(const ScoreBlock& block);
  // The block at OK; nothing on Cancel or when the texts do not describe one (told).
  std::optional<ScoreBlock> Execute(Session& session);
};

struct RenameChoice {
  NameKind kind = NameKind::Individual;
  std::string name;
  std::string newName;
};

class RenameDialog : public ModalDialog {
 public:
  RenameDialog();
  void Fill(const RenameChoice& choice);
  std::optional<RenameChoice> Execute(Host& host);
};

}  // namespace vorn
