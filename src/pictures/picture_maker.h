// What the picture commands need of a build with Qt: drawing scenes into SVG and PNG files and,
// on the desktop, the viewer windows. A build without Qt has no maker, and the commands say so.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/result.h"
#include "core/correlogram.h"
#include "core/mantel_pairs.h"
#include "core/rarefaction_curves.h"
#include "core/structure_bars.h"
#include "core/session.h"
#include "pictures/missing_map.h"
#include "pictures/network_layout.h"
#include "pictures/picture_scenes.h"

namespace vorn {

// Asks for the file a picture is saved in: SVG or PNG, starting from initialName. A name typed
// without an extension gets none, and the picture is refused: the name chooses the format.
std::optional<std::string> ChoosePictureFile(Host& host, const std::string& title, const std::string& initialName);

class PictureMaker {
 public:
  virtual ~PictureMaker() = default;

  // rowHeight: pixels from one tip to the next; treeWidth: pixels from the root to the tips.
  virtual Status SaveTree(const TreeScene& scene, double rowHeight, double treeWidth, const std::string& path) = 0;
  virtual Status SavePcoa(const PcoaScene& scene, double width, double height, const std::string& path) = 0;
  virtual Status SaveMantel(const MantelPairs& pairs, double width, double height, const std::string& path) = 0;
  virtual Status SaveCorrelogram(const Correlogram& correlogram, double width, double height,
                                 const std::string& path) = 0;
  virtual Status SaveRarefaction(const RarefactionCurves& curves, double width, double height,
                                 const std::string& path) = 0;
  // shownK: the one K drawn, or 0 for a panel per K; curves: with the dK and cross-validation plots.
  virtual Status SaveStructure(const StructureBars& bars, std::size_t shownK, bool curves, double width,
                               double height, const std::string& path) = 0;
  // The map of data's missing scores, arranged as map says.
  virtual Status SaveMissingMap(const MissingMap& map, const DataMatrix& data, double width, double height,
                                const std::string& path) = 0;
  // The splits network; leftOut: the tip labels left out because they would overlap.
  virtual Status SaveNetwork(const NetworkScene& scene, double width, double height, const std::string& path,
                             std::size_t& leftOut) = 0;

  // The session report as an OpenDocument text: html in the report's Document form, its figures
  // (SVG, in their order) drawn as the PNG images it names. A maker without Qt's text documents
  // refuses it.
  virtual Status SaveDocument(const std::string& html, const std::vector<std::string>& figures,
                              const std::string& path) {
    (void)html, (void)figures;
    return Failure{"Cannot write " + path + ": an OpenDocument text needs the build of Vorn with its window."};
  }

  // The windows; a maker without a desktop explains that they need one.
  virtual void ShowTreeViewer(Session& session) {
    session.ErrorBox("The tree viewer is a window of the desktop; in a script use View > Save Tree Picture.");
  }
  virtual void ShowPcoaPlot(Session& session) {
    session.ErrorBox("The PCoA plot is a window of the desktop; in a script use View > Save PCoA Plot.");
  }
};

}  // namespace vorn
