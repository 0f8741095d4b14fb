// Runs numbered replicates 1 .. count in three stages, so that they share the cores and still
// give exactly what one replicate after the other would give:
//   prepare(slot, e) runs on the calling thread for e = 1, 2, ... in this order: the only stage
//                    that may draw random numbers;
//   build(slot, e)   runs on any thread, beside other builds and later preparations; it reads
//                    only what prepare left in its slot and writes only to its slot;
//   deliver(slot, e) runs on the calling thread for e = 1, 2, ... in this order; false stops the run.
// Replicate e is prepared once e - SlotCount(batch) is delivered and built as soon as a core is
// free; each is delivered as soon as it and all before it are built, so no core waits for the
// slowest of a group. A replicate's slot is one of SlotCount(batch) and stays its own from
// prepare to deliver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace vorn {

struct ReplicateStages {
  std::function<void(std::size_t slot, std::int32_t replicate)> prepare;
  std::function<void(std::size_t slot, std::int32_t replicate)> build;
  std::function<bool(std::size_t slot, std::int32_t replicate)> deliver;
};

inline std::size_t SlotCount(std::size_t batch) { return 2 * batch; }

// The number of replicates delivered (count, unless deliver stopped the run). An exception of
// any stage ends the run and is thrown again on the calling thread.
std::int32_t RunReplicates(std::int32_t count, std::size_t batch, const ReplicateStages& stages);

// The batch that keeps every core busy when builds are the larger part of the work: perCore
// replicates for each core. A larger one lets the calling thread draw further ahead, but each
// replicate in work holds its slot's storage.
std::size_t CoreBatch(std::size_t perCore);

}  // namespace vorn
