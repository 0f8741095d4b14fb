// The dialogs of the genotyping-service commands: "Import DArT Presence/Absence Report" (the
// separator, how the metric columns are told and the column that names the markers) and
// "Remove Loci by Locus Metric" (a metric of the working loci, below or above, the threshold).
// Settings that cannot be read are refused with their reason and the dialog opens again; the
// settings are kept for the run.
#pragma once

#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/locus_metrics.h"
#include "core/session.h"
#include "io/dart_report_import.h"

namespace vorn {

class TImportReportDialog : public ModalDialog {
 public:
  TImportReportDialog();
  // The settings of OK; nothing on Cancel.
  std::optional<ReportImportOptions> Execute(Session& session);
};

enum class MetricSide { Below, Above };

struct MetricRemovalChoices {
  std::string metric;
  MetricSide side = MetricSide::Below;
  Real threshold = 0;
};

class MetricRemovalDialog : public ModalDialog {
 public:
  MetricRemovalDialog();
  // Offers the metrics of the working loci, the one chosen last time selected again.
  std::optional<MetricRemovalChoices> Execute(Session& session, const LocusMetrics& metrics);

 private:
  std::string lastMetric_ = "CallRate";
};

}  // namespace vorn
