#!/usr/bin/env bash
# Saves onto a name that is a symbolic link, looked at from Linux: on Linux the program itself,
# on Windows tarnwick-cfg.exe under Wine (whose files, and links, are Linux ones). Every save,
# the command line's and the main window's (here replayed by a UI script, with the full path a
# Save As dialog hands over), must write the file at the end of the links and leave each link
# in place, pointing where it pointed; the file it pointed to is never deleted, and no
# temporary file is left.
#
# Usage: save_through_links.sh FOLDER COMMAND...   (COMMAND runs tarnwick-cfg)
set -euo pipefail
work=$1
shift
rm -rf "$work"
mkdir -p "$work/real" "$work/other"
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }
cfg() { "$@" </dev/null; }
windows=false
for arg in "$@"; do [[ "$arg" == *.exe ]] && windows=true; done
# The full path of a name here, as the program's own system writes it.
full() { if $windows; then echo "Z:$PWD/$1"; else echo "$PWD/$1"; fi; }

cfg "$@" new -o real/menu.cfg
cfg "$@" new -o other/menu.cfg
ln -s real/menu.cfg relative.cfg            # relative
ln -s "$PWD/other/menu.cfg" absolute.cfg     # absolute
ln -s relative.cfg chain.cfg                 # a link to a link

check_links() {
  [[ -L relative.cfg && "$(readlink relative.cfg)" == real/menu.cfg ]] || fail "relative.cfg is no longer the link"
  [[ -L absolute.cfg && "$(readlink absolute.cfg)" == "$PWD/other/menu.cfg" ]] || fail "absolute.cfg is no longer the link"
  [[ -L chain.cfg && "$(readlink chain.cfg)" == relative.cfg ]] || fail "chain.cfg is no longer the link"
  [[ -f real/menu.cfg && -f other/menu.cfg ]] || fail "a linked file is gone"
  [[ "$(ls -A real other | grep -c tarnwick-save || true)" == 0 ]] || fail "a temporary file was left"
}
org() { cfg "$@" get "$file" orgName | tr -d '\r'; }

cfg "$@" set relative.cfg orgNameOff=On orgName=Rel
cfg "$@" set absolute.cfg orgNameOff=On orgName=Abs
cfg "$@" set "$(full chain.cfg)" orgNameOff=On orgName=Chain
check_links
[[ "$(cfg "$@" get real/menu.cfg orgName | tr -d '\r')" == Chain ]] || fail "set through the chain"
[[ "$(cfg "$@" get other/menu.cfg orgName | tr -d '\r')" == Abs ]] || fail "set through the absolute link"

cfg "$@" export real/menu.cfg -o saved.json
cfg "$@" new -o "$(full absolute.cfg)" --force
[[ "$(cfg "$@" get other/menu.cfg orgName | tr -d '\r')" == "" ]] || fail "new --force through the link"
cfg "$@" import saved.json -o absolute.cfg --force
[[ "$(cfg "$@" get other/menu.cfg orgName | tr -d '\r')" == Chain ]] || fail "import through the link"
check_links

# The main window's Save, through the link, with the full path.
cfg "$@" new -o fresh.cfg
printf '%s\n' "expect-dialog 102" "click 1117" "save-file \"$(full relative.cfg)\"" \
  'message "Save Config File OK!"' "key esc" > save.ui
cfg "$@" ui save.ui
check_links
cmp -s real/menu.cfg fresh.cfg || fail "the window's save through the link"
echo "ok: saves through links write the linked files and keep the links"
