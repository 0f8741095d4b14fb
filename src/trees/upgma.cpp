// The joins follow the reduced-triangle algorithm exactly, without rebuilding the triangle at
// every join: clusters live in slots of one triangle (a new cluster reuses its highest member
// slot; the live slots are listed in order, and entries of departed ones are never read again),
// and an order key per slot (OTUs 0..n-1, each new cluster the next number) stands for the
// cluster's position in the reduced triangle, where new clusters are appended last. Once half of
// the slots have departed, the triangle is packed again in slot order.
// Each row (the pairs of a slot with the slots below it) keeps its first few candidate pairs in
// reduced-triangle order and a bound that every other pair of the row ranks at or after; a join
// only drops pairs from these lists or offers the new cluster's pair, and a row is scanned again
// only when its list ran empty and the smallest distance may lie in it. A tournament over the
// rows' first pairs gives the smallest distance and the rows tied at it. A join thus costs one
// pass over the rows and columns of its members, part of a path of the tournament per changed
// row (up to where the winner stays), and the rare rescans. A row read straight through (at the
// start and after packing) first finds the second smallest leading word of its distances in
// vector lanes, so that only the few distances at or below it are ranked.
// Pairs are ranked by one integer each (an image of the 80-bit distance with the two clusters'
// order keys below it), and the means of a join of two
// (almost every join) are found in integer vector lanes, exactly as the floating-point unit
// rounds them: its loads and stores of 80-bit values cost more than everything else a join does.
#include "trees/upgma.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/kernel_paths.h"
#include "core/progress.h"

namespace vorn {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kKept = 2;  // candidate pairs a row keeps in its list

static_assert(std::numeric_limits<Real>::digits == 64 && sizeof(Real) == 16, "Real is the 80-bit extended format in 16 bytes");

// The order of 80-bit values as unsigned integers, so that ranking pairs never loads a value
// into the floating-point unit: a positive value is its exponent and significand above a set
// top bit (bit 79), a negative one counts down from that bit, both zeros are the bit alone, and
// a not-a-number ranks after everything (it compares false with every value, so it is never
// the smallest). For values x and y, x < y exactly when OrderOf(x) < OrderOf(y).
using Order = unsigned __int128;
constexpr Order kZeroOrder = Order{1} << 79;
constexpr Order kNotANumberOrder = ~Order{0} >> 32;  // 96 bits, see PairRank
Order OrderOf(const Real& x) {
  std::uint64_t significand;
  std::uint16_t signExponent;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&signExponent, reinterpret_cast<const char*>(&x) + 8, sizeof signExponent);
  const unsigned exponent = signExponent & 0x7fffu;
  if (exponent == 0x7fff && (significand << 1) != 0) return kNotANumberOrder;
  const Order magnitude = (Order{exponent} << 64) | significand;
  return signExponent & 0x8000u ? kZeroOrder - magnitude : kZeroOrder | magnitude;
}
// Distances of 1000 or more are never joined.
const Order kCeiling = OrderOf(Real{1000});

// The place of a pair in the reduced triangle's storage order, after its distance: the later of
// the two clusters is the row, the earlier the column. One number holds all three, so that ranks
// compare at once: the distance's order above 32 bits, then the row's and the column's order
// keys in 16 bits each (there are fewer than 2 * kMaxTreeOtus keys). The default ranks after
// every candidate.
class PairRank {
 public:
  static constexpr std::uint32_t kLastKey = 0xffff;
  PairRank(Order distance = kCeiling, std::uint32_t rowKey = 0, std::uint32_t columnKey = 0)
      : rank_(distance << 32 | Order{rowKey} << 16 | columnKey) {}
  Order Distance() const { return rank_ >> 32; }
  friend bool Before(const PairRank& a, const PairRank& b) { return a.rank_ < b.rank_; }

 private:
  Order rank_;
};

// The top 32 of the 80 bits of x (sign, exponent and the leading 16 bits of the significand),
// read as a signed number: for x >= 0 it never decreases as x grows, and it is negative for
// every negative x. A distance whose word exceeds CutWord(b) lies above b, which a row scan
// finds without loading it, four entries at a time.
std::int32_t TopWord(const Real& x) {
  std::int32_t word;
  std::memcpy(&word, reinterpret_cast<const char*>(&x) + 6, sizeof word);
  return word;
}
std::int32_t CutWord(Order b) {
  return b >= kZeroOrder ? static_cast<std::int32_t>(static_cast<std::uint32_t>(b >> 48) - 0x80000000u) : -1;
}

// A bit i set for each of the four entries from x whose word exceeds cut.
unsigned AboveCut(const Real* x, __m128i cut) {
  const auto* block = reinterpret_cast<const __m128i*>(x);
  const auto top = [&](int i) { return _mm_srli_si128(_mm_loadu_si128(block + i), 6); };
  const __m128i words = _mm_unpacklo_epi64(_mm_unpacklo_epi32(top(0), top(1)), _mm_unpacklo_epi32(top(2), top(3)));
  return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(words, cut))));
}

