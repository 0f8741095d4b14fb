#include "trees/newick_reader.h"

#include <charconv>
#include <cmath>

namespace vorn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }
bool EndsName(char c) { return c == '(' || c == ')' || c == ',' || c == ':' || c == ';' || c == '[' || IsBlank(c); }

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  Result<NewickTree> Read() {
    NewickTree tree;
    tree.nodes.emplace_back();
    int current = 0;  // the node whose name and length come next
    int open = 0;     // groups opened and not yet closed
    SkipBlanks();
    if (AtEnd()) return Failure{"The tree text is empty."};
    while (!AtEnd() && text_[pos_] != ';') {
      const char c = text_[pos_];
      if (c == '(') {
        ++pos_;
        ++open;
        current = AddChild(tree, current);
      } else if (c == ',') {
        if (open == 0) return Fail("a \",\" outside every parenthesis", pos_);
        ++pos_;
        current = AddChild(tree, tree.nodes[current].parent);
      } else if (c == ')') {
        if (open == 0) return Fail("a \")\" without its \"(\"", pos_);
        ++pos_;
        --open;
        current = tree.nodes[current].parent;
      } else if (c == ':') {
        if (tree.nodes[current].length) return Fail("two branch lengths for one node", pos_);
        ++pos_;
        SkipBlanks();
        const std::size_t start = pos_;
        auto length = ReadLength();
        if (!length) return Fail("a branch length that is not a number", start);
        tree.nodes[current].length = *length;
      } else if (c == '[') {
        if (!SkipComment()) return Fail("a \"[\" without its \"]\"", pos_);
      } else if (IsBlank(c)) {
        ++pos_;
      } else {
        const std::size_t start = pos_;
        if (!tree.nodes[current].name.empty()) return Fail("two names for one node", start);
        auto name = ReadName();
        if (!name) return Fail("a quoted name without its closing quote", start);
        tree.nodes[current].name = std::move(*name);
      }
    }
    if (open > 0) return Fail("a \"(\" without its \")\"", pos_);
    return tree;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }

  // at: the offending character's index; the message counts from 1.
  static Failure Fail(const std::string& what, std::size_t at) {
    return Failure{"The tree text holds " + what + " (character " + std::to_string(at + 1) + ")."};
  }

  static int AddChild(NewickTree& tree, int parent) {
    const int child = static_cast<int>(tree.nodes.size());
    tree.nodes.push_back(NewickNode{{}, std::nullopt, parent, {}});
    tree.nodes[parent].children.push_back(child);
    return child;
  }

  bool SkipComment() {
    const auto close = text_.find(']', pos_);
    if (close == std::string_view::npos) return false;
    pos_ = close + 1;
    return true;
  }

  std::optional<std::string> ReadName() {
    std::string name;
    if (text_[pos_] == '\'') {
      // A quoted name; two quotes inside stand for one.
      for (++pos_; pos_ < text_.size(); ++pos_) {
        if (text_[pos_] != '\'') {
          name += text_[pos_];
        } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
          name += '\'';
          ++pos_;
        } else {
          ++pos_;
          return name;
        }
      }
      return std::nullopt;
    }
    while (!AtEnd() && !EndsName(text_[pos_])) name += text_[pos_++];
    return name;
  }

  std::optional<double> ReadLength() {
    const std::size_t start = pos_;
    while (!AtEnd() && !EndsName(text_[pos_])) ++pos_;
    double value = 0;
    const char* first = text_.data() + start;
    const char* last = text_.data() + pos_;
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<int> NewickTree::Tips() const {
  std::vector<int> tips;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].IsTip()) tips.push_back(static_cast<int>(i));
  }
  return tips;
}

Result<NewickTree> ReadNewick(std::string_view text) { return Reader(text).Read(); }

}  // namespace vorn
