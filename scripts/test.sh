#!/usr/bin/env bash
# Installs what is missing, builds the developer preset and runs every test.
# With a preset name as first argument (asan, coverage, ...) it uses that one.
# TARNWICK_CMAKE_ARGS adds cache settings to the configure step (CI: warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
bash scripts/install-deps.sh
read -r -a cmake_args <<<"${TARNWICK_CMAKE_ARGS:-}"
cmake --preset "$preset" "${cmake_args[@]}" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
