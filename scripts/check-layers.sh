#!/usr/bin/env bash
# Checks that the folders under src/ include each other without a cycle: every quoted include
# "folder/..." (or "qrix/folder/...") of a file in another folder is an edge between the two
# folders, and tsort
# refuses a graph with a loop. Prints the loop and the edges when there is one.
set -uo pipefail
cd "$(dirname "$0")/../src"
edges=""
for dir in */; do
  dir=${dir%/}
  # "qrix/link/..." and "qrix/sim/..." are the headers of the link and sim folders.
  for to in $(grep -rhoE '^#include "(qrix/)?[a-z_]+/' --include='*.h' --include='*.hpp' \
                --include='*.cpp' "$dir" | sed -E 's/^#include "(qrix\/)?([a-z_]+)\//\2/' | sort -u); do
    if [[ "$to" != "$dir" && -d "$to" ]]; then edges+="$dir $to"$'\n'; fi
  done
done
if ! order=$(printf '%s' "$edges" | tsort 2>&1 >/dev/null); then :; fi
if [[ -n "$order" ]]; then
  echo "check-layers: the folders of src/ include each other in a cycle:" >&2
  echo "$order" >&2
  echo "edges (folder includes folder):" >&2
  printf '%s' "$edges" >&2
  exit 1
fi
echo "check-layers: no include cycle between the folders of src/ (top first):" \
  $(printf '%s' "$edges" | tsort)
