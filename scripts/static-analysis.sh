#!/usr/bin/env bash
# Runs clang-tidy (check set in .clang-tidy) and cppcheck over the project's own sources.
# Both must report nothing; the exit status is non-zero when either finds something.
set -uo pipefail
cd "$(dirname "$0")/.."
TARNWICK_EXTRA_PACKAGES="clang-tidy cppcheck" bash scripts/install-deps.sh
cmake --preset dev >/dev/null || exit 1
# Generated sources (Qt's moc) must exist before clang-tidy reads the compile database.
cmake --build --preset dev >/dev/null || exit 1
status=0

mapfile -t sources < <(git ls-files '*.cpp' | grep -v -E '^(tests|bench|fuzz)/')
echo "== clang-tidy (${#sources[@]} files)"
tidy_log=$(mktemp)
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 4 clang-tidy -p build/dev --quiet >"$tidy_log" 2>/dev/null
if grep -E 'warning:|error:' "$tidy_log"; then status=1; else echo "clean"; fi
rm -f "$tidy_log"

echo "== cppcheck"
if ! cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ \
    --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --suppress=unknownMacro \
    -I . config network ui cli app resources; then
  status=1
else
  echo "clean"
fi
exit $status
