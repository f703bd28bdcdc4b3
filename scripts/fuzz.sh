#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a few seconds.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$root/scripts/install-deps.sh"
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_targets
corpus_root="$root/build/fuzz/corpus"
mkdir -p "$corpus_root"
mapfile -t targets < <(find "$root/build/fuzz/fuzz" -type f -name '*_fuzz' -perm -u+x | sort)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets built" >&2
  exit 1
fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$corpus_root/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  echo "-- $name (${seconds}s)"
  args=(-max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$corpus_root/$name-" "$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  "$target" "${args[@]}" 2>"$corpus_root/$name.log" || { tail -50 "$corpus_root/$name.log"; exit 1; }
  grep -E '^Done [0-9]+ runs' "$corpus_root/$name.log" || true
done
