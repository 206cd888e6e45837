#!/usr/bin/env bash
# Start-up of the Windows edition under Wine on an X server of its own (Xvfb): tarnwick.exe to
# its main window shown, against a bare dialog of the same size and font (the baseline: what
# Wine itself takes to start a process and show a dialog), in the same run, alternating.
# Each program closes its window as soon as it has been shown and prints the time it took from
# its own start; the whole process, from exec to exit, is timed from outside as well.
# Usage: bench/windows-startup.sh [BUILD_DIR] [RUNS]     (default build/windows, 21)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows}")
runs=${2:-21}
runner="$build/wine-run.sh"
tarnwick="$build/app/tarnwick.exe"
bare="$build/bench/tarnwick_bare_dialog.exe"
for f in "$runner" "$tarnwick" "$bare"; do
  [[ -e $f ]] || { echo "no $f (cmake --preset windows && cmake --build --preset windows)"; exit 2; }
done

# On an X server of its own, with the prefix's Wine server started for that display.
if [[ -z ${TARNWICK_BENCH_ON_DISPLAY:-} ]]; then
  TARNWICK_BENCH_ON_DISPLAY=1 exec bash tests/win32/with-xvfb.sh --wine "$runner" \
    bash "$0" "$build" "$runs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# One run of each first: the server, Wine's services and both programs in the page cache.
"$runner" "$bare" >/dev/null 2>&1 || true
"$runner" "$tarnwick" --benchmark-startup >/dev/null 2>&1 || true

declare -a inside_t inside_b whole_t whole_b
run() {  # program [args]: prints "inside-ms whole-us"
  local start end line
  start=$(date +%s%N)
  line=$("$runner" "$@" 2>/dev/null | tr -d '\r' | grep -o 'after [0-9.]* ms' | head -n 1)
  end=$(date +%s%N)
  [[ -n $line ]] || { echo "no start-up time from $1" >&2; exit 1; }
  line=${line#after }
  echo "${line% ms} $(((end - start) / 1000))"
}
for ((i = 0; i < runs; i++)); do
  read -r a b < <(run "$bare")
  inside_b+=("$a"); whole_b+=("$b")
  read -r a b < <(run "$tarnwick" --benchmark-startup)
  inside_t+=("$a"); whole_t+=("$b")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
range() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo "-" hi }'; }
ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
printf 'over %d runs each, alternating (median, range):\n' "$runs"
printf '  bare dialog   shown after %s ms (%s); whole process %s ms\n' \
  "$(median "${inside_b[@]}")" "$(range "${inside_b[@]}")" "$(ms "$(median "${whole_b[@]}")")"
printf '  tarnwick.exe  shown after %s ms (%s); whole process %s ms\n' \
  "$(median "${inside_t[@]}")" "$(range "${inside_t[@]}")" "$(ms "$(median "${whole_t[@]}")")"
