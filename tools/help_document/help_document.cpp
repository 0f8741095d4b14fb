// Builds the help document: the manual's Markdown chapters typeset into one PDF with a title
// page, a table of contents with page numbers and links, bookmarks for every chapter and section,
// and numbered pages. Runs at build time on Qt's offscreen platform, so no other typesetting
// tools are needed.
//
//   vorn_help_document OUTPUT.pdf TITLE CHAPTER.md ...
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QAbstractTextDocumentLayout>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "pdf_outline.h"

namespace {

constexpr int kResolution = 300;  // dots per inch of the layout
constexpr double kPictureDpi = 96;  // pixels per inch of the sizes the layout gives pictures

struct Heading {
  int level;
  QString text;
  QTextBlock block;
};

QString ReadChapter(const QString& path, bool& ok) {
  QFile file(path);
  ok = file.open(QIODevice::ReadOnly);
  return ok ? QString::fromUtf8(file.readAll()) : QString();
}

// Pictures (the window's screenshots) at most as wide as the page, keeping their proportions, and
// held by the document itself: the copies laid out for printing keep its resources but not its
// base URL, so a picture only named by its file would print as an empty space. False when a
// picture cannot be read.
bool FitPictures(QTextDocument& document, int pageWidth) {
  std::vector<std::pair<int, QTextImageFormat>> pictures;  // found first, changed afterwards
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextImageFormat picture = fragment.fragment().charFormat().toImageFormat();
      if (picture.isValid()) pictures.emplace_back(fragment.fragment().position(), picture);
    }
  }
  for (auto& [position, picture] : pictures) {
    const QString file = document.baseUrl().resolved(QUrl(picture.name())).toLocalFile();
    const QImage image(file);
    if (image.isNull()) {
      std::fprintf(stderr, "cannot read the picture %s\n", file.toLocal8Bit().constData());
      return false;
    }
    document.addResource(QTextDocument::ImageResource, QUrl(picture.name()), image);
    // The layout takes a picture's size in pixels of 96 per inch and scales it to the PDF's dots.
    const double width = std::min<double>(pageWidth, image.width() * 2.0) * kPictureDpi / kResolution;
    picture.setWidth(width);
    picture.setHeight(width * image.height() / image.width());
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(picture);
  }
  return true;
}

// A code block: a paragraph outside lists and tables set wholly in a fixed-pitch font.
bool IsCode(const QTextBlock& block) {
  bool any = false;
  for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
    const QTextCharFormat chars = fragment.fragment().charFormat();
    if (!chars.fontFixedPitch() && !chars.fontFamilies().toStringList().contains("monospace")) return false;
    any = true;
  }
  return any && block.textList() == nullptr && QTextCursor(block).currentTable() == nullptr;
}

// A table cell writes a "|" of its text as "\|", code included, so that it does not end the cell;
// the Markdown reader keeps the backslash, which is taken out here.
void UnescapeTablePipes(QTextDocument& document) {
  for (QTextCursor found = document.find("\\|"); !found.isNull(); found = document.find("\\|", found)) {
    if (found.currentTable()) found.insertText("|", found.charFormat());
  }
}