// The words of sixteen entries from x in lanes, a vector of sixteen (for processors that have
// them): shifted down by six bytes, each entry's word is the first of its four 32-bit lanes.
using Lanes16 = std::int32_t __attribute__((vector_size(64)));
__attribute__((target("avx512bw"))) inline void Words16(const Real* x, Lanes16& lanes) {
  const __m512i firsts = _mm512_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28, 0, 4, 8, 12, 16, 20, 24, 28);
  __m512i words[4];
  for (int i = 0; i < 4; ++i) words[i] = _mm512_bsrli_epi128(_mm512_loadu_si512(x + 4 * i), 6);
  const __m512i low = _mm512_permutex2var_epi32(words[0], firsts, words[1]), high = _mm512_permutex2var_epi32(words[2], firsts, words[3]);
  lanes = reinterpret_cast<Lanes16>(_mm512_mask_blend_epi32(0xff00, low, high));
}
// The same for eight entries in 256-bit vectors, in the lane order 0, 2, 4, 6, 1, 3, 5, 7.
using Lanes8 = std::int32_t __attribute__((vector_size(32)));
__attribute__((target("avx2"))) inline void Words8(const Real* x, Lanes8& lanes) {
  __m256i words[4];
  for (int i = 0; i < 4; ++i) {
    words[i] = _mm256_bsrli_epi128(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(x + 2 * i)), 6);
  }
  const __m256i even = _mm256_unpacklo_epi32(words[0], words[1]), odd = _mm256_unpacklo_epi32(words[2], words[3]);
  lanes = reinterpret_cast<Lanes8>(_mm256_unpacklo_epi64(even, odd));
}
// AboveCut for sixteen and for eight entries.
__attribute__((target("avx512bw"))) unsigned AboveCut16(const Real* x, std::int32_t cut) {
  Lanes16 words;
  Words16(x, words);
  return _mm512_cmpgt_epi32_mask(reinterpret_cast<__m512i>(words), _mm512_set1_epi32(cut));
}
__attribute__((target("avx2"))) unsigned AboveCut8(const Real* x, std::int32_t cut) {
  Lanes8 words;
  Words8(x, words);
  const __m256i inOrder = _mm256_permutevar8x32_epi32(reinterpret_cast<__m256i>(words),
                                                      _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
  return static_cast<unsigned>(
      _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(inOrder, _mm256_set1_epi32(cut)))));
}
// The second smallest word of entries 0 .. lanes * blocks - 1 from x, leaving out infinities and
// not-a-numbers (whose words are not below every larger distance); words(x, w) gives w the words
// of the lanes entries from x, in any order.
template <class Lanes, void (*words)(const Real*, Lanes&)>
[[gnu::always_inline]] inline std::int32_t SecondSmallestWordOf(const Real* x, std::size_t blocks) {
  constexpr std::size_t kLanes = sizeof(Lanes) / sizeof(std::int32_t);
  constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
  // The two smallest words in each lane, then over the lanes.
  Lanes first = kNone - Lanes{}, second = first;
  for (std::size_t b = 0; b < blocks; ++b) {
    Lanes w;
    words(x + kLanes * b, w);
    w = (w & 0x7fff0000) == 0x7fff0000 ? kNone : w;
    const Lanes above = w > first ? w : first;
    second = above < second ? above : second;
    first = w < first ? w : first;
  }
  alignas(64) std::array<std::int32_t, 2 * kLanes> lanes;
  std::memcpy(lanes.data(), &first, sizeof first);
  std::memcpy(lanes.data() + kLanes, &second, sizeof second);
  std::int32_t smallest = kNone, next = kNone;
  for (const std::int32_t w : lanes) {
    next = std::min(next, std::max(smallest, w));
    smallest = std::min(smallest, w);
  }
  return next;
}
__attribute__((target("avx512bw"))) std::int32_t SecondSmallestWord16(const Real* x, std::size_t blocks) {
  return SecondSmallestWordOf<Lanes16, Words16>(x, blocks);
}
__attribute__((target("avx2"))) std::int32_t SecondSmallestWord8(const Real* x, std::size_t blocks) {
  return SecondSmallestWordOf<Lanes8, Words8>(x, blocks);
}

// How a row read straight through is scanned: lanes entries a vector (none on the plain path,
// which takes four at a time in the vectors every x86-64 processor has).
struct RowScan {
  std::size_t lanes;
  unsigned (*aboveCut)(const Real* x, std::int32_t cut);
  std::int32_t (*secondSmallestWord)(const Real* x, std::size_t blocks);
};
constexpr KernelBuilds<RowScan> kRowScans{
    Kernel::UpgmaRowScan, {0, nullptr, nullptr}, {8, AboveCut8, SecondSmallestWord8}, {16, AboveCut16, SecondSmallestWord16}};

// The top 64 of the 80 bits of an order: x <= y gives CutKey(x) <= CutKey(y), so a value whose
// key exceeds that of a bound lies above the bound.
constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
std::uint64_t CutKey(Order x) { return static_cast<std::uint64_t>(x >> 16); }
std::uint64_t CutKey(const Real& x) { return CutKey(OrderOf(x)); }

