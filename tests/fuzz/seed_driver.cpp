// Runs a fuzz target's entry point once on every file of its seed corpus, without libFuzzer: the
// ordinary test build compiles each target with this driver, so a target that no longer builds
// or fails on its own seeds is caught by the test suite, not on the next fuzzing campaign.
//
//   TARGET_seeds SEED_DIR_OR_FILE ...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> seeds;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      seeds.emplace_back(argv[i]);
      continue;
    }
    for (const auto& entry : fs::directory_iterator(argv[i])) {
      if (entry.is_regular_file()) seeds.push_back(entry.path());
    }
  }
  std::sort(seeds.begin(), seeds.end());
  if (seeds.empty()) {
    std::fprintf(stderr, "no seed files\n");
    return 1;
  }
  for (const auto& seed : seeds) {
    std::ifstream file(seed, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "cannot read %s\n", seed.c_str());
      return 1;
    }
    // Copied into a buffer of exactly the file's size, so that ASan sees any read past the input.
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("%zu seeds run\n", seeds.size());
  return 0;
}
