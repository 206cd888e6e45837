#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo: both pass their validators without an error or
# a warning (desktop-file-validate reports some errors with exit status 0, so its output is
# read), and the metainfo names the desktop entry it launches and carries the id its file is
# named after, so software centres can tie the two together.
# Usage: check_desktop_files.sh DESKTOP_FILE METAINFO_FILE
set -euo pipefail
desktop=$1
metainfo=$2
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if command -v desktop-file-validate >/dev/null; then
  status=0
  report=$(desktop-file-validate "$desktop" 2>&1) || status=$?
  problems=$(grep -E ': (error|warning):' <<<"$report" || true)
  [[ $status -eq 0 && -z $problems ]] || fail "desktop-file-validate:"$'\n'"$report"
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi

if command -v appstreamcli >/dev/null; then
  status=0
  report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || status=$?
  problems=$(grep -E '^(E|W): ' <<<"$report" || true)
  [[ $status -eq 0 && -z $problems ]] || fail "appstreamcli validate:"$'\n'"$report"
else
  echo "appstreamcli not installed: metainfo not validated"
fi

# <launchable type="desktop-id">NAME.desktop</launchable> and <id>ID</id> for ID.metainfo.xml.
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[[ $launchable == "$(basename "$desktop")" ]] ||
  fail "metainfo launches '$launchable', the desktop entry is $(basename "$desktop")"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)
[[ "$id.metainfo.xml" == "$(basename "$metainfo")" ]] ||
  fail "metainfo id '$id' does not match its file name $(basename "$metainfo")"

# The program the entry starts is one the metainfo says the package provides.
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
grep -q -F "<binary>$exec_program</binary>" "$metainfo" ||
  fail "the desktop entry starts '$exec_program', which the metainfo does not provide"

if ((failures > 0)); then exit 1; fi
echo "desktop entry and metainfo valid; metainfo launches $launchable"
