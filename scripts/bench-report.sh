#!/usr/bin/env bash
# Builds the release preset, runs every benchmark and whole-process timing, and prints one table
# with each figure next to its budget. Exit status 1 when a figure misses its budget.
set -euo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="hyperfine time exfat-fuse exfatprogs" bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tarnwick tarnwick-cfg tarnwick_bench_config \
  tarnwick_bench_network tarnwick_bench_netui tarnwick_bench_json >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for bench in build/release/bench/tarnwick_bench_*; do
  "$bench" --benchmark_format=json --benchmark_out="$out/$(basename "$bench").json" \
    --benchmark_out_format=json >/dev/null 2>&1
done
bash bench/startup.sh build/release/app/tarnwick 21 >"$out/startup.txt" 2>&1 || true
bash bench/cli.sh build/release/cli/tarnwick-cfg >"$out/cli.txt" 2>&1 || true
bash bench/batch.sh build/release/cli/tarnwick-cfg >"$out/batch.txt" 2>&1 || true
bash bench/card.sh build/release/cli/tarnwick-cfg >"$out/card.txt" 2>&1 || true
# The browser edition: its size, the time to its first painted main window in headless Chromium
# paired with a plain page, Lighthouse's mobile scores, and the record loop in wasm under node
# against the same loop built natively.
cmake --build --preset release --target tarnwick_record_loop >/dev/null
build/release/bench/tarnwick_record_loop >"$out/loop-native.txt" 2>&1 || true
if bash scripts/web.sh build >/dev/null 2>&1 && (cd tests/web && npm ci --no-audit --no-fund >/dev/null 2>&1); then
  node --no-experimental-fetch build/web/web/tarnwick_record_loop_wasm.js >"$out/loop-wasm.txt" 2>&1 || true
  node tests/web/bench.mjs 21 >"$out/web.txt" 2>&1 || true
fi
touch "$out/loop-wasm.txt" "$out/web.txt"
# The Windows edition, when it has been built (scripts/windows.sh): start-up under Wine against
# a bare dialog of the main window's template, and the sizes of the two programs as packaged
# (stripped).
if [[ -e build/windows/bench/tarnwick_bare_dialog.exe && -e build/windows/app/tarnwick.exe ]]; then
  bash bench/windows-startup.sh build/windows 21 >"$out/windows.txt" 2>&1 || true
  stat -c "size %n %s" build/windows/package/Tarnwick-*/tarnwick.exe \
    build/windows/package/Tarnwick-*/tarnwick-cfg.exe \
    >>"$out/windows.txt" 2>/dev/null || true
fi
touch "$out/windows.txt"

python3 - "$out" <<'PY'
import glob, json, os, re, sys
out = sys.argv[1]
# name in the benchmark -> (label, budget in ms or None)
budgets = {
    "BM_NegateRecord": ("negateBytes, 1792 bytes", None),
    "BM_ReadConfigFile": ("readConfigFile", None),
    "BM_WriteConfigFile": ("writeConfigFile (atomic, two fsyncs, read back from the device)", None),
    "BM_RoundTrip": ("write + read round trip", None),
    "parseLargestOperDb": ("parse maximal oper.db (255 x 33 x 10)", 20.0),
    "loadLargestOperDb": ("load maximal oper.db from disk", 20.0),
    "BM_OpenNetworkWindowWithMaximalOperDb": ("open MMS / 4G window, maximal oper.db", 100.0),
}
# Hostile JSON at the readers' size limits, one row a kind of document.
settings_kinds = ["many keys", "many fields", "many objects", "long array", "long text",
                  "valid, padded", "deep nesting"]
for i, kind in enumerate(settings_kinds):
    budgets[f"BM_HostileSettingsJson/{i}"] = (f"import 1 MiB hostile settings JSON: {kind}", 100.0)
operator_kinds = ["largest valid table", "many objects", "many keys", "long text",
                  "largest table, padded"]
for i, kind in enumerate(operator_kinds):
    budgets[f"BM_HostileOperatorJson/{i}"] = (f"read 24 MiB operator JSON: {kind}", 1000.0)
rows, failed = [], False
def row(label, value_ms, budget_ms, text=None):
    global failed
    verdict = "-" if budget_ms is None else ("ok" if value_ms < budget_ms else "OVER")
    failed |= verdict == "OVER"
    shown = text if text else (f"{value_ms * 1000:.2f} us" if value_ms < 0.1 else f"{value_ms:.3f} ms")
    rows.append((label, shown, "-" if budget_ms is None else f"< {budget_ms:g} ms", verdict))
scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
for path in sorted(glob.glob(os.path.join(out, "tarnwick_bench_*.json"))):
    for b in json.load(open(path))["benchmarks"]:
        label, budget = budgets.get(b["name"], (b["name"], None))
        row(label, b["real_time"] * scale[b["time_unit"]], budget)
startup = open(os.path.join(out, "startup.txt")).read()
m = re.search(r"median (\d+)\.(\d+) ms", startup)
if m:
    row("GUI start to main window shown (offscreen, median)", float(f"{m[1]}.{m[2]}"), 100.0)
m = re.search(r"peak memory.*?(\d+) kB", startup)
if m:
    mb = int(m[1]) / 1024
    rows.append(("GUI peak memory", f"{mb:.1f} MB", "< 50 MB", "ok" if mb < 50 else "OVER"))
    failed |= mb >= 50
for line in open(os.path.join(out, "cli.txt")):
    m = re.match(r"(\w+)\s+median\s+([\d.]+) ms\s+\(budget (\d+) ms\)", line)
    if m:
        row(f"tarnwick-cfg {m[1]} (whole process, median)", float(m[2]), float(m[3]))
