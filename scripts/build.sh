#!/usr/bin/env bash
# Configures and builds one preset (default: "default").
# SKAT_STRICT_WARNINGS=ON in the environment makes any warning, shadowed
# names included, fail the build: CI builds the default and package presets
# that way instead of compiling everything a third time for a strict preset.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-default}
cd "$root"
strict=OFF
case "$preset" in
  strict) strict=ON ;;
  default | package) strict=${SKAT_STRICT_WARNINGS:-OFF} ;;
esac
cmake --preset "$preset" -DSKAT_STRICT_WARNINGS="$strict" >/dev/null
cmake --build --preset "$preset"
