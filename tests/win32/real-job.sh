#!/usr/bin/env bash
# A whole job done in tarnwick.exe under Wine with real input: mouse clicks and key presses go
# to the X server through XTEST (xdotool), exactly as a user's would, and Wine delivers them to
# the program's windows. The job: the system menu's About box, the same by Shift+F10 (where a
# window manager draws the title bar, its menu lacks the entry), an arrow key on a switch, a
# password, a time-lapse, an organization name (first refused with a message box), the network
# window in Auto mode, Escape answered No at the question about unsaved settings, and a save
# through the save dialog. The saved file must hold the same bytes as the same job replayed
# on the headless backend (the UI script given), and the fields the job set must read back.
#
# Usage (on an X server, Wine's prefix ready):
#   real-job.sh WINE_RUNNER TARNWICK_EXE TARNWICK_CFG_EXE LOCATE_EXE JOB_SCRIPT SCREENSHOT_DIR
set -euo pipefail
runner=$1
program=$2
cfg=$3
locator=$4
script=$5
shots=$6
mkdir -p "$shots"
work=$(mktemp -d)
app=""
cleanup() {
  if [[ -n $app ]]; then kill "$app" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/real" "$work/headless"
cd "$work/real"  # the program's working directory: no oper.db, the save dialog starts here

fail() {
  echo "real-job: $*" >&2
  import -window root "$shots/win32-job-failure.png" 2>/dev/null || true
  exit 1
}
step() { echo "real-job: $*"; }

locate() { "$runner" "$locator" "$@" 2>/dev/null; }

# Waits until a window whose caption starts with $1 is shown (15 s at most).
wait_window() {
  local _
  for _ in $(seq 150); do
    locate window "$1" >/dev/null && return 0
    [[ -z $app ]] || kill -0 "$app" 2>/dev/null || fail "tarnwick.exe ended while waiting for '$1'"
    sleep 0.1
  done
  fail "no window '$1' appeared"
}

wait_gone() {
  local _
  for _ in $(seq 150); do
    locate window "$1" >/dev/null || return 0
    sleep 0.1
  done
  fail "the window '$1' did not close"
}

# A left click at the centre of control $2 of window $1.
click() {
  local x y
  read -r x y < <(locate control "$1" "$2") || fail "no control $2 in '$1'"
  xdotool mousemove --sync "$x" "$y" click 1
  sleep 0.2
}

keys() {
  xdotool key --delay 60 "$@"
  sleep 0.2
}

type_text() {
  xdotool type --delay 60 -- "$1"
  sleep 0.2
}

expect_text() {  # window, control id, text
  local shown
  shown=$(locate text "$1" "$2") || fail "no control $2 in '$1'"
  shown=${shown%$'\r'}
  [[ $shown == "$3" ]] || fail "control $2 of '$1' shows '$shown', expected '$3'"
}

expect_checked() {  # window, control id, 1 or 0
  local state
  state=$(locate checked "$1" "$2") || fail "no control $2 in '$1'"
  [[ ${state%$'\r'} == "$3" ]] || fail "control $2 of '$1': checked ${state%$'\r'}, expected $3"
}

expect_message() {  # text of a message box (the program's boxes have the caption " ")
  wait_window " "
  locate shows " " "$1" || fail "the message box does not say '$1'"
}

"$runner" "$program" &
app=$!
main="Tarnwick V4.22"
wait_window "$main"
sleep 0.5

step "system menu: click the caption icon, then the last entry by keyboard"
read -r x y < <(locate sysmenu "$main") || fail "no caption icon"
xdotool mousemove --sync "$x" "$y" click 1
sleep 0.3
keys Up Return
wait_window "About Tarnwick"
import -window root "$shots/win32-job-about.png"
click "About Tarnwick" 1
wait_gone "About Tarnwick"

step "the About box by keyboard: Shift+F10 offers the program's own menu entries"
keys shift+F10
keys Down Return
wait_window "About Tarnwick"
keys Return
wait_gone "About Tarnwick"

step "an arrow key from Serial No.'s Off to its On opens its dialog; Escape cancels it"
click "$main" 1106
keys Up
wait_window "Serial Number Setting"
keys Escape
wait_gone "Serial Number Setting"
expect_checked "$main" 1105 0
expect_checked "$main" 1106 1

step "password 4711, shown in clear"
click "$main" 1103
wait_window "Password Setting"
type_text "4711"
click "Password Setting" 1151
expect_text "Password Setting" 1064 "4711"
click "Password Setting" 1
wait_gone "Password Setting"

step "time-lapse 1:30:15"
click "$main" 1107
wait_window "Time-lapse Setting"
type_text "1"
keys Tab
type_text "30"
keys Tab
type_text "15"
keys Return
wait_gone "Time-lapse Setting"

step "organization name: spaces are refused with a message, then 'Forest 7'"
click "$main" 1109
wait_window "Organization Name Setting"
type_text "   "
keys Return
expect_message "Empty name!"
import -window root "$shots/win32-job-message.png"
keys Return
wait_gone " "
click "Organization Name Setting" 1079
keys Home shift+End
type_text "Forest 7"
expect_text "Organization Name Setting" 1079 "Forest 7"
keys Return
wait_gone "Organization Name Setting"

step "network window in Auto mode: fourth country, its second operator"
click "$main" 1031
wait_window "MMS / 4G Setup"
expect_text "MMS / 4G Setup" 1122 "Auto"
# The Mode list has the focus; Tab moves to Country, then Operator.
keys Tab Down Down Down Tab Down
click "MMS / 4G Setup" 1
wait_gone "MMS / 4G Setup"

step "Escape with settings unsaved asks first; Return answers the question's default, No"
# A click on Serial No.'s Off, which is already checked, puts the keyboard focus back into the
# main window and changes nothing.
click "$main" 1106
keys Escape
expect_message "Quit without saving the changes?"
import -window root "$shots/win32-job-quit-question.png"
keys Return
wait_gone " "
kill -0 "$app" 2>/dev/null || fail "tarnwick.exe ended although the question was answered No"

step "save through the save dialog"
click "$main" 1117
wait_window "Save As"
sleep 0.5
import -window root "$shots/win32-job-save-dialog.png"
# The file name box has the focus with "menu" selected: the typed path replaces it.
type_text "Z:${work//\//\\}\\real\\job.cfg"
keys Return
expect_message "Save Config File OK!"
keys Return
wait_gone " "

step "Escape ends the program"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "tarnwick.exe did not end on Escape"
status=0
wait "$app" || status=$?
app=""
[[ $status == 0 ]] || fail "tarnwick.exe ended with status $status"

[[ -f job.cfg ]] || fail "no job.cfg was saved"
(cd "$work/headless" && "$runner" "$cfg" ui "$script") || fail "the headless replay failed"
cmp job.cfg "$work/headless/job.cfg" || fail "the saved bytes differ from the headless replay's"
values=$("$runner" "$cfg" get job.cfg password passwordOff timeLapse orgName networkMode \
         countryIndex operatorIndex | tr -d '\r' | tr '\n' ' ')
[[ $values == "4711 On 1:30:15 Forest 7 Auto 3 1 " ]] || fail "the saved fields read '$values'"
step "saved $(stat -c %s job.cfg) bytes, the same as the headless replay: $values"
