#!/usr/bin/env bash
# Builds the coverage preset, runs every test and prints line and branch coverage per folder.
set -euo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="gcovr" bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT
find build/coverage -name '*.gcda' -delete 2>/dev/null || true
bash scripts/test.sh coverage
common=(--root . --object-directory build/coverage --exclude 'tests/' --exclude 'bench/'
        --exclude 'fuzz/' --exclude 'build/' --exclude-unreachable-branches --exclude-throw-branches)
echo
echo "== Coverage per folder"
printf '%-22s %8s %8s\n' folder lines branches
for dir in config network ui/toolkit ui/main ui/options ui/network cli resources; do
  [[ -d $dir ]] || continue
  # The detailed report goes to a scratch file: gcovr replaces its output file, so it must never
  # be pointed at a device such as /dev/null.
  summary=$(gcovr "${common[@]}" --filter "${dir}/" --print-summary --txt "$scratch" 2>/dev/null)
  lines=$(sed -n 's/^lines: *\([0-9.]*%\).*/\1/p' <<<"$summary")
  branches=$(sed -n 's/^branches: *\([0-9.]*%\).*/\1/p' <<<"$summary")
  printf '%-22s %8s %8s\n' "$dir" "${lines:--}" "${branches:--}"
done
gcovr "${common[@]}" --html-details build/coverage/coverage.html >/dev/null 2>&1 || true
echo "Details: build/coverage/coverage.html"
