#include "pdf_outline.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

namespace help_document {
namespace {

bool IsDelimiter(char c) { return std::isspace(static_cast<unsigned char>(c)) || std::string_view("()<>[]{}/%").find(c) != std::string_view::npos; }

// The position just after the name key (say "/Pages", not "/PagesX") in a dictionary's text.
std::optional<std::size_t> AfterKey(const std::string& dictionary, const std::string& key) {
  for (std::size_t at = dictionary.find(key); at != std::string::npos; at = dictionary.find(key, at + 1)) {
    const std::size_t end = at + key.size();
    if (end == dictionary.size() || IsDelimiter(dictionary[end])) return end;
  }
  return std::nullopt;
}

// The whole numbers of text from position on, as far as they go.
std::vector<long> Numbers(const std::string& text, std::size_t position, std::size_t most) {
  std::vector<long> numbers;
  std::istringstream in(text.substr(position));
  for (long n; numbers.size() < most && in >> n;) numbers.push_back(n);
  return numbers;
}

// The object number of an indirect reference "N G R" under key; nothing when there is none.
std::optional<int> Reference(const std::string& dictionary, const std::string& key) {
  const auto after = AfterKey(dictionary, key);
  if (!after) return std::nullopt;
  std::istringstream in(dictionary.substr(*after));
  long number = 0, generation = 0;
  std::string r;
  if (!(in >> number >> generation >> r) || r.substr(0, 1) != "R") return std::nullopt;
  return static_cast<int>(number);
}

// The text between the outermost "[" and "]" (an array's items).
std::optional<std::string> ArrayItems(const std::string& text, std::size_t from = 0) {
  const std::size_t open = text.find('[', from);
  const std::size_t close = text.find(']', open);
  if (open == std::string::npos || close == std::string::npos) return std::nullopt;
  return text.substr(open + 1, close - open - 1);
}

std::string Ref(int object) { return std::to_string(object) + " 0 R"; }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string HexText(const std::u16string& text) {
  std::string hex = "<FEFF";
  char unit[8];
  for (char16_t c : text) {
    std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c));
    hex += unit;
  }
  return hex + ">";
}

// The last cross-reference section and trailer of a PDF file, and the objects they point to.
class PdfFile {
 public:
  explicit PdfFile(std::string bytes) : bytes_(std::move(bytes)) {}

  std::string Read() {
    const std::size_t start = bytes_.rfind("startxref");
    if (start == std::string::npos) return "no startxref";
    const auto at = Numbers(bytes_, start + 9, 1);
    if (at.empty() || bytes_.compare(static_cast<std::size_t>(at[0]), 4, "xref") != 0) {
      return "no cross-reference table (a cross-reference stream is not read here)";
    }
    xref_ = static_cast<std::size_t>(at[0]);
    std::istringstream in(bytes_.substr(xref_ + 4));
    std::string word;
    while (in >> word && word != "trailer") {
      long first = std::stol(word), count = 0;
      if (!(in >> count)) return "broken cross-reference table";
      for (long n = first; n < first + count; ++n) {
        long offset = 0, generation = 0;
        std::string kind;
        if (!(in >> offset >> generation >> kind)) return "broken cross-reference table";
        if (kind == "n") offsets_[static_cast<int>(n)] = static_cast<std::size_t>(offset);
      }
    }
    if (word != "trailer") return "no trailer";
    const std::size_t trailer = bytes_.find("trailer", xref_);
    trailer_ = bytes_.substr(trailer, bytes_.find(">>", trailer) + 2 - trailer);
    if (AfterKey(trailer_, "/Prev")) return "the file was updated before";
    const auto size = AfterKey(trailer_, "/Size");
    if (!size || !Reference(trailer_, "/Root")) return "no /Size or /Root in the trailer";
    size_ = static_cast<int>(Numbers(trailer_, *size, 1).at(0));
    return "";
  }

  // The text between "N 0 obj" and "endobj"; nothing for an object the table does not hold.
  std::optional<std::string> Object(int number) const {
    const auto found = offsets_.find(number);
    if (found == offsets_.end()) return std::nullopt;
    const std::string head = std::to_string(number) + " 0 obj";
    if (bytes_.compare(found->second, head.size(), head) != 0) return std::nullopt;
    const std::size_t body = found->second + head.size();
    const std::size_t end = bytes_.find("endobj", body);
    if (end == std::string::npos) return std::nullopt;
    return bytes_.substr(body, end - body);
  }

  const std::string& trailer() const { return trailer_; }
  std::size_t xref() const { return xref_; }
  int size() const { return size_; }

 private:
  std::string bytes_;
  std::map<int, std::size_t> offsets_;
  std::string trailer_;
  std::size_t xref_ = 0;
  int size_ = 0;
};

// Objects written in the update, by number: replacements of old ones and new ones.
using Update = std::map<int, std::string>;

std::string Destination(const std::vector<int>& pages, const PdfPlace& place) {
  return "[" + Ref(pages.at(static_cast<std::size_t>(place.page))) + " /XYZ " + Number(place.x) + " " +
         Number(place.y) + " null]";
}

