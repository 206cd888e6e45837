#!/usr/bin/env bash
# Whole-process timings of the fleet commands for 1,000 cameras, measured with hyperfine
# (Debian package "hyperfine"), against their budgets (medians):
#   batch_refused  1,000 rows, one refused value, nothing written        under 250 ms
#   batch_written  the same rows fixed, 1,000 folders and files written  under 15,000 ms
#   check_files    check over the 1,000 files written                    under 250 ms
#   apns_world     oper-db build --from-apns over data/apns-conf.xml     under 500 ms
# and, once, a table of 1,000,000 cameras (the most batch takes) whose last row is refused, so
# that every row is read and checked and nothing written: its peak memory must stay under
# 200 MB (it was 2 GB while batch held every row), its time is reported.
# Exits 1 when a median or the peak memory is over its budget.
#
#   bench/batch.sh [TOOL] [CAMERAS]   TOOL defaults to build/release/cli/tarnwick-cfg
#
# Every file is saved the safe way (temporary file, fsync, rename, fsync of the folder), so
# batch_written mostly measures the file system's fsync: its processor time is about half a
# second, the rest is waiting for 2,000 fsyncs (hyperfine's User and System columns).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
tool="$(realpath "${1:-build/release/cli/tarnwick-cfg}")"
cameras=${2:-1000}
[ -x "$tool" ] || { echo "bench/batch.sh: $tool: not built" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "bench/batch.sh: hyperfine is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tool" new -o base.cfg
# One row a camera; bad.csv has one refused serial number in its middle row.
awk -v n="$cameras" -v bad="$(((cameras + 1) / 2))" 'BEGIN {
  print "camera,serialNoOff,serialNo,passwordOff,password,orgNameOff,orgName,phone1,mailbox1" > "good.csv"
  print "camera,serialNoOff,serialNo,passwordOff,password,orgNameOff,orgName,phone1,mailbox1" > "bad.csv"
  for (i = 1; i <= n; i++) {
    s = sprintf("%04d", i % 10000)
    row = sprintf("cam-%05d,On,%s,On,%04d,On,\"Lease %d\",+1555%s,cam%s@example.org", i, s, 1000 + i % 9000, i % 10, s, s)
    print row > "good.csv"
    if (i == bad) sub(/,On,[0-9]+,On,/, ",On,12x4,On,", row)
    print row > "bad.csv"
  }
}'
"$tool" batch base.cfg good.csv -o cards >/dev/null
awk 'BEGIN {
  print "camera,serialNoOff,serialNo" > "million.csv"
  for (i = 1; i <= 1000000; i++)
    printf "cam-%07d,On,%s\n", i, (i == 1000000 ? "12x4" : sprintf("%04d", 1 + i % 9999)) > "million.csv"
}'
/usr/bin/time -f "%e %M" -o million.time "$tool" batch base.cfg million.csv -o million \
  >/dev/null 2>&1 || true

hyperfine -N --warmup 2 --runs 10 --export-json refused.json -i \
  -n batch_refused "$tool batch base.cfg bad.csv -o refused"
hyperfine --warmup 1 --runs 10 --export-json written.json \
  --prepare "rm -rf $work/fresh" \
  -n batch_written "$tool batch base.cfg good.csv -o $work/fresh"
hyperfine --warmup 2 --runs 10 --export-json checked.json \
  -n check_files "$tool check $work/cards/*/menu.cfg"
hyperfine -N --warmup 2 --runs 20 --export-json apns.json \
  -n apns_world "$tool oper-db build --from-apns $root/data/apns-conf.xml -o world.db"

python3 - refused.json written.json checked.json apns.json <<'PY'
import json, sys
budgets_ms = {"batch_refused": 250.0, "batch_written": 15000.0, "check_files": 250.0,
              "apns_world": 500.0}
over = False
for path in sys.argv[1:]:
    for r in json.load(open(path))["results"]:
        median_ms = r["median"] * 1000
        budget = budgets_ms[r["command"]]
        verdict = "ok" if median_ms < budget else "OVER BUDGET"
        over |= median_ms >= budget
        print(f"{r['command']:13s} median {median_ms:8.2f} ms  (budget {budget:.0f} ms)  {verdict}")
seconds, kb = open("million.time").read().split()[-2:]
budget_kb = 200 * 1024
verdict = "ok" if int(kb) < budget_kb else "OVER BUDGET"
over |= int(kb) >= budget_kb
print(f"batch_million checked in {float(seconds) * 1000:.0f} ms, peak memory {kb} kB "
      f"(budget {budget_kb} kB)  {verdict}")
sys.exit(1 if over else 0)
PY
