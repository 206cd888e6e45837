#!/usr/bin/env bash
# check_layers.sh NM LIBRARY...
#
# Fails when one of the static libraries defines or refers to anything of the dialog toolkit
# (tarnwick::tk) or of Qt: the record commands and the window-free rules must be usable without
# either, and the linker sees what the headers hide.
set -euo pipefail
nm_tool=$1
shift
status=0
for library in "$@"; do
  [[ -f $library ]] || { echo "check_layers: $library: no such library" >&2; exit 2; }
  found=$("$nm_tool" -C "$library" | grep -E 'tarnwick::tk::|\bQ[A-Z][A-Za-z]*::' || true)
  if [[ -n $found ]]; then
    echo "check_layers: $library uses the toolkit or Qt:" >&2
    head -n 5 <<<"$found" >&2
    status=1
  fi
done
exit "$status"
