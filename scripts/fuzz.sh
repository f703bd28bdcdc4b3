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

# Seeds of a target NAME live in fuzz/seeds/NAME, or beside its group's
# targets in fuzz/GROUP/seeds/NAME or fuzz/GROUP/seeds/STEM, where NAME is
# GROUP_STEM_fuzz. A seed folder that no target reads is an error, so that
# seeds are never left behind by a rename.
declare -A seeds_of used_seeds
mapfile -t seed_folders < <(find "$root/fuzz" -mindepth 2 -maxdepth 3 -type d -path '*/seeds/*' | sort)
for target in "${targets[@]}"; do
  name=$(basename "$target")
  for folder in "${seed_folders[@]}"; do
    group=$(basename "$(dirname "$(dirname "$folder")")")
    stem=${name%_fuzz}
    stem=${stem#"${group}_"}
    case "$(basename "$folder")" in
      "$name" | "$stem")
        seeds_of[$name]+="$folder"$'\n'
        used_seeds[$folder]=1
        ;;
    esac
  done
done
for folder in "${seed_folders[@]}"; do
  if [ -z "${used_seeds[$folder]:-}" ]; then
    echo "seed folder ${folder#"$root/"} belongs to no fuzz target" >&2
    exit 1
  fi
done

for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$corpus_root/$name"
  mkdir -p "$corpus"
  echo "-- $name (${seconds}s)"
  # Limits well below the machine's: an input that makes a reader take
  # hundreds of megabytes or seconds is a finding, not a slow run.
  args=(-max_total_time="$seconds" -rss_limit_mb=512 -malloc_limit_mb=256 -timeout=5
    -artifact_prefix="$corpus_root/$name-" "$corpus")
  while IFS= read -r folder; do
    [ -n "$folder" ] && args+=("$folder")
  done <<<"${seeds_of[$name]:-}"
  "$target" "${args[@]}" 2>"$corpus_root/$name.log" || { tail -50 "$corpus_root/$name.log"; exit 1; }
  grep -E '^Done [0-9]+ runs' "$corpus_root/$name.log" || true
done
