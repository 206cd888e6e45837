#!/usr/bin/env bash
# Starts the desktop program on a real X server (Xvfb), the way a user's session would, and
# drives it with synthetic input: the main window must appear with its title, take a screenshot,
# end with status 0 on Escape; the network window must open from its button and close again.
# Usage: smoke.sh PATH_TO_TARNWICK SCREENSHOT_DIR
set -euo pipefail
program=$(realpath "$1")  # the script changes into a scratch folder below
shots=$2
mkdir -p "$shots"
work=$(mktemp -d)
cleanup() {  # only the processes this script started; `kill 0` would reach the whole group
  local pid
  for pid in ${app:-} ${xvfb:-}; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to the pipe once it accepts
# connections, so there is no race with another server starting at the same time and no need
# to probe. -noreset keeps the server as it is when its last client disconnects: otherwise it
# resets then, and a client connecting during the reset (the next program) is refused.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp \
  3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb=$!
display=""
read -r -t 20 display <"$work/displayfd" || true
if [[ ! $display =~ ^[0-9]+$ ]]; then
  echo "Xvfb did not start (no display number within 20 s):" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
if ! xdpyinfo >/dev/null 2>&1; then
  echo "Xvfb reported display $DISPLAY but xdpyinfo cannot open it:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

wait_window() {  # name -> window id
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [[ -n $id ]] && break
    if ! kill -0 "$app" 2>/dev/null; then
      echo "tarnwick ended before a window named '$1' appeared" >&2
      return 1
    fi
    sleep 0.1
  done
  [[ -n $id ]] || { echo "no window named '$1' appeared within 10 s" >&2; return 1; }
  echo "$id"
}

wait_exit() {  # pid: sets $status to its exit status; fails after 10 s
  for _ in $(seq 100); do
    if ! kill -0 "$1" 2>/dev/null; then
      status=0
      wait "$1" || status=$?
      return 0
    fi
    sleep 0.1
  done
  echo "the program did not end" >&2
  return 1
}

press_escape() {  # window id: focus it, then a real key press through the XTEST extension
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  # The window may be gone before the key's release is delivered; that is the point.
  xdotool key Escape 2>/dev/null || true
}

cd "$work"  # an empty working directory: no oper.db, nothing to overwrite

# 1. Main window, screenshot, Escape.
"$program" &
app=$!
main=$(wait_window "Tarnwick V4.22")
sleep 0.5
import -window root "$shots/x11-main-window.png"
press_escape "$main"
wait_exit "$app"
[[ $status == 0 ]] || { echo "tarnwick ended with status $status after Escape" >&2; exit 1; }
echo "main window: shown, screenshot taken, Escape ended it with status 0"

# 2. The network window opens from the "MMS / 4G" button and closes again.
"$program" &
app=$!
main=$(wait_window "Tarnwick V4.22")
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
# The button's centre in dialog units is (338, 125) on a 389 x 182 client area; dialog units
# scale linearly to pixels, so the window's own size gives the factors.
x=$((338 * WIDTH / 389))
y=$((125 * HEIGHT / 182))
xdotool mousemove --window "$main" "$x" "$y" click 1
net=$(wait_window "MMS / 4G Setup")
sleep 0.3
import -window root "$shots/x11-network-window.png"
press_escape "$net"
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "MMS / 4G Setup" >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name "MMS / 4G Setup" >/dev/null 2>&1; then
  echo "the network window did not close on Escape" >&2; exit 1
fi
press_escape "$main"
wait_exit "$app"
[[ $status == 0 ]] || { echo "tarnwick ended with status $status" >&2; exit 1; }
echo "network window: opened from its button, closed with Escape; program ended with status 0"
