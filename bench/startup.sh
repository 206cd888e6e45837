#!/usr/bin/env bash
# Start-up budget of the desktop program: the whole process, from exec to the main window shown
# on Qt's offscreen platform, and its peak memory. The program's --benchmark-startup flag closes
# the main window as soon as it has been painted, so each run is one start-up.
# Usage: bench/startup.sh [PATH_TO_TARNWICK] [RUNS]     (default build/release/app/tarnwick, 21)
# Budget: median under 100 ms, peak memory under 50 MB. Exit status 1 when a budget is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/app/tarnwick}
runs=${2:-21}
[[ -x $program ]] || { echo "no program at $program (build the release preset first)"; exit 2; }
program=$(realpath "$program")
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is needed (Debian package: time)"; exit 2; }

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"  # no oper.db here: the program starts the way a fresh user's does

# One run first, so that every measured run finds the program and Qt in the page cache.
"$program" --benchmark-startup >/dev/null 2>&1 || true

times=()
peaks=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$program" --benchmark-startup >/dev/null 2>"$work/err" ||
    { echo "run $i failed:"; cat "$work/err"; exit 1; }
  end=$(date +%s%N)
  times+=($(((end - start) / 1000)))
  peaks+=("$(tail -n 1 "$work/rss")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximum() { printf '%s\n' "$@" | sort -n | tail -n 1; }
median_us=$(median "${times[@]}")
peak_kb=$(maximum "${peaks[@]}")
printf 'start-up to main window shown: median %d.%03d ms over %d runs (min %d.%03d, max %d.%03d)\n' \
  $((median_us / 1000)) $((median_us % 1000)) "$runs" \
  $(($(printf '%s\n' "${times[@]}" | sort -n | head -n 1) / 1000)) \
  $(($(printf '%s\n' "${times[@]}" | sort -n | head -n 1) % 1000)) \
  $(($(maximum "${times[@]}") / 1000)) $(($(maximum "${times[@]}") % 1000))
printf 'peak memory (maximum resident set): %d kB (%d MB)\n' "$peak_kb" $((peak_kb / 1024))

status=0
((median_us < 100000)) || { echo "over budget: median start-up is not under 100 ms"; status=1; }
((peak_kb < 50 * 1024)) || { echo "over budget: peak memory is not under 50 MB"; status=1; }
exit $status
