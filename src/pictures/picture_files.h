// Pictures as files: the drawing of a tree or a scatter plot written as SVG (vector, for papers)
// or PNG, chosen by the file name's extension. Scripts have no window: the first picture starts
// Qt on its offscreen platform.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QGuiApplication>
#include <QPainter>
#include <QSizeF>

#include "core/result.h"
#include "pictures/correlogram_painter.h"
#include "pictures/mantel_painter.h"
#include "pictures/missing_map_painter.h"
#include "pictures/structure_painter.h"
#include "pictures/pcoa_painter.h"
#include "pictures/picture_maker.h"
#include "pictures/rarefaction_painter.h"
#include "pictures/tree_painter.h"

namespace vorn {

// Qt for drawing text without a window: while one lives, a QGuiApplication runs on the
// offscreen platform, unless an application ran already (the desktop's).
class PictureApplication {
 public:
  PictureApplication();
  ~PictureApplication();
  PictureApplication(const PictureApplication&) = delete;
  PictureApplication& operator=(const PictureApplication&) = delete;

 private:
  std::unique_ptr<QGuiApplication> own_;
};

// The drawing functions need a running application (a PictureApplication, or the desktop's).
// Writes size pixels of paint's drawing to path (".svg" or ".png", any case).
Status SavePicture(const std::string& path, QSizeF size, const std::string& title,
                   const std::function<void(QPainter&)>& paint);

// The largest PNG side; SVG files have no such bound.
inline constexpr double kMaxPngSide = 32000;

Status SaveTreePicture(const TreeScene& scene, double rowHeight, double treeWidth, const std::string& path);
Status SavePcoaPicture(const PcoaScene& scene, QSizeF size, const std::string& path);
Status SaveMantelPicture(const MantelPairs& pairs, QSizeF size, const std::string& path);
Status SaveCorrelogramPicture(const Correlogram& correlogram, QSizeF size, const std::string& path);
Status SaveRarefactionPicture(const RarefactionCurves& curves, QSizeF size, const std::string& path);
Status SaveStructurePicture(const StructureBars& bars, std::size_t shownK, bool curves, QSizeF size,
                            const std::string& path);
Status SaveMissingMapPicture(const MissingMap& map, const DataMatrix& data, QSizeF size, const std::string& path);
// Reports through leftOut how many tip labels were left out.
Status SaveNetworkPicture(const NetworkScene& scene, QSizeF size, const std::string& path, std::size_t& leftOut);

// The maker of a build with Qt but without windows (scripts): Qt starts with the first picture
// and ends with the maker.
class PictureFiles : public PictureMaker {
 public:
  Status SaveTree(const TreeScene& scene, double rowHeight, double treeWidth, const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveTreePicture(scene, rowHeight, treeWidth, path);
  }
  Status SavePcoa(const PcoaScene& scene, double width, double height, const std::string& path) override {
    if (!application_) application_.emplace();
    return SavePcoaPicture(scene, QSizeF(width, height), path);
  }
  Status SaveMantel(const MantelPairs& pairs, double width, double height, const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveMantelPicture(pairs, QSizeF(width, height), path);
  }
  Status SaveCorrelogram(const Correlogram& correlogram, double width, double height,
                         const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveCorrelogramPicture(correlogram, QSizeF(width, height), path);
  }
  Status SaveRarefaction(const RarefactionCurves& curves, double width, double height,
                         const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveRarefactionPicture(curves, QSizeF(width, height), path);
  }
  Status SaveStructure(const StructureBars& bars, std::size_t shownK, bool curves, double width, double height,
                       const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveStructurePicture(bars, shownK, curves, QSizeF(width, height), path);
  }
  Status SaveMissingMap(const MissingMap& map, const DataMatrix& data, double width, double height,
                        const std::string& path) override {
    if (!application_) application_.emplace();
    return SaveMissingMapPicture(map, data, QSizeF(width, height), path);
  }
  Status SaveNetwork(const NetworkScene& scene, double width, double height, const std::string& path,
                     std::size_t& leftOut) override {
    if (!application_) application_.emplace();
    return SaveNetworkPicture(scene, QSizeF(width, height), path, leftOut);
  }

 private:
  std::optional<PictureApplication> application_;
};

}  // namespace vorn
