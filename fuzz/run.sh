#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time: first on a scratch corpus seeded from the
# committed seeds (new inputs go there, not into the repository), then once over the committed
# seeds. Any crash, leak or sanitizer report fails the run.
#
#   fuzz/run.sh <build-dir> <target> [seconds [runs]]
#
#   fuzz/run.sh build/fuzz fuzz_oper_db 60             one minute
#   fuzz/run.sh build/fuzz fuzz_oper_db 0 10000000     ten million executions, however long
set -euo pipefail
build=${1:?build folder}
target=${2:?fuzz target}
seconds=${3:-60}
runs=${4:--1}  # -1: no limit on executions
here="$(cd "$(dirname "$0")" && pwd)"
seeds="$here/corpus/$target"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
binary="$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)"
[ -n "$binary" ] || { echo "no $target under $build" >&2; exit 1; }
"$binary" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 "$scratch" "$seeds"
"$binary" -runs=0 "$seeds"
