#!/usr/bin/env bash
# Writes help2man's include file for skat-cli: a COMMANDS section made from
# the program itself, then the fixed sections of INCLUDE. COMMANDS has one
# subsection per command that `skat-cli --help` lists, holding that
# command's own --help (its synopsis, then its description). A command
# added to skat-cli is in the man page at the next build without an edit.
# Usage: commands-section.sh SKAT_CLI INCLUDE OUT
set -euo pipefail
cli=$1
include=$2
out=$3

# Text as roff: backslashes kept, minus signs as such, and a line that
# begins with a dot or an apostrophe not taken for a request.
roff() {
  sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}

# The names under "Commands:" in the program's usage, up to the next blank line.
mapfile -t commands < <("$cli" --help | awk '
  /^Commands:$/ { listing = 1; next }
  listing && /^$/ { exit }
  listing && /^  [a-z]/ { print $1 }')
if [ ${#commands[@]} -eq 0 ]; then
  echo "commands-section.sh: $cli --help lists no commands" >&2
  exit 1
fi

temporary="$out.tmp"
{
  echo "[COMMANDS]"
  for command in "${commands[@]}"; do
    help=$("$cli" "$command" --help)
    # The synopsis (up to the first blank line) as it is printed, less the
    # "Usage: " before each form; the description as paragraphs.
    echo ".SS \"$command\""
    echo ".nf"
    awk -v command="$command" '
      /^$/ { exit }
      NR == 1 { sub(/^Usage: /, "") }
      NR > 1 { sub(/^       /, "") }
      NR > 1 && index($0, command " ") == 1 { $0 = "skat-cli " $0 }
      { print }' <<<"$help" | roff
    echo ".fi"
    echo ".PP"
    awk 'seen { print } /^$/ { seen = 1 }' <<<"$help" | roff | sed -e 's/^$/.PP/'
  done
  echo
  cat "$include"
} >"$temporary"
mv -f "$temporary" "$out"
