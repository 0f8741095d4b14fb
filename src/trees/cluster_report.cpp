#include "trees/cluster_report.h"

#include "core/number_format.h"

namespace vorn {

std::vector<std::string> ColumnRuler(std::size_t otuCount) {
  std::size_t places = 1;
  for (std::size_t largest = otuCount; largest > 9; largest /= 10) ++places;
  std::vector<std::string> lines;
  for (std::size_t place = places; place >= 1; --place) {
    std::size_t divisor = 1;
    for (std::size_t k = 1; k < place; ++k) divisor *= 10;
    std::string line(otuCount, '0');
    for (std::size_t i = 1; i <= otuCount; ++i) line[i - 1] = static_cast<char>('0' + (i / divisor) % 10);
    lines.push_back(std::move(line));
  }
  return lines;
}

namespace {

// "0110": a 1 for each OTU in the cluster.
void AssignDigits(const Cluster& cluster, std::size_t otuCount, std::string& text) {
  text.assign(otuCount, '0');
  for (std::size_t otu = 0; otu < otuCount; ++otu) {
    if (cluster.Has(otu)) text[otu] = '1';
  }
}

// The report with tail(cluster, text) ending each cluster's line after its membership digits.
template <typename Tail>
void WriteReport(std::string_view title, std::string_view note, const std::vector<Cluster>& clusters,
                 std::size_t otuCount, Tail&& tail, const std::function<void(std::string_view)>& line) {
  line(title);
  if (!note.empty()) line(note);
  line("");
  for (const std::string& ruler : ColumnRuler(otuCount)) line(ruler);
  std::string text;
  for (const Cluster& cluster : clusters) {
    AssignDigits(cluster, otuCount, text);
    tail(cluster, text);
    line(text);
  }
  line("");
  line("...where...");
}

}  // namespace

void WriteClusterReport(std::string_view title, const std::vector<Cluster>& clusters, std::size_t otuCount,
                        std::uint32_t treeCount, const std::function<void(std::string_view)>& line,
                        TreeComparison comparison) {
  const auto tail = [treeCount](const Cluster& cluster, std::string& text) {
    text += ' ';
    text += std::to_string(cluster.count);
    text += "x= ";
    text += FormatPercent(static_cast<Real>(cluster.count) / treeCount);
  };
  const std::string_view note =
      comparison == TreeComparison::Splits
          ? "Counted as splits, since every tree has a three-way root (unrooted trees): each row is the side of a "
            "split without OTU #1."
          : "";
  WriteReport(title, note, clusters, otuCount, tail, line);
}

void WriteRClusterReport(std::string_view title, const std::vector<Cluster>& clusters, std::size_t otuCount,
                         const std::function<void(std::string_view)>& line) {
  const auto tail = [otuCount](const Cluster& cluster, std::string& text) {
    const std::vector<std::string> cells = RClusterCells(cluster, otuCount);
    text += ' ' + cells[1] + "x @r= " + cells[2];
  };
  WriteReport(title, "", clusters, otuCount, tail, line);
}

std::vector<std::string> RClusterCells(const Cluster& cluster, std::size_t otuCount) {
  std::string digits;
  AssignDigits(cluster, otuCount, digits);
  return {digits, std::to_string(cluster.count), std::to_string(cluster.r)};
}

ResultTable RClusterTable(const std::vector<Cluster>& clusters, std::size_t otuCount) {
  ResultTable table{{{"Cluster", "%", "r"}}};
  for (const Cluster& cluster : clusters) table.rows.push_back(RClusterCells(cluster, otuCount));
  return table;
}

ResultTable ConsensusClusterTable(const std::vector<Cluster>& clusters, std::size_t otuCount, std::uint32_t treeCount) {
  ResultTable table{{{"Cluster", "Trees", "%"}}};
  for (const Cluster& cluster : clusters) {
    std::string digits;
    AssignDigits(cluster, otuCount, digits);
    table.rows.push_back({digits, std::to_string(cluster.count), FormatFixed(static_cast<Real>(cluster.count) / treeCount * 100, 2)});
  }
  return table;
}

std::vector<std::string> OtuKeyLines(const std::vector<std::string>& names) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < names.size(); ++i) lines.push_back("OTU #" + std::to_string(i + 1) + "= " + names[i]);
  lines.push_back("");
  return lines;
}

}  // namespace vorn
