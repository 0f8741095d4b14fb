#include "commands/dialogs/coefficient_dialog.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using M = SimilarityMode;
using T = DistanceTransformation;
using testing::RecordingHost;

class CoefficientDialogTest : public ::testing::Test {
 protected:
  // Opens the dialog, lets answer change it, and gives back what it showed on opening.
  DialogForm Open(const std::function<bool(DialogForm&)>& answer) {
    DialogForm shown("");
    host.dialogs.push_back([&](DialogForm& form) {
      shown = form;
      return answer(form);
    });
    dialog.Execute(session, settings);
    return shown;
  }

  Workspace ws;
  RecordingHost host;
  Session session{ws, host};
  TSelCDlg dialog;
  SimilaritySettings settings;
};

TEST_F(CoefficientDialogTest, TheDefaultsReportedLetterForLetter) {
  const DialogForm shown = Open([](DialogForm&) { return true; });
  EXPECT_EQ(shown.Caption(), "Select Similarity Coefficient");
  EXPECT_EQ(shown["coefficient"].selected, 0);
  EXPECT_EQ(shown["r"].text, "6");
  EXPECT_TRUE(shown["write_similarity"].checked);
  EXPECT_FALSE(shown["write_distance"].checked);
  EXPECT_EQ(host.reports,
            std::vector<std::string>{"Coefficient set to Jaccard (similarity). Dist Transform: d=1-s. SimOutput on. Pref: Std."});
}

TEST_F(CoefficientDialogTest, NeiLiWithTheDefaultR) {
  Open([](DialogForm& form) {
    form["coefficient"].selected = 3;
    return true;
  });
  EXPECT_EQ(host.reports, std::vector<std::string>{"Coefficient set to NeiLi (distance). (With r=6.) Dist Transform: "
                                                   "d'=d. SimOutput on. Pref: Std."});
  EXPECT_EQ(settings.coefficient, C::NeiLi);
  EXPECT_EQ(settings.transformation, T::D);
}

TEST_F(CoefficientDialogTest, ADistanceStoresTheTransformationPlusThreeAndShowsItsItem) {
  Open([](DialogForm& form) {
    form["coefficient"].selected = 5;
    form["transformation"].selected = 1;
    form["write_similarity"].checked = false;
    form["write_distance"].checked = true;
    form["amova"].selected = 2;
    return true;
  });
  EXPECT_EQ(settings.transformation, T::SqrtD);
  EXPECT_EQ(settings.amovaSimilarity, M::Maximum);
  // The preference keeps its own name; it is not exchanged for a distance.
  EXPECT_EQ(host.reports.back(),
            "Coefficient set to Sq.Euclidean (distance). Dist Transform: d'=SQRT(d). DistOutput on. Pref: Max.");
  const DialogForm reopened = Open([](DialogForm&) { return false; });
  EXPECT_EQ(reopened["transformation"].selected, 1);
  EXPECT_EQ(reopened["coefficient"].selected, 5);
}

TEST_F(CoefficientDialogTest, CancelChangesNothingAndLogsNothing) {
  Open([](DialogForm& form) {
    form["coefficient"].selected = 2;
    return false;
  });
  EXPECT_EQ(settings.coefficient, C::Jaccard);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(CoefficientDialogTest, AnUnreadableROrOneNotAboveZeroKeepsTheOldR) {
  for (const char* text : {"six", "", "0", "-2", "1e999", "1e-400", "6,5", "nan"}) {
    host.reports.clear();
    host.messages.clear();
    Open([&](DialogForm& form) {
      form["coefficient"].selected = 3;
      form["r"].text = text;
      form["amova"].selected = 3;
      return true;
    });
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"Invalid input for NeiLi_R."}) << text;
    EXPECT_EQ(settings.neiLiR, 6.0) << text;
    EXPECT_EQ(settings.amovaSimilarity, M::Average);
    EXPECT_EQ(host.reports, std::vector<std::string>{"Coefficient set to NeiLi (distance). (With r=6.) Dist Transform: "
                                                     "d'=d. SimOutput on. Pref: Avg."});
  }
}

TEST_F(CoefficientDialogTest, RIsReadOnlyForNeiLi) {
  Open([](DialogForm& form) {
    form["coefficient"].selected = 3;
    form["r"].text = " 2.5 ";
    return true;
  });
  EXPECT_EQ(settings.neiLiR, 2.5);
  EXPECT_EQ(host.reports.back(),
            "Coefficient set to NeiLi (distance). (With r=2.5.) Dist Transform: d'=d. SimOutput on. Pref: Std.");
  Open([](DialogForm& form) {
    form["coefficient"].selected = 1;
    form["r"].text = "junk";
    return true;
  });
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(settings.neiLiR, 2.5);
  EXPECT_EQ(host.reports.back(), "Coefficient set to Dice (similarity). Dist Transform: d=1-s. SimOutput on. Pref: Std.");
}

}  // namespace
}  // namespace vorn
