// "T-testing": which groups the Shannon t-tests compare, which of the two tests run, and how
// the results are written. The check list shows every group with its selection flag; the
// controls show the stored settings each time the dialog opens.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/group_lists.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TtTstDlg : public ModalDialog {
 public:
  TtTstDlg();

  // Shows the dialog. On OK stores the groups' flags and the confidence choice, then reads α
  // (when the significance output is chosen) and stores the four check boxes; false when the
  // user cancelled or α was no percentage (already told), which ends the command.
  bool Execute(Session& session, GroupList& groups, bool showFullPath, TTestSettings& settings);

 private:
  void Fill(const GroupList& groups, bool showFullPath, const TTestSettings& settings);
};

}  // namespace vorn
