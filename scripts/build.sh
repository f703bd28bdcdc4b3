#!/usr/bin/env bash
# Configures and builds one preset (default: "default").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-default}
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
