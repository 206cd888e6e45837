#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only packages that are missing are installed, so a prepared machine is not
# touched and the script is quick to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libexpat1-dev
  xvfb xauth xdotool x11-utils imagemagick
  desktop-file-utils appstream groff-base
  libfuse3-dev fuse3
)
if [[ "${TARNWICK_EXTRA_PACKAGES:-}" != "" ]]; then
  read -r -a extra <<<"$TARNWICK_EXTRA_PACKAGES"
  packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