// A block of entries of two clusters with live slots, as the significands and sign-exponent
// words of their 80-bit values, and their means (a + b) / 2 as the floating-point unit gives them,
// with the means' cut keys, the slots and where each mean goes. The floating-point unit loads and
// stores 80-bit values slowly; in integer lanes the means of eight pairs cost less than one of
// those loads.
struct PairMeans {
  static constexpr std::size_t kBlock = 32;  // whole eights
  using Words = std::array<std::uint64_t, kBlock>;
  alignas(64) Words aSignificand, aExponent, bSignificand, bExponent, significand, exponent, key;
  std::array<std::uint32_t, kBlock> slot;
  std::array<Real*, kBlock> target;

  Real A(std::size_t i) const { return Value(aSignificand[i], aExponent[i]); }
  Real B(std::size_t i) const { return Value(bSignificand[i], bExponent[i]); }
  static Real Value(std::uint64_t significand, std::uint64_t exponent) {
    Real x = 0;
    const auto word = static_cast<std::uint16_t>(exponent);
    std::memcpy(&x, &significand, 8);
    std::memcpy(reinterpret_cast<char*>(&x) + 8, &word, 2);
    return x;
  }
};

// The means of pairs 0 .. count - 1 (eight at a time; the buffers hold whole eights) for positive
// normal values: the larger exponent's significand plus the other shifted into place, rounded to
// 64 bits (to nearest, ties to even) and halved by lowering the exponent. Each lane of a pair
// outside that case gets an exponent above 16 bits.
using Lanes = std::uint64_t __attribute__((vector_size(64)));
[[gnu::target_clones("avx512f", "avx2", "default")]]
void FindMeans(PairMeans& m, std::size_t count) {
  constexpr std::uint64_t kHalf = kTopBit;
  for (std::size_t i = 0; i < count; i += 8) {
    Lanes ma, ea, mb, eb;
    std::memcpy(&ma, &m.aSignificand[i], sizeof ma);
    std::memcpy(&ea, &m.aExponent[i], sizeof ea);
    std::memcpy(&mb, &m.bSignificand[i], sizeof mb);
    std::memcpy(&eb, &m.bExponent[i], sizeof eb);
    // Sign clear, exponent field 1 to 0x7ffe, explicit leading bits set: all ones where usable.
    Lanes usable = (Lanes)(ea - 1 < 0x7ffe) & (Lanes)(eb - 1 < 0x7ffe) & (Lanes)((ma & mb) >= kHalf);
    const Lanes bLarger = (Lanes)(ea < eb);
    const Lanes larger = (ma & ~bLarger) | (mb & bLarger), smaller = (mb & ~bLarger) | (ma & bLarger);
    const Lanes top = (ea & ~bLarger) | (eb & bLarger), apart = top - ((eb & ~bLarger) | (ea & bLarger));
    usable &= (Lanes)(apart < 64);
    const Lanes shift = apart & 63;
    const Lanes aligned = smaller >> shift, lost = (smaller << (63 - shift)) << 1;
    const Lanes total = larger + aligned;
    const Lanes carry = (Lanes)(total < larger);
    Lanes significand = (((total >> 1) | kHalf) & carry) | (total & ~carry);
    // The dropped bits with the first at the top (a carry drops one more; the lowest bit of lost
    // is always clear, so nothing falls off): above one half rounds up, exactly one half to even.
    const Lanes dropped = (((total << 63) | (lost >> 1)) & carry) | (lost & ~carry);
    significand -= (Lanes)(dropped > kHalf) | ((Lanes)(dropped == kHalf) & (0 - (significand & 1)));
    const Lanes wrapped = (Lanes)(significand == 0);  // rounded up to the next power of two
    significand |= kHalf & wrapped;
    const Lanes exponent = top - carry - wrapped;  // of the sum
    usable &= (Lanes)(exponent - 2 < 0x7ffd);      // the sum is finite, its half normal
    const Lanes halved = (exponent - 1) | (~usable & 0x10000);
    const Lanes key = kHalf | (halved << 48) | (significand >> 16);
    std::memcpy(&m.significand[i], &significand, sizeof significand);
    std::memcpy(&m.exponent[i], &halved, sizeof halved);
    std::memcpy(&m.key[i], &key, sizeof key);
  }
}

// A pair of a row with the cluster that held slot column under order key columnKey; it is gone
// once that cluster joined another.
struct Candidate {
  PairRank rank;
  std::uint32_t column = 0;
  std::uint32_t columnKey = 0;
};

// The first pairs of a row in rank order (pairs of departed clusters may linger among them until
// they come first), and a bound that every pair of the row not listed ranks at or after: the last
// listed pair once the list is full. An empty list with a bound below the ceiling leaves the row
// to be scanned again.
struct RowCandidates {
  std::size_t count = 0;
  PairRank bound;
  std::array<Candidate, kKept> pairs;

