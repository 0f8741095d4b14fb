#include "commands/dialogs/report_dialogs.h"

#include "core/number_input.h"
#include "io/csv_tokenizer.h"

namespace vorn {
namespace {

constexpr const char* kSeparatorKeys[] = {"detect", "comma", "semicolon", "tab"};
constexpr char kSeparators[] = {0, ',', ';', '\t'};

}  // namespace

TImportReportDialog::TImportReportDialog() : ModalDialog("Import DArT Presence/Absence Report") {
  form.Add(RadioGroupControl("separator", "Separator", {"detected", "comma", "semicolon", "tab"},
                             {std::begin(kSeparatorKeys), std::end(kSeparatorKeys)}));
  form.Add(RadioGroupControl("metric_columns", "Locus-metric columns",
                             {"marked with * in the top rows", "every column up to the last metric"},
                             {"marked", "up_to_last"}));
  form.Add(TextFieldControl("last_metric", "The last metric column"));
  form.Add(TextFieldControl("marker_column", "The column of the marker names")).text = ReportImportOptions().markerColumn;
}

std::optional<ReportImportOptions> TImportReportDialog::Execute(Session& session) {
  for (;;) {
    if (!ShowModal(session.host)) return std::nullopt;
    ReportImportOptions options;
    options.separator = kSeparators[form["separator"].selected];
    options.markerColumn = std::string(TrimBlanks(form["marker_column"].text));
    if (form["metric_columns"].selected == 1) options.lastMetric = std::string(TrimBlanks(form["last_metric"].text));
    if (options.markerColumn.empty()) {
      session.ErrorBox("The column of the marker names (marker_column) needs a name.");
    } else if (form["metric_columns"].selected == 1 && options.lastMetric.empty()) {
      session.ErrorBox("The last metric column (last_metric) needs a name.");
    } else {
      return options;
    }
  }
}

MetricRemovalDialog::MetricRemovalDialog() : ModalDialog("Remove Loci by Locus Metric") {
  form.Add(DropDownControl("metric", "Locus metric"));
  form.Add(RadioGroupControl("side", "Remove loci whose value lies", {"below the threshold", "above the threshold"},
                             {"below", "above"}));
  form.Add(TextFieldControl("threshold", "Threshold")).text = "0.95";
}

std::optional<MetricRemovalChoices> MetricRemovalDialog::Execute(Session& session, const LocusMetrics& metrics) {
  Control& metric = form["metric"];
  metric.items = metrics.names;
  const long last = metrics.Find(lastMetric_);
  metric.selected = last >= 0 ? static_cast<int>(last) : 0;
  for (;;) {
    if (!ShowModal(session.host)) return std::nullopt;
    const auto threshold = ParseReal(form["threshold"].text);
    if (!threshold) {
      session.ErrorBox(kInvalidInput);
      continue;
    }
    MetricRemovalChoices choices;
    choices.metric = metrics.names[static_cast<std::size_t>(form["metric"].selected)];
    choices.side = form["side"].selected == 1 ? MetricSide::Above : MetricSide::Below;
    choices.threshold = *threshold;
    lastMetric_ = choices.metric;
    return choices;
  }
}

}  // namespace vorn
