#include "commands/dialogs/import_dialogs.h"

#include <charconv>

namespace vorn {
namespace {

constexpr const char* kSeparatorKeys[] = {"detect", "comma", "semicolon", "tab"};
constexpr char kSeparators[] = {0, ',', ';', '\t'};

Failure SettingsRefused(bool& settingsRefused, std::string message) {
  settingsRefused = true;
  return Failure{std::move(message)};
}

}  // namespace

std::optional<std::vector<std::size_t>> ColumnList(std::string_view text) {
  std::vector<std::size_t> columns;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == ',' || text[i] == ';') {
      ++i;
      continue;
    }
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), number);
    if (error != std::errc() || number == 0) return std::nullopt;
    columns.push_back(number);
    i = static_cast<std::size_t>(end - text.data());
  }
  return columns;
}

std::optional<Result<ImportedTable>> ImportDialog::Execute(Session& session, std::string_view text) {
  form.edited = [this, text](DialogForm&) { UpdatePreview(text); };
  UpdatePreview(text);
  std::optional<Result<ImportedTable>> chosen;
  for (;;) {
    if (!ShowModal(session.host)) break;
    bool refused = false;
    Result<ImportedTable> table = ReadWithControls(text, 0, refused);
    if (refused) {
      session.ErrorBox(table.error());
      UpdatePreview(text);
      continue;
    }
    chosen = std::move(table);
    break;
  }
  form.edited = nullptr;
  return chosen;
}

char ImportDialog::ChosenSeparator() const { return kSeparators[form["separator"].selected]; }

void ImportDialog::AddPreviewControls() {
  Control& preview = form.Add(LabelControl("preview", ""));
  preview.fixedPitch = true;
  form.Add(LabelControl("counts", ""));
}

void ImportDialog::UpdatePreview(std::string_view text) {
  bool refused = false;
  const Result<ImportedTable> table = ReadWithControls(text, kPreviewRows, refused);
  const char separator = ChosenSeparator() ? ChosenSeparator() : DetectSeparator(text);
  const std::string separatorText =
      "Separator: " + std::string(SeparatorName(separator)) + (ChosenSeparator() ? "" : " (detected)");
  if (table) {
    form["preview"].caption = LiteralCaption(ImportPreview(*table));
    const std::string first = table->cut ? "the first " + std::to_string(kPreviewRows) + " rows: " : "";
    form["counts"].caption = LiteralCaption(separatorText + "; " + first + ImportCounts(*table));
  } else {
    form["preview"].caption = LiteralCaption(RawPreview(text, separator));
    form["counts"].caption = LiteralCaption(separatorText + "; " + table.error());
  }
}

TImportTableDialog::TImportTableDialog() : ImportDialog("Import CSV / TSV Table") {
  form.Add(RadioGroupControl("separator", "Separator", {"detected", "comma", "semicolon", "tab"},
                             {std::begin(kSeparatorKeys), std::end(kSeparatorKeys)}));
  form.Add(RadioGroupControl("individuals", "Individuals in ...", {"rows", "columns"}, {"rows", "columns"}));
  form.Add(CheckBoxControl("locus_names", "Locus names in the first row (column)")).checked = true;
  form.Add(TextFieldControl("name_column", "Names of individuals in column (row), 0 for none", 5, true)).text = "1";
  form.Add(TextFieldControl("group_columns", "Group columns (rows), top level first"));
  form.Add(TextFieldControl("skip_columns", "Columns (rows) to leave out"));
  form.Add(TextFieldControl("coordinate_columns", "Coordinate columns (rows), none or two"));
  form.Add(RadioGroupControl("coordinates", "Coordinates", {"x, y", "latitude, longitude (degrees)"},
                             {"xy", "latitude_longitude"}));
  const ScoreValues defaults;
  form.Add(TextFieldControl("presence", "Present")).text = JoinValues(defaults.presence);
  form.Add(TextFieldControl("absence", "Absent")).text = JoinValues(defaults.absence);
  form.Add(TextFieldControl("missing", "Missing")).text = JoinValues(defaults.missing);
  form.Add(CheckBoxControl("empty_missing", "Empty cells are missing")).checked = defaults.emptyIsMissing;
  AddPreviewControls();
}

