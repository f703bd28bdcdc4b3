#!/usr/bin/env bash
# Runs clang-tidy with the tree's .clang-tidy over the product sources (not
# the tests, benchmarks or fuzz targets), with the compile commands of the
# default build, two files at a time; fails on any finding.
# Usage: scripts/tidy.sh [FILE...]   (default: every product source)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f build/default/compile_commands.json ] || bash scripts/build.sh default
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' | grep -v -E '^(tests|bench|fuzz)/')
fi
# Qt's moc and the build's generated sources must exist for the files that
# include them; the default build has made them.
report=$(mktemp)
trap 'rm -f "$report"' EXIT
status=0
printf '%s\n' "${files[@]}" | xargs -P2 -n6 clang-tidy -p build/default --quiet >"$report" 2>&1 ||
  status=$?
if grep -E -A3 '(error|warning): ' "$report" || [ "$status" -ne 0 ]; then
  [ "$status" -ne 0 ] && tail -20 "$report"
  echo "tidy: findings above (clang-tidy exit $status)" >&2
  exit 1
fi
echo "tidy: ${#files[@]} files without findings"
