#!/usr/bin/env bash
# Cross-compiles the platform-free layers for Windows with mingw-w64: config/ (with its Win32
# file layer), network/, the dialog toolkit and its headless backend, and a probe that includes
# windows.h before the toolkit's headers (tests/windows/WindowsHeaderProbe.cpp). Links the probe
# and, when wine is installed, runs it.
#
#   bash scripts/mingw-check.sh            # build into build/mingw-check, run under wine if any
#   TARNWICK_NO_WINE=1 bash scripts/mingw-check.sh   # build only
set -euo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="g++-mingw-w64-x86-64-posix" bash scripts/install-deps.sh

cxx=${TARNWICK_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
launcher=()
command -v ccache >/dev/null && launcher=(ccache)
out=build/mingw-check
mkdir -p "$out"

sources=()
for file in config/*.cpp network/*.cpp ui/toolkit/*.cpp ui/toolkit/headless/*.cpp; do
  # The POSIX file layer and cards; FileIOWindows.cpp and SystemCardsWindows.cpp here.
  [[ $file == config/FileIO.cpp || $file == config/SystemCards.cpp ]] && continue
  sources+=("$file")
done
sources+=(tests/windows/WindowsHeaderProbe.cpp)

flags=(-std=c++20 -O1 -I. -Werror -Wall -Wextra -Wpedantic -Wshadow -Wconversion
       -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual
       '-DTARNWICK_VENDOR_SMTP_HOST="smtp.example.com"'
       '-DTARNWICK_VENDOR_MAIL_DOMAIN="example.com"')
objects=()
failed=0
for file in "${sources[@]}"; do
  object="$out/$(tr '/' '_' <<<"${file%.cpp}").o"
  objects+=("$object")
  if ! "${launcher[@]}" "$cxx" "${flags[@]}" -c "$file" -o "$object"; then
    echo "mingw-check: $file does not compile for Windows" >&2
    failed=1
  fi
done
((failed == 0)) || exit 1
"$cxx" -static -o "$out/windows-probe.exe" "${objects[@]}"
echo "mingw-check: ${#sources[@]} files compiled, $out/windows-probe.exe linked"

wine=$(command -v wine64 || command -v wine || ls /usr/lib/wine/wine64 2>/dev/null || true)
if [[ -z ${TARNWICK_NO_WINE:-} && -n $wine ]]; then
  # A prefix of its own inside the build folder, never ~/.wine; its server is stopped after.
  export WINEPREFIX="$PWD/$out/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver)
  trap '"$wineserver" -k 2>/dev/null || true' EXIT
  [[ -d $WINEPREFIX ]] || "$wine" wineboot --init </dev/null >/dev/null 2>&1
  (cd "$out" && "$wine" ./windows-probe.exe </dev/null)
fi
