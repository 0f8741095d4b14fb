#include "replicates/replicate_pipeline.h"

#include <omp.h>

#include <algorithm>
#include <exception>
#include <mutex>

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
  batch = std::max<std::size_t>(batch, 1);
  const auto size = static_cast<std::int32_t>(std::min<std::size_t>(batch, static_cast<std::size_t>(count)));
  const auto slotOf = [&](std::int32_t replicate) {
    return static_cast<std::size_t>(replicate - 1) % SlotCount(batch);
  };
  const auto prepareBatch = [&](std::int32_t first) {
    for (std::int32_t e = first; e < first + size && e <= count; ++e) stages.prepare(slotOf(e), e);
  };

  FirstFailure failure;
  std::int32_t delivered = 0;
  failure.Guard([&] { prepareBatch(1); });
  failure.Rethrow();
  bool stop = false;
#pragma omp parallel
#pragma omp master
  {
    for (std::int32_t first = 1; first <= count && !stop; first += size) {
      const std::int32_t last = std::min(first + size - 1, count);
      for (std::int32_t e = first; e <= last; ++e) {
#pragma omp task default(shared) firstprivate(e)
        failure.Guard([&] { stages.build(slotOf(e), e); });
      }
      // The calling thread prepares the next batch itself, so the random numbers and the
      // host's repainting stay on it; it joins the builds when done.
      if (last < count) failure.Guard([&] { prepareBatch(last + 1); });
#pragma omp taskwait
      if (failure.Failed()) break;
      failure.Guard([&] {
        for (std::int32_t e = first; e <= last && !stop; ++e) {
          if (stages.deliver(slotOf(e), e)) {
            ++delivered;
          } else {
            stop = true;
          }
        }
      });
      if (failure.Failed()) break;
    }
  }
  failure.Rethrow();
  return delivered;
}

}  // namespace vorn
