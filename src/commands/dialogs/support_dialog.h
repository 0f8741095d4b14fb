// "Support on Tree": the file of the reference tree (its first tree is taken), the file of the
// replicate trees, the file the labelled tree is written to, and how trees are compared: by
// clusters (rooted), by splits (unrooted), or as the reference suggests (splits when its root
// has three children, as a neighbor-joining tree's has).
#pragma once

#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

enum class SupportCompare { Automatic = 0, Clusters = 1, Splits = 2 };

struct SupportChoices {
  std::string referenceFile;
  std::string replicateFile;
  std::string outputFile;
  SupportCompare compare = SupportCompare::Automatic;
};

class SupportDialog : public ModalDialog {
 public:
  SupportDialog();
  // Shows the dialog, with empty file fields filled from files; nothing on Cancel or when a
  // file name is left empty (told).
  std::optional<SupportChoices> Execute(Session& session, const FileNames& files);
};

}  // namespace vorn
