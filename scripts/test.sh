#!/usr/bin/env bash
# Installs what is missing, builds the developer preset and runs every test.
# With a preset name as first argument (asan, coverage, ...) it uses that one.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
