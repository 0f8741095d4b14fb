#include "commands/data/filter_swap.h"

#include "core/number_format.h"

namespace vorn {
namespace {

// The criterion as a methods sentence counts it: without the kind of row and a closing ".".
std::string MethodsPhrase(const RemovalTexts& texts, std::optional<double> threshold) {
  std::string phrase = texts.middle + (threshold ? FormatShortest(100.0 * *threshold) + texts.tail : "");
  for (const char* rows : {" loci ", " individuals "}) {
    if (phrase.starts_with(rows)) phrase.erase(0, std::string_view(rows).size());
  }
  while (phrase.starts_with(" ")) phrase.erase(0, 1);
  if (phrase.ends_with(".")) phrase.pop_back();
  return phrase;
}

}  // namespace

void SwapInMatrix(TMainPrg& app, DataMatrix matrix, FilterStepKind kind, std::string text, std::string phrase) {
  const MatrixCounts before = CountsOf(app.ws.data);
  app.ws.data = std::move(matrix);
  LogStep(app, kind, std::move(text), before, std::move(phrase));
}

void LogStep(TMainPrg& app, FilterStepKind kind, std::string text, const MatrixCounts& before, std::string phrase) {
  app.ws.filterLog.Add(FilterStep{kind, std::move(text), std::move(phrase), before, CountsOf(app.ws.data)});
}

void ApplyRemoval(TMainPrg& app, Removal removal, const RemovalTexts& texts, std::optional<double> threshold) {
  const std::string n = std::to_string(removal.removedCount);
  std::string report = "Removing " + n + texts.middle;
  if (threshold) report += FormatReal(100.0L * *threshold) + texts.tail;
  SwapInMatrix(app, std::move(removal.matrix), FilterStepKind::Removal, report, MethodsPhrase(texts, threshold));
  app.Report(report);
  app.MessageQuery(n + texts.boxText, texts.caption, MessageButtons::Ok);
}

}  // namespace vorn
