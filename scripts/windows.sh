#!/usr/bin/env bash
# The whole Windows job on a Debian 12 machine: installs the cross compiler, Wine, NSIS, Wine's
# fonts and Xvfb, cross-builds tarnwick.exe and tarnwick-cfg.exe (preset "windows"), makes the
# zip and the installer (build/windows/package/) and runs every Windows test under Wine.
# A flaky Wine start may be retried once; nothing else is.
set -euo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine64 nsis fonts-wine xvfb unzip googletest imagemagick" \
  bash scripts/install-deps.sh
start=$(date +%s)
cmake --preset windows >/dev/null
cmake --build --preset windows
status=0
ctest --preset windows --repeat until-pass:2 || status=$?
# The Wine server of the build's prefix, and anything it still runs, go with the job.
WINEPREFIX="$PWD/build/windows/wine-prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
echo "Windows stage finished in $(( $(date +%s) - start )) s"
ls -l build/windows/package/*.zip build/windows/package/*.exe
exit "$status"