Result<ImportedTable> TImportTableDialog::ReadWithControls(std::string_view text, std::size_t rowLimit,
                                                           bool& settingsRefused) {
  TableImportOptions options;
  options.rowLimit = rowLimit;
  options.separator = ChosenSeparator();
  options.individualsInRows = form["individuals"].selected == 0;
  options.locusNames = form["locus_names"].checked;
  // A refused field is named with what it takes.
  const auto refuse = [&](const char* name, const char* key, const char* takes) {
    return SettingsRefused(settingsRefused,
                           std::string(name) + " (" + key + ") must be " + takes + ", not \"" + form[key].text + "\".");
  };
  const char* const kColumnNumbers = "column numbers from 1 up, apart by blanks, commas or semicolons";
  const auto name = ColumnList(form["name_column"].text);
  const auto groups = ColumnList(form["group_columns"].text);
  const auto skipped = ColumnList(form["skip_columns"].text);
  const auto coordinates = ColumnList(form["coordinate_columns"].text);
  if (form["name_column"].text == "0") {
    options.nameLine = 0;
  } else if (!name || name->size() != 1) {
    return refuse("The name column", "name_column", "one column number from 1 up, or 0 for none");
  } else {
    options.nameLine = name->front();
  }
  if (!groups) return refuse("The group columns", "group_columns", kColumnNumbers);
  if (!skipped) return refuse("The columns to leave out", "skip_columns", kColumnNumbers);
  if (!coordinates) return refuse("The coordinate columns", "coordinate_columns", kColumnNumbers);
  options.groupLines = *groups;
  options.skippedLines = *skipped;
  options.coordinateLines = *coordinates;
  options.coordinateKind = form["coordinates"].selected == 1 ? CoordinateKind::LatitudeLongitude : CoordinateKind::Planar;
  options.scores.presence = SplitValues(form["presence"].text);
  options.scores.absence = SplitValues(form["absence"].text);
  options.scores.missing = SplitValues(form["missing"].text);
  options.scores.emptyIsMissing = form["empty_missing"].checked;
  if (options.scores.presence.empty() || options.scores.absence.empty()) {
    return SettingsRefused(settingsRefused, "Present and absent each need a value.");
  }
  if (auto distinct = CheckDistinctValues(options.scores); !distinct) {
    return SettingsRefused(settingsRefused, distinct.error());
  }
  return ReadCsvTable(text, options);
}

TImportGenalexDialog::TImportGenalexDialog() : ImportDialog("Import GenAlEx Workbook") {
  form.Add(RadioGroupControl("separator", "Separator", {"detected", "comma", "semicolon", "tab"},
                             {std::begin(kSeparatorKeys), std::end(kSeparatorKeys)}));
  const GenalexOptions defaults;
  form.Add(TextFieldControl("presence", "Present")).text = defaults.presence;
  form.Add(TextFieldControl("absence", "Absent")).text = defaults.absence;
  form.Add(RadioGroupControl("missing", "Missing scores", {"-1", "0", "empty cells"}, {"minus_one", "zero", "empty"}));
  AddPreviewControls();
}

TImportSampleSheetDialog::TImportSampleSheetDialog() : ModalDialog("Import Sample Sheet") {
  form.Add(RadioGroupControl("separator", "Separator", {"detected", "comma", "semicolon", "tab"},
                             {std::begin(kSeparatorKeys), std::end(kSeparatorKeys)}));
  form.Add(TextFieldControl("name_column", "Names of individuals in column", 5, true)).text = "1";
  form.Add(TextFieldControl("group_columns", "Population columns, top level first"));
  form.Add(TextFieldControl("coordinate_columns", "Coordinate columns, none or two"));
  form.Add(RadioGroupControl("coordinates", "Coordinates", {"x, y", "latitude, longitude (degrees)"},
                             {"xy", "latitude_longitude"}));
}

std::optional<SampleSheetOptions> TImportSampleSheetDialog::Execute(Session& session) {
  for (;;) {
    if (!ShowModal(session.host)) return std::nullopt;
    SampleSheetOptions options;
    options.separator = kSeparators[form["separator"].selected];
    const auto name = ColumnList(form["name_column"].text);
    const auto groups = ColumnList(form["group_columns"].text);
    const auto coordinates = ColumnList(form["coordinate_columns"].text);
    const char* const kColumnNumbers = "column numbers from 1 up, apart by blanks, commas or semicolons";
    std::string refusal;
    if (!name || name->size() != 1) refusal = "The name column (name_column) must be one column number from 1 up";
    else if (!groups) refusal = std::string("The population columns (group_columns) must be ") + kColumnNumbers;
    else if (!coordinates || (coordinates->size() != 0 && coordinates->size() != 2)) {
      refusal = "The coordinate columns (coordinate_columns) must be none or two column numbers";
    }
    if (!refusal.empty()) {
      session.ErrorBox(refusal + ".");
      continue;
    }
    options.nameColumn = name->front();
    options.groupColumns = *groups;
    options.coordinateColumns = *coordinates;
    options.coordinateKind =
        form["coordinates"].selected == 1 ? CoordinateKind::LatitudeLongitude : CoordinateKind::Planar;
    return options;
  }
}

Result<ImportedTable> TImportGenalexDialog::ReadWithControls(std::string_view text, std::size_t rowLimit,
                                                             bool& settingsRefused) {
  GenalexOptions options;
  options.rowLimit = rowLimit;
  options.separator = ChosenSeparator();
  options.presence = std::string(TrimBlanks(form["presence"].text));
  options.absence = std::string(TrimBlanks(form["absence"].text));
  options.missing = static_cast<GenalexMissing>(form["missing"].selected);
  if (options.presence.empty() || options.absence.empty() || options.presence == options.absence) {
    return SettingsRefused(settingsRefused, "Present and absent need two different values.");
  }
  const char* const missingValue = options.missing == GenalexMissing::MinusOne ? "-1" : "0";
  if (options.missing != GenalexMissing::Empty && (options.presence == missingValue || options.absence == missingValue)) {
    return SettingsRefused(settingsRefused, std::string("Present and absent cannot be ") + missingValue +
                                                ", the value of missing scores.");
  }
  return ReadGenalex(text, options);
}

}  // namespace vorn
