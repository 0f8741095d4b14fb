#include "pictures/picture_files.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/text_file.h"
#include "pictures/network_painter.h"
#include "pictures/picture_text.h"

namespace vorn {
namespace {

// The extension of the file's name in lower case; "" when the name has none, or nothing before it
// (".svg" would be a hidden file without a name).
std::string LowerExtension(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return "";
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

Status WritePictureFile(const std::string& path, const QByteArray& bytes) {
  return ReplaceFileWithText(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Qt's note that the session has no runtime folder concerns windows, not picture files; every
// other message goes to the handler that was there before.
QtMessageHandler previousHandler = nullptr;

void DropRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

PictureApplication::PictureApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "vorn";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  previousHandler = qInstallMessageHandler(DropRuntimeFolderNote);
  own_ = std::make_unique<QGuiApplication>(argc, argv);
}

PictureApplication::~PictureApplication() = default;

Status SavePicture(const std::string& path, QSizeF size, const std::string& title,
                   const std::function<void(QPainter&)>& paint) {
  const std::string extension = LowerExtension(path);
  if (extension != "svg" && extension != "png") {
    return Failure{"A picture is saved as SVG or PNG: the file name must be a name ending in \".svg\" or \".png\", "
                   "which \"" + path + "\" is not."};
  }
  // The picture is drawn into memory and then replaces the file whole, so a failed write never
  // leaves half a picture or destroys the one that was there.
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  const QSize pixels(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())));
  if (extension == "svg") {
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(pixels);
    svg.setViewBox(QRect(QPoint(0, 0), pixels));
    svg.setResolution(96);
    svg.setTitle(PictureText(title));
    QPainter painter;
    if (!painter.begin(&svg)) return Failure{"Cannot write the picture " + path + "."};
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    paint(painter);
    if (!painter.end()) return Failure{"Cannot write the picture " + path + "."};
    return WritePictureFile(path, bytes.data());
  }
  if (pixels.width() > kMaxPngSide || pixels.height() > kMaxPngSide) {
    return Failure{"The picture would be " + std::to_string(pixels.width()) + " x " + std::to_string(pixels.height()) +
                   " pixels, more than a PNG file can hold here (32000 a side); save it as SVG, or choose a smaller size."};
  }
  QImage image(pixels, QImage::Format_RGB32);
  if (image.isNull()) return Failure{"Not enough memory for a picture of this size."};
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paint(painter);
  }
  if (!image.save(&bytes, "PNG")) return Failure{"Cannot write the picture " + path + "."};
  return WritePictureFile(path, bytes.data());
}

Status SaveTreePicture(const TreeScene& scene, double rowHeight, double treeWidth, const std::string& path) {
  const TreeDrawing drawing(scene, rowHeight, treeWidth);
  return SavePicture(path, drawing.Size(), scene.title, [&](QPainter& painter) { drawing.Paint(painter); });
}

namespace {

// A scatter plot drawn with text that stays legible when the file is printed a column wide,
// unless the size has no room for its frame and captions.
template <typename Drawing, typename Results>
Status SaveScatterPicture(const Results& results, QSizeF size, const std::string& path, const std::string& title) {
  const Drawing drawing(results, size, FileTextScale(size));
  if (const std::string tooSmall = drawing.TooSmall(); !tooSmall.empty()) return Failure{tooSmall};
  return SavePicture(path, size, title, [&](QPainter& painter) { drawing.Paint(painter); });
}

}  // namespace

Status SavePcoaPicture(const PcoaScene& scene, QSizeF size, const std::string& path) {
  return SaveScatterPicture<PcoaDrawing>(scene, size, path, "Principal coordinates");
}

Status SaveMantelPicture(const MantelPairs& pairs, QSizeF size, const std::string& path) {
  return SaveScatterPicture<MantelDrawing>(pairs, size, path, "Mantel test");
}

Status SaveCorrelogramPicture(const Correlogram& correlogram, QSizeF size, const std::string& path) {
  return SaveScatterPicture<CorrelogramDrawing>(correlogram, size, path, "Spatial autocorrelation");
}

Status SaveRarefactionPicture(const RarefactionCurves& curves, QSizeF size, const std::string& path) {
  return SaveScatterPicture<RarefactionDrawing>(curves, size, path, "Rarefied band richness");
}

Status SaveStructurePicture(const StructureBars& bars, std::size_t shownK, bool curves, QSizeF size,
                            const std::string& path) {
  const StructureDrawing drawing(bars, shownK, curves, size);
  return SavePicture(path, size, "Population structure", [&](QPainter& painter) { drawing.Paint(painter); });
}

Status SaveMissingMapPicture(const MissingMap& map, const DataMatrix& data, QSizeF size, const std::string& path) {
  const MissingMapDrawing drawing(map, data, size);
  return SavePicture(path, size, "Missing data map", [&](QPainter& painter) { drawing.Paint(painter); });
}

Status SaveNetworkPicture(const NetworkScene& scene, QSizeF size, const std::string& path, std::size_t& leftOut) {
  const NetworkDrawing drawing(scene, size);
  leftOut = drawing.LabelsLeftOut();
  return SavePicture(path, size, "NeighborNet", [&](QPainter& painter) { drawing.Paint(painter); });
}

}  // namespace vorn
