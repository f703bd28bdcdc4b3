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
if printf '%s\n' "${files[@]}" | xargs -P2 -n6 clang-tidy -p build/default --quiet 2>&1 |
  grep -E -A3 '(error|warning): '; then
  echo "tidy: findings above" >&2
  exit 1
fi
echo "tidy: ${#files[@]} files without findings"
