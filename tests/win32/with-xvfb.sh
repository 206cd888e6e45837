#!/usr/bin/env bash
# Runs a command with DISPLAY on a fresh Xvfb server of its own, stopped afterwards.
# -noreset: the server must not reset when Wine's first client disconnects.
set -euo pipefail
fd_file=$(mktemp)
Xvfb -noreset -nolisten tcp -screen 0 1280x1024x24 -displayfd 4 4>"$fd_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 100); do
  [[ -s "$fd_file" ]] && break
  sleep 0.1
done
[[ -s "$fd_file" ]] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
"$@"
