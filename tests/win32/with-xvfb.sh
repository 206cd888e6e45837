#!/usr/bin/env bash
# Runs a command with DISPLAY on a fresh Xvfb server of its own, stopped afterwards.
#   with-xvfb.sh WINE_RUNNER PROGRAM ARGS...       a Windows program under Wine
#   with-xvfb.sh --wine WINE_RUNNER COMMAND ARGS... a command of its own that uses Wine
# -noreset: the server must not reset when Wine's first client disconnects.
# TARNWICK_XVFB_SCREEN gives the screen (WIDTHxHEIGHTxDEPTH), 1280x1024x24 unless set.
set -euo pipefail
runner=$1
if [[ $1 == --wine ]]; then
  runner=$2
  shift 2
fi
fd_file=$(mktemp)
Xvfb -noreset -nolisten tcp -screen 0 "${TARNWICK_XVFB_SCREEN:-1280x1024x24}" -displayfd 4 \
  4>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 100); do
  [[ -s "$fd_file" ]] && break
  sleep 0.1
done
[[ -s "$fd_file" ]] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
# With a Wine runner as the command: Wine's desktop process keeps the display of the server's
# first program, so the prefix's server (left by earlier tests, without a display) is stopped
# before and after, and this run gets one of its own on this display.
stop_wine() {
  local prefix server
  prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$1" 2>/dev/null || true)
  server=$(sed -n 's/^wineserver="\(.*\)"$/\1/p' "$1" 2>/dev/null || true)
  if [[ -n "$prefix" && -n "$server" ]]; then WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true; fi
}
stop_wine "$runner"
status=0
"$@" || status=$?
stop_wine "$runner"
exit "$status"
