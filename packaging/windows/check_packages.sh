#!/usr/bin/env bash
# The Windows packages under Wine:
#   check_packages.sh <wine-run> <zip> <installer> <version> <publisher> <icon.ico>
#  - the zip holds the two programs and the texts, and its tarnwick-cfg.exe runs;
#  - the installer and the uninstaller it writes carry the program's icon (every image of it);
#  - the installer installs silently (/S) for the user (the default, or /CurrentUser) and for
#    all users (/AllUsers: Program Files, the all-users Start menu, HKLM), each with its files,
#    a Start-menu entry leading to the installed tarnwick.exe and an uninstall entry naming its
#    folder, its publisher, icon and size, and the installed tarnwick-cfg.exe runs (also in a
#    folder chosen with /D=); the two installs live side by side, each silent uninstall
#    removes its own and leaves the other, and nothing is left behind;
#  - /AllUsers with /CurrentUser is refused (exit status 2) and installs nothing.
set -euo pipefail
wine_run=$1 zip=$2 installer=$3 version=$4 publisher=$5 icon=$6
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

# Whether a program carries every image of the icon file, byte for byte, among its resources.
has_icon() {
  perl -e '
    local $/;
    open(my $f, "<:raw", $ARGV[0]) or die; my $ico = <$f>;
    open($f, "<:raw", $ARGV[1]) or die; my $exe = <$f>;
    my $count = unpack("v", substr($ico, 4, 2));
    exit 1 if $count == 0;
    for my $i (0 .. $count - 1) {
      my ($size, $offset) = unpack("V V", substr($ico, 6 + 16 * $i + 8, 8));
      exit 1 if index($exe, substr($ico, $offset, $size)) < 0;
    }' "$icon" "$1"
}
has_icon "$installer" || problem "the installer does not carry the program's icon"

prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$wine_run")
user_dir=$(ls -d "$prefix"/drive_c/users/*/ | grep -v '/Public/$' | head -n1)
key_tail='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick'
# Per mode: the folder as Windows names it, where that is on this side, the Start-menu folder
# and the uninstall entry.
declare -A win_dir dir menu key
win_dir[user]="C:\\users\\$(basename "$user_dir")\\AppData\\Local\\Programs\\Tarnwick"
dir[user]="${user_dir}AppData/Local/Programs/Tarnwick"
menu[user]="${user_dir}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tarnwick"
key[user]="HKCU\\$key_tail"
win_dir[machine]='C:\Program Files\Tarnwick'
dir[machine]="$prefix/drive_c/Program Files/Tarnwick"
menu[machine]="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnwick"
key[machine]="HKLM\\$key_tail"
# For all users in a folder of one's own (/D=).
win_dir[chosen]='C:\TarnwickTest'
dir[chosen]="$prefix/drive_c/TarnwickTest"
menu[chosen]=${menu[machine]}
key[chosen]=${key[machine]}
for mode in user machine chosen; do
  rm -rf "${dir[$mode]}" "${menu[$mode]}"
  "$wine_run" reg delete "${key[$mode]}" /f >/dev/null 2>&1 || true
done

# Each value of the uninstall entry is checked against what it must be; the entry is read once.
expect_entry() {  # mode, then pairs of name and expected value
  local mode=$1 entry name want got
  entry=$("$wine_run" reg query "${key[$mode]}" 2>/dev/null | tr -d '\r')
  shift
  while (($#)); do
    name=$1 want=$2
    shift 2
    got=$(sed -n "s/^ *$name *REG_[A-Z_]* *//p" <<<"$entry")
    [[ "$got" == "$want" ]] || problem "$mode install: the uninstall entry's $name is '$got', not '$want'"
  done
}

expect_installed() {
  local mode=$1
  for f in tarnwick.exe tarnwick-cfg.exe LICENSE.txt NOTICE.txt THIRD_PARTY.txt uninstall.exe; do
    [[ -f "${dir[$mode]}/$f" ]] || problem "$mode install: $f missing in ${dir[$mode]}"
  done
  local link="${menu[$mode]}/Tarnwick.lnk"
  if [[ ! -f "$link" ]]; then
    problem "$mode install: no Start-menu entry"
  elif ! strings "$link" | grep -q -F -x "${win_dir[$mode]}\\tarnwick.exe"; then
    problem "$mode install: the Start-menu entry does not lead to ${win_dir[$mode]}\\tarnwick.exe"
  fi
  # The size is that of everything installed, the uninstaller included, in KiB (a REG_DWORD,
  # which reg shows in hexadecimal).
  local kib
  kib=$(find "${dir[$mode]}" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "0x%x", int(s / 1024) }')
  expect_entry "$mode" InstallLocation "${win_dir[$mode]}" \
    QuietUninstallString "\"${win_dir[$mode]}\\uninstall.exe\" /S" \
    DisplayName "Tarnwick $version" Publisher "$publisher" \
    DisplayIcon "${win_dir[$mode]}\\tarnwick.exe" EstimatedSize "$kib"
  has_icon "${dir[$mode]}/uninstall.exe" || problem "$mode install: the uninstaller does not carry the program's icon"
  local out
  out=$("$wine_run" "${dir[$mode]}/tarnwick-cfg.exe" --version | tr -d '\r')
  [[ "$out" == "tarnwick-cfg ${version%.*}" ]] || problem "$mode install: tarnwick-cfg.exe --version said '$out'"
}

expect_gone() {
  local mode=$1
  [[ ! -e "${dir[$mode]}" ]] || problem "$mode uninstall: ${dir[$mode]} is still there: $(ls "${dir[$mode]}")"
  [[ ! -e "${menu[$mode]}" ]] || problem "$mode uninstall: the Start-menu entry is still there"
  if "$wine_run" reg query "${key[$mode]}" >/dev/null 2>&1; then
    problem "$mode uninstall: the uninstall entry ${key[$mode]} is still there"
  fi
}

install() {  # install <mode> <switches...>
  local mode=$1 start
  shift
  start=$(date +%s%N)
  "$wine_run" "$installer" /S "$@" || problem "$mode install: exit status $?"
  echo "silent $mode install took $(( ($(date +%s%N) - start) / 1000000 )) ms"
}

# The uninstaller copies itself to a temporary folder and returns at once; wait for it.
uninstall() {
  local mode=$1
  "$wine_run" "${dir[$mode]}/uninstall.exe" /S
  for _ in $(seq 100); do
    [[ -e "${dir[$mode]}" || -e "${menu[$mode]}" ]] || break
    sleep 0.2
  done
}

# The default is for the user alone, and touches nothing of the machine's.
install user
expect_installed user
expect_gone machine
uninstall user
expect_gone user

# For all users; then both at once, each uninstall removing only its own.
install machine /AllUsers
expect_installed machine
expect_gone user
install user /CurrentUser
expect_installed user
expect_installed machine
uninstall machine
expect_gone machine
expect_installed user
uninstall user
expect_gone user

install chosen /AllUsers '/D=C:\TarnwickTest'
expect_installed chosen
uninstall chosen
expect_gone chosen

status=0
"$wine_run" "$installer" /S /AllUsers /CurrentUser || status=$?
[[ $status == 2 ]] || problem "/AllUsers /CurrentUser: exit status $status, not 2"
expect_gone user
expect_gone machine
exit $fail