  const PairRank& First() const { return pairs[0].rank; }
  void DropFirst() {
    for (std::size_t i = 0; i + 1 < kKept; ++i) pairs[i] = pairs[i + 1];  // whole lists: no call for a few bytes
    --count;
  }
  // Lists c in its place when it ranks before the bound; a full list lets its last pair go.
  void Offer(const Candidate& c) {
    if (!Before(c.rank, bound)) return;
    if (count == kKept) --count;
    std::size_t at = count;
    for (; at > 0 && Before(c.rank, pairs[at - 1].rank); --at) pairs[at] = pairs[at - 1];
    pairs[at] = c;
    if (++count == kKept) bound = pairs[kKept - 1].rank;
  }
};

// The slot whose row key is smallest, as a tournament over the slots: each inner node holds the
// winner of its two halves, so a changed key costs one path to the root.
class Tournament {
 public:
  static constexpr std::uint32_t kEmpty = static_cast<std::uint32_t>(-1);

  void Reset(const std::vector<PairRank>& keys) {
    keys_ = &keys;
    leaves_ = std::bit_ceil(std::max<std::size_t>(keys.size(), 1));
    winner_.assign(2 * leaves_, kEmpty);
    for (std::size_t s = 0; s < keys.size(); ++s) winner_[leaves_ + s] = static_cast<std::uint32_t>(s);
    for (std::size_t node = leaves_ - 1; node >= 1; --node) winner_[node] = Winner(winner_[2 * node], winner_[2 * node + 1]);
  }
  std::size_t Best() const { return winner_[1]; }
  // Above a node whose winner stays another slot, nothing changes.
  void Update(std::size_t slot) {
    for (std::size_t node = (leaves_ + slot) / 2; node >= 1; node /= 2) {
      const std::uint32_t before = winner_[node];
      winner_[node] = Winner(winner_[2 * node], winner_[2 * node + 1]);
      if (winner_[node] == before && before != slot) return;
    }
  }
  // Appends the slots whose key has the given distance, the smallest one.
  void Collect(Order distance, std::vector<std::size_t>& slots, std::size_t node = 1) const {
    const std::uint32_t w = winner_[node];
    if (w == kEmpty || (*keys_)[w].Distance() != distance) return;
    if (node >= leaves_) {
      slots.push_back(w);
      return;
    }
    Collect(distance, slots, 2 * node);
    Collect(distance, slots, 2 * node + 1);
  }

 private:
  std::uint32_t Winner(std::uint32_t a, std::uint32_t b) const {
    if (a == kEmpty) return b;
    if (b == kEmpty) return a;
    return Before((*keys_)[b], (*keys_)[a]) ? b : a;
  }

  const std::vector<PairRank>* keys_ = nullptr;
  std::size_t leaves_ = 1;
  std::vector<std::uint32_t> winner_;  // node k has children 2k and 2k + 1; leaves from leaves_
};

class UpgmaBuilder {
 public:
  UpgmaBuilder(DistanceMatrix distances, const LabelTable& labels)
      : d_(std::move(distances)), n_(d_.n), clusters_(n_), active_(n_, 1), inSet_(n_ + 1, 0), key_(n_), otu_(n_),
        record_(n_, 0), rows_(n_), rowKeys_(n_), cutKey_(n_), firstColumn_(n_), heights_(2 * n_, 0), scratch_(n_) {
    names_.reserve(n_);
    for (std::size_t i = 0; i < n_; ++i) {
      names_.push_back(labels.Count() == n_ ? labels[i] : "OTU" + std::to_string(i + 1));
      key_[i] = static_cast<std::uint32_t>(i);
      otu_[i] = static_cast<std::uint32_t>(i);
    }
    nextKey_ = static_cast<std::uint32_t>(n_);
    live_.resize(n_);
    std::iota(live_.begin(), live_.end(), 0u);
    table_.Reserve(2 * n_);
    for (std::size_t s = 0; s < n_; ++s) {
      Rescan(s);
      Summarize(s);
    }
    first_.Reset(rowKeys_);
  }

  Result<TreeNodeTable> Build() {
    while (clusters_ > 1) {
      KeepResponsive();
      Order minimum;
      std::size_t row;
      if (auto failure = FindShortest(minimum, row)) return *failure;
      const std::vector<std::size_t>& members = LinkedSet(row, minimum);
      const std::uint16_t joined = WriteRecords(members, JoinHeight(members));
      Merge(members, joined);
      if (2 * clusters_ < n_) Pack();
    }
    table_[table_.Count()].name = "last node";
    return std::move(table_);
  }

 private:
  Real& At(std::size_t a, std::size_t b) { return d_.entries[TriangleIndex(a, b)]; }
  // The row of slot t: its entries with the slots below it.
  Real* Row(std::size_t t) { return d_.entries.data() + t * (t + 1) / 2; }

  bool IsOtu(std::size_t slot) const { return record_[slot] == 0; }
  // How many live slots lie below slot s.
  std::size_t LiveBelow(std::size_t s) const {
    return static_cast<std::size_t>(std::lower_bound(live_.begin(), live_.end(), s) - live_.begin());
  }
  bool Current(const Candidate& c) const { return active_[c.column] && key_[c.column] == c.columnKey; }
  Candidate PairOf(std::size_t s, std::size_t t, const Real& distance) const {
    return {{OrderOf(distance), std::max(key_[s], key_[t]), std::min(key_[s], key_[t])}, static_cast<std::uint32_t>(t), key_[t]};
  }

