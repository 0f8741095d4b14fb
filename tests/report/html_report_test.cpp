#include "report/html_report.h"

#include <gtest/gtest.h>

#include "report/bibliography.h"
#include "report/methods_text.h"

namespace vorn {
namespace {

TEST(HtmlReport, EscapesTheFourMarkupCharacters) {
  EXPECT_EQ(HtmlEscaped("a<b & \"c\">d"), "a&lt;b &amp; &quot;c&quot;&gt;d");
}

TEST(HtmlReport, KeepsOnlyTheSvgElementOfAFile) {
  EXPECT_EQ(InlineSvg("<?xml version=\"1.0\"?>\n<svg width=\"2\"><g/></svg>\n"), "<svg width=\"2\"><g/></svg>");
  EXPECT_EQ(InlineSvg("no drawing"), "");
}

TEST(HtmlReport, DocumentFormHasImagesAndNoScript) {
  SessionRecord record;
  record.Add(ReportStep{"UPGMA tree", {}, "", {}, {}, {ReportFigure{"A tree", "<svg></svg>"}}});
  ReportInput input;
  input.record = &record;
  input.form = ReportForm::Document;
  const std::string html = ReportHtml(input);
  EXPECT_NE(html.find("<img src=\"figure-1.png\" alt=\"Figure 1\">"), std::string::npos);
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_EQ(html.find("<button"), std::string::npos);
}

// A word processor's page cannot hold ten columns: the Document form turns such a table; the
// browser keeps it. Notes wrapped over lines are one paragraph in both.
TEST(HtmlReport, TurnsAWideTableForADocumentAndJoinsWrappedNotes) {
  ResultTable wide;
  wide.rows = {{"Population"}, {"A"}};
  for (int c = 1; c < 10; ++c) {
    wide.rows[0].push_back("C" + std::to_string(c));
    wide.rows[1].push_back(std::to_string(c));
  }
  SessionRecord record;
  record.Add(ReportStep{"Wide", {}, "", {}, {ReportTable{wide, {"a note that goes", "on here.", "Another."}}}, {}});
  ReportInput input;
  input.record = &record;
  const std::string browser = ReportHtml(input);
  EXPECT_NE(browser.find("<tr><th>Population</th><th>C1</th>"), std::string::npos);
  EXPECT_NE(browser.find("<p class=\"note\">a note that goes on here.</p>\n<p class=\"note\">Another.</p>"),
            std::string::npos);
  input.form = ReportForm::Document;
  const std::string document = ReportHtml(input);
  EXPECT_NE(document.find("Table 1. Wide (turned: its columns are rows)"), std::string::npos);
  EXPECT_NE(document.find("<tr><th>Population</th><th>A</th></tr>"), std::string::npos);
  EXPECT_NE(document.find("<tr><td>C9</td><td class=\"n\">9</td></tr>"), std::string::npos);
}

// A matrix wider than a page cannot be turned: the Document form cuts it into parts of three
// columns, each beside the column naming the rows.
TEST(HtmlReport, CutsAWideMatrixIntoPartsForADocument) {
  ResultTable matrix{{{""}}};
  for (int i = 1; i <= 10; ++i) {
    matrix.rows[0].push_back("I" + std::to_string(i));
    matrix.rows.push_back({"I" + std::to_string(i)});
    for (int j = 1; j <= 10; ++j) matrix.rows.back().push_back(j <= i ? std::to_string(i * j) : "");
  }
  SessionRecord record;
  record.Add(ReportStep{"Matrix", {}, "", {}, {ReportTable{matrix, {}}}, {}});
  ReportInput input;
  input.record = &record;
  input.form = ReportForm::Document;
  const std::string document = ReportHtml(input);
  EXPECT_NE(document.find("Table 1. Matrix (part 1 of 4 of its columns)"), std::string::npos);
  EXPECT_NE(document.find("<tr><th></th><th>I1</th><th>I2</th><th>I3</th></tr>"), std::string::npos);
  EXPECT_NE(document.find("Table 1. Matrix (part 4 of 4 of its columns)"), std::string::npos);
  EXPECT_NE(document.find("<tr><th></th><th>I10</th></tr>"), std::string::npos);
  EXPECT_NE(document.find("<tr><td>I10</td><td class=\"n\">70</td><td class=\"n\">80</td><td class=\"n\">90</td></tr>"),
            std::string::npos);
  input.form = ReportForm::Browser;
  EXPECT_EQ(ReportHtml(input).find("part 1"), std::string::npos);
}

TEST(Bibliography, ListsEachWorkOnceInOrderOfItsKey) {
  const auto entries = Bibliography({"mantel1967", "excoffier1992", "mantel1967"});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0]->cited, "Excoffier et al. 1992");
  EXPECT_EQ(entries[1]->cited, "Mantel 1967");
}

TEST(MethodsText, NamesCoefficientTreatmentAndTransformation) {
  const struct {
    SimilarityCoefficient coefficient;
    SimilarityMode mode;
    DistanceTransformation transformation;
    const char* phrase;
    const char* reference;
  } cases[] = {
      {SimilarityCoefficient::Jaccard, SimilarityMode::Standard, DistanceTransformation::OneMinusS,
       "the Jaccard coefficient (Jaccard 1908) over the loci scored in both individuals, as distances d=1-s",
       "jaccard1908"},
      {SimilarityCoefficient::Euclidean, SimilarityMode::Average, DistanceTransformation::SqrtD,
       "the Euclidean distance (Sneath & Sokal 1973) as the mean of 50 random values between the least and the "
       "greatest similarity the missing scores allow, as distances d'=SQRT(d)",
       "sneath1973"},
  };
  for (const auto& c : cases) {
    SimilaritySettings settings;
    settings.coefficient = c.coefficient;
    settings.transformation = c.transformation;
    std::vector<std::string> references;
    EXPECT_EQ(DistancePhrase(settings, c.mode, 50, references), c.phrase);
    EXPECT_EQ(references, std::vector<std::string>{c.reference});
  }
  EXPECT_EQ(ProgramSentence("1.10 beta", "", 7), "All computations were made with Vorn 1.10 beta from the random seed 7.");
}

}  // namespace
}  // namespace vorn
