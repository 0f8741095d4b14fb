// The bootstrap-and-consensus script checked from first principles: the clusters of every tree
// in the tree file are counted here, with a Newick reader of this test's own, and the
// majority-rule consensus must hold exactly the clusters found in at least 70 % of the trees,
// each labelled with its share.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "script/script_runner.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using Cluster = std::set<std::string>;

// Reads one Newick tree: every group's leaves, with the group's label ("" when it has none).
class NewickReader {
 public:
  explicit NewickReader(std::string text) {
    for (char c : text) {
      if (c != ' ') text_ += c;
    }
  }

  std::vector<std::pair<Cluster, std::string>> Groups() {
    Node(position_);
    return groups_;
  }

 private:
  Cluster Node(std::size_t& at) {
    Cluster leaves;
    if (text_[at] == '(') {
      do {
        ++at;
        const Cluster child = Node(at);
        leaves.insert(child.begin(), child.end());
      } while (text_[at] == ',');
      EXPECT_EQ(text_[at], ')');
      ++at;
      groups_.emplace_back(leaves, Token(at));
    } else {
      leaves.insert(Token(at));
    }
    if (text_[at] == ':') {
      ++at;
      Token(at);
    }
    return leaves;
  }

  std::string Token(std::size_t& at) {
    const std::size_t end = text_.find_first_of(",():;", at);
    std::string token = text_.substr(at, end - at);
    at = end;
    return token;
  }

  std::string text_;
  std::size_t position_ = 0;
  std::vector<std::pair<Cluster, std::string>> groups_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

TEST(BootstrapSupport, TheConsensusLabelsEveryClusterOfSeventyPercentWithItsShareOfTheBootstrapTrees) {
  const fs::path caseDir = fs::path(VORN_TEST_DATA) / "scripts" / "bootstrap_consensus";
  testing::TempDir work;
  for (const char* input : {"data.txt", "script.vorn"}) fs::copy(caseDir / input, work.Path() / input);
  work.Enter();
  ScriptOptions options;
  options.path = "script.vorn";
  options.seed = 1;
  std::ostringstream out, err;
  ASSERT_EQ(RunScript(options, out, err), 0) << err.str();

  const auto trees = Lines(testing::ReadFile("outtree.ph"));
  ASSERT_EQ(trees.size(), 20u);
  std::map<Cluster, int> counts;
  for (std::size_t t = 0; t < trees.size(); ++t) {
    const auto groups = NewickReader(trees[t]).Groups();
    EXPECT_EQ(groups.back().second, "BSJaccard" + std::to_string(t + 1));  // the root's label
    for (const auto& [cluster, label] : groups) ++counts[cluster];
  }

  const auto consensus = Lines(testing::ReadFile("constree.ph"));
  ASSERT_EQ(consensus.size(), 1u);
  std::map<Cluster, std::string> labelled;
  for (const auto& [cluster, label] : NewickReader(consensus[0]).Groups()) labelled[cluster] = label;

  std::size_t supported = 0;
  for (const auto& [cluster, count] : counts) {
    if (count < 14) continue;  // 70 % of 20 trees
    ++supported;
    ASSERT_TRUE(labelled.count(cluster)) << "a cluster in " << count << " trees is missing";
    EXPECT_EQ(std::stod(labelled[cluster]), 100.0 * count / 20) << "a cluster in " << count << " trees";
  }
  EXPECT_EQ(labelled.size(), supported);
  // The data hold groups of every degree of support, so the check is not empty.
  EXPECT_GE(supported, 5u);
}

}  // namespace
}  // namespace vorn