  // What the tournament ranks a row by: its first pair; for a row to be scanned again, the bound
  // of its distances, ahead of any pair at that distance; nothing for a departed or empty row.
  PairRank RowKey(std::size_t s) const {
    constexpr std::uint32_t kLast = PairRank::kLastKey;
    const RowCandidates& r = rows_[s];
    if (!active_[s]) return {kCeiling, kLast, kLast};
    if (r.count > 0) return r.First();
    return r.bound.Distance() < kCeiling ? PairRank{r.bound.Distance(), 0, 0} : PairRank{kCeiling, kLast, kLast};
  }
  // Brings the row's key and the summary that the pass of a join reads up to date.
  void Summarize(std::size_t s) {
    const RowCandidates& r = rows_[s];
    rowKeys_[s] = RowKey(s);
    cutKey_[s] = CutKey(r.bound.Distance());
    firstColumn_[s] = r.count > 0 ? r.pairs[0].column : static_cast<std::uint32_t>(n_);
  }
  void Rekey(std::size_t s) {
    Summarize(s);
    first_.Update(s);
  }

  // Drops the leading pairs of departed clusters from row s.
  void Tidy(std::size_t s) {
    RowCandidates& r = rows_[s];
    while (r.count > 0 && !Current(r.pairs[0])) r.DropFirst();
  }

  // Lists the first pairs of row s afresh: most distances are above the last listed one, and
  // are passed over after one comparison.
  // When every slot below s is live (at the start and after packing) the row is read
  // straight through.
  void Rescan(std::size_t s) {
    RowCandidates& r = rows_[s];
    r = RowCandidates{};
    const Real* row = Row(s);
    const bool allLive = s == 0 || (s <= live_.size() && live_[s - 1] == s - 1);
    // A distance whose word is above both the second smallest word and zero lies above two other
    // distances of the row (neither of them infinite or not a number), so it is never listed.
    const RowScan scan = kRowScans.Chosen();
    const std::int32_t limit = scan.lanes > 0 && allLive && s >= 64 ? std::max(scan.secondSmallestWord(row, s / scan.lanes), 0) : std::numeric_limits<std::int32_t>::max();
    std::int32_t cut = std::min(limit, CutWord(r.bound.Distance()));
    const auto consider = [&](std::size_t t) {
      const Candidate c = PairOf(s, t, row[t]);
      if (c.rank.Distance() <= r.bound.Distance()) {
        r.Offer(c);
        cut = std::min(limit, CutWord(r.bound.Distance()));
      }
    };
    if (allLive) {
      std::size_t t = 0;
      const unsigned allLanes = (1u << scan.lanes) - 1;
      for (; scan.lanes > 0 && t + scan.lanes <= s; t += scan.lanes) {
        for (unsigned below = ~scan.aboveCut(row + t, cut) & allLanes; below != 0; below &= below - 1) {
          const std::size_t at = t + static_cast<std::size_t>(std::countr_zero(below));
          if (TopWord(row[at]) <= cut) consider(at);
        }
      }
      for (; t + 4 <= s; t += 4) {
        for (unsigned below = ~AboveCut(row + t, _mm_set1_epi32(cut)) & 0xfu; below != 0; below &= below - 1) {
          const std::size_t at = t + static_cast<std::size_t>(std::countr_zero(below));
          if (TopWord(row[at]) <= cut) consider(at);
        }
      }
      for (; t < s; ++t) {
        if (TopWord(row[t]) <= cut) consider(t);
      }
      return;
    }
    for (const std::uint32_t t : live_) {
      if (t >= s) break;
      if (TopWord(row[t]) <= cut) consider(t);
    }
  }

  // The smallest distance between two clusters, the row slot of the first pair at it and the
  // rows holding a pair at it; or the failure when nothing can be joined. Diagonal entries are
  // never candidates, whatever they hold: a cluster is not joined with itself (an Average
  // matrix can hold any value between its bounds there).
  std::optional<Failure> FindShortest(Order& minimum, std::size_t& row) {
    for (;;) {
      row = first_.Best();
      if (!(rowKeys_[row].Distance() < kCeiling)) return Failure{"psTrees.UPGMA/ShortestDist: error in input matrix"};
      if (rows_[row].count > 0) break;
      Rescan(row);
      Rekey(row);
    }
    minimum = rowKeys_[row].Distance();
    tiedRows_.clear();
    first_.Collect(minimum, tiedRows_);
    return std::nullopt;
  }