// Fonts, code blocks and tables as a printed manual shows them.
void Style(QTextDocument& document) {
  QFont body("DejaVu Serif");
  body.setPointSizeF(10);
  document.setDefaultFont(body);
  document.setDocumentMargin(0);

  QTextCursor cursor(&document);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    const int level = format.headingLevel();
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    QTextCharFormat chars;
    if (level > 0) {
      chars.setFontFamilies({"DejaVu Sans"});
      chars.setFontPointSize(level == 1 ? 20 : level == 2 ? 14 : 11.5);
      chars.setFontWeight(QFont::Bold);
      cursor.mergeCharFormat(chars);
      format.setTopMargin(level == 1 ? 0 : 14);
      format.setBottomMargin(6);
      if (level == 1) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_Auto);
      cursor.setBlockFormat(format);
    } else if (IsCode(block)) {
      chars.setFontFamilies({"DejaVu Sans Mono"});
      chars.setFontPointSize(8.5);
      cursor.mergeCharFormat(chars);
      format.setBackground(QColor(0xf0, 0xf0, 0xf0));
      format.setLeftMargin(12);
      cursor.setBlockFormat(format);
    }
  }
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) {
      QTextTableFormat format = table->format();
      format.setBorder(2);
      format.setBorderBrush(QColor(0x90, 0x90, 0x90));
      format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      format.setBorderCollapse(true);
      format.setCellPadding(3);
      format.setCellSpacing(0);
      table->setFormat(format);
      QTextCharFormat small;
      small.setFontPointSize(8.5);
      for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
          const QTextTableCell cell = table->cellAt(row, column);
          QTextCursor text = cell.firstCursorPosition();
          text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
          text.mergeCharFormat(small);
        }
      }
    }
  }
}

std::vector<Heading> Headings(const QTextDocument& document, int deepest) {
  std::vector<Heading> headings;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level > 0 && level <= deepest) headings.push_back({level, block.text(), block});
  }
  return headings;
}

// Where a block's first line starts: its page (from 0) and the height on that page.
struct Place {
  int page;
  qreal y;
};

Place PlaceOf(const QTextDocument& document, const QTextBlock& block) {
  const QTextLayout* layout = block.layout();
  const qreal top = document.documentLayout()->blockBoundingRect(block).top() +
                    (layout->lineCount() > 0 ? layout->lineAt(0).y() : 0);
  const qreal height = document.pageSize().height();
  const int page = static_cast<int>(top / height);
  return {page, top - page * height};
}

int PageOf(const QTextDocument& document, const QTextBlock& block) { return PlaceOf(document, block).page + 1; }

