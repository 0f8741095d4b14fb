// The node table every tree builder fills and the Newick writer reads. Records are numbered from 1
// in the order they were written; record k has number k, the root is the last record and the only
// one without a parent, and an internal record's descendants equals the number of records naming
// it as their parent (leaves have none).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"

namespace vorn {

// Numbers are 16-bit, so a table holds at most 65535 records: a tree of at most 32768 OTUs.
inline constexpr std::size_t kMaxTreeRecords = 65535;

struct TreeNode {
  std::uint16_t number = 0;
  std::string name;           // leaf: the OTU's label (at most 20 characters); internal: a working name
  Real length = 0;            // branch length to the parent
  std::uint16_t node = 0;     // number of the parent; 0 for the root
  std::uint16_t descendants = 0;
  std::uint32_t descriptor = 0;

  bool IsLeaf() const { return descendants == 0; }
  bool operator==(const TreeNode&) const = default;
};

class TreeNodeTable {
 public:
  std::size_t Count() const { return records_.size(); }
  bool Empty() const { return records_.empty(); }

  // Record by its 1-based number.
  TreeNode& operator[](std::size_t number) { return records_[number - 1]; }
  const TreeNode& operator[](std::size_t number) const { return records_[number - 1]; }

  // Appends a record and gives it the next number. The builders keep to kMaxTreeRecords (UPGMA
  // refuses more than kMaxTreeOtus OTUs, whose tree has at most 2n - 1 records).
  TreeNode& Append(TreeNode record) {
    record.number = static_cast<std::uint16_t>(records_.size() + 1);
    return records_.emplace_back(std::move(record));
  }

  void Reserve(std::size_t count) { records_.reserve(count); }
  const std::vector<TreeNode>& Records() const { return records_; }

  bool operator==(const TreeNodeTable&) const = default;

 private:
  std::vector<TreeNode> records_;
};

}  // namespace vorn