  // The clusters connected to the first pair by pairs at the minimum: the pair's row cluster,
  // its column cluster, then each member's partners in storage order of their pairs, which is
  // the partners' order keys ascending. A partner above a member lies in a row tied at the
  // minimum; one below it, in the member's own row, only when that row is tied.
  // A distance whose word is above the cut lies above the minimum and is passed over at once.
  const std::vector<std::size_t>& LinkedSet(std::size_t row, Order minimum) {
    const std::size_t column = rows_[row].pairs[0].column;
    std::vector<std::size_t>& members = members_;
    if (key_[row] > key_[column]) members.assign({row, column});
    else members.assign({column, row});
    for (std::size_t m : members) inSet_[m] = 1;
    std::vector<std::size_t>& partners = partners_;
    const std::int32_t cut = CutWord(minimum);
    for (std::size_t i = 0; i < members.size(); ++i) {
      const std::size_t b = members[i];
      partners.clear();
      const RowCandidates& r = rows_[b];
      if (r.count > 0 && r.First().Distance() == minimum) {
        if (r.bound.Distance() > minimum) {  // the list holds every pair at the minimum
          for (std::size_t i = 0; i < r.count && r.pairs[i].rank.Distance() == minimum; ++i) {
            if (Current(r.pairs[i])) partners.push_back(r.pairs[i].column);
          }
        } else {
          for (const std::uint32_t x : live_) {
            if (x >= b) break;
            if (TopWord(At(b, x)) <= cut && OrderOf(At(b, x)) == minimum) partners.push_back(x);
          }
        }
      }
      for (std::size_t x : tiedRows_) {
        if (x > b && OrderOf(At(x, b)) == minimum) partners.push_back(x);
      }
      std::sort(partners.begin(), partners.end(), [&](std::size_t x, std::size_t y) { return key_[x] < key_[y]; });
      for (std::size_t x : partners) {
        if (!inSet_[x]) {
          inSet_[x] = 1;
          members.push_back(x);
        }
      }
    }
    for (std::size_t m : members) inSet_[m] = 0;
    return members;
  }

