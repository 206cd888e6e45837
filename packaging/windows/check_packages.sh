#!/usr/bin/env bash
# The Windows packages under Wine: check_packages.sh <wine-run> <zip> <installer> <version>
#  - the zip holds the two programs and the texts, and its tarnwick-cfg.exe runs;
#  - the installer installs silently (/S) for the user, with a Start-menu entry and an
#    uninstall entry, the installed tarnwick-cfg.exe runs, and the silent uninstall leaves
#    neither files nor the entries behind.
set -euo pipefail
wine_run=$1 zip=$2 installer=$3 version=$4
fail=0
problem() { echo "FAIL: $*" >&2; fail=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unzip -q "$zip" -d "$work/zip"
top="$work/zip/Tarnwick-$version"
for f in tarnwick.exe tarnwick-cfg.exe LICENSE.txt NOTICE.txt THIRD_PARTY.txt; do
  [[ -f "$top/$f" ]] || problem "zip: $f missing"
done
extra=$(cd "$top" && ls | grep -v -x -E 'tarnwick.exe|tarnwick-cfg.exe|LICENSE.txt|NOTICE.txt|THIRD_PARTY.txt' || true)
[[ -z "$extra" ]] || problem "zip: unexpected files: $extra"
grep -q $'\r$' "$top/LICENSE.txt" || problem "zip: LICENSE.txt has no Windows line ends"
out=$("$wine_run" "$top/tarnwick-cfg.exe" --version | tr -d '\r')
[[ "$out" == "tarnwick-cfg ${version%.*}" ]] || problem "zip: tarnwick-cfg.exe --version said '$out'"

prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$wine_run")
user_dir=$(ls -d "$prefix"/drive_c/users/*/ | grep -v '/Public/$' | head -n1)
installed="${user_dir}AppData/Local/Programs/Tarnwick"
menu="${user_dir}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tarnwick"
rm -rf "$installed" "$menu"

start=$(date +%s%N)
"$wine_run" "$installer" /S
echo "silent install took $(( ($(date +%s%N) - start) / 1000000 )) ms"
for f in tarnwick.exe tarnwick-cfg.exe LICENSE.txt NOTICE.txt THIRD_PARTY.txt uninstall.exe; do
  [[ -f "$installed/$f" ]] || problem "install: $f missing in $installed"
done
[[ -f "$menu/Tarnwick.lnk" ]] || problem "install: no Start-menu entry"
"$wine_run" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick' \
  >/dev/null 2>&1 || problem "install: no uninstall entry"
out=$("$wine_run" "$installed/tarnwick-cfg.exe" --version | tr -d '\r')
[[ "$out" == "tarnwick-cfg ${version%.*}" ]] || problem "install: tarnwick-cfg.exe --version said '$out'"

# The uninstaller copies itself to a temporary folder and returns at once; wait for it.
"$wine_run" "$installed/uninstall.exe" /S
for _ in $(seq 100); do
  [[ -e "$installed" || -e "$menu" ]] || break
  sleep 0.2
done
[[ ! -e "$installed" ]] || problem "uninstall: $installed is still there: $(ls "$installed")"
[[ ! -e "$menu" ]] || problem "uninstall: the Start-menu entry is still there"
if "$wine_run" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick' \
  >/dev/null 2>&1; then
  problem "uninstall: the uninstall entry is still there"
fi
exit $fail
