#!/usr/bin/env bash
# Fails when a C or C++ file of the repository differs from what
# clang-format makes of it with the repository's .clang-format, and names
# the files. `bash scripts/format-check.sh --fix` formats them instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# One run over every file; a file that drifts is named in its diagnostics.
mapfile -t drifting < <(printf '%s\0' "${files[@]}" |
  xargs -0 -n 64 -P 2 clang-format --dry-run --Werror 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u)
if [ ${#drifting[@]} -ne 0 ]; then
  echo "format-check: ${#drifting[@]} file(s) differ from clang-format's output" \
       "(bash scripts/format-check.sh --fix):" >&2
  printf '  %s\n' "${drifting[@]}" >&2
  exit 1
fi
echo "format-check: ${#files[@]} files as clang-format writes them"
