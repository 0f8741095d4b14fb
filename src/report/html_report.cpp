#include "report/html_report.h"

#include <algorithm>
#include <set>

#include "report/bibliography.h"
#include "report/methods_text.h"
#include "quality/quality_summary.h"

namespace vorn {
namespace {

// Print: no buttons, tables kept on one page where they fit, figures no wider than the page.
constexpr const char* kStyle = R"(body{font-family:Georgia,"Times New Roman",serif;max-width:60em;margin:2em auto;padding:0 1em;color:#111;line-height:1.45}
h1,h2,h3{font-family:Helvetica,Arial,sans-serif}
h2{border-bottom:1px solid #999;margin-top:2em}
div.wide{overflow-x:auto}
table{border-collapse:collapse;margin:.6em 0;font-size:.9em}
caption{text-align:left;font-weight:bold;padding:.3em 0}
th,td{border-top:1px solid #bbb;border-bottom:1px solid #bbb;padding:.2em .6em}
td.n{text-align:right;font-variant-numeric:tabular-nums}
th{background:#eee}
p.note{font-size:.85em;color:#333;margin:.1em 0}
pre{background:#f6f6f6;padding:.6em;overflow-x:auto;font-size:.85em}
figure{margin:1em 0}
figure svg{width:100%;max-width:45em;height:auto}
figcaption{font-size:.9em}
button.copy{font-size:.8em;margin:.2em 0 .8em}
code{font-size:.9em;word-break:break-all}
@media print{body{max-width:none;margin:0}div.wide{overflow:visible}table{font-size:.75em}button.copy{display:none}table,figure{page-break-inside:avoid}h2,h3{page-break-after:avoid}pre{white-space:pre-wrap}})";

// Copies the tab-separated text kept beside a table; where the clipboard interface is refused
// (a page opened from a file in some browsers) a selected text area is copied instead.
constexpr const char* kScript = R"(document.addEventListener("click",function(e){var b=e.target.closest("button.copy");if(!b)return;var t=document.getElementById(b.getAttribute("data-tsv")).textContent;function done(){b.textContent="Copied";}function fallback(){var a=document.createElement("textarea");a.value=t;document.body.appendChild(a);a.select();try{document.execCommand("copy");done();}catch(x){}document.body.removeChild(a);}if(navigator.clipboard&&navigator.clipboard.writeText){navigator.clipboard.writeText(t).then(done,fallback);}else{fallback();}});)";

std::string Element(const std::string& tag, const std::string& text) {
  return "<" + tag + ">" + HtmlEscaped(text) + "</" + tag + ">\n";
}

std::string Counts(const MatrixCounts& counts) {
  const std::size_t scores = counts.individuals * counts.loci;
  const Real share = scores == 0 ? Real{0} : static_cast<Real>(counts.missing) / static_cast<Real>(scores);
  return std::to_string(counts.individuals) + " individuals \u00d7 " + std::to_string(counts.loci) + " loci, " +
         std::to_string(counts.missing) + " missing scores (" + PercentText(share) + ")";
}

// A table with its caption; the first column names the rows, the others hold numbers.
std::string TableHtml(const ResultTable& table, const std::string& caption) {
  std::string html = "<div class=\"wide\"><table>\n<caption>" + HtmlEscaped(caption) + "</caption>\n";
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    if (r == 0) html += "<thead>\n";
    if (r == 1) html += "<tbody>\n";
    html += "<tr>";
    for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
      const std::string cell = HtmlEscaped(table.rows[r][c]);
      html += r == 0 ? "<th>" + cell + "</th>" : c == 0 ? "<td>" + cell + "</td>" : "<td class=\"n\">" + cell + "</td>";
    }
    html += "</tr>\n";
    if (r == 0) html += "</thead>\n";
  }
  if (table.rows.size() > 1) html += "</tbody>\n";
  return html + "</table></div>\n";
}

// A word processor's page holds about nine columns of numbers; a wider table is turned there,
// its columns becoming rows, or, when it has as many rows as columns or more (a matrix), it is cut
// into parts of three columns, each beside the first column that names the rows: three entries of
// a matrix (12 characters each) fit a page's width unwrapped, so that no row is split over a page.
constexpr std::size_t kDocumentColumns = 9;
constexpr std::size_t kDocumentPartColumns = 3;

std::vector<ResultTable> ColumnParts(const ResultTable& table) {
  const std::size_t columns = table.rows.front().size();
  std::vector<ResultTable> parts;
  for (std::size_t first = 1; first < columns; first += kDocumentPartColumns) {
    const std::size_t last = std::min(columns, first + kDocumentPartColumns);
    ResultTable part;
    for (const auto& cells : table.rows) {
      std::vector<std::string> row{cells.empty() ? "" : cells[0]};
      for (std::size_t c = first; c < last; ++c) row.push_back(c < cells.size() ? cells[c] : "");
      part.rows.push_back(std::move(row));
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

ResultTable Turned(const ResultTable& table) {
  ResultTable turned;
  const std::size_t columns = table.rows.empty() ? 0 : table.rows.front().size();
  for (std::size_t c = 0; c < columns; ++c) {
    std::vector<std::string> row;
    for (const auto& cells : table.rows) row.push_back(c < cells.size() ? cells[c] : "");
    turned.rows.push_back(std::move(row));
  }
  return turned;
}

// The analysis file wraps a long note or heading over lines; a line that ends without a full stop goes on
// in the next one, and the report joins them into one paragraph.
std::vector<std::string> Paragraphs(const std::vector<std::string>& lines) {
  std::vector<std::string> paragraphs;
  bool open = false;
  for (const std::string& line : lines) {
    if (open) paragraphs.back() += " " + line;
    else paragraphs.push_back(line);
    open = !line.empty() && line.back() != '.';
  }
  return paragraphs;
}

class Writer {
 public:
  explicit Writer(const ReportInput& input) : input_(input) {}

  std::string Html() {
    std::string body = "<h1>Session report</h1>\n";
    body += Element("p", "Written by Vorn " + input_.version + " on " + input_.written + ".");
    // One after the other: the sections number the tables and gather the references in turn.
    body += DataSection();
    body += MethodsSection();
    body += ResultsSection();
    body += ReproduceSection();
    body += ReferencesSection();
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>Vorn session report</title>\n<style>\n" + std::string(kStyle) + "\n</style>\n</head>\n<body>\n" +
                       body;
    if (input_.form == ReportForm::Browser) html += "<script>\n" + std::string(kScript) + "\n</script>\n";
    return html + "</body>\n</html>\n";
  }

 private:
  std::string DataSection() {
    std::string html = "<h2 id=\"data\">Data</h2>\n";
    if (!input_.data) return html + Element("p", "No data were loaded in this session.");
    const ReportData& data = *input_.data;
    html += "<p>File: <code>" + HtmlEscaped(data.file.empty() ? "(not named)" : data.file) + "</code>";
    if (!data.sha256.empty()) html += ", SHA-256 <code>" + data.sha256 + "</code>";
    html += ".</p>\n";
    html += Element("p", "As loaded: " + Counts(data.loaded) + ". Now: " + Counts(data.now) + ".");
    html += Element("p", std::to_string(data.groups) + (data.groups == 1 ? " group" : " groups") + " on " +
                             std::to_string(data.levels) + (data.levels == 1 ? " level" : " levels") + ".");
    html += TableOfForm(data.steps, "Table " + std::to_string(++tables_) + ". What the data went through");
    html += CopyButton(data.steps);
    return html;
  }

  std::string MethodsSection() {
    std::string paragraph;
    const auto add = [&](const std::string& sentence) {
      if (sentence.empty() || said_.count(sentence)) return;
      said_.insert(sentence);
      paragraph += (paragraph.empty() ? "" : " ") + sentence;
    };
    if (input_.data) {
      for (const std::string& sentence : input_.data->sentences) add(sentence);
    }
    for (const ReportStep& step : Steps()) {
      add(step.method);
      references_.insert(references_.end(), step.references.begin(), step.references.end());
    }
    add(ProgramSentence(input_.version, input_.commit, input_.seed));
    return "<h2 id=\"methods\">Methods</h2>\n" + Element("p", paragraph);
  }

  std::string ResultsSection() {
    std::string html = "<h2 id=\"results\">Results</h2>\n";
    if (Steps().empty()) html += Element("p", "No analysis wrote results in this session.");
    for (const ReportStep& step : Steps()) {
      html += "<section>\n" + Element("h3", step.title);
      for (const std::string& line : Paragraphs(step.lines)) html += Element("p", line);
      for (const ReportTable& table : step.tables) {
        // Tables of one block are told apart by their first note ("PhiPT below the diagonal ...").
        const std::string caption =
            step.tables.size() > 1 && !table.notes.empty() ? step.title + ". " + table.notes.front() : step.title;
        html += TableOfForm(table.table, "Table " + std::to_string(++tables_) + ". " + caption);
        for (const std::string& note : Paragraphs(table.notes)) html += "<p class=\"note\">" + HtmlEscaped(note) + "</p>\n";
        html += CopyButton(table.table);
      }
      for (const ReportFigure& figure : step.figures) html += FigureHtml(figure);
      html += "</section>\n";
    }
    return html;
  }

  std::string FigureHtml(const ReportFigure& figure) {
    const std::size_t number = ++figures_;
    const std::string caption = "<figcaption>Figure " + std::to_string(number) + ". " + HtmlEscaped(figure.caption);
    if (figure.svg.empty()) return "<figure>\n" + caption + " (not drawn: this build of Vorn draws no pictures)</figcaption>\n</figure>\n";
    const std::string drawing = input_.form == ReportForm::Browser
                                    ? figure.svg
                                    : "<img src=\"" + FigureImageName(number) + "\" alt=\"Figure " + std::to_string(number) + "\">";
    return "<figure>\n" + drawing + "\n" + caption + "</figcaption>\n</figure>\n";
  }

  std::string ReproduceSection() {
    return "<h2 id=\"reproduce\">Reproduce</h2>\n" +
           Element("p", "The command script below repeats the session: save it as session.vorn and run "
                        "vorn --script session.vorn --seed " + std::to_string(input_.seed) + ".") +
           Element("pre", input_.script);
  }

  std::string ReferencesSection() {
    const auto entries = Bibliography(references_);
    if (entries.empty()) return "";
    std::string html = "<h2 id=\"references\">References</h2>\n<ul>\n";
    for (const Reference* reference : entries) html += "<li>" + HtmlEscaped(std::string(reference->entry)) + "</li>\n";
    return html + "</ul>\n";
  }

  std::string TableOfForm(const ResultTable& table, const std::string& caption) {
    const bool wide = input_.form == ReportForm::Document && !table.rows.empty() &&
                      table.rows.front().size() > kDocumentColumns;
    if (!wide) return TableHtml(table, caption);
    if (table.rows.size() < table.rows.front().size()) {
      return TableHtml(Turned(table), caption + " (turned: its columns are rows)");
    }
    const std::vector<ResultTable> parts = ColumnParts(table);
    std::string html;
    for (std::size_t k = 0; k < parts.size(); ++k) {
      html += TableHtml(parts[k], caption + " (part " + std::to_string(k + 1) + " of " + std::to_string(parts.size()) +
                                      " of its columns)");
    }
    return html;
  }

  // The table's tab-separated text beside it, for its copy button; the Document form has neither.
  std::string CopyButton(const ResultTable& table) {
    if (input_.form != ReportForm::Browser) return "";
    const std::string id = "tsv-" + std::to_string(tables_);
    std::string text;
    for (const std::string& line : table.TabSeparated()) text += line + "\n";
    return "<button type=\"button\" class=\"copy\" data-tsv=\"" + id + "\">Copy table " + std::to_string(tables_) +
           " as tab-separated text</button>\n<pre id=\"" + id + "\" hidden>" + HtmlEscaped(text) + "</pre>\n";
  }

  const std::vector<ReportStep>& Steps() const {
    static const std::vector<ReportStep> none;
    return input_.record ? input_.record->steps : none;
  }

  const ReportInput& input_;
  std::size_t tables_ = 0;
  std::size_t figures_ = 0;
  std::set<std::string> said_;
  std::vector<std::string> references_;
};

}  // namespace

std::string ReportHtml(const ReportInput& input) { return Writer(input).Html(); }

std::string FigureImageName(std::size_t number) { return "figure-" + std::to_string(number) + ".png"; }

std::string InlineSvg(const std::string& fileText) {
  const std::size_t start = fileText.find("<svg");
  const std::size_t end = fileText.rfind("</svg>");
  if (start == std::string::npos || end == std::string::npos || end < start) return "";
  return fileText.substr(start, end + 6 - start);
}

std::string HtmlEscaped(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace vorn
