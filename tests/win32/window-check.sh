#!/usr/bin/env bash
# The window check of the Windows tests on a small screen at a large scale: 144 DPI (150 %) on a
# 1366 x 768 screen, as many laptops have it. The Wine prefix's DPI is set for the run and put
# back to 96 afterwards, also when the run fails.
#   window-check.sh WINE_RUNNER PROGRAM
set -euo pipefail
runner=$1
program=$2
here=$(dirname "$0")
server=$(sed -n 's/^wineserver="\(.*\)"$/\1/p' "$runner")
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$runner")
set_dpi() {
  "$runner" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$runner" reg add 'HKCU\Software\Wine\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$runner" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # The registry reaches the disk, and the next run's server, when this server ends.
  WINEPREFIX="$prefix" "$server" -w 2>/dev/null || true
  WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true
}
trap 'set_dpi 96' EXIT
set_dpi 144
TARNWICK_XVFB_SCREEN=1366x768x24 TARNWICK_WINDOW_CHECK_NAME=144dpi \
  bash "$here/with-xvfb.sh" "$runner" "$program" --gtest_filter='WindowCheck.*'
