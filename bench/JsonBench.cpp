// The JSON readers on hostile input at their size limits: each document must be imported or
// refused in time linear in its size. Budgets: a 1 MiB settings document under 100 ms, the
// largest operator-table document under a second (see scripts/bench-report.sh).

#include <benchmark/benchmark.h>

#include <string>

#include "cli/OperatorJson.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"

namespace {

using namespace tarnwick::cli;

// Repeats `unit` (separated by commas) between `before` and `after` to about `size` bytes.
std::string filled(const std::string& before, const std::string& unit, const std::string& after,
                   std::size_t size, bool numbered = false) {
  std::string text = before;
  for (std::size_t i = 0; text.size() + unit.size() + after.size() + 12 < size; ++i) {
    if (i != 0) text += ",";
    text += numbered ? "\"k" + std::to_string(i) + "\"" + unit : unit;
  }
  return text + after;
}

std::string settingsDocument(int kind) {
  constexpr std::size_t kSize = kMaxRecordJsonBytes;
  const std::string exported = exportRecordJson(startupRecord());
  switch (kind) {
    case 0: return filled("{", ":0", "}", kSize, true);                       // many keys
    case 1: return filled("{\"fields\":{", ":0", "}}", kSize, true);          // many fields
    case 2: return filled("[", "{}", "]", kSize);                             // many objects
    case 3: return filled("{\"fields\":{\"serialNo\":[", "0", "]}}", kSize);  // long array
    case 4: return "{\"fields\":{\"orgName\":\"" + std::string(kSize - 40, 'A') + "\"}}";
    case 5: return exported + std::string(kSize - exported.size(), ' ');      // valid, padded
    default: return std::string(kSize / 2, '[') + std::string(kSize / 2, ']');  // deep
  }
}

void BM_HostileSettingsJson(benchmark::State& state) {
  const std::string text = settingsDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RecordImport result = importRecordJson(text);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_HostileSettingsJson)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// The largest table: 255 countries of 32 operators, every field full of three-byte characters.
std::string largestOperatorTable() {
  std::string euro;
  for (int i = 0; i < 63; ++i) euro += "\xE2\x82\xAC";  // U+20AC, byte 0x80 in Windows-1252
  std::string text = "{\"countries\":[";
  for (int c = 0; c < 255; ++c) {
    text += (c ? "," : "") + std::string("{\"index\":") + std::to_string(c) + ",\"name\":\"" +
            euro.substr(0, 3 * 20) + "\",\"operators\":[";
    for (int o = 0; o < 32; ++o) {
      text += (o ? ",{" : "{") + std::string("\"index\":") + std::to_string(o);
      for (std::size_t f = 0; f < 10; ++f) {
        const std::string value = f == 9 ? "12345" : euro;
        text += ",\"" + std::string(operatorFieldName(f)) + "\":\"" + value + "\"";
      }
      text += "}";
    }
    text += "]}";
  }
  return text + "]}";
}

std::string operatorDocument(int kind) {
  constexpr std::size_t kSize = kMaxOperatorJsonBytes;
  switch (kind) {
    case 0: return largestOperatorTable();                                     // valid
    case 1: return filled("{\"countries\":[", "{}", "]}", kSize);               // many objects
    case 2: return filled("{\"countries\":[{", ":0", "}]}", kSize, true);       // many keys
    case 3: return "{\"countries\":\"" + std::string(kSize - 20, 'A') + "\"}";  // long text
    default: {
      const std::string table = largestOperatorTable();
      return table + std::string(kSize - table.size(), ' ');                   // padded
    }
  }
}

void BM_HostileOperatorJson(benchmark::State& state) {
  const std::string text = operatorDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    OperatorTableImport result = importOperatorTableJson(text);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_HostileOperatorJson)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
