#include "trees/cluster_table.h"

#include "core/progress.h"
#include "trees/tree_text.h"

namespace vorn {
namespace {

std::uint64_t HashWords(const std::vector<std::uint64_t>& words) {
  std::uint64_t hash = 0x9E3779B97F4A7C15ull;
  for (std::uint64_t word : words) {
    hash ^= word + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    hash *= 0xBF58476D1CE4E5B9ull;
  }
  return hash ^ (hash >> 31);
}

}  // namespace

std::size_t Cluster::Size() const { return MemberCount(members); }

OtuNames::OtuNames(std::vector<std::string> names) : names_(std::move(names)) {
  for (std::size_t i = 0; i < names_.size(); ++i) positions_.emplace(names_[i], i);
}

long OtuNames::Find(std::string_view name) const {
  const auto found = positions_.find(name);
  return found == positions_.end() ? -1 : static_cast<long>(found->second);
}

std::string_view ClusterErrorMessage(ClusterError error) {
  switch (error) {
    case ClusterError::None: return {};
    case ClusterError::UnknownName: return "Consensus error: Inconsistent array of OTUs";
    case ClusterError::TableFull: return "Maximal number of clusters that can be evaluated has been reached.";
  }
  return {};
}

void ClusterTable::BeginTree() {
  ++tree_;
  refused_.clear();
  refusedByHash_.clear();
}

long ClusterTable::Find(const std::unordered_multimap<std::uint64_t, std::size_t>& index, const std::vector<Cluster>& clusters,
                        std::uint64_t hash, const std::vector<std::uint64_t>& members) {
  const auto [begin, end] = index.equal_range(hash);
  for (auto entry = begin; entry != end; ++entry) {
    if (clusters[entry->second].members == members) return static_cast<long>(entry->second);
  }
  return -1;
}

long ClusterTable::Position(const std::vector<std::uint64_t>& members) const {
  return Find(byHash_, clusters_, HashWords(members), members);
}

ClusterError ClusterTable::Count(std::vector<std::uint64_t> members) {
  const std::uint64_t hash = HashWords(members);
  if (const long found = Find(byHash_, clusters_, hash, members); found >= 0) {
    const auto position = static_cast<std::size_t>(found);
    if (lastTree_[position] != tree_) {
      lastTree_[position] = tree_;
      ++clusters_[position].count;
    }
    return ClusterError::None;
  }
  if (clusters_.size() < kMaxClusters) {
    byHash_.emplace(hash, clusters_.size());
    clusters_.push_back(Cluster{std::move(members), 1, 0});
    lastTree_.push_back(tree_);
    return ClusterError::None;
  }
  if (Find(refusedByHash_, refused_, hash, members) >= 0) return ClusterError::None;
  refusedByHash_.emplace(hash, refused_.size());
  refused_.push_back(Cluster{std::move(members), 0, 0});
  ++notCounted_;
  return ClusterError::TableFull;
}

namespace {

// Reads the groups of one tree. The text without the parentheses read so far is kept whole; an
// open group's text is its tail from where the group opened. The names between two commas are
// looked up once, when the second comma is read, whatever the number of groups around them.
class GroupReader {
 public:
  GroupReader(const OtuNames& names, ClusterTable& table, TreeComparison comparison)
      : names_(names), table_(table), comparison_(comparison) {}

  void Open() { open_.push_back({flat_.size(), commas_.size()}); }

  // false for a ")" without its "(".
  bool Close(std::vector<ClusterError>& errors) {
    if (open_.empty()) return false;
    const Group group = open_.back();
    open_.pop_back();
    const bool sameAsInner = group.start == lastClosed_.start && flat_.size() == lastClosed_.end;
    lastClosed_ = {group.start, flat_.size()};
    const bool singleName = group.firstComma == commas_.size();
    if (sameAsInner || (singleName && names_.Count() != 1)) return true;
    if (const ClusterError error = CountGroup(group); error != ClusterError::None) errors.push_back(error);
    return true;
  }

