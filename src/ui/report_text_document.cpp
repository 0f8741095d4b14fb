#include "ui/report_text_document.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextDocumentWriter>
#include <QUrl>

#include "core/text_file.h"
#include "report/html_report.h"
#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

// Wide enough to print sharply at a page's width, never wider than a PNG may be.
constexpr int kFigureWidth = 1200;

QImage FigureImage(const std::string& svg) {
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  if (!renderer.isValid()) return {};
  QSize size = renderer.defaultSize();
  if (size.isEmpty()) return {};
  if (size.width() > kFigureWidth) size = size.scaled(kFigureWidth, kFigureWidth * 10, Qt::KeepAspectRatio);
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

}  // namespace

void FillReportDocument(QTextDocument& document, const std::string& html, const std::vector<std::string>& figures) {
  for (std::size_t k = 0; k < figures.size(); ++k) {
    if (figures[k].empty()) continue;
    const QImage image = FigureImage(figures[k]);
    if (!image.isNull()) {
      document.addResource(QTextDocument::ImageResource, QUrl(ToQt(FigureImageName(k + 1))), image);
    }
  }
  document.setHtml(ToQt(html));
}

Status WriteReportDocument(const std::string& html, const std::vector<std::string>& figures, const std::string& path) {
  QTextDocument document;
  FillReportDocument(document, html, figures);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  QTextDocumentWriter writer(&bytes, "odf");
  if (!writer.write(&document)) return Failure{"Cannot write " + path + " as an OpenDocument text."};
  const QByteArray& data = bytes.data();
  return ReplaceFileWithText(path, std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

Status DocumentFiles::SaveDocument(const std::string& html, const std::vector<std::string>& figures,
                                   const std::string& path) {
  const PictureApplication application;
  return WriteReportDocument(html, figures, path);
}

}  // namespace vorn::ui
