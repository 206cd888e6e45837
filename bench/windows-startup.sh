#!/usr/bin/env bash
# Start-up of the Windows edition under Wine on an X server of its own (Xvfb): tarnwick.exe to
# its main window shown, against the baseline of a bare dialog made from the main window's own
# template (the same controls, styles and font, with the same manifest) that does nothing else:
# what Wine itself takes to start a process and show that window. The two run alternately in one
# run, so both see the same machine; the ratio is taken run by run, over each pair.
# Each program closes its window as soon as it has been shown and prints the time it took from
# the process's creation; the whole process, from exec to exit, is timed from outside as well.
# Usage: bench/windows-startup.sh [BUILD_DIR] [RUNS] [EARLIER_TARNWICK_EXE]
#   (default build/windows, 21). An earlier build's tarnwick.exe, when given, runs in the same
#   alternation, for a before-and-after figure from one run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows}")
runs=${2:-21}
earlier=${3:+$(realpath "$3")}
runner="$build/wine-run.sh"
tarnwick="$build/app/tarnwick.exe"
bare="$build/bench/tarnwick_bare_dialog.exe"
for f in "$runner" "$tarnwick" "$bare" ${earlier:+"$earlier"}; do
  [[ -e $f ]] || { echo "no $f (cmake --preset windows && cmake --build --preset windows)"; exit 2; }
done

# On an X server of its own, with the prefix's Wine server started for that display.
if [[ -z ${TARNWICK_BENCH_ON_DISPLAY:-} ]]; then
  TARNWICK_BENCH_ON_DISPLAY=1 exec bash tests/win32/with-xvfb.sh --wine "$runner" \
    bash "$0" "$build" "$runs" ${earlier:+"$earlier"}
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# One run of each first: the server, Wine's services and the programs in the page cache.
"$runner" "$bare" >/dev/null 2>&1 || true
"$runner" "$tarnwick" --benchmark-startup >/dev/null 2>&1 || true
[[ -z $earlier ]] || "$runner" "$earlier" --benchmark-startup >/dev/null 2>&1 || true

declare -a inside_t inside_b inside_e whole_t whole_b whole_e ratio
run() {  # program [args]: prints "shown-ms whole-ms"
  local start end line
  start=$(date +%s%N)
  line=$("$runner" "$@" 2>/dev/null | tr -d '\r' | grep -o 'after [0-9.]* ms' | head -n 1)
  end=$(date +%s%N)
  [[ -n $line ]] || { echo "no start-up time from $1" >&2; exit 1; }
  line=${line#after }
  echo "${line% ms} $(awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e6 }')"
}
# Each round runs every program once, starting with a different one each round, so that none is
# always the one that follows another's exit.
programs=(b t ${earlier:+e})
for ((i = 0; i < runs; i++)); do
  for ((k = 0; k < ${#programs[@]}; k++)); do
    case ${programs[(i + k) % ${#programs[@]}]} in
      b) read -r a b < <(run "$bare"); inside_b+=("$a"); whole_b+=("$b") ;;
      t) read -r a b < <(run "$tarnwick" --benchmark-startup); inside_t+=("$a"); whole_t+=("$b") ;;
      e) read -r a b < <(run "$earlier" --benchmark-startup); inside_e+=("$a"); whole_e+=("$b") ;;
    esac
  done
  ratio+=("$(awk -v t="${inside_t[i]}" -v b="${inside_b[i]}" 'BEGIN { printf "%.3f", t / b }')")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
range() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print lo "-" hi }'; }
report() {  # label, the names of its arrays of shown and whole-process times
  local -n shown=$2 whole=$3
  printf '  %-20s shown after %s ms (%s); whole process %s ms (%s)\n' "$1" "$(median "${shown[@]}")" \
    "$(range "${shown[@]}")" "$(median "${whole[@]}")" "$(range "${whole[@]}")"
}
printf 'over %d runs each, alternating (median, range):\n' "$runs"
report "bare dialog" inside_b whole_b
report "tarnwick.exe" inside_t whole_t
[[ -z $earlier ]] || report "earlier tarnwick.exe" inside_e whole_e
printf '  tarnwick.exe / bare dialog, shown: %sx (median of the paired runs; range %s)\n' \
  "$(median "${ratio[@]}")" "$(range "${ratio[@]}")"
