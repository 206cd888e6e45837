#!/usr/bin/env bash
# Saves onto a real exFAT memory card image, mounted through FUSE (Debian packages exfat-fuse
# and exfatprogs), against the same saves on the local disk. Counts, not timings:
#   create_pairs  200 rounds of `new` and `import` started together on one missing file: how
#                 often both report success (must be 0), on the local disk and on exFAT, whose
#                 FUSE driver has neither hard links nor RENAME_NOREPLACE
#   same_folder   a batch whose cameras ÉCOLE, école, Σ, σ are two folders on exFAT: refused,
#                 nothing written (must be 0 folders)
#   no_modes      new, set, import and batch onto exFAT, which keeps no permission bits: how
#                 many succeed (must be 4)
# Exits 1 when a count misses; says so and exits 0 where no exFAT card can be mounted (no
# /dev/fuse, no exfat-fuse, not allowed to mount).
#
#   bench/card.sh [TOOL] [ROUNDS]   TOOL defaults to build/release/cli/tarnwick-cfg
set -euo pipefail
cd "$(dirname "$0")/.."
tool="$(realpath "${1:-build/release/cli/tarnwick-cfg}")"
rounds=${2:-200}
[ -x "$tool" ] || { echo "bench/card.sh: $tool: not built" >&2; exit 1; }

work="$(mktemp -d)"
card="$work/card"
loop=""
cleanup() {
  if mountpoint -q "$card" 2>/dev/null; then fusermount3 -u "$card" 2>/dev/null || umount "$card"; fi
  # The driver lets go of the image a moment after the unmount.
  if [[ -n "$loop" ]]; then
    for _ in 1 2 3 4 5; do losetup -d "$loop" 2>/dev/null && break; sleep 1; done
  fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$card" "$work/disk"
if ! command -v mount.exfat-fuse >/dev/null || ! command -v mkfs.exfat >/dev/null ||
  [[ ! -w /dev/fuse ]]; then
  echo "bench/card.sh: no exFAT card here (needs /dev/fuse, exfat-fuse and exfatprogs)"
  exit 0
fi
truncate -s 64M "$work/card.img"
mkfs.exfat "$work/card.img" >/dev/null
# As root the driver wants a block device: the image through a loop device.
if ! mount.exfat-fuse "$work/card.img" "$card" >/dev/null 2>&1 &&
  ! { loop=$(losetup -f --show "$work/card.img" 2>/dev/null) &&
      mount.exfat-fuse "$loop" "$card" >/dev/null 2>&1; }; then
  echo "bench/card.sh: the exFAT image cannot be mounted here"
  exit 0
fi

"$tool" new -o "$work/base.cfg"
"$tool" export "$work/base.cfg" -o "$work/other.json"
failed=0

# Both commands of a round started together; a round where both succeed replaced a file.
create_pairs() {
  local folder=$1 both=0 neither=0
  for ((i = 0; i < rounds; i++)); do
    "$tool" new -o "$folder/r$i.cfg" >/dev/null 2>&1 &
    local a=$!
    "$tool" import "$work/other.json" -o "$folder/r$i.cfg" >/dev/null 2>&1 &
    local b=$!
    local sa=0 sb=0
    wait "$a" || sa=$?
    wait "$b" || sb=$?
    ((sa == 0 && sb == 0)) && both=$((both + 1))
    ((sa != 0 && sb != 0)) && neither=$((neither + 1))
  done
  echo "create_pairs on $2: both succeeded in $both of $rounds rounds, neither in $neither"
  ((both == 0 && neither == 0)) || failed=1
}
create_pairs "$work/disk" "the local disk"
create_pairs "$card" exFAT

printf 'camera\nÉCOLE\nécole\nΣ\nσ\n' >"$work/same.csv"
status=0
"$tool" batch "$work/base.cfg" "$work/same.csv" -o "$card/cams" >"$work/same.out" 2>&1 || status=$?
folders=0
[[ -d "$card/cams" ]] && folders=$(find "$card/cams" -mindepth 1 -maxdepth 1 | wc -l)
refused=$(grep -c 'one folder on a memory card' "$work/same.out" || true)
echo "same_folder on exFAT: batch exit $status, $refused rows refused, $folders folders written"
((status != 0 && folders == 0)) || failed=1

printf 'camera\nc1\nc2\n' >"$work/two.csv"
ok=0
"$tool" new -o "$card/menu.cfg" && ok=$((ok + 1))
"$tool" set "$card/menu.cfg" orgNameOff=On orgName=Card && ok=$((ok + 1))
"$tool" import "$work/other.json" -o "$card/menu.cfg" --force && ok=$((ok + 1))
"$tool" batch "$card/menu.cfg" "$work/two.csv" -o "$card/two" >/dev/null && ok=$((ok + 1))
echo "no_modes on exFAT: $ok of 4 commands saved"
((ok == 4)) || failed=1
exit "$failed"
