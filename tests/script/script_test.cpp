#include "commands/shell/dialog_answer.h"
#include "commands/shell/session_recorder.h"
#include "script/script.h"
#include "script/script_host.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace vorn {
namespace {

TEST(ParseScript, CommandsWithTheirAnswers) {
  auto script = ParseScript(
      "# a comment\r\n"
      "File > Load\r\n"
      "    file: data/my file.txt\r\n"
      "\tFile Parameter Selection: individuals=rows\r\n"
      "\r\n"
      "DataMatrix > Remove Loci... > With Missing Data\n"
      "  Output file exists: No\n");
  ASSERT_TRUE(script.ok()) << script.error();
  ASSERT_EQ(script->size(), 2u);
  const ScriptCommand& load = (*script)[0];
  EXPECT_EQ(load.line, 2);
  EXPECT_EQ(load.path, (std::vector<std::string>{"File", "Load"}));
  ASSERT_EQ(load.answers.size(), 2u);
  EXPECT_EQ(load.answers[0].target, "file");
  EXPECT_EQ(load.answers[0].value, "data/my file.txt");
  EXPECT_EQ(load.answers[1].target, "File Parameter Selection");
  EXPECT_EQ(load.answers[1].value, "individuals=rows");
  EXPECT_EQ((*script)[1].path, (std::vector<std::string>{"DataMatrix", "Remove Loci...", "With Missing Data"}));
  EXPECT_EQ((*script)[1].answers[0].line, 7);
}

TEST(ParseScript, MistakesNameTheirLine) {
  EXPECT_EQ(ParseScript("  file: x\n").error(), "line 1: an answer line needs a command above it");
  EXPECT_EQ(ParseScript("File > Load\n  just words\n").error(),
            "line 2: an answer line reads \"TITLE: ANSWER\", not \"just words\"");
  EXPECT_EQ(ParseScript("File > > Load\n").error(), "line 1: empty caption in menu path \"File > > Load\"");
}

TEST(SameCaption, IgnoresCaseAcceleratorsAndTrailingDots) {
  EXPECT_TRUE(SameCaption("Remove &Individuals...", "remove individuals"));
  EXPECT_TRUE(SameCaption("Mo&nomorphic...", "Monomorphic..."));
  EXPECT_FALSE(SameCaption("Monomorphic &Absences...", "Monomorphic"));
}

DialogForm SampleForm() {
  DialogForm form("Sample");
  form.Add(RadioGroupControl("mode", "Mode", {"Standard similarity", "Minimum similarity"}, {"standard", "minimum"}));
  form.Add(CheckBoxControl("flag", "Flag"));
  form.Add(CharFieldControl("symbol", "Symbol"));
  form.Add(TextFieldControl("count", "Count", 3, true));
  Control list = TickListControl("loci", "Loci");
  list.items = {"L1", "L2", "L3"};
  list.marks = {true, true, true};
  form.Add(list);
  Control drop = DropDownControl("group", "Group");
  drop.items = {"AllData", "AllData/PopA"};
  form.Add(drop);
  form.Add(LabelControl("note", "a note"));
  return form;
}

TEST(DialogAnswer, SetsEachKindOfControl) {
  DialogForm form = SampleForm();
  ASSERT_TRUE(ApplyDialogAnswer(form, "mode=minimum, flag=yes, symbol=,, count=42, loci=L1|L3, group=AllData/PopA").ok());
  EXPECT_EQ(form["mode"].selected, 1);
  EXPECT_TRUE(form["flag"].checked);
  EXPECT_EQ(form["symbol"].text, ",");
  EXPECT_EQ(form["count"].text, "42");
  EXPECT_EQ(form["loci"].marks, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(form["group"].selected, 1);
}

TEST(DialogAnswer, ItemsByCaptionOrNumberAndQuotedValues) {
  DialogForm form = SampleForm();
  ASSERT_TRUE(ApplyDialogAnswer(form, "mode=Standard Similarity, group=2, symbol=\" \"").ok());
  EXPECT_EQ(form["mode"].selected, 0);
  EXPECT_EQ(form["group"].selected, 1);
  EXPECT_EQ(form["symbol"].text, " ");
  ASSERT_TRUE(ApplyDialogAnswer(form, "symbol=, loci=").ok());
  EXPECT_EQ(form["symbol"].text, "");
  EXPECT_EQ(form["loci"].marks, (std::vector<bool>{false, false, false}));
}

TEST(DialogAnswer, RefusesWhatTheDialogCannotTake) {
  DialogForm form = SampleForm();
  EXPECT_EQ(ApplyDialogAnswer(form, "colour=red").error(), "the dialog \"Sample\" has no control \"colour\"");
  EXPECT_EQ(ApplyDialogAnswer(form, "note=x").error(), "the dialog \"Sample\" has no control \"note\"");
  EXPECT_EQ(ApplyDialogAnswer(form, "mode=maximum").error(), "\"maximum\" is not an item of mode");
  EXPECT_EQ(ApplyDialogAnswer(form, "flag=maybe").error(), "\"maybe\" is not true or false");
  EXPECT_EQ(ApplyDialogAnswer(form, "count=1234").error(), "count takes at most 3 characters");
  EXPECT_EQ(ApplyDialogAnswer(form, "count=-1").error(), "count takes digits only");
  EXPECT_EQ(ApplyDialogAnswer(form, "loci=L9").error(), "\"L9\" is not an item of loci");
  EXPECT_EQ(ApplyDialogAnswer(form, "just text").error(), "expected key=value at \"just text\"");
  // A key given twice is refused before any value is taken, not left to the last one.
  const std::string count = form["count"].text;
  EXPECT_EQ(ApplyDialogAnswer(form, "count=1, mode=minimum, count=2").error(), "the key \"count\" is given twice");
  EXPECT_EQ(form["count"].text, count);
  form["flag"].visible = false;
  EXPECT_EQ(ApplyDialogAnswer(form, "flag=true").error(), "\"flag\" is not shown in the dialog \"Sample\" now");
}

TEST(DialogAnswer, DescribesKeysAndValues) {
  EXPECT_EQ(DescribeDialog(SampleForm()),
            "    mode = standard | minimum\n"
            "    flag = true | false\n"
            "    symbol = one character\n"
            "    count = digits, at most 3 characters\n"
            "    loci = items joined with |\n"
            "    group = AllData | AllData/PopA\n");
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

TEST(EscapedAnswerText, KeepsTabsAndLineBreaksOnOneLine) {
  const std::string text = "\tL1\\x\nA\t1\r\n";
  EXPECT_EQ(EscapedAnswerText(text), "\"\\tL1\\\\x\\nA\\t1\\r\\n\"");
  EXPECT_EQ(UnescapedAnswerText(EscapedAnswerText(text)), text);
  EXPECT_EQ(UnescapedAnswerText("\"\""), "");
  for (const char* bad : {"\\t", "\"\\q\"", "\"a\\\"", "\""}) EXPECT_FALSE(UnescapedAnswerText(bad)) << bad;
}

// Headless there is no clipboard: the answer names a file that holds the table, or carries it.
TEST(ScriptHost, TheClipboardIsAFileOrTheTextOfTheAnswer) {
  testing::TempDir dir;
  dir.Write("table.tsv", "\tL1\nA\t1\n");
  const auto commands = ParseScript("File > New Matrix from Clipboard\n    clipboard: " + dir.File("table.tsv") +
                                    "\nFile > New Matrix from Clipboard\n    clipboard text: \"\\tL1\\nB\\t0\\n\"\n"
                                    "File > New Matrix from Clipboard\n"
                                    "File > New Matrix from Clipboard\n    clipboard: " + dir.File("none.tsv") + "\n");
  ASSERT_TRUE(commands);
  std::ostringstream transcript;
  ScriptHost host(transcript);
  host.BeginCommand((*commands)[0]);
  EXPECT_EQ(host.ClipboardText(), "\tL1\nA\t1\n");
  host.BeginCommand((*commands)[1]);
  EXPECT_EQ(host.ClipboardText(), "\tL1\nB\t0\n");
  EXPECT_EQ(transcript.str(), "[Clipboard] " + dir.File("table.tsv") + "\n[Clipboard] 2 lines of text\n");
  try {
    host.BeginCommand((*commands)[2]);
    host.ClipboardText();
    ADD_FAILURE() << "no answer, no stop";
  } catch (const ScriptStop& stop) {
    EXPECT_EQ(stop.message, "line 5: there is no clipboard without the window; add \"clipboard: PATH\", a file that holds the table");
  }
  try {
    host.BeginCommand((*commands)[3]);
    host.ClipboardText();
    ADD_FAILURE() << "no file, no stop";
  } catch (const ScriptStop& stop) {
    EXPECT_EQ(stop.message.rfind("line 7: cannot read the clipboard's table: ", 0), 0u) << stop.message;
  }
}

}  // namespace
}  // namespace vorn
