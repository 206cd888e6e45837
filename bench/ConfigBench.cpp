#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>
#include <string>

#include "config/Codec.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"

namespace {

using namespace tarnwick;

void BM_NegateRecord(benchmark::State& state) {
  std::array<std::uint8_t, kRecordSize> buffer{};
  std::iota(buffer.begin(), buffer.end(), std::uint8_t{0});
  for (auto _ : state) {
    negateBytes(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(kRecordSize));
}
BENCHMARK(BM_NegateRecord);

// A scratch folder beside the other temporary files, removed when the benchmark ends.
struct ScratchFile {
  ScratchFile() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarnwick-bench-XXXXXX").string();
    folder = ::mkdtemp(tmpl.data()) ? tmpl : std::string(".");
    path = folder + "/menu.cfg";
  }
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::string folder;
  std::string path;
};

// A full save: encode, temporary file, fsync, rename, fsync of the folder. Dominated by the
// two fsyncs, which is the price of never losing the old file.
void BM_WriteConfigFile(benchmark::State& state) {
  ScratchFile scratch;
  ConfigRecord record;
  applyDefaults(record);
  for (auto _ : state) {
    if (writeConfigFile(scratch.path, record)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_WriteConfigFile)->Unit(benchmark::kMicrosecond);

void BM_ReadConfigFile(benchmark::State& state) {
  ScratchFile scratch;
  ConfigRecord record;
  applyDefaults(record);
  if (writeConfigFile(scratch.path, record)) state.SkipWithError("save failed");
  for (auto _ : state) {
    const auto result = readConfigFile(scratch.path, record);
    if (errorKind(result) != std::nullopt) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(record);
  }
}
BENCHMARK(BM_ReadConfigFile)->Unit(benchmark::kMicrosecond);

void BM_RoundTrip(benchmark::State& state) {
  ScratchFile scratch;
  ConfigRecord record;
  applyDefaults(record);
  for (auto _ : state) {
    if (writeConfigFile(scratch.path, record)) state.SkipWithError("save failed");
    if (errorKind(readConfigFile(scratch.path, record)) != std::nullopt) {
      state.SkipWithError("load failed");
    }
  }
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
