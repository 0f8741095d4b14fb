#include "trees/newick_writer.h"

#include <vector>

#include "core/label_table.h"
#include "core/number_format.h"
#include "core/text_file.h"

namespace vorn {
namespace {

bool ReservedInNewick(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code <= ' ' || code == 0x7F || std::string_view("(),:;[]'").find(c) != std::string_view::npos;
}

// Children of every record, each list from the highest record number down, in one block:
// the children of record k are children[first[k] .. first[k + 1]).
struct ChildLists {
  std::vector<std::size_t> first;
  std::vector<std::size_t> children;

  explicit ChildLists(const TreeNodeTable& table) : first(table.Count() + 2, 0), children(table.Count()) {
    for (const TreeNode& record : table.Records()) ++first[record.node + 1];
    for (std::size_t k = 1; k < first.size(); ++k) first[k] += first[k - 1];
    std::vector<std::size_t> next(first.begin(), first.end() - 1);
    for (std::size_t k = table.Count(); k >= 1; --k) {
      if (table[k].node != 0) children[next[table[k].node]++] = k;
    }
  }
};

}  // namespace

std::string NewickName(std::string_view name) {
  std::string written(name);
  for (char& c : written) {
    if (ReservedInNewick(c)) c = '_';
  }
  return written;
}

std::string TreeToNewick(const TreeNodeTable& table, std::string_view label) {
  const ChildLists lists(table);
  std::string text;
  // A walk from the root; each frame is an open internal node and the position of its next child.
  struct Frame {
    std::size_t record;
    std::size_t next;
  };
  std::vector<Frame> open;
  const auto appendLength = [&](std::size_t record) {
    text += ':';
    text += FormatReal(table[record].length);
  };
  const std::size_t root = table.Count();
  text += '(';
  open.push_back({root, lists.first[root]});
  while (!open.empty()) {
    Frame& top = open.back();
    if (top.next == lists.first[top.record + 1]) {
      text += ')';
      const std::size_t closed = top.record;
      open.pop_back();
      if (!open.empty()) appendLength(closed);
      continue;
    }
    if (top.next != lists.first[top.record]) text += ", ";
    const std::size_t child = lists.children[top.next++];
    if (table[child].IsLeaf()) {
      text += NewickName(table[child].name);
      appendLength(child);
    } else {
      text += '(';
      open.push_back({child, lists.first[child]});
    }
  }
  text += NewickName(CutLabel(label));
  text += "; ";
  return text;
}

Status WriteTextLine(std::string_view text, const std::string& fileName, bool rewrite) {
  auto file = TextFileWriter::Open(fileName, rewrite ? WriteMode::Replace : WriteMode::Append);
  if (!file) return Failure{file.error()};
  file->Line(text);
  return file->Close();
}

}  // namespace vorn
