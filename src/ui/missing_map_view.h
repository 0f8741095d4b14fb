// The Data tab's overview of the whole working matrix: the missing data map at the widget's
// size, individuals ordered by the groups of the tab's colour level. The map is made when the
// data change and its pixels when the size does, so that painting only copies them.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "core/workspace.h"
#include "pictures/missing_map.h"
#include "pictures/missing_map_painter.h"

namespace vorn::ui {

class MissingMapView : public QWidget {
 public:
  MissingMapView(const Workspace& workspace, QWidget* parent = nullptr);

  // The workspace's data as they stand now, ordered by the groups of level.
  void Refresh(std::size_t level);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const Workspace& workspace_;
  std::optional<MissingMap> map_;
  std::unique_ptr<MissingMapDrawing> drawing_;  // at the widget's size; made when first painted
};

}  // namespace vorn::ui