// Numbers the bookmarks depth first from next and writes their items, children under parent.
void WriteBookmarks(const std::vector<PdfBookmark>& bookmarks, int parent, const std::vector<int>& pages,
                    int& next, Update& update, int& first, int& last) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < bookmarks.size(); ++i) numbers.push_back(next++);
  first = numbers.empty() ? 0 : numbers.front();
  last = numbers.empty() ? 0 : numbers.back();
  for (std::size_t i = 0; i < bookmarks.size(); ++i) {
    const PdfBookmark& bookmark = bookmarks[i];
    std::string item = "<< /Title " + HexText(bookmark.title) + " /Parent " + Ref(parent) + " /Dest " +
                       Destination(pages, bookmark.place);
    if (i > 0) item += " /Prev " + Ref(numbers[i - 1]);
    if (i + 1 < bookmarks.size()) item += " /Next " + Ref(numbers[i + 1]);
    if (!bookmark.children.empty()) {
      int childFirst = 0, childLast = 0;
      WriteBookmarks(bookmark.children, numbers[i], pages, next, update, childFirst, childLast);
      item += " /First " + Ref(childFirst) + " /Last " + Ref(childLast) + " /Count " +
              std::to_string(bookmark.children.size());
    }
    update[numbers[i]] = item + " >>";
  }
}

std::size_t CountBookmarks(const std::vector<PdfBookmark>& bookmarks) {
  std::size_t count = bookmarks.size();
  for (const auto& bookmark : bookmarks) count += CountBookmarks(bookmark.children);
  return count;
}

}  // namespace

std::string AddBookmarksAndLinks(const std::string& path, const std::vector<PdfBookmark>& bookmarks,
                                 const std::vector<PdfLink>& links) {
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot read " + path;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  PdfFile pdf(bytes);
  if (std::string error = pdf.Read(); !error.empty()) return path + ": " + error;

  const int rootNumber = *Reference(pdf.trailer(), "/Root");
  const auto catalog = pdf.Object(rootNumber);
  const auto pagesNumber = catalog ? Reference(*catalog, "/Pages") : std::nullopt;
  const auto pageTree = pagesNumber ? pdf.Object(*pagesNumber) : std::nullopt;
  const auto kids = pageTree ? AfterKey(*pageTree, "/Kids") : std::nullopt;
  if (!kids || AfterKey(*catalog, "/Outlines")) return path + ": no flat page tree, or bookmarks already";
  std::vector<int> pages;
  std::istringstream kidItems(ArrayItems(*pageTree, *kids).value_or(""));
  for (std::string number, generation, r; kidItems >> number >> generation >> r;) pages.push_back(std::stoi(number));

  Update update;
  int next = pdf.size();
  // Each page's annotation array, extended by the links that lie on the page.
  std::map<int, std::string> annotations;
  for (const PdfLink& link : links) {
    if (link.page < 0 || static_cast<std::size_t>(link.page) >= pages.size() || link.target.page < 0 ||
        static_cast<std::size_t>(link.target.page) >= pages.size()) {
      return path + ": a link on or to a page the file does not have";
    }
    const int page = pages[static_cast<std::size_t>(link.page)];
    const auto pageObject = pdf.Object(page);
    const auto array = pageObject ? Reference(*pageObject, "/Annots") : std::nullopt;
    const auto items = array ? pdf.Object(*array) : std::nullopt;
    if (!items || !ArrayItems(*items)) return path + ": page object " + std::to_string(page) + " has no annotation array object";
    if (!annotations.count(*array)) annotations[*array] = *ArrayItems(*items);
    const int annotation = next++;
    update[annotation] = "<< /Type /Annot /Subtype /Link /Border [0 0 0] /Rect [" + Number(link.left) + " " +
                         Number(link.bottom) + " " + Number(link.right) + " " + Number(link.top) + "] /Dest " +
                         Destination(pages, link.target) + " >>";
    annotations[*array] += " " + Ref(annotation);
  }
  for (const auto& [array, items] : annotations) update[array] = "[" + items + " ]";

  if (!bookmarks.empty()) {
    const int outlines = next++;
    int first = 0, last = 0;
    WriteBookmarks(bookmarks, outlines, pages, next, update, first, last);
    update[outlines] = "<< /Type /Outlines /First " + Ref(first) + " /Last " + Ref(last) + " /Count " +
                       std::to_string(CountBookmarks(bookmarks)) + " >>";
    std::string root = *catalog;
    const std::size_t close = root.rfind(">>");
    root.insert(close, "/Outlines " + Ref(outlines) + "\n/PageMode /UseOutlines\n");
    update[rootNumber] = root;
  }

  // The update: the objects, a cross-reference section with a subsection per run of consecutive
  // object numbers, the trailer.
  std::string tail = bytes.back() == '\n' ? "" : "\n";
  std::vector<std::pair<int, std::size_t>> offsets;
  for (const auto& [number, body] : update) {
    offsets.emplace_back(number, bytes.size() + tail.size());
    tail += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
  }
  const std::size_t xref = bytes.size() + tail.size();
  tail += "xref\n";
  for (std::size_t run = 0, end = 0; run < offsets.size(); run = end) {
    for (end = run + 1; end < offsets.size() && offsets[end].first == offsets[end - 1].first + 1;) ++end;
    tail += std::to_string(offsets[run].first) + " " + std::to_string(end - run) + "\n";
    for (std::size_t i = run; i < end; ++i) {
      char entry[32];
      std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[i].second);
      tail += entry;
    }
  }
  std::string trailer = "<< /Size " + std::to_string(next) + " /Root " + Ref(rootNumber);
  if (const auto info = Reference(pdf.trailer(), "/Info")) trailer += " /Info " + Ref(*info);
  trailer += " /Prev " + std::to_string(pdf.xref()) + " >>";
  tail += "trailer\n" + trailer + "\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";

  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!(out << tail) || !out.flush()) return "cannot write " + path;
  return "";
}

}  // namespace help_document
