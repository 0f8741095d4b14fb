#include "pictures/missing_map.h"

#include <algorithm>
#include <numeric>

#include "matrix/band_counts.h"
#include "pictures/group_colours.h"

namespace vorn {
namespace {

std::vector<double> Shares(const DataMatrix& data, RowKind kind, std::size_t total, std::size_t& missingCells) {
  const std::vector<BandCounts> counts = CountRows(data, kind);
  std::vector<double> shares(counts.size());
  for (std::size_t k = 0; k < counts.size(); ++k) {
    shares[k] = Share(counts[k].missing, total);
    if (kind == RowKind::Loci) missingCells += counts[k].missing;
  }
  return shares;
}

// The pixel of each place 0 .. count - 1 when count places share pixels pixels.
std::vector<std::uint32_t> PixelOfPlace(std::size_t count, std::size_t pixels) {
  std::vector<std::uint32_t> pixel(count);
  for (std::size_t k = 0; k < count; ++k) pixel[k] = static_cast<std::uint32_t>(k * pixels / count);
  return pixel;
}

}  // namespace

MissingMap MakeMissingMap(const DataMatrix& data, const GroupList& groups, std::size_t level, bool sortLoci) {
  MissingMap map;
  map.individualShares = Shares(data, RowKind::Individuals, data.locusCount, map.missingCells);
  map.locusShares = Shares(data, RowKind::Loci, data.individualCount, map.missingCells);
  const GroupColouring colouring(groups, level);
  map.groupNames = colouring.Names();
  std::vector<int> groupOf(data.individualCount, -1);
  for (std::size_t i = 0; i < data.individualCount && i < data.individualLabels.Count(); ++i) {
    groupOf[i] = colouring.GroupOf(data.individualLabels[i]);
  }
  map.rows.resize(data.individualCount);
  std::iota(map.rows.begin(), map.rows.end(), 0u);
  // Individuals in no group (-1) after all groups.
  const auto rank = [&](std::uint32_t i) { return groupOf[i] < 0 ? map.groupNames.size() : std::size_t(groupOf[i]); };
  std::stable_sort(map.rows.begin(), map.rows.end(), [&](std::uint32_t a, std::uint32_t b) { return rank(a) < rank(b); });
  for (std::uint32_t i : map.rows) map.rowGroups.push_back(groupOf[i]);
  map.columns.resize(data.locusCount);
  std::iota(map.columns.begin(), map.columns.end(), 0u);
  if (sortLoci) {
    std::stable_sort(map.columns.begin(), map.columns.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return map.locusShares[a] < map.locusShares[b]; });
  }
  return map;
}

MissingPixels AggregateMissing(const DataMatrix& data, const MissingMap& map, std::size_t width, std::size_t height) {
  const std::size_t n = map.rows.size(), loci = map.columns.size();
  MissingPixels pixels;
  pixels.width = std::clamp<std::size_t>(width, 1, std::max<std::size_t>(loci, 1));
  pixels.height = std::clamp<std::size_t>(height, 1, std::max<std::size_t>(n, 1));
  pixels.shares.assign(pixels.width * pixels.height, 0);
  if (n == 0 || loci == 0) return pixels;
  // The pixel row of each individual and the pixel column of each locus, in data order.
  const std::vector<std::uint32_t> rowPixel = PixelOfPlace(n, pixels.height);
  const std::vector<std::uint32_t> columnPixel = PixelOfPlace(loci, pixels.width);
  std::vector<std::uint32_t> pixelOfIndividual(n), pixelOfLocus(loci);
  for (std::size_t r = 0; r < n; ++r) pixelOfIndividual[map.rows[r]] = rowPixel[r];
  for (std::size_t c = 0; c < loci; ++c) pixelOfLocus[map.columns[c]] = columnPixel[c];
  // Counted column by column (one locus adds into one pixel column), then turned into shares.
  std::vector<std::uint32_t> missing(pixels.width * pixels.height, 0);
  for (std::size_t l = 0; l < loci; ++l) {
    std::uint32_t* column = missing.data() + std::size_t{pixelOfLocus[l]} * pixels.height;
    const Cell* cells = data.Locus(l);
    for (std::size_t i = 0; i < n; ++i) column[pixelOfIndividual[i]] += cells[i] == Missing;
  }
  std::vector<std::uint32_t> rowsIn(pixels.height, 0), columnsIn(pixels.width, 0);
  for (std::uint32_t y : rowPixel) ++rowsIn[y];
  for (std::uint32_t x : columnPixel) ++columnsIn[x];
  for (std::size_t x = 0; x < pixels.width; ++x) {
    for (std::size_t y = 0; y < pixels.height; ++y) {
      pixels.shares[y * pixels.width + x] =
          static_cast<float>(double(missing[x * pixels.height + y]) / (double(rowsIn[y]) * double(columnsIn[x])));
    }
  }
  return pixels;
}

std::vector<std::size_t> ShareHistogram(const std::vector<double>& shares, std::size_t bins) {
  std::vector<std::size_t> counts(bins, 0);
  for (double share : shares) {
    const auto bin = static_cast<std::size_t>(share * static_cast<double>(bins));
    ++counts[std::min(bin, bins - 1)];
  }
  return counts;
}

}  // namespace vorn