  void Add(char c) {
    if (c == ',') {
      // The OTU of the piece that this comma ends; the piece before the first comma is never
      // whole inside a group's text.
      pieceOtus_.push_back(commas_.empty() ? -1 : Lookup(commas_.back() + 1, flat_.size()));
      commas_.push_back(flat_.size());
    }
    flat_ += c;
  }

 private:
  struct Group {
    std::size_t start;       // in flat_
    std::size_t firstComma;  // the first of commas_ inside the group, if any
  };
  struct Range {
    std::size_t start = static_cast<std::size_t>(-1), end = 0;
  };

  long Lookup(std::size_t begin, std::size_t end) const {
    return names_.Find(std::string_view(flat_).substr(begin, end - begin));
  }

  ClusterError CountGroup(const Group& group) {
    std::vector<std::uint64_t> members(names_.WordCount(), 0);
    const auto mark = [&](long otu) {
      if (otu < 0) return false;
      members[static_cast<std::size_t>(otu) / 64] |= std::uint64_t{1} << (otu % 64);
      return true;
    };
    const std::size_t end = flat_.size();
    bool known;
    if (group.firstComma == commas_.size()) {
      known = mark(Lookup(group.start, end));
    } else {
      const std::size_t lastComma = commas_.size() - 1;
      known = mark(Lookup(group.start, commas_[group.firstComma])) && mark(Lookup(commas_[lastComma] + 1, end));
      for (std::size_t k = group.firstComma + 1; known && k <= lastComma; ++k) known = mark(pieceOtus_[k]);
    }
    if (!known) return ClusterError::UnknownName;
    if (comparison_ == TreeComparison::Splits && MemberCount(members) != names_.Count() &&
        !ToSplitSide(members, names_.Count())) {
      return ClusterError::None;
    }
    return table_.Count(std::move(members));
  }

  const OtuNames& names_;
  ClusterTable& table_;
  const TreeComparison comparison_;
  std::string flat_;
  std::vector<std::size_t> commas_;  // positions in flat_
  std::vector<long> pieceOtus_;      // per comma: the OTU named between it and the comma before, or -1
  std::vector<Group> open_;
  Range lastClosed_;
};

}  // namespace

std::vector<ClusterError> ExtractClusters(std::string_view treeText, const OtuNames& names, ClusterTable& table,
                                          TreeComparison comparison) {
  const std::string normal = NormaliseTreeText(treeText);
  std::string_view text = normal;
  if (!text.empty() && text.back() == ';') text.remove_suffix(1);
  if (!text.empty() && text.front() == ';') text.remove_prefix(1);

  table.BeginTree();
  GroupReader reader(names, table, comparison);
  std::vector<ClusterError> errors;
  for (char c : text) {
    if (c == '(') {
      reader.Open();
    } else if (c == ')') {
      if (!reader.Close(errors)) break;
    } else {
      reader.Add(c);
    }
  }
  return errors;
}

ClusterCount CountClusters(const std::vector<std::string>& trees, TreeComparison comparison) {
  ClusterCount counted;
  counted.comparison = comparison;
  if (trees.empty()) return counted;
  counted.names = OtuNames(ExtractOTUNames(trees.front()));
  for (const std::string& tree : trees) {
    KeepResponsive();
    for (ClusterError error : ExtractClusters(tree, counted.names, counted.table, comparison)) {
      if (error == ClusterError::UnknownName) counted.errors.push_back(error);
    }
  }
  counted.treeCount = static_cast<std::uint32_t>(trees.size());
  return counted;
}

std::vector<std::string> ClusterCountMessages(const ClusterCount& counted) {
  std::vector<std::string> messages;
  for (ClusterError error : counted.errors) messages.emplace_back(ClusterErrorMessage(error));
  if (const std::size_t notCounted = counted.table.NotCounted(); notCounted > 0) {
    messages.push_back(std::string(ClusterErrorMessage(ClusterError::TableFull)) + "\r\n" + std::to_string(notCounted) +
                       (notCounted == 1 ? " cluster was not counted." : " clusters were not counted."));
  }
  return messages;
}

}  // namespace vorn
