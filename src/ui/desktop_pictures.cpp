#include "ui/desktop_pictures.h"

#include <filesystem>

namespace vorn::ui {
namespace {

void Raise(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

}  // namespace

void DesktopPictures::ShowTreeViewer(Session& session) {
  const bool fresh = !treeViewer_;
  if (fresh) treeViewer_ = new TreeViewerWindow(session, parent_);
  treeViewer_->Refresh();
  Raise(*treeViewer_);
  // A new viewer starts on the tree file when there is one.
  std::error_code error;
  if (fresh && std::filesystem::is_regular_file(session.ws.files.tree, error)) treeViewer_->OpenFile(session.ws.files.tree);
}

void DesktopPictures::ShowPcoaPlot(Session& session) {
  if (!pcoaPlot_) pcoaPlot_ = new PcoaPlotWindow(session, parent_);
  pcoaPlot_->Refresh();
  Raise(*pcoaPlot_);
}

void DesktopPictures::Refresh() {
  if (treeViewer_) treeViewer_->Refresh();
  if (pcoaPlot_) pcoaPlot_->Refresh();
}

}  // namespace vorn::ui
