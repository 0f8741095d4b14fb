// "File Parameter Selection": the layout and symbols of a data file, asked before every load
// and save. The fields are filled from the settings each time the dialog opens, and the settings
// take the dialog's values whenever it closes, whichever button closed it.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TFileParamDialog : public ModalDialog {
 public:
  TFileParamDialog();

  // "Ambiguity negative" is shown only while saving.
  void ShowAmbiguityNegative(bool shown) { form["ambiguity_negative"].visible = shown; }

  // Shows the dialog for layout until every symbol is one usable character or the user cancels,
  // storing the controls in layout each time it closes. True for OK. With previewedFile (the
  // file about to be loaded), its first lines are shown under the controls, so that a layout
  // that does not fit them is seen before OK.
  bool Execute(Session& session, FileLayout& layout, const std::string& previewedFile = {});

 private:
  void Fill(const FileLayout& layout);
  // Takes the controls into layout; a symbol field that does not hold one usable character
  // keeps the previous symbol. False when such a field was found.
  bool Store(FileLayout& layout);
};

}  // namespace vorn
