#!/usr/bin/env bash
# The browser edition, from a fresh Debian 12 machine to a tested static site.
#
#   scripts/web.sh              installs what is missing, builds the site (build/web/web/site and
#                               the single-file build/web/web/site-single) and runs the wasm test
#                               suites under node and the browser tests in Debian's Chromium
#   scripts/web.sh build        installs what is missing and builds the site only
#   scripts/web.sh serve [PORT] serves the built site on http://127.0.0.1:PORT/ (8080) until ^C
set -euo pipefail
cd "$(dirname "$0")/.."
command="${1:-test}"

if [[ "$command" == "serve" ]]; then
  exec node tests/web/serve.mjs build/web/web/site "${2:-8080}"
fi

# emscripten (with its prebuilt system libraries), GoogleTest's sources for the wasm test
# programs, node to run them, Chromium for the browser tests.
TARNWICK_EXTRA_PACKAGES="emscripten googletest nodejs chromium ${TARNWICK_EXTRA_PACKAGES:-}" \
  bash scripts/install-deps.sh
if ! command -v npm >/dev/null; then
  # Debian's own nodejs comes without npm; a node that brings its own npm needs nothing here.
  TARNWICK_EXTRA_PACKAGES="npm" bash scripts/install-deps.sh
fi

# Debian's emscripten finds its JavaScript helpers (acorn) there.
export NODE_PATH=/usr/share/nodejs
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi
# TARNWICK_CMAKE_ARGS adds cache settings to the configure steps (CI: warnings as errors).
read -r -a cmake_args <<<"${TARNWICK_CMAKE_ARGS:-}"
cmake --preset web "${cmake_args[@]}" >/dev/null
cmake --build --preset web
echo "site: build/web/web/site (over HTTP), build/web/web/site-single (also from file://)"
[[ "$command" == "build" ]] && exit 0

(cd tests/web && npm ci --no-audit --no-fund)
# The browser's saved file is compared with what the headless backend writes for the same job,
# and the window check's rules run in the Linux build's evaluator.
cmake --preset dev "${cmake_args[@]}" >/dev/null
cmake --build --preset dev --target tarnwick-cfg tarnwick_window_check_tool
export TARNWICK_CFG="$PWD/build/dev/cli/tarnwick-cfg"
export TARNWICK_WINDOW_CHECK="$PWD/build/dev/tests/toolkit/windowcheck/tarnwick_window_check_tool"
ctest --preset web
