// The session report as Qt's text document: the Document form of the report's HTML with its
// figures drawn from their SVG as the PNG images it names. The Results tab's Report view shows
// it; written as an OpenDocument text it is the report for a word processor.
#pragma once

#include <string>
#include <vector>

#include <QTextDocument>

#include "core/result.h"
#include "pictures/picture_files.h"

namespace vorn::ui {

// figures: the SVG of each figure in order ("" for one not drawn, which has no image).
void FillReportDocument(QTextDocument& document, const std::string& html, const std::vector<std::string>& figures);

// The document as an OpenDocument text at path, replaced whole or left as it was.
Status WriteReportDocument(const std::string& html, const std::vector<std::string>& figures, const std::string& path);

// The picture files of a build with the window's libraries: they write the report's .odt too.
class DocumentFiles : public PictureFiles {
 public:
  Status SaveDocument(const std::string& html, const std::vector<std::string>& figures,
                      const std::string& path) override;
};

}  // namespace vorn::ui
