#!/usr/bin/env bash
# Rewrites the expected-output files of the command-line tool from tests/data/input.
# Run after an intended change of output, then review `git diff tests/data/reference`.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$top/build/src/cli/ordalvex-cnc}
for input in "$top"/tests/data/input/*.nc; do
  name=$(basename "$input" .nc)
  "$tool" highlight "$input" > "$top/tests/data/reference/$name.rtf"
done
# Other subcommands add their own references here.
for hook in "$top"/scripts/references.d/*.sh; do
  [ -e "$hook" ] && bash "$hook" "$tool"
done
echo "references written; review them with: git diff tests/data/reference"
