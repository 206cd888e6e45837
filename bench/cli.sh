#!/usr/bin/env bash
# Whole-process timings of tarnwick-cfg show, export and import, measured with hyperfine
# (Debian package "hyperfine"), against their budgets: median under 5 ms for show, under
# 10 ms for export and for import. Exits 1 when a median is over its budget.
#
#   bench/cli.sh [TOOL]     TOOL defaults to build/release/cli/tarnwick-cfg
#
# Build the tool first: cmake --preset release && cmake --build --preset release --target tarnwick-cfg
set -euo pipefail
cd "$(dirname "$0")/.."
tool="$(realpath "${1:-build/release/cli/tarnwick-cfg}")"
[ -x "$tool" ] || { echo "bench/cli.sh: $tool: not built" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "bench/cli.sh: hyperfine is not installed" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tool" new -o menu.cfg
"$tool" export menu.cfg -o menu.json

# -N runs each command without a shell, so only the program itself is timed.
hyperfine -N --warmup 20 --runs 300 --export-json results.json \
  -n show "$tool show menu.cfg" \
  -n export "$tool export menu.cfg -o out.json" \
  -n import "$tool import menu.json -o out.cfg --force"

python3 - results.json <<'PY'
import json, sys
budgets_ms = {"show": 5.0, "export": 10.0, "import": 10.0}
over = False
for r in json.load(open(sys.argv[1]))["results"]:
    median_ms = r["median"] * 1000
    budget = budgets_ms[r["command"]]
    verdict = "ok" if median_ms < budget else "OVER BUDGET"
    over |= median_ms >= budget
    print(f"{r['command']:7s} median {median_ms:6.2f} ms  (budget {budget:.0f} ms)  {verdict}")
sys.exit(1 if over else 0)
PY
