#include "ordination/vector_rotations.h"

#include <algorithm>
#include <type_traits>

namespace vorn {

template <class Slots>
VectorRotations<Slots>::VectorRotations(std::size_t n, bool ownThread) : v_(n * n), n_(n) {
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) Slots::Store(v_[i * n + j], i == j ? 1 : 0);
  }
  ring_[0] = std::make_unique<Chunk>();
  if (ownThread) worker_ = std::thread([this] { Work(); });
}

template <class Slots>
VectorRotations<Slots>::~VectorRotations() {
  Stop();
}

template <class Slots>
void VectorRotations<Slots>::Push(std::size_t p, std::size_t q, JacobiRotation r) {
  Chunk& chunk = *ring_[filling_ % kRing];
  const std::size_t i = chunk.count;
  chunk.p[i] = static_cast<std::uint32_t>(p);
  chunk.q[i] = static_cast<std::uint32_t>(q);
  Slots::Store(chunk.c[i], r.c);
  Slots::Store(chunk.s[i], r.s);
  if (Slots::Load(chunk.c[i]) != r.c || Slots::Load(chunk.s[i]) != r.s) lost_.store(true, std::memory_order_relaxed);
  if (++chunk.count < kChunk) return;
  if (!worker_.joinable()) {
    ApplyToRows(chunk, 0, n_);
    chunk.count = 0;
    return;
  }
  // Hand the chunk over and take the next slot of the ring once the worker has left it, so
  // that memory stays bounded when the worker falls behind.
  ++filling_;
  published_.store(filling_, std::memory_order_release);
  Signal();
  for (std::size_t done; filling_ - (done = applied_.load(std::memory_order_acquire)) >= kRing;) {
    applied_.wait(done, std::memory_order_acquire);
  }
  std::unique_ptr<Chunk>& slot = ring_[filling_ % kRing];
  if (!slot) slot = std::make_unique<Chunk>();
  slot->count = 0;
}

template <class Slots>
void VectorRotations<Slots>::Complete() {
  const bool two = worker_.joinable();
  Stop();
  const std::size_t from = applied_.load(std::memory_order_acquire), to = filling_;
  // Each block of rows takes the chunks in order, so every element sees the rotations in order.
  const auto apply = [this, from, to](std::size_t first, std::size_t last) {
    for (std::size_t k = first; k < last; k += kRowBlock) {
      for (std::size_t c = from; c <= to; ++c) ApplyToRows(*ring_[c % kRing], k, std::min(last, k + kRowBlock));
    }
  };
  const std::size_t half = two ? n_ / 2 : n_;
  std::thread other;
  if (half < n_) other = std::thread(apply, half, n_);
  apply(0, half);
  if (other.joinable()) other.join();
}

template <class Slots>
std::vector<Real> VectorRotations<Slots>::ColumnMajor() const {
  constexpr std::size_t kTile = 32;  // the transpose goes by tiles, each in the cache
  std::vector<Real> vectors(n_ * n_);
  for (std::size_t i0 = 0; i0 < n_; i0 += kTile) {
    for (std::size_t k0 = 0; k0 < n_; k0 += kTile) {
      for (std::size_t i = i0; i < std::min(n_, i0 + kTile); ++i) {
        for (std::size_t k = k0; k < std::min(n_, k0 + kTile); ++k) vectors[k * n_ + i] = Slots::Load(v_[i * n_ + k]);
      }
    }
  }
  return vectors;
}

// Two rows at a time share the loads of each rotation. Kept out of interprocedural analysis:
// GCC 12 at -O2 took it for free of side effects and dropped the calls in Complete.
template <class Slots>
[[gnu::noipa]] void VectorRotations<Slots>::ApplyToRows(const Chunk& chunk, std::size_t from, std::size_t to) {
  constexpr bool kSplit = std::is_same_v<Slots, SplitSlots>;
  if constexpr (kSplit) {
    if (Lost()) return;
    ClearX87Flags();
  }
  std::size_t k = from;
  for (; k + 2 <= to; k += 2) {
    RealSlot* a = v_.data() + k * n_;
    RealSlot* b = a + n_;
    for (std::size_t i = 0; i < chunk.count; ++i) {
      const JacobiRotation r{Slots::Load(chunk.c[i]), Slots::Load(chunk.s[i])};
      const std::uint32_t p = chunk.p[i], q = chunk.q[i];
      RotatePair<Slots>(r, a[p], a[q]);
      RotatePair<Slots>(r, b[p], b[q]);
    }
  }
  for (; k < to; ++k) {
    RealSlot* a = v_.data() + k * n_;
    for (std::size_t i = 0; i < chunk.count; ++i) {
      RotatePair<Slots>({Slots::Load(chunk.c[i]), Slots::Load(chunk.s[i])}, a[chunk.p[i]], a[chunk.q[i]]);
    }
  }
  if constexpr (kSplit) {
    if (!SplitStoresExact()) lost_.store(true, std::memory_order_relaxed);
  }
}

template <class Slots>
void VectorRotations<Slots>::Signal() {
  events_.fetch_add(1, std::memory_order_release);
  events_.notify_one();
}

// Takes the published chunks in order over every row, until told to stop.
template <class Slots>
void VectorRotations<Slots>::Work() {
  for (std::size_t next = 0;;) {
    const std::size_t seen = events_.load(std::memory_order_acquire);
    if (stop_.load(std::memory_order_acquire)) return;
    if (next == published_.load(std::memory_order_acquire)) {
      events_.wait(seen, std::memory_order_acquire);
      continue;
    }
    const Chunk& chunk = *ring_[next % kRing];
    for (std::size_t k = 0; k < n_; k += kRowBlock) ApplyToRows(chunk, k, std::min(n_, k + kRowBlock));
    applied_.store(++next, std::memory_order_release);
    applied_.notify_one();
  }
}

template <class Slots>
void VectorRotations<Slots>::Stop() {
  if (!worker_.joinable()) return;
  stop_.store(true, std::memory_order_release);
  Signal();
  worker_.join();
}

template class VectorRotations<ExtendedSlots>;
template class VectorRotations<SplitSlots>;

}  // namespace vorn
