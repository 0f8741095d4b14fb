// The dialogs of File > Import: "Import CSV / TSV Table" and "Import GenAlEx Workbook". Each
// shows, under its settings, a preview of the first rows as they will be read and the counts (or
// the refusal with its cell), computed anew whenever the host reports an edit. The settings are
// kept for the run; the table read for the settings of OK is handed to the command.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/modal_dialog.h"
#include "core/session.h"
#include "io/csv_table_import.h"
#include "io/genalex_import.h"

namespace vorn {

// What both dialogs share: the preview of the file text under the settings in the controls.
class ImportDialog : public ModalDialog {
 public:
  using ModalDialog::ModalDialog;

  // Shows the dialog for the file's text until its settings can be read or the user cancels.
  // The table as the settings of OK read it (a refusal included), nothing on Cancel.
  std::optional<Result<ImportedTable>> Execute(Session& session, std::string_view text);

 protected:
  // The table under the settings in the controls; a failure also for settings that cannot be
  // read (then settingsRefused is set).
  virtual Result<ImportedTable> ReadWithControls(std::string_view text, bool& settingsRefused) = 0;
  // The separator chosen in the controls, 0 for "detected".
  char ChosenSeparator() const;
  void AddPreviewControls();

 private:
  // Fills the preview and counts labels; keeps the table read for the next call of Take.
  void UpdatePreview(std::string_view text);

  std::optional<Result<ImportedTable>> lastRead_;
  std::string lastState_;  // the controls lastRead_ was read with
};

class TImportTableDialog : public ImportDialog {
 public:
  TImportTableDialog();

 protected:
  Result<ImportedTable> ReadWithControls(std::string_view text, bool& settingsRefused) override;
};

class TImportGenalexDialog : public ImportDialog {
 public:
  TImportGenalexDialog();

 protected:
  Result<ImportedTable> ReadWithControls(std::string_view text, bool& settingsRefused) override;
};

}  // namespace vorn
