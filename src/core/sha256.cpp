#include "core/sha256.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <fstream>
#include <vector>

namespace vorn {
namespace {

constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// One 64-byte block folded into the state, as the standard's compression function.
void Compress(std::array<std::uint32_t, 8>& state, const unsigned char* block) {
  std::array<std::uint32_t, 64> w{};
  for (int t = 0; t < 16; ++t) {
    w[t] = std::uint32_t{block[4 * t]} << 24 | std::uint32_t{block[4 * t + 1]} << 16 |
           std::uint32_t{block[4 * t + 2]} << 8 | std::uint32_t{block[4 * t + 3]};
  }
  for (int t = 16; t < 64; ++t) {
    const std::uint32_t s0 = std::rotr(w[t - 15], 7) ^ std::rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
    const std::uint32_t s1 = std::rotr(w[t - 2], 17) ^ std::rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
    w[t] = w[t - 16] + s0 + w[t - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = state;
  for (int t = 0; t < 64; ++t) {
    const std::uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                             kRoundConstants[t] + w[t];
    const std::uint32_t t2 = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
  }
  const std::array<std::uint32_t, 8> added = {a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) state[i] += added[i];
}

// The digest of bytes given piece by piece: whole blocks folded in as they come, the rest kept.
class Sha256 {
 public:
  void Add(const unsigned char* data, std::size_t size) {
    length_ += size;
    while (size > 0) {
      if (pending_ == 0 && size >= 64) {
        Compress(state_, data);
        data += 64, size -= 64;
        continue;
      }
      const std::size_t taken = std::min(size, 64 - pending_);
      std::copy(data, data + taken, block_.begin() + pending_);
      pending_ += taken, data += taken, size -= taken;
      if (pending_ == 64) Compress(state_, block_.data()), pending_ = 0;
    }
  }

  // The tail, the 1 bit, zeros and the length in bits fill one or two last blocks.
  std::string Hex() {
    std::array<unsigned char, 128> tail{};
    std::copy(block_.begin(), block_.begin() + pending_, tail.begin());
    tail[pending_] = 0x80;
    const std::size_t tailSize = pending_ < 56 ? 64 : 128;
    const std::uint64_t bits = length_ * 8;
    for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    for (std::size_t at = 0; at < tailSize; at += 64) Compress(state_, tail.data() + at);
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint32_t word : state_) {
      for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(word >> shift) & 0xF];
    }
    return hex;
  }

 private:
  std::array<std::uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<unsigned char, 64> block_{};
  std::size_t pending_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.Add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return digest.Hex();
}

// Read a megabyte at a time: a data file of hundreds of megabytes is never held whole.
Result<std::string> FileSha256(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Failure{"Cannot read " + path + " to compute its SHA-256."};
  Sha256 digest;
  std::vector<char> buffer(std::size_t{1} << 20);
  while (file) {
    file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    digest.Add(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<std::size_t>(file.gcount()));
  }
  if (file.bad()) return Failure{"Cannot read " + path + " to compute its SHA-256."};
  return digest.Hex();
}

}  // namespace vorn