for line in open(os.path.join(out, "batch.txt")):
    m = re.match(r"(\w+)\s+median\s+([\d.]+) ms\s+\(budget (\d+) ms\)", line)
    if m:
        row(f"tarnwick-cfg {m[1]} (1,000 cameras, whole process, median)", float(m[2]), float(m[3]))
    m = re.match(r"batch_million checked in (\d+) ms, peak memory (\d+) kB", line)
    if m:
        row("tarnwick-cfg batch, 1,000,000 cameras checked (whole process)", float(m[1]), None)
        mb = int(m[2]) / 1024
        rows.append(("tarnwick-cfg batch, 1,000,000 cameras: peak memory", f"{mb:.1f} MB",
                     "< 200 MB", "ok" if mb < 200 else "OVER"))
        failed |= mb >= 200
for line in open(os.path.join(out, "card.txt")):
    m = re.match(r"create_pairs on (.+): both succeeded in (\d+) of (\d+) rounds", line)
    if m:
        rows.append((f"tarnwick-cfg new + import on one missing file, {m[1]}: both succeeded",
                     f"{m[2]} of {m[3]}", "0", "ok" if m[2] == "0" else "OVER"))
        failed |= m[2] != "0"
    m = re.match(r"same_folder on exFAT: .* (\d+) folders written", line)
    if m:
        rows.append(("tarnwick-cfg batch, ÉCOLE/école/Σ/σ on exFAT: folders written", m[1], "0",
                     "ok" if m[1] == "0" else "OVER"))
        failed |= m[1] != "0"
for name, label in (("loop-native.txt", "record encode/decode round, native"),
                    ("loop-wasm.txt", "record encode/decode round, wasm under node")):
    m = re.search(r"([\d.]+) ns per round", open(os.path.join(out, name)).read())
    if m:
        row(label, float(m[1]) / 1e6, None)
web = open(os.path.join(out, "web.txt")).read()
m = re.search(r"wasm \+ js gzip: (\d+) bytes", web)
if m:
    kb = int(m[1]) / 1024
    rows.append(("browser edition wasm + js, gzip", f"{kb:.0f} KB", "<= 1024 KB", "ok" if kb <= 1024 else "OVER"))
    failed |= kb > 1024
m = re.search(r"wasm \+ js raw: (\d+) bytes", web)
if m:
    rows.append(("browser edition wasm + js, raw", f"{int(m[1]) / 1024:.0f} KB", "-", "-"))
# Paired in one run with a plain static page: the difference is what the program costs.
for name, label, budget in (
        ("navigation to main window painted",
         "browser edition: navigation to main window painted (median)", 300.0),
        ("navigation to plain page painted", "  the same for a plain static page, same run", None),
        ("main window painted minus plain page, paired", "  main window minus plain page, paired", None),
        ("navigation to main window painted from the service worker's cache",
         "  main window painted, from the service worker's cache", None)):
    m = re.search(re.escape(name) + r" \(median of \d+\): (-?[\d.]+) ms", web)
    if m:
        row(label, float(m[1]), budget)
m = re.search(r"lighthouse mobile performance \(median of \d+\): ([\d.]+)", web)
if m:
    score = float(m[1])
    rows.append(("browser edition: Lighthouse mobile performance", f"{score:.0f}", ">= 95",
                 "ok" if score >= 95 else "OVER"))
    failed |= score < 95
m = re.search(r"lighthouse mobile total blocking time \(median of \d+\): ([\d.]+) ms", web)
if m:
    row("  Lighthouse mobile total blocking time", float(m[1]), None)
m = re.search(r"lighthouse mobile accessibility \(median of \d+\): ([\d.]+)", web)
if m:
    failing = re.search(r"lighthouse accessibility audits failed: (.*)", web)
    rows.append(("browser edition: Lighthouse accessibility" +
                 (f" (failing: {failing[1]})" if failing and failing[1] != "none" else ""),
                 f"{float(m[1]):.0f}", "-", "-"))
windows = open(os.path.join(out, "windows.txt")).read()
for name, label in (("bare dialog", "Windows: same-template bare dialog shown under Wine (median)"),
                    ("tarnwick.exe", "Windows: tarnwick.exe main window shown under Wine (median)")):
    m = re.search(r"^  " + re.escape(name) + r"\s+shown after ([\d.]+) ms", windows, re.M)
    if m:
        row(label, float(m[1]), None)
# The main window against the bare dialog, run by run: at most 1.5 times.
m = re.search(r"tarnwick\.exe / bare dialog, shown: ([\d.]+)x", windows)
if m:
    ratio = float(m[1])
    rows.append(("Windows: tarnwick.exe / bare dialog, shown (median of paired runs)",
                 f"{ratio:.2f}x", "<= 1.5x", "ok" if ratio <= 1.5 else "OVER"))
    failed |= ratio > 1.5
for m in re.finditer(r"size \S*/(tarnwick(?:-cfg)?\.exe) (\d+)", windows):
    rows.append((f"Windows: {m[1]} size, stripped", f"{int(m[2]) / 1024:.0f} KB", "-", "-"))
width = max(len(r[0]) for r in rows)
print(f"| {'measure':{width}} | {'figure':>12} | {'budget':>9} | ok |")
print(f"|{'-' * (width + 2)}|{'-' * 14}|{'-' * 11}|----|")
for label, shown, budget, verdict in rows:
    print(f"| {label:{width}} | {shown:>12} | {budget:>9} | {verdict} |")
sys.exit(1 if failed else 0)
PY
