// The forms of the removal, replacement and Shannon scaling dialogs: captions, keys and masks.
#include <gtest/gtest.h>

#include <algorithm>

#include "commands/all_commands.h"
#include "support/recording_host.h"

namespace vorn {
namespace {

TEST(EditingDialogs, AreListedWithTheirCaptions) {
  testing::RecordingHost host;
  TMainPrg app(host, AllCommands());
  std::vector<std::string> captions;
  for (ModalDialog* dialog : app.dialogs.All()) captions.push_back(dialog->form.Caption());
  for (const char* caption : {"Data removal...", "Data removal", "Missing Data Replacement...", "Shannon's index scaling preferences"}) {
    EXPECT_NE(std::find(captions.begin(), captions.end(), caption), captions.end()) << caption;
  }
}

TEST(EditingDialogs, TheMaskedFieldsTakeTwoDigits) {
  TDataRemDlg removal;
  TMDR_Dlg replacement;
  for (DialogForm* form : {&removal.form, &replacement.form}) {
    const Control& percent = (*form)["percent"];
    EXPECT_EQ(percent.maxLength, 2);
    EXPECT_TRUE(percent.digitsOnly);
    EXPECT_EQ(percent.suffix, "%");
  }
  EXPECT_EQ(removal.form["text"].caption, "Remove data with more than x% missing data:");
  EXPECT_EQ(replacement.form["replace"].items[2], "Missing data which will be replaced by presences:");
  EXPECT_EQ(replacement.form["percent"].besideKey, "replace");
}

TEST(EditingDialogs, TheScalingDialogOffersBothBasesAndFourLogarithms) {
  TShScaleDlg dialog;
  EXPECT_EQ(dialog.form["frequencies"].caption, "Frquencies p(i) are band presences in locus...");
  EXPECT_EQ(dialog.form["frequencies"].items,
            (std::vector<std::string>{"relative to all presences", "divided by number of individuals"}));
  EXPECT_EQ(dialog.form["log_base"].caption, "Shannon's index is calculated with logarithm to base... ");
  EXPECT_EQ(dialog.form["log_base"].items.back(), "other (i.e., logA x). A =");
  EXPECT_EQ(dialog.form["a"].besideItem, 3);
}

}  // namespace
}  // namespace vorn
