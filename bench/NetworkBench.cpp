// The oper.db reader on the largest meaningful file: 255 countries, each with 33 operator items
// (32 listed rows and the closing extra item) of ten fields filled to their limits. Budget:
// well under 20 ms per parse.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "network/OperatorDb.h"

namespace {

std::vector<std::uint8_t> largestDecodedFile() {
  std::vector<std::uint8_t> out{0xFF, 255};
  auto text = [&out](std::uint8_t tag, std::size_t length, char fill) {
    out.insert(out.end(), {0xFF, tag, static_cast<std::uint8_t>(length)});
    out.insert(out.end(), length, static_cast<std::uint8_t>(fill));
  };
  for (int k = 1; k <= 255; ++k) {
    out.insert(out.end(), {0xFF, 0xCC, static_cast<std::uint8_t>(k), 63});
    out.insert(out.end(), 63, static_cast<std::uint8_t>('N'));
    for (int r = 0; r < 33; ++r) {
      out.insert(out.end(), {0xFF, 0xFB});
      for (int f = 0; f < 10; ++f) text(0xFC, f == 9 ? 5 : 63, f == 9 ? '8' : 'v');
    }
    out.insert(out.end(), {0xFF, 0xFE});
  }
  return out;
}

void parseLargestOperDb(benchmark::State& state) {
  const std::vector<std::uint8_t> decoded = largestDecodedFile();
  for (auto _ : state) {
    tarnwick::OperatorTable table;
    tarnwick::parseOperatorDb(table, decoded);
    benchmark::DoNotOptimize(table.countryCount());
    if (table.country(254)->operatorCount != 32) state.SkipWithError("wrong parse");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(decoded.size()));
  state.counters["fileMiB"] = static_cast<double>(decoded.size()) / (1024.0 * 1024.0);
}
BENCHMARK(parseLargestOperDb)->Unit(benchmark::kMillisecond);

// Reading the file too: size check, read, decode, parse.
void loadLargestOperDb(benchmark::State& state) {
  std::vector<std::uint8_t> bytes = largestDecodedFile();
  for (auto& b : bytes) b = static_cast<std::uint8_t>(0x100 - b);
  const auto path = std::filesystem::temp_directory_path() /
                    ("tarnwick-bench-oper-" + std::to_string(::getpid()) + ".db");
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  for (auto _ : state) {
    tarnwick::OperatorTable table;
    if (tarnwick::loadOperatorDb(table, path)) {
      state.SkipWithError("not loaded");
    }
    benchmark::DoNotOptimize(table.countryCount());
  }
  std::filesystem::remove(path);
}
BENCHMARK(loadLargestOperDb)->Unit(benchmark::kMillisecond);

}  // namespace
