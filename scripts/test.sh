#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the Linux suite (developer preset),
# then the Windows edition under Wine and the browser edition under node and Chromium.
# With a preset name as first argument (dev, asan, coverage, ...) it runs that preset's suite
# alone.
# TARNWICK_CMAKE_ARGS adds cache settings to the configure step (CI: warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $# -eq 0 ]]; then
  bash scripts/test.sh dev
  bash scripts/windows.sh
  bash scripts/web.sh
  exit 0
fi
preset="$1"
bash scripts/install-deps.sh
read -r -a cmake_args <<<"${TARNWICK_CMAKE_ARGS:-}"
cmake --preset "$preset" "${cmake_args[@]}" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
