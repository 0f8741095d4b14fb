#include "commands/dialogs/file_param_dialog.h"

#include "core/text_encoding.h"
#include "core/text_file.h"

namespace vorn {
namespace {

struct SymbolField {
  const char* key;
  const char* caption;
  char FileLayout::*symbol;
};

constexpr SymbolField kSymbols[] = {
    {"presence", "Presence", &FileLayout::presence},
    {"absence", "Absence", &FileLayout::absence},
    {"ambiguity", "Ambiguity", &FileLayout::ambiguity},
    {"open_remark", "OpenRemark", &FileLayout::openRemark},
    {"close_remark", "CloseRemark", &FileLayout::closeRemark},
    {"end_of_data", "EndOfData", &FileLayout::endOfData},
};

struct SwitchField {
  const char* key;
  bool FileLayout::*flag;
};

constexpr SwitchField kSwitches[] = {
    {"individual_header", &FileLayout::individualHeader},
    {"locus_header", &FileLayout::locusHeader},
    {"delimited", &FileLayout::delimitedData},
    {"include_groups", &FileLayout::includeGroups},
    {"ambiguity_negative", &FileLayout::ambiguityNegative},
};

constexpr const char* kFrameHeaders = "Header presence for ...";
constexpr const char* kFrameSymbols = "Symbols";

// The first lines of the file, numbered as the reader's messages number them, each cut to 100
// characters, with tabs and other control characters shown as spaces.
std::string FilePreview(const std::string& path) {
  constexpr std::size_t kLines = 10, kWidth = 100;
  auto reader = LineReader::Open(path);
  if (!reader) return "";
  std::string preview = "First lines of the file:";
  std::string line;
  for (std::size_t number = 1; number <= kLines && reader->Next(line); ++number) {
    for (char& c : line) {
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    const std::string shown = DisplayText(line);
    const std::string_view cut = FirstCharacters(shown, kWidth);
    preview += "\n" + std::string(number < 10 ? " " : "") + std::to_string(number) + "  " + std::string(cut) +
               (cut.size() < shown.size() ? " ..." : "");
  }
  return preview;
}

}  // namespace

TFileParamDialog::TFileParamDialog() : ModalDialog("File Parameter Selection") {
  form.Add(RadioGroupControl("individuals", "Individuals in ...", {"rows", "columns"}, {"rows", "columns"}));
  form.Add(CheckBoxControl("individual_header", "individuals", kFrameHeaders));
  form.Add(CheckBoxControl("locus_header", "loci", kFrameHeaders));
  for (const auto& symbol : kSymbols) form.Add(CharFieldControl(symbol.key, symbol.caption, kFrameSymbols));
  form.Add(CheckBoxControl("delimited", "Delimited data"));
  form.Add(CheckBoxControl("include_groups", "Include Groups"));
  form.Add(CheckBoxControl("ambiguity_negative", "Ambiguity negative"));
  form.Add(LabelControl("note", "NB: The input file ought not contain the characters '<' or '>'."));
  Control& preview = form.Add(LabelControl("preview", ""));
  preview.fixedPitch = true;
  preview.visible = false;
  Fill(FileLayout{});  // shows the defaults until the first use fills it from the settings
}

void TFileParamDialog::Fill(const FileLayout& layout) {
  form["individuals"].selected = layout.individualsInColumns ? 1 : 0;
  for (const auto& field : kSwitches) form[field.key].checked = layout.*field.flag;
  for (const auto& field : kSymbols) form[field.key].text = std::string(1, layout.*field.symbol);
}

bool TFileParamDialog::Store(FileLayout& layout) {
  layout.individualsInColumns = form["individuals"].selected == 1;
  for (const auto& field : kSwitches) layout.*field.flag = form[field.key].checked;
  bool allUsable = true;
  for (const auto& field : kSymbols) {
    const std::string& text = form[field.key].text;
    if (text.size() == 1 && !IsDelimiter(text[0])) {
      layout.*field.symbol = text[0];
    } else {
      allUsable = false;
    }
  }
  return allUsable;
}

bool TFileParamDialog::Execute(Session& session, FileLayout& layout, const std::string& previewedFile) {
  Control& preview = form["preview"];
  preview.caption = previewedFile.empty() ? "" : LiteralCaption(FilePreview(previewedFile));
  preview.visible = !preview.caption.empty();
  Fill(layout);
  bool accepted = false;
  for (;;) {
    accepted = ShowModal(session.host);
    const bool usable = Store(layout);
    if (!accepted || usable) break;
    session.ErrorBox("Each symbol must be exactly one character, and not a space.");
    Fill(layout);
  }
  preview.visible = false;
  return accepted;
}

}  // namespace vorn
