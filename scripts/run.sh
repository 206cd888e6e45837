#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts Tarnwick.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tarnwick tarnwick-cfg
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "tarnwick: no display found (DISPLAY is not set); the command-line tool works without one: build/release/cli/tarnwick-cfg --help"
  exit 1
fi
exec build/release/app/tarnwick "$@"
