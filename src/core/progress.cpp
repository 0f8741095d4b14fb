#include "core/progress.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace vorn {
namespace {

std::function<void()> handler;
std::thread::id owner;
std::atomic<bool> registered{false};
std::chrono::steady_clock::time_point last;

}  // namespace

void SetResponsivenessHandler(std::function<void()> newHandler) {
  handler = std::move(newHandler);
  owner = std::this_thread::get_id();
  registered = static_cast<bool>(handler);
}

void KeepResponsive() {
  if (!registered || std::this_thread::get_id() != owner) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - last < std::chrono::milliseconds(50)) return;
  last = now;
  handler();
}

}  // namespace vorn
