#include "commands/dialogs/consensus_settings_dialog.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "commands/dialogs/percent_field.h"

namespace vorn {
namespace {

constexpr const char* kMajorityFrame = "Majority Rule Consensus Trees";

// A whole number in decimal, blanks around it allowed; nothing for any other text or a number
// beyond 32 bits.
std::optional<std::int32_t> ParseWhole(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
  return value;
}

Control Field(const char* key, const char* caption, const char* suffix, const char* frame = "") {
  Control control = TextFieldControl(key, caption);
  control.suffix = suffix;
  control.frame = frame;
  return control;
}

Control Hidden(Control control) {
  control.visible = false;
  return control;
}

// One numeric field: its key, what it is called in messages, and the values it accepts.
struct WholeField {
  const char* key;
  const char* name;
  std::int32_t low;
  std::int32_t high;
};

constexpr WholeField kMajority{"mr_threshold", "The majority-rule consensus threshold", 50, 100};
constexpr WholeField kRThreshold{"r_threshold", "The R-support consensus threshold", 50, 100};
constexpr WholeField kRFrom{"r_from", "The smallest r", 1, INT32_MAX};
constexpr WholeField kRTo{"r_to", "The largest r", 1, INT32_MAX};
constexpr WholeField kDigits{"digits", "The precision", 0, 255};
constexpr WholeField kRx{"rx_threshold", "The Rx-consensus threshold", 1, INT32_MAX};
constexpr WholeField kStop{"stop_percent", "The stop percentage", INT32_MIN, INT32_MAX};

// The field's value, or nothing after telling why it is refused.
std::optional<std::int32_t> Read(Session& session, const DialogForm& form, const WholeField& field) {
  const auto value = ParseWhole(form[field.key].text);
  if (!value) {
    session.ErrorBox(kInvalidConsensusInput);
    return std::nullopt;
  }
  if (*value < field.low || *value > field.high) {
    std::string range = field.high == INT32_MAX ? "at least " + std::to_string(field.low)
                                                : "from " + std::to_string(field.low) + " to " + std::to_string(field.high);
    session.ErrorBox(std::string(field.name) + " must be " + range + ", not " + std::to_string(*value) +
                     "; it keeps its value.");
    return std::nullopt;
  }
  return value;
}

template <typename Setting>
void Store(Session& session, const DialogForm& form, const WholeField& field, Setting& setting) {
  if (const auto value = Read(session, form, field)) setting = static_cast<Setting>(*value);
}

}  // namespace

TConsRDlg::TConsRDlg() : ModalDialog("Consensus & R-support Options") {
  form.Add(Field(kMajority.key, "Majority Rule Consensus Threshold...", "%", kMajorityFrame));
  form.Add(Field(kRThreshold.key, "Use Majority Rule Consensus at...", "%"));
  form.Add(Field(kRFrom.key, "r value ranging from...", ""));
  form.Add(Field(kRTo.key, "to...", ""));
  form.Add(Field(kDigits.key, "Desired precision of R-values...", "digits"));
  form.Add(Field(kRx.key, "Rx-Consensus Threshold r=", ""));
  form.Add(Hidden(CheckBoxControl("output_inconsistent", "Output inconsistent trees")));
  form.Add(Hidden(CheckBoxControl("output_individual", "Output individual consensus trees at a given r value")));
  form.Add(Hidden(CheckBoxControl("stop_inconsistent", "Stop if inconsistent trees are more than ")));
  Control& stop = form.Add(Hidden(Field(kStop.key, "", "% JC")));
  stop.besideKey = "stop_inconsistent";
  Fill(ConsensusSettings());
}

void TConsRDlg::Fill(const ConsensusSettings& settings) {
  form[kMajority.key].text = std::to_string(settings.majorityThreshold);
  form[kRThreshold.key].text = std::to_string(settings.rSupportThreshold);
  form[kRFrom.key].text = std::to_string(settings.rFrom);
  form[kRTo.key].text = std::to_string(settings.rTo);
  form[kDigits.key].text = std::to_string(settings.precisionDigits);
  form[kRx.key].text = std::to_string(settings.rxThreshold);
  form["output_inconsistent"].checked = settings.outputInconsistentTrees;
  form["output_individual"].checked = settings.outputIndividualConsensusTrees;
  form["stop_inconsistent"].checked = settings.stopInconsistentFraction != -9.0;
  form[kStop.key].text = WholePercentText(settings.stopInconsistentFraction);
}

bool TConsRDlg::Execute(Session& session, ConsensusSettings& settings) {
  Fill(settings);
  if (!ShowModal(session.host)) return false;
  Store(session, form, kMajority, settings.majorityThreshold);
  Store(session, form, kRThreshold, settings.rSupportThreshold);
  // The range is taken only as a whole, so that r from never exceeds r to.
  const auto rFrom = Read(session, form, kRFrom);
  const auto rTo = Read(session, form, kRTo);
  if (rFrom || rTo) {
    const std::int32_t from = rFrom.value_or(settings.rFrom), to = rTo.value_or(settings.rTo);
    if (from > to) {
      session.ErrorBox("The smallest r (" + std::to_string(from) + ") must not exceed the largest r (" +
                       std::to_string(to) + "); both keep their values.");
    } else {
      settings.rFrom = from;
      settings.rTo = to;
    }
  }
  Store(session, form, kDigits, settings.precisionDigits);
  Store(session, form, kRx, settings.rxThreshold);
  settings.outputInconsistentTrees = form["output_inconsistent"].checked;
  settings.outputIndividualConsensusTrees = form["output_individual"].checked;
  if (form["stop_inconsistent"].checked) {
    if (const auto percent = Read(session, form, kStop)) settings.stopInconsistentFraction = *percent / 100.0;
  } else {
    settings.stopInconsistentFraction = -9.0;
  }
  session.Report(ConsensusSettingsReport(settings));
  return true;
}

std::string ConsensusSettingsReport(const ConsensusSettings& settings) {
  return "MR-Thresh=" + std::to_string(settings.majorityThreshold) + "%. R: MR-Thresh=" +
         std::to_string(settings.rSupportThreshold) + "%. Rx-Thresh= " + std::to_string(settings.rxThreshold) +
         ". r: " + std::to_string(settings.rFrom) + "-" + std::to_string(settings.rTo) + ". Precision " +
         std::to_string(settings.precisionDigits) + " digits.";
}

}  // namespace vorn
