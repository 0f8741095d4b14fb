// A scratch file for fuzz targets whose code under test reads a file by name: each process
// writes its inputs to its own file in /tmp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace vorn::fuzz {

inline const std::string& ScratchFile() {
  static const std::string path = "/tmp/vorn-fuzz-" + std::to_string(::getpid()) + ".txt";
  return path;
}

// Writes the bytes to the scratch file; false when it cannot be written.
inline bool WriteScratch(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace vorn::fuzz
