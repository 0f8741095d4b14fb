// The picture maker of the desktop: files as scripts draw them (the report's .odt too), and the two viewer windows,
// each created once and brought to the front, showing the workspace as it stands when opened.
#pragma once

#include <QPointer>

#include "pictures/picture_files.h"
#include "ui/pcoa_plot_window.h"
#include "ui/report_text_document.h"
#include "ui/tree_viewer_window.h"

namespace vorn::ui {

class DesktopPictures : public DocumentFiles {
 public:
  explicit DesktopPictures(QWidget* parent) : parent_(parent) {}

  void ShowTreeViewer(Session& session) override;
  void ShowPcoaPlot(Session& session) override;
  // The open windows take the workspace as it stands now.
  void Refresh();

  TreeViewerWindow* TreeViewer() const { return treeViewer_; }
  PcoaPlotWindow* PcoaPlot() const { return pcoaPlot_; }

 private:
  QWidget* parent_;
  QPointer<TreeViewerWindow> treeViewer_;
  QPointer<PcoaPlotWindow> pcoaPlot_;
};

}  // namespace vorn::ui
