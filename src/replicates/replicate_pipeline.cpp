#include "replicates/replicate_pipeline.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <vector>

namespace vorn {
namespace {

// The first exception of any task, thrown again once the tasks are done.
class FirstFailure {
 public:
  template <typename Work>
  void Guard(Work&& work) {
    try {
      work();
    } catch (...) {
      const std::lock_guard lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
    }
  }
  bool Failed() {
    const std::lock_guard lock(mutex_);
    return static_cast<bool>(failure_);
  }
  void Rethrow() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  std::mutex mutex_;
  std::exception_ptr failure_;
};

}  // namespace

std::size_t CoreBatch(std::size_t perCore) {
  return perCore * static_cast<std::size_t>(std::max(1, omp_get_max_threads()));
}

std::int32_t RunReplicates(std::int32_t count, std::size_t batch, const ReplicateStages& stages) {
  if (count <= 0) return 0;
  const auto window = static_cast<std::int32_t>(SlotCount(std::max<std::size_t>(batch, 1)));
  const auto slotOf = [&](std::int32_t replicate) { return static_cast<std::size_t>((replicate - 1) % window); };
  // Replicates 1 .. prepared are prepared, 1 .. claimed handed to a builder, 1 .. delivered
  // delivered; built[slot] is the last replicate built in that slot. Every change bumps events,
  // on which an idle thread sleeps.
  std::int32_t delivered = 0;
  std::atomic<std::int32_t> prepared{0}, claimed{0};
  std::vector<std::atomic<std::int32_t>> built(static_cast<std::size_t>(window));
  std::atomic<bool> stop{false};
  std::atomic<std::uint32_t> events{0};
  FirstFailure failure;
  const auto announce = [&] {
    events.fetch_add(1, std::memory_order_release);
    events.notify_all();
  };
  // Builds the next prepared replicate, if one waits; true when one was built.
  const auto buildOne = [&](std::int32_t claimable) {
    std::int32_t e = claimed.load();
    do {
      if (e >= claimable) return false;
    } while (!claimed.compare_exchange_weak(e, e + 1));
    ++e;
    failure.Guard([&] { stages.build(slotOf(e), e); });
    if (failure.Failed()) stop = true;
    built[slotOf(e)].store(e, std::memory_order_release);
    announce();
    return true;
  };

#pragma omp parallel
  {
    const bool alone = omp_get_num_threads() == 1;
    if (omp_get_thread_num() == 0) {
      // The calling thread: draws (prepare) and delivers in run order, and builds when the
      // window is full and more than one replicate waits, or all are prepared, or it is alone;
      // one waiting replicate is left to the other cores while it prepares the next.
      while (!stop && delivered < count) {
        const std::uint32_t seen = events.load(std::memory_order_acquire);
        const std::int32_t next = delivered + 1;
        if (built[slotOf(next)].load(std::memory_order_acquire) == next) {
          bool more = false;
          failure.Guard([&] { more = stages.deliver(slotOf(next), next); });
          if (!more) break;
          ++delivered;
          continue;
        }
        const std::int32_t ready = prepared.load();
        if (ready < count && ready < delivered + window) {
          failure.Guard([&] { stages.prepare(slotOf(ready + 1), ready + 1); });
          if (failure.Failed()) break;
          prepared.store(ready + 1, std::memory_order_release);
          announce();
          continue;
        }
        if ((alone || ready == count || ready - claimed.load() > 1) && buildOne(ready)) continue;
        events.wait(seen, std::memory_order_acquire);
      }
      stop = true;
      announce();
    } else {
      while (!stop) {
        const std::uint32_t seen = events.load(std::memory_order_acquire);
        if (!buildOne(prepared.load(std::memory_order_acquire))) events.wait(seen, std::memory_order_acquire);
      }
    }
  }
  failure.Rethrow();
  return delivered;
}

}  // namespace vorn
