#include "commands/shell/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "commands/shell/dialog_answer.h"
#include "commands/shell/main_program.h"

namespace vorn {
namespace {

// Every field of a layout, by name: a flag or a symbol.
struct LayoutField {
  const char* name;
  bool FileLayout::*flag;
  char FileLayout::*symbol;
};

constexpr LayoutField kFields[] = {
    {"columns", &FileLayout::individualsInColumns, nullptr},
    {"individual_header", &FileLayout::individualHeader, nullptr},
    {"locus_header", &FileLayout::locusHeader, nullptr},
    {"presence", nullptr, &FileLayout::presence},
    {"absence", nullptr, &FileLayout::absence},
    {"ambiguity", nullptr, &FileLayout::ambiguity},
    {"open_remark", nullptr, &FileLayout::openRemark},
    {"close_remark", nullptr, &FileLayout::closeRemark},
    {"end_of_data", nullptr, &FileLayout::endOfData},
    {"delimited", &FileLayout::delimitedData, nullptr},
    {"include_groups", &FileLayout::includeGroups, nullptr},
};

// The imports a recent file can name: the handler, and the dialog whose values it keeps.
struct RecentImport {
  std::string_view handler;
  ModalDialog& (*dialog)(Dialogs&);
};

constexpr RecentImport kImports[] = {
    {"ImportCsvTable1Click", [](Dialogs& d) -> ModalDialog& { return d.importTable; }},
    {"ImportGenalex1Click", [](Dialogs& d) -> ModalDialog& { return d.importGenalex; }},
    {"ImportDartReport1Click", [](Dialogs& d) -> ModalDialog& { return d.importReport; }},
};

ModalDialog* ImportDialogOf(Dialogs& dialogs, std::string_view handler) {
  for (const RecentImport& import : kImports) {
    if (import.handler == handler) return &import.dialog(dialogs);
  }
  return nullptr;
}

}  // namespace

void RecentFiles::Add(const std::string& path, const FileLayout& layout) { Put(RecentFile{path, layout, kLoadHandler, {}}); }

void RecentFiles::AddImport(const std::string& path, const std::string& handler, const std::string& settings) {
  Put(RecentFile{path, FileLayout(), handler, settings});
}

void RecentFiles::Put(RecentFile entry) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(entry.path, error);
  if (!error) entry.path = absolute.lexically_normal().string();
  std::erase_if(files_, [&](const RecentFile& file) { return file.path == entry.path; });
  files_.insert(files_.begin(), std::move(entry));
  if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

std::string LayoutText(const FileLayout& layout) {
  std::string text;
  for (const LayoutField& field : kFields) {
    const int value = field.flag ? int{layout.*field.flag} : static_cast<unsigned char>(layout.*field.symbol);
    text += (text.empty() ? "" : ",") + std::string(field.name) + "=" + std::to_string(value);
  }
  return text;
}

std::optional<FileLayout> ParseLayoutText(const std::string& text) {
  std::map<std::string, int, std::less<>> values;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    const auto equals = item.find('=');
    if (equals == std::string::npos) return std::nullopt;
    try {
      values[item.substr(0, equals)] = std::stoi(item.substr(equals + 1));
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  FileLayout layout;
  for (const LayoutField& field : kFields) {
    const auto found = values.find(field.name);
    if (found == values.end()) return std::nullopt;
    const int value = found->second;
    if (field.flag) {
      if (value != 0 && value != 1) return std::nullopt;
      layout.*field.flag = value == 1;
    } else {
      if (value < 1 || value > 255) return std::nullopt;
      layout.*field.symbol = static_cast<char>(value);
    }
  }
  return layout;
}

std::string RecentWayText(TMainPrg& app, const RecentFile& file) {
  if (!file.IsImport()) return "";
  const ModalDialog* dialog = ImportDialogOf(app.dialogs, file.handler);
  return dialog ? dialog->form.Caption() : file.handler;
}

Status RestoreRecentSettings(TMainPrg& app, const RecentFile& file) {
  if (!file.IsImport()) {
    app.ws.settings.layout = file.layout;
    return Success();
  }
  ModalDialog* dialog = ImportDialogOf(app.dialogs, file.handler);
  if (!dialog) return Failure{"The recent file " + file.path + " names an import this program does not have: " + file.handler + "."};
  if (auto applied = ApplyDialogAnswer(dialog->form, file.settings); !applied) {
    return Failure{"The settings kept for the recent file " + file.path + " cannot be read: " + applied.error() + "."};
  }
  return Success();
}

}  // namespace vorn
