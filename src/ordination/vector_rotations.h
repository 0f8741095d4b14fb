// The eigenvectors of the Jacobi method: the rotations are recorded in their order, a chunk at a
// time, and applied to V by rows. A row of V stays in the cache while a whole chunk passes over
// it, and each element still goes through the same rotations in the same order, so the numbers
// are those of rotating V at every step. A second thread takes each full chunk over every row
// while the caller fills the next; whatever is left at the end is applied by two threads, each
// on rows of its own. Without that thread a full chunk is applied in line.
//
// V and the recorded angles are held in the slot format Slots. In the split format Lost() tells
// when a split store lost bits (or an angle does not split exactly), and the work stops there.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "ordination/jacobi_eigen.h"
#include "ordination/real_slot.h"

namespace vorn {

template <class Slots>
class VectorRotations {
 public:
  // V starts as the n x n identity.
  VectorRotations(std::size_t n, bool ownThread);
  ~VectorRotations();
  VectorRotations(const VectorRotations&) = delete;
  VectorRotations& operator=(const VectorRotations&) = delete;

  void Push(std::size_t p, std::size_t q, JacobiRotation r);
  // Applies every rotation pushed.
  void Complete();
  bool Lost() const { return lost_.load(std::memory_order_relaxed); }
  // The vectors after Complete, column-major: component i of vector k at k * n + i.
  std::vector<Real> ColumnMajor() const;

 private:
  static constexpr std::size_t kChunk = 8192;   // rotations: 320 KB, held in the second-level cache
  static constexpr std::size_t kRing = 64;      // chunks the caller may run ahead of the worker
  static constexpr std::size_t kRowBlock = 64;  // rows the worker takes a chunk over at a time

  struct Chunk {
    std::size_t count = 0;
    std::uint32_t p[kChunk], q[kChunk];
    RealSlot c[kChunk], s[kChunk];
  };

  void ApplyToRows(const Chunk& chunk, std::size_t from, std::size_t to);
  void Signal();
  void Work();
  void Stop();

  std::vector<RealSlot> v_;  // row-major: row k holds component k of every vector
  std::size_t n_;
  std::array<std::unique_ptr<Chunk>, kRing> ring_;  // chunk i in slot i % kRing
  std::size_t filling_ = 0;                           // the chunk the caller fills
  std::atomic<std::size_t> published_{0}, applied_{0};  // chunks handed over / done by the worker
  std::atomic<std::size_t> events_{0};                  // counts hand-overs and the stop, to wake the worker
  std::atomic<bool> stop_{false}, lost_{false};
  std::thread worker_;
};

}  // namespace vorn
