// Bookmarks and internal links for a finished PDF file, added as an incremental update: the
// file's bytes stay as they are and new objects, a new cross-reference section and a trailer
// pointing back to the old one are appended. Written for the files Qt's PDF writer makes (one
// classic cross-reference table, a flat page tree, an annotation array object per page).
#pragma once

#include <string>
#include <vector>

namespace help_document {

// A place in the document: a page (from 0) and a point on it in PDF units (1/72 inch, from the
// page's bottom left corner).
struct PdfPlace {
  int page = 0;
  double x = 0;
  double y = 0;
};

struct PdfBookmark {
  std::u16string title;
  PdfPlace place;
  std::vector<PdfBookmark> children;
};

// A rectangle on a page that, clicked, goes to target.
struct PdfLink {
  int page = 0;
  double left = 0, bottom = 0, right = 0, top = 0;
  PdfPlace target;
};

// Appends the bookmarks (opened on viewing) and links to the PDF file at path; "" on success,
// otherwise why the file could not be read or understood (the file is then left as it was).
std::string AddBookmarksAndLinks(const std::string& path, const std::vector<PdfBookmark>& bookmarks,
                                 const std::vector<PdfLink>& links);

}  // namespace help_document
