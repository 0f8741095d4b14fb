// The dialogs of File > Import: "Import CSV / TSV Table" and "Import GenAlEx Workbook". Each
// shows, under its settings, a preview of the first rows as they will be read and their counts
// (or the refusal with its cell), read anew from those rows only whenever the host reports an
// edit, so that a large file costs no more per keystroke than a small one. The settings are
// kept for the run; the whole table is read only for the settings of OK and handed to the
// command.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "io/csv_table_import.h"
#include "io/genalex_import.h"
#include "io/sample_sheet.h"

namespace vorn {

// What both dialogs share: the preview of the file text under the settings in the controls.
class ImportDialog : public ModalDialog {
 public:
  using ModalDialog::ModalDialog;

  // Shows the dialog for the file's text until its settings can be read or the user cancels.
  // The table as the settings of OK read it (a refusal included), nothing on Cancel.
  std::optional<Result<ImportedTable>> Execute(Session& session, std::string_view text);

 protected:
  // The rows of a preview.
  static constexpr std::size_t kPreviewRows = 50;

  // The table under the settings in the controls, up to rowLimit rows (0: the whole table); a
  // failure also for settings that cannot be read (then settingsRefused is set).
  virtual Result<ImportedTable> ReadWithControls(std::string_view text, std::size_t rowLimit,
                                                 bool& settingsRefused) = 0;
  // The separator chosen in the controls, 0 for "detected".
  char ChosenSeparator() const;
  void AddPreviewControls();

 private:
  // Fills the preview and counts labels from the first rows of text.
  void UpdatePreview(std::string_view text);
};

// "2 3", "2,3" or "2;3": column numbers from 1; nothing for anything else.
std::optional<std::vector<std::size_t>> ColumnList(std::string_view text);

class TImportTableDialog : public ImportDialog {
 public:
  TImportTableDialog();

 protected:
  Result<ImportedTable> ReadWithControls(std::string_view text, std::size_t rowLimit, bool& settingsRefused) override;
};

class TImportGenalexDialog : public ImportDialog {
 public:
  TImportGenalexDialog();

 protected:
  Result<ImportedTable> ReadWithControls(std::string_view text, std::size_t rowLimit, bool& settingsRefused) override;
};

// "Import Sample Sheet": the sheet's name column, population columns and coordinate columns;
// column lists that cannot be read are refused and the dialog opens again.
class TImportSampleSheetDialog : public ModalDialog {
 public:
  TImportSampleSheetDialog();
  std::optional<SampleSheetOptions> Execute(Session& session);
};

}  // namespace vorn