// The title page and a table of contents with a row per chapter and section; the page numbers
// are filled in once the document is laid out.
QTextTable* InsertFrontMatter(QTextDocument& document, const QString& title, const std::vector<Heading>& headings) {
  // The first block is the placeholder paragraph put before the chapters; it becomes the title.
  QTextCursor cursor(document.begin());
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  centred.setTopMargin(200);
  QTextCharFormat big;
  big.setFontFamilies({"DejaVu Sans"});
  big.setFontPointSize(28);
  big.setFontWeight(QFont::Bold);
  cursor.setBlockFormat(centred);
  cursor.insertText(title, big);
  centred.setTopMargin(20);
  QTextCharFormat subtitle;
  subtitle.setFontFamilies({"DejaVu Sans"});
  subtitle.setFontPointSize(14);
  cursor.insertBlock(centred, subtitle);
  cursor.insertText("User's manual");

  QTextBlockFormat contentsHeading;
  contentsHeading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  contentsHeading.setBottomMargin(10);
  QTextCharFormat headingChars = big;
  headingChars.setFontPointSize(20);
  cursor.insertBlock(contentsHeading, headingChars);
  cursor.insertText("Contents");

  QTextTableFormat tableFormat;
  tableFormat.setBorder(0);
  tableFormat.setCellPadding(1);
  tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  tableFormat.setColumnWidthConstraints(
      {QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
  QTextTable* table = cursor.insertTable(static_cast<int>(headings.size()), 2, tableFormat);
  for (std::size_t row = 0; row < headings.size(); ++row) {
    QTextCharFormat chars;
    chars.setFontFamilies({"DejaVu Sans"});
    chars.setFontPointSize(headings[row].level == 1 ? 10.5 : 9);
    if (headings[row].level == 1) chars.setFontWeight(QFont::Bold);
    QTextCursor name = table->cellAt(static_cast<int>(row), 0).firstCursorPosition();
    QTextBlockFormat indent;
    indent.setLeftMargin(headings[row].level == 1 ? 0 : 16);
    indent.setTopMargin(headings[row].level == 1 ? 6 : 0);
    name.setBlockFormat(indent);
    name.insertText(headings[row].text, chars);
    QTextCursor page = table->cellAt(static_cast<int>(row), 1).firstCursorPosition();
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setTopMargin(indent.topMargin());
    page.setBlockFormat(right);
    page.insertText("0", chars);
  }
  return table;
}

// How far a page's clip stays inside the page: a line reaching less than this into the next page
// is drawn on its own page alone.
constexpr qreal kClipSlack = 0.5;

// A paragraph (or a single line, as each line of a code block is) that runs over a page break is
// drawn on both pages, its lines beyond the page clipped but still in the file, where a search
// finds them twice: each such paragraph of the laid-out copy starts a new page in the document.
// True when there was none.
bool KeepParagraphsWhole(const QTextDocument& laidOut, QTextDocument& document) {
  bool whole = true;
  for (QTextBlock block = laidOut.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0) continue;
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    const qreal top = laidOut.documentLayout()->blockBoundingRect(block).top();
    const qreal height = laidOut.pageSize().height();
    const qreal bottom = top + last.y() + last.height() - kClipSlack;
    if (PlaceOf(laidOut, block).page == static_cast<int>(bottom / height)) continue;
    QTextCursor cursor(document.findBlockByNumber(block.blockNumber()));
    QTextBlockFormat format = cursor.blockFormat();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;  // longer than a page
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    cursor.setBlockFormat(format);
    whole = false;
  }
  return whole;
}

// Writes the page numbers of the laid-out copy's headings into the table of contents; true when
// none changed.
bool FillPageNumbers(const QTextDocument& laidOut, QTextTable* table, const std::vector<Heading>& headings) {
  bool unchanged = true;
  for (std::size_t row = 0; row < headings.size(); ++row) {
    const QString page = QString::number(PageOf(laidOut, headings[row].block));
    const QTextTableCell cell = table->cellAt(static_cast<int>(row), 1);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    if (cursor.selectedText() == page) continue;
    unchanged = false;
    const QTextCharFormat chars = cursor.charFormat();
    cursor.insertText(page, chars);
  }
  return unchanged;
}

void Paint(QTextDocument& document, QPdfWriter& writer, qreal footerHeight) {
  QPainter painter(&writer);
  const QSizeF page = document.pageSize();
  const int pages = document.pageCount();
  QFont footer("DejaVu Sans");
  footer.setPointSizeF(8);
  for (int i = 0; i < pages; ++i) {
    if (i > 0) writer.newPage();
    painter.save();
    const QRectF view(0, i * page.height(), page.width(), page.height());
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    // The layout draws every line that touches the clip, and a page's first line starts exactly
    // where the page before ends: shrunk a little, the clip takes in only the page's own lines,
    // so none is drawn (or found by a search) twice.
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view.adjusted(0, kClipSlack, 0, -kClipSlack);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    if (i > 0) {
      painter.setFont(footer);
      painter.drawText(QRectF(0, page.height(), page.width(), footerHeight), Qt::AlignHCenter | Qt::AlignBottom,
                       QString::number(i + 1));
    }
  }
}

// Turns places of the laid-out document into places on the PDF's pages.
class PdfPages {
 public:
  explicit PdfPages(const QPdfWriter& writer)
      : paint_(writer.pageLayout().paintRect(QPageLayout::Point)),
        height_(writer.pageLayout().fullRect(QPageLayout::Point).height()) {}

  help_document::PdfPlace At(Place place, qreal x) const {
    return {place.page, paint_.left() + x * kPoint, height_ - (paint_.top() + place.y * kPoint)};
  }

 private:
  static constexpr qreal kPoint = 72.0 / kResolution;
  QRectF paint_;
  qreal height_;
};

// A bookmark per chapter, holding one per section, each leading to its heading.
std::vector<help_document::PdfBookmark> Bookmarks(const QTextDocument& document, const PdfPages& pdf) {
  std::vector<help_document::PdfBookmark> chapters;
  for (const Heading& heading : Headings(document, 2)) {
    help_document::PdfBookmark bookmark{heading.text.toStdU16String(), pdf.At(PlaceOf(document, heading.block), 0), {}};
    if (heading.level == 1 || chapters.empty()) chapters.push_back(std::move(bookmark));
    else chapters.back().children.push_back(std::move(bookmark));
  }
  return chapters;
}

// Each row of the table of contents, name and page number, as a link to its heading.
std::vector<help_document::PdfLink> ContentsLinks(const QTextDocument& document, const PdfPages& pdf) {
  QTextTable* contents = nullptr;
  for (QTextFrame* frame : document.rootFrame()->childFrames()) {
    if ((contents = qobject_cast<QTextTable*>(frame))) break;
  }
  const std::vector<Heading> headings = Headings(document, 2);
  std::vector<help_document::PdfLink> links;
  for (int row = 0; contents && row < contents->rows() && row < static_cast<int>(headings.size()); ++row) {
    const QTextBlock name = contents->cellAt(row, 0).firstCursorPosition().block();
    const QTextBlock page = contents->cellAt(row, 1).firstCursorPosition().block();
    const QRectF area = document.documentLayout()->blockBoundingRect(name).united(
        document.documentLayout()->blockBoundingRect(page));
    // From the top of the row's first line (below the margin above the row) to its foot.
    const Place top = PlaceOf(document, name);
    const qreal height = area.bottom() - (area.top() + name.layout()->lineAt(0).y());
    const help_document::PdfPlace topLeft = pdf.At(top, area.left());
    const help_document::PdfPlace bottomRight = pdf.At({top.page, top.y + height}, area.right());
    links.push_back({top.page, topLeft.x, bottomRight.y, bottomRight.x, topLeft.y,
                     pdf.At(PlaceOf(document, headings[row].block), 0)});
  }
  return links;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s OUTPUT.pdf TITLE CHAPTER.md ...\n", argv[0]);
    return 2;
  }
  QString markdown = "title\n\n";  // a paragraph of its own, which becomes the title page
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    markdown += ReadChapter(QString::fromLocal8Bit(argv[i]), ok) + "\n\n";
    if (!ok) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
  }

  QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
  writer.setTitle(QString::fromUtf8(argv[2]));
  writer.setCreator(QString::fromUtf8(argv[2]));
  writer.setResolution(kResolution);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 12),
                                   QPageLayout::Millimeter));

  QTextDocument document;
  // Pictures are named relative to the chapters' folder.
  document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[3])).absolutePath() + "/"));
  document.setMarkdown(markdown);
  UnescapeTablePipes(document);
  if (!FitPictures(document, writer.pageLayout().paintRectPixels(kResolution).width())) return 1;
  Style(document);
  QTextTable* contents = InsertFrontMatter(document, QString::fromUtf8(argv[2]), Headings(document, 2));

  // Each pass lays out a fresh copy, whose page numbers then go into the contents; a copy is laid
  // out whole at once, where later edits of one would be laid out only as far as it is read.
  const QRect paint = writer.pageLayout().paintRectPixels(kResolution);
  const qreal footerHeight = kResolution * 0.3;
  std::unique_ptr<QTextDocument> typeset;
  for (int pass = 0;; ++pass) {
    typeset.reset(document.clone());
    typeset->documentLayout()->setPaintDevice(&writer);
    typeset->setPageSize(QSizeF(paint.width(), paint.height() - footerHeight));
    const bool numbered = FillPageNumbers(*typeset, contents, Headings(*typeset, 2));
    if (KeepParagraphsWhole(*typeset, document) && numbered) break;
    if (pass == 20) {
      std::fprintf(stderr, "the page breaks did not settle\n");
      return 1;
    }
  }
  Paint(*typeset, writer, footerHeight);
  const PdfPages pdf(writer);
  const std::string error = help_document::AddBookmarksAndLinks(argv[1], Bookmarks(*typeset, pdf), ContentsLinks(*typeset, pdf));
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %d pages, %zu entries in the table of contents\n", argv[1], typeset->pageCount(),
              Headings(*typeset, 2).size());
  return 0;
}
