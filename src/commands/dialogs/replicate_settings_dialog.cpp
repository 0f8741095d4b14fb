#include "commands/dialogs/replicate_settings_dialog.h"

#include <charconv>
#include <optional>

#include "core/number_format.h"

namespace vorn {
namespace {

// A field, its caption and its mask, in the order the fields are read.
struct CountField {
  const char* key;
  const char* caption;
  int digits;
  std::int32_t ReplicateSettings::*setting;
};

constexpr CountField kFields[] = {
    {"bs", "BS: Resampled data matrix replicates for Jaccard:", 7, &ReplicateSettings::BS},
    {"tr", "TR: Number of average Jaccard trees to generate:", 6, &ReplicateSettings::TR},
    {"jc", "JC: Average Jaccard from how many random draws:", 7, &ReplicateSettings::JC},
    {"sh", "SH: Resampled data matrix replicates for Shannon:", 7, &ReplicateSettings::SH},
};

// A whole number in decimal digits, nothing else; one beyond a 32-bit count is no number.
std::optional<std::int32_t> ParseCount(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

TReplicateSettingsBox::TReplicateSettingsBox() : ModalDialog("Replicate Analyses Settings") {
  for (const CountField& field : kFields) form.Add(TextFieldControl(field.key, field.caption, field.digits, true));
  form.Add(LabelControl("rmd_mark", "RMD:"));
  form.Add(CheckBoxControl("use_mdr", "Replace Missing Data (set parameters in respective dialog)"));
  Fill(ReplicateSettings());
}

void TReplicateSettingsBox::Fill(const ReplicateSettings& settings) {
  for (const CountField& field : kFields) form[field.key].text = std::to_string(settings.*field.setting);
  form["use_mdr"].checked = settings.useMDR;
}

bool TReplicateSettingsBox::Execute(Session& session, ReplicateSettings& settings) {
  const ReplicateSettings before = settings;
  Fill(settings);
  for (;;) {
    if (!ShowModal(session.host)) {
      settings = before;
      return false;
    }
    bool allRead = true;
    for (const CountField& field : kFields) {
      const auto count = ParseCount(form[field.key].text);
      if (!count) {
        allRead = false;
        break;
      }
      settings.*field.setting = *count;
    }
    if (allRead) break;
    session.ErrorBox(kInvalidInput);
  }
  settings.useMDR = form["use_mdr"].checked;
  session.Report(ReplicateSettingsReport(settings));
  return true;
}

std::string ReplicateSettingsReport(const ReplicateSettings& settings) {
  return "Replicate Analysis Settings: UseMDR=" + BoolText(settings.useMDR) + ". BS=" + std::to_string(settings.BS) +
         " TR=" + std::to_string(settings.TR) + " JC=" + std::to_string(settings.JC) +
         " SH=" + std::to_string(settings.SH) + ".";
}

}  // namespace vorn
