#!/usr/bin/env bash
# Expected outputs of the text tools and the renumbering for tests/data/input/tools.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
tool=$1
mkdir -p "$top/tests/data/reference/tools"
for input in "$top"/tests/data/input/tools/*.nc; do
  name=$(basename "$input" .nc)
  out="$top/tests/data/reference/tools/$name"
  "$tool" dots "$input" > "$out.dots"
  "$tool" dots --addresses "r =" "$input" > "$out.dots-r-equals"
  "$tool" remove-spaces "$input" > "$out.remove-spaces"
  "$tool" insert-spaces "$input" > "$out.insert-spaces"
  "$tool" renumber "$input" > "$out.renumber"
  "$tool" renumber --first 5 --step 5 --min 3 --zeros "$input" > "$out.renumber-zeros"
done
