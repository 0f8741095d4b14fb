// What the population commands (Population Diversity, Pairwise PhiPT, Mantel Test) share: the
// populations of a level of the whole data set, refused when too few, and their result block
// written as tables to the analysis file with a tab-separated copy.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/data/whole_data_set.h"
#include "commands/shell/main_program.h"
#include "core/result_table.h"
#include "core/text_file.h"
#include "groups/group_members.h"
#include "population/nei_distance.h"

namespace vorn {

// "1 population", "3 populations".
std::string Count(std::size_t n, const std::string& one, const std::string& many);

// A value of the tables; one without a value (a mean over no locus, a standard error over one)
// is "undefined", and a note says why.
std::string ValueText(Real value);

// False after a message when no matrix is loaded or no groups are defined.
bool GroupsDefined(TMainPrg& app);

// The populations of the chosen level of the whole data set, at least least of them; nothing
// after a message.
std::optional<std::vector<PopulationMembers>> Populations(TMainPrg& app, std::size_t level, std::size_t least);

// The opening the population commands share: the groups defined, the command's dialog answered,
// the whole data set selected for the run (the selection before comes back when the run ends)
// and the populations of the level chosen, at least least of them. Ready() is false after the
// message of the step that refused.
template <class Dialog>
class PopulationRun {
 public:
  using Choices = typename decltype(std::declval<Dialog&>().Execute(std::declval<TMainPrg&>()))::value_type;

  PopulationRun(TMainPrg& app, Dialog& dialog, std::size_t least) {
    if (!GroupsDefined(app)) return;
    choices_ = dialog.Execute(app);
    if (!choices_) return;
    whole_.emplace(app);
    if (whole_->Selected()) populations_ = Populations(app, choices_->level, least);
  }

  bool Ready() const { return populations_.has_value(); }
  const Choices& Chosen() const { return *choices_; }
  const std::vector<PopulationMembers>& Members() const { return *populations_; }

 private:
  std::optional<Choices> choices_;
  std::optional<WholeDataSet> whole_;
  std::optional<std::vector<PopulationMembers>> populations_;
};

// Nei's unbiased values between every two populations of the working data, a > b at
// a (a - 1) / 2 + b.
std::vector<NeiValues> NeiBetween(const DataMatrix& data, const std::vector<PopulationMembers>& populations);

// One table of a result block: as aligned in the analysis file, followed by its notes, and as
// copied for a spreadsheet.
struct TableBlock {
  ResultTable aligned;
  ResultTable tabbed;
  std::vector<std::string> notes;
};

// What the session report's methods say of a block: a sentence and the keys of the works it
// cites; and the figures the report shows with it.
struct ReportMethod {
  std::string sentence;
  std::vector<std::string> references;
  std::vector<ReportFigure> figures = {};
};

// Appends the tables as a block to the analysis file and writes their tab-separated copy whole
// (when a file is named): both or neither, a failure of either leaving both files as they were.
// A block written joins the session's report record, its first heading line as its title.
void WriteTables(TMainPrg& app, const std::string& tableFile, const std::vector<std::string>& heading,
                 const std::vector<TableBlock>& blocks, const ReportMethod& method = {});
// The same with a copy that writeCopy writes.
void WriteTables(TMainPrg& app, const std::string& copyFile, const std::function<void(TextFileWriter&)>& writeCopy,
                 const std::vector<std::string>& heading, const std::vector<TableBlock>& blocks,
                 const ReportMethod& method = {});

}  // namespace vorn
