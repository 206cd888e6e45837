#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

namespace {

using namespace tarnwick;

// The largest oper.db the format carries: 255 countries, each with 32 listed operators whose
// ten fields are all full (63 bytes, 5 for the port). About 5 MB on disk.
OperatorTable maximalTable() {
  std::vector<CountryEntry> countries(255);
  for (std::size_t c = 0; c < countries.size(); ++c) {
    CountryEntry& country = countries[c];
    country.name.fill('C');
    country.name.back() = 0;
    country.operators.resize(CountryEntry::kLoadedOperatorRows);
    for (OperatorEntry& row : country.operators) {
      for (std::size_t n = 0; n < OperatorEntry::kFieldCount; ++n) {
        auto field = row.field(n);
        std::fill(field.begin(), field.end() - 1, static_cast<std::uint8_t>('a' + n));
      }
    }
    country.operatorCount = static_cast<std::uint32_t>(country.operators.size());
  }
  OperatorTable table;
  table.adopt(std::move(countries));
  return table;
}

// Opening the network window as the user sees it: oper.db read and parsed, every list filled,
// every rule applied; the window is closed again at once with Esc.
void BM_OpenNetworkWindowWithMaximalOperDb(benchmark::State& state) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::string tmpl = (std::filesystem::temp_directory_path() / "tarnwick-bench-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) {
    state.SkipWithError("no scratch folder");
    return;
  }
  std::filesystem::current_path(tmpl);
  if (auto error = saveOperatorDb(maximalTable(), "oper.db")) {
    state.SkipWithError(error->c_str());
  } else {
    applyDefaults(programRecord());
    tk::CallbackUser user;
    tk::HeadlessBackend backend(user);
    user.backend = &backend;
    user.onAct = [](tk::CDialogEx& top) { top.userEscape(); };
    tk::ScopedBackend scoped(backend);
    std::uint32_t countries = 0;
    for (auto _ : state) {
      CMmsSetupDlg dialog;
      dialog.DoModal();
      countries = static_cast<std::uint32_t>(dialog.GetDlgItem(1124).GetCount());
    }
    if (countries != 255) state.SkipWithError("the oper.db was not used");
  }
  std::filesystem::current_path(previous);
  std::error_code ignored;
  std::filesystem::remove_all(tmpl, ignored);
}
BENCHMARK(BM_OpenNetworkWindowWithMaximalOperDb)->Unit(benchmark::kMillisecond);

}  // namespace
