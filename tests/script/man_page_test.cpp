#include "script/man_page.h"

#include <gtest/gtest.h>

#include "script/script_runner.h"

namespace vorn {
namespace {

TEST(ManPage, SectionsFromHeadingsAndLinesKeptWithRoffCharactersEscaped) {
  const std::string page = ManPage(
      "Vorn 2.0: a workbench for band data.\n\nUsage:\n  vorn --script FILE   run FILE\n\n"
      "Script language:\n.starts with a dot\n  a \\ backslash and 'quote\n");
  EXPECT_EQ(page,
            ".TH VORN 1 \"\" \"Vorn 2.0\" \"User Commands\"\n.SH NAME\nvorn \\- a workbench for band data\n"
            ".SH SYNOPSIS\n.nf\n  vorn \\-\\-script FILE   run FILE\n.sp\n.fi\n"
            ".SH \"SCRIPT LANGUAGE\"\n.nf\n\\&.starts with a dot\n  a \\e backslash and 'quote\n.fi\n");
}

TEST(ManPage, HoldsEveryOptionOfTheHelpText) {
  const std::string page = ManPage(HelpText());
  for (const char* option : {"\\-\\-script FILE", "\\-\\-screenshot FILE", "\\-\\-seed N", "\\-\\-strict",
                             "\\-\\-fixed\\-clock", "\\-\\-help", "\\-\\-version", "File Parameter Selection"}) {
    EXPECT_NE(page.find(option), std::string::npos) << option;
  }
  // The sections a manual page is read for, in the order man pages give them.
  std::size_t previous = 0;
  for (const char* section : {".SH SYNOPSIS\n", ".SH \"DESCRIPTION\"\n", ".SH \"FILES\"\n", ".SH \"COPYRIGHT\"\n",
                              ".SH \"SEE ALSO\"\n"}) {
    const std::size_t at = page.find(section);
    EXPECT_NE(at, std::string::npos) << section;
    if (at == std::string::npos) continue;
    EXPECT_GT(at, previous) << section;
    previous = at;
  }
  EXPECT_NE(page.find("GPL\\-3.0\\-or\\-later"), std::string::npos);
}

}  // namespace
}  // namespace vorn
