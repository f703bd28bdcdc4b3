#!/usr/bin/env bash
# Builds the libraries' test programs under ThreadSanitizer and runs them:
# the database load, the scan walk, the gauge's loader and the planner are
# where the libraries run threads of their own. Only these programs, to keep
# the time of a CI run down; any race reported fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
for program in navdb/navdb_tests scanner/scanner_tests planner/planner_tests \
  gauge/gauge_unit_tests; do
  echo "-- $program"
  "build/tsan/tests/$program" --gtest_brief=1
done