  // Half the mean distance among the members, summed over the pairs in set order.
  Real JoinHeight(const std::vector<std::size_t>& members) {
    Real sum = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
      for (std::size_t j = i + 1; j < members.size(); ++j) sum += At(members[i], members[j]);
    }
    const Real pairs = static_cast<Real>(members.size()) * static_cast<Real>(members.size() - 1) / 2;
    return sum / (2 * pairs);
  }

  // Records for the join at height h: a leaf per OTU member (numbered in set order), the
  // internal members attached, then the new node. Gives the new node's number. With at most
  // kMaxTreeOtus OTUs every number, and every member count, fits 16 bits.
  std::uint16_t WriteRecords(const std::vector<std::size_t>& members, Real h) {
    const std::size_t otuMembers = static_cast<std::size_t>(std::count_if(members.begin(), members.end(), [&](std::size_t m) { return IsOtu(m); }));
    const auto joined = static_cast<std::uint16_t>(table_.Count() + otuMembers + 1);
    std::size_t firstChild = kNone;
    for (std::size_t m : members) {
      std::size_t number;
      if (IsOtu(m)) {
        TreeNode leaf;
        leaf.name = names_[otu_[m]];
        leaf.length = h;
        leaf.node = joined;
        number = table_.Append(std::move(leaf)).number;
      } else {
        number = record_[m];
        TreeNode& node = table_[number];
        node.name = "Internal";
        node.length = h - heights_[number];
        node.node = joined;
      }
      firstChild = std::min(firstChild, number);
    }
    TreeNode node;
    node.name = "internal";
    node.descendants = static_cast<std::uint16_t>(members.size());
    table_.Append(std::move(node));
    // A node's height is the length sum down its first-child path (the lowest-numbered child).
    const TreeNode& first = table_[firstChild];
    heights_[joined] = first.IsLeaf() ? first.length : first.length + heights_[firstChild];
    return joined;
  }

  // Calls visit(t, entry) for the entries of slot m with every live slot t, ascending: along its
  // row, then down its column, where the entries lie far apart and are fetched ahead.
  static constexpr std::size_t kAhead = 48;
  template <typename Visit>
  void ForEachEntry(std::size_t m, Visit visit) {
    const Real* row = Row(m);
    const std::size_t count = live_.size(), below = LiveBelow(m);
    for (std::size_t i = 0; i < below; ++i) visit(live_[i], row[live_[i]]);
    for (std::size_t i = below; i < count; ++i) {
      if (i + kAhead < count) __builtin_prefetch(Row(live_[i + kAhead]) + m, 1);
      visit(live_[i], Row(live_[i])[m]);
    }
  }

  // Calls visit(t, a's entry, b's entry) for the entries of slots a and b with every live slot
  // t, ascending: below both along their rows, between them down the lower one's column and
  // along the upper one's row, above both in row t, where the two lie close together.
  template <typename Visit>
  void ForEachEntryOfBoth(std::size_t a, std::size_t b, Visit visit) {
    if (a < b) ForEachEntryOfOrdered<false>(a, b, visit);
    else ForEachEntryOfOrdered<true>(b, a, visit);
  }
  template <bool kSwapped, typename Visit>
  void ForEachEntryOfOrdered(std::size_t lo, std::size_t hi, Visit visit) {
    const auto both = [&](std::size_t t, Real& low, Real& high) __attribute__((always_inline)) {
      if constexpr (kSwapped) visit(t, high, low);
      else visit(t, low, high);
    };
    // Local copies of the pointers: the visits store through char-sized and Real pointers, which
    // would otherwise make every vector's data be fetched again.
    const std::uint32_t* live = live_.data();
    Real* entries = d_.entries.data();
    const auto row = [entries](std::size_t t) { return entries + t * (t + 1) / 2; };
    Real* rowLo = row(lo);
    Real* rowHi = row(hi);
    const std::size_t count = live_.size(), belowLo = LiveBelow(lo), belowHi = LiveBelow(hi);
    for (std::size_t i = 0; i < belowLo; ++i) both(live[i], rowLo[live[i]], rowHi[live[i]]);
    for (std::size_t i = belowLo; i < belowHi; ++i) {
      if (i + kAhead < count) __builtin_prefetch(row(live[i + kAhead]) + lo, 1);
      both(live[i], row(live[i])[lo], rowHi[live[i]]);
    }
    for (std::size_t i = belowHi; i < count; ++i) {
      if (i + kAhead < count) {
        const Real* ahead = row(live[i + kAhead]);
        __builtin_prefetch(ahead + lo, 1);
        __builtin_prefetch(ahead + hi, 1);
      }
      Real* r = row(live[i]);
      both(live[i], r[lo], r[hi]);
    }
  }

  // Replaces the members by the new cluster in the highest member slot p: its distance to each
  // other cluster is the mean of the members' distances, summed in set order. The pass over the
  // last two members' entries completes each mean, writes it into p's entry nearby, and keeps the
  // lists of the other rows: pairs of the members leave them, the new pair is offered to the
  // row it lies in (p's own row is listed from scratch).
  void Merge(const std::vector<std::size_t>& members, std::uint16_t joined) {
    for (std::size_t m : members) active_[m] = 0, inSet_[m] = 1;
    for (std::size_t m : members) live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(LiveBelow(m)));
    const std::size_t p = *std::max_element(members.begin(), members.end());
    key_[p] = nextKey_++;
    record_[p] = joined;
    const std::size_t count = members.size();
    if (count > 2) {
      std::fill(scratch_.begin(), scratch_.end(), Real{0});
      for (std::size_t i = 0; i + 2 < count; ++i) {
        ForEachEntry(members[i], [&](std::size_t t, const Real& entry) { scratch_[t] += entry; });
      }
    }
    // Dividing by a power of two is multiplying by its reciprocal, exactly and faster.
    const bool byReciprocal = std::has_single_bit(count);
    const Real reciprocal = Real{1} / static_cast<Real>(count);
    Real* rowOfP = Row(p);
    RowCandidates own;
    std::uint64_t ownCut = CutKey(own.bound.Distance());
    // Keeps the lists of row t (t != p) and p's own list with the new distance at t.
    const auto keepLists = [&](std::size_t t, const Real& mean, std::uint64_t key) __attribute__((noinline)) {
      bool changed = false;
      if (inSet_[firstColumn_[t]]) {
        Tidy(t);
        changed = true;
      }
      if (t < p) {
        if (key <= ownCut) {
          own.Offer(PairOf(p, t, mean));
          ownCut = CutKey(own.bound.Distance());
        }
      } else if (key <= cutKey_[t]) {
        rows_[t].Offer(PairOf(t, p, mean));
        changed = true;
      }
      if (changed) Rekey(t);
    };
    if (count == 2) {
      // The entries are taken a block at a time while they are still in the nearest cache: their
      // bits are gathered, the means found eight at a time and written over p's entries; a row's
      // lists change only when its first pair was with a member or the new distance passes its cut.
      PairMeans& m = means_;
      const std::uint32_t* firstColumn = firstColumn_.data();
      const std::uint64_t* cutKey = cutKey_.data();
      const std::size_t first = members[0], second = members[1];
      std::size_t filled = 0;
      const auto flush = [&] {
        FindMeans(m, filled);
        for (std::size_t i = 0; i < filled; ++i) {
          const std::size_t t = m.slot[i];
          Real& mean = *m.target[i];
          if (m.exponent[i] <= 0xffff) [[likely]] {
            const auto word = static_cast<std::uint16_t>(m.exponent[i]);
            std::memcpy(&mean, &m.significand[i], 8);
            std::memcpy(reinterpret_cast<char*>(&mean) + 8, &word, 2);
            if (firstColumn[t] != first && firstColumn[t] != second && m.key[i] > (t < p ? ownCut : cutKey[t])) [[likely]] continue;
            keepLists(t, mean, m.key[i]);
          } else {
            mean = ((Real{0} + m.A(i)) + m.B(i)) * reciprocal;
            keepLists(t, mean, CutKey(mean));
          }
        }
        filled = 0;
      };
      ForEachEntryOfBoth(first, second, [&](std::size_t t, Real& before, Real& last) __attribute__((always_inline)) {
        std::uint16_t ea, eb;
        std::memcpy(&m.aSignificand[filled], &before, 8);
        std::memcpy(&m.bSignificand[filled], &last, 8);
        std::memcpy(&ea, reinterpret_cast<const char*>(&before) + 8, 2);
        std::memcpy(&eb, reinterpret_cast<const char*>(&last) + 8, 2);
        m.aExponent[filled] = ea;
        m.bExponent[filled] = eb;
        m.slot[filled] = static_cast<std::uint32_t>(t);
        m.target[filled] = first == p ? &before : &last;
        if (++filled == PairMeans::kBlock) flush();
      });
      flush();
    } else {
      ForEachEntryOfBoth(members[count - 2], members[count - 1], [&](std::size_t t, const Real& before, const Real& last) __attribute__((always_inline)) {
        Real& mean = t < p ? rowOfP[t] : Row(t)[p];
        const Real sum = (scratch_[t] + before) + last;
        mean = byReciprocal ? sum * reciprocal : sum / static_cast<Real>(count);
        keepLists(t, mean, CutKey(mean));
      });
    }
    rows_[p] = own;
    active_[p] = 1;
    live_.insert(live_.begin() + static_cast<std::ptrdiff_t>(LiveBelow(p)), static_cast<std::uint32_t>(p));
    clusters_ -= count - 1;
    for (std::size_t m : members) inSet_[m] = 0, Rekey(m);
  }

  // Moves the clusters left into the first slots, in slot order, with the triangle of their
  // entries: each entry moves to a place at or before its own, so one ascending pass suffices.
  // The lists lose the pairs of departed clusters first.
  void Pack() {
    const std::size_t left = clusters_;
    std::vector<std::size_t> slotOf(left), newSlot(n_, kNone);
    std::size_t next = 0;
    for (std::size_t s = 0; s < n_; ++s) {
      if (active_[s]) newSlot[s] = next, slotOf[next++] = s;
    }
    for (std::size_t s : slotOf) {
      RowCandidates& r = rows_[s];
      std::size_t kept = 0;
      for (std::size_t i = 0; i < r.count; ++i) {
        if (!Current(r.pairs[i])) continue;
        r.pairs[kept] = r.pairs[i];
        r.pairs[kept++].column = static_cast<std::uint32_t>(newSlot[r.pairs[i].column]);
      }
      r.count = kept;
    }
    for (std::size_t a = 0; a < left; ++a) {
      const std::size_t s = slotOf[a];
      const auto* from = reinterpret_cast<const __m128i*>(Row(s));
      auto* to = reinterpret_cast<__m128i*>(Row(a));
      for (std::size_t b = 0; b < a; ++b) _mm_storeu_si128(to + b, _mm_loadu_si128(from + slotOf[b]));
      key_[a] = key_[s];
      otu_[a] = otu_[s];
      record_[a] = record_[s];
      rows_[a] = rows_[s];
    }
    n_ = left;
    d_.entries.resize(TriangleSize(n_));
    key_.resize(n_);
    otu_.resize(n_);
    record_.resize(n_);
    rows_.resize(n_);
    active_.assign(n_, 1);
    live_.resize(n_);
    std::iota(live_.begin(), live_.end(), 0u);
    inSet_.assign(n_ + 1, 0);
    scratch_.resize(n_);
    rowKeys_.resize(n_);
    cutKey_.resize(n_);
    firstColumn_.resize(n_);
    for (std::size_t s = 0; s < n_; ++s) Summarize(s);
    first_.Reset(rowKeys_);
  }

  DistanceMatrix d_;
  std::size_t n_;                       // slots
  std::size_t clusters_;                // left to join
  std::vector<std::string> names_;      // by OTU
  std::vector<std::uint8_t> active_;
  std::vector<std::uint32_t> live_;     // the active slots, ascending
  std::vector<std::uint8_t> inSet_;
  std::vector<std::uint32_t> key_;
  std::vector<std::uint32_t> otu_;      // the OTU a slot held first
  std::vector<std::uint16_t> record_;   // the internal node a slot holds; 0 while it holds its OTU
  std::vector<RowCandidates> rows_;
  std::vector<PairRank> rowKeys_;       // by slot, see RowKey
  std::vector<std::uint64_t> cutKey_;   // by slot: CutKey of its row's bound
  std::vector<std::uint32_t> firstColumn_;  // by slot: the column of its row's first pair, or n_
  Tournament first_;                    // over rowKeys_
  std::vector<Real> heights_;           // by record number
  std::vector<Real> scratch_;
  PairMeans means_;                     // of the two members of a join, by live position
  std::vector<std::size_t> tiedRows_;   // slots whose row holds a pair at the current minimum
  std::vector<std::size_t> members_, partners_;  // of the current join, see LinkedSet
  std::uint32_t nextKey_ = 0;
  TreeNodeTable table_;
};

}  // namespace

std::optional<Failure> TreeSizeRefusal(std::size_t otus) {
  if (otus < 2) return Failure{"A tree needs at least two individuals."};
  if (otus > kMaxTreeOtus) return Failure{"A tree can hold at most " + std::to_string(kMaxTreeOtus) + " individuals."};
  return std::nullopt;
}

Result<TreeNodeTable> BuildUPGMA(DistanceMatrix distances, const LabelTable& labels) {
  if (auto refusal = TreeSizeRefusal(distances.n)) return *refusal;
  return UpgmaBuilder(std::move(distances), labels).Build();
}

}  // namespace vorn
