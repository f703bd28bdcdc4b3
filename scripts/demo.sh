#!/usr/bin/env bash
# Installs what is missing, builds, and runs skat-cli on the bundled demo database.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" default
"$root/build/default/shell/skat-cli" --navdata "$root/demo/NavData" check
