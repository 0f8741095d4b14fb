// Real write failures for tests, as root too (root ignores permissions, not limits): while a
// FileSizeLimit lives, every write that would take a file past the limit fails with EFBIG ("File
// too large"), as writes fail on a full disk. /dev/full gives ENOSPC for a file written in place.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace vorn::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    // Without this the process would be stopped by SIGXFSZ instead of seeing the failure.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace vorn::testing
