// File > Import: a settings field that cannot be read is refused with its name and what it
// takes, and the dialog opens again; cancelled then, nothing is loaded.
#include <gtest/gtest.h>

#include "support/command_fixture.h"

namespace vorn {
namespace {

class ImportRefusalsTest : public testing::CommandTest {};

TEST_F(ImportRefusalsTest, ARefusedFieldIsNamedWithWhatItTakes) {
  dir.Write("table.csv", "name,region,l1,l2\na,R,1,0\nb,S,0,1\n");
  const std::string columns = "column numbers from 1 up, apart by blanks, commas or semicolons";
  const struct {
    std::string name, groups, skipped, coordinates;
    std::string error;
  } cases[] = {
      {"x", "", "", "", "The name column (name_column) must be one column number from 1 up, or 0 for none, not \"x\"."},
      {"1 2", "", "", "", "The name column (name_column) must be one column number from 1 up, or 0 for none, not \"1 2\"."},
      {"1", "2-3", "", "", "The group columns (group_columns) must be " + columns + ", not \"2-3\"."},
      {"1", "2", "0", "", "The columns to leave out (skip_columns) must be " + columns + ", not \"0\"."},
      {"1", "2", "", "x y", "The coordinate columns (coordinate_columns) must be " + columns + ", not \"x y\"."},
  };
  for (const auto& c : cases) {
    host.messages.clear();
    host.files.push_back("table.csv");
    Answer({{"name_column", c.name}, {"group_columns", c.groups}, {"skip_columns", c.skipped},
            {"coordinate_columns", c.coordinates}});
    Answer({}, false);  // shown again after the refusal: cancelled
    Run("ImportCsvTable1Click");
    EXPECT_EQ(host.Errors(), (std::vector<std::string>{c.error, "No data loaded."}));
    EXPECT_FALSE(app.ws.dataLoaded);
  }
}

}  // namespace
}  // namespace vorn
