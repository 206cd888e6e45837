#!/usr/bin/env bash
# Runs clang-tidy (check set in .clang-tidy) and cppcheck over the project's own sources (not
# tests, benchmarks or fuzz targets). Both must report nothing; the exit status is non-zero when
# either finds something or cannot check a file.
#
#   bash scripts/static-analysis.sh            # every source file
#   bash scripts/static-analysis.sh FILE.cpp   # only the files named (after an edit)
set -uo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="clang-tidy cppcheck" bash scripts/install-deps.sh || exit 1
cmake --preset dev >/dev/null || exit 1
# Generated sources (Qt's moc) must exist before clang-tidy reads the compile database.
if ! cmake --build --preset dev >/dev/null; then
  echo "the dev build failed; run: cmake --build --preset dev"
  exit 1
fi
status=0

if (($# > 0)); then
  sources=("$@")
else
  mapfile -t sources < <(git ls-files '*.cpp' | grep -v -E '^(tests|bench|fuzz)/')
  # The browser edition's glue to the page needs emscripten's headers, and the Windows sources
  # need windows.h: only their own builds (their compilers, with the same warnings as errors)
  # check them.
  mapfile -t sources < <(printf '%s\n' "${sources[@]}" |
    grep -v -x -E 'ui/toolkit/web/PageBridge\.cpp|ui/toolkit/win32/.*|app/windows/.*|config/FileIOWindows\.cpp|config/SystemCardsWindows\.cpp')
fi

echo "== clang-tidy (${#sources[@]} files)"
tidy_log=$(mktemp)
trap 'rm -f "$tidy_log"' EXIT
# Every finding is an error, so clang-tidy's own exit status says whether it found anything; a
# file it could not compile fails the same way.
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p build/dev --quiet --warnings-as-errors='*' >"$tidy_log" 2>&1
tidy_status=$?
if ((tidy_status != 0)) || grep -q -E 'warning:|error:' "$tidy_log"; then
  grep -v -E ' generated\.$' "$tidy_log"
  echo "clang-tidy: findings above (status $tidy_status)"
  status=1
else
  echo "clean"
fi

echo "== cppcheck"
if (($# > 0)); then
  targets=("$@")
else
  targets=(config network ui cli app resources)
fi
# Findings go to stderr with --error-exitcode; a false positive is suppressed where it occurs
# with a "// cppcheck-suppress id" comment that says why.
if ! cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --library=qt \
    --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem -I . "${targets[@]}"; then
  status=1
else
  echo "clean"
fi
exit $status
