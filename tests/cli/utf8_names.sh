#!/usr/bin/env bash
# The files tarnwick-cfg writes under names beyond ASCII, looked at from Linux: on Linux the
# program itself, on Windows tarnwick-cfg.exe under Wine, whose file names on the Linux side are
# UTF-8. Each file must appear under exactly the name typed (no second, garbled name) and hold
# the bytes the Linux build writes, given here as SHA-256 digests.
#
# Usage: utf8_names.sh FOLDER COMMAND...   (COMMAND runs tarnwick-cfg, e.g. wine-run.sh x.exe)
set -euo pipefail
export LC_ALL=C.UTF-8   # arguments reach Wine in the locale's encoding
work=$1
shift
rm -rf "$work"
mkdir -p "$work"
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
cfg() { "$@" </dev/null; }

umlaut=$'Kamera-\xc3\xb6'                 # Kamera-ö
cjk=$'\xe7\x9b\xb8\xe6\x9c\xba-\xe4\xb8\x81'  # 相机-丁
forester=$'F\xc3\xb6rster1'               # Förster1
folder=$'Karten-\xc3\xbc'                 # Karten-ü
hut=$'H\xc3\xbctte-1'                     # Hütte-1

# The first start's file, saved at once.
startup_digest=0d5966be4ce471567da55c9bffafae894b7983d60ebb7b451527fd0598c2c558
# The first start's file with orgName "Förster1" (in use), and its export.
cfg_digest=f0decc7a96f919088666eb3d73cbeeda3bf94b4c995bf362aeaf95d012268364
json_digest=3849c3a0023a18d3012d72164b18218a876219ba22f877f6d57c5de31b893c50

cfg "$@" new -o "$umlaut.cfg"
cfg "$@" set "$umlaut.cfg" orgNameOff=On "orgName=$forester"
[[ "$(cfg "$@" get "$umlaut.cfg" orgName | tr -d '\r')" == "$forester" ]] || fail "get orgName"
cfg "$@" export "$umlaut.cfg" -o "$cjk.json"
cfg "$@" import "$cjk.json" -o "$cjk.cfg"
printf 'camera,orgName\n%s,%s\n' "$hut" "$forester" > cams.csv
cfg "$@" batch "$umlaut.cfg" cams.csv -o "$folder" >/dev/null
# A UI script under such a name, saving into such a folder.
printf '%s\n' "expect-dialog 102" "click 1117" "save-file \"$folder/$cjk-ui.cfg\"" \
  'message "Save Config File OK!"' "key esc" > "$umlaut.ui"
cfg "$@" ui "$umlaut.ui"

expected=$(printf '%s\n' "$umlaut.cfg" "$cjk.json" "$cjk.cfg" cams.csv "$folder" "$umlaut.ui" |
  LC_ALL=C sort)
actual=$(ls -A | LC_ALL=C sort)
[[ "$actual" == "$expected" ]] || fail "names on disk: $(printf '%q ' $actual)"
[[ "$(ls -A "$folder" | LC_ALL=C sort)" == "$(printf '%s\n' "$hut" "$cjk-ui.cfg" | LC_ALL=C sort)" ]] ||
  fail "$folder holds $(ls -A "$folder")"

digest() { sha256sum "$1" | cut -d' ' -f1; }
for file in "$umlaut.cfg" "$cjk.cfg" "$folder/$hut/menu.cfg"; do
  [[ "$(digest "$file")" == "$cfg_digest" ]] || fail "$file holds other bytes"
done
[[ "$(digest "$cjk.json")" == "$json_digest" ]] || fail "$cjk.json holds other bytes"
[[ "$(digest "$folder/$cjk-ui.cfg")" == "$startup_digest" ]] || fail "the UI script's save holds other bytes"
echo "ok: names and bytes as on Linux"
