#!/usr/bin/env bash
# Checks that every include under src/ respects the layering: a file may
# include from its own folder and from layers below its own, never from a
# layer above it or from a sibling on the same layer. Each include is judged
# by the folder it names, whether or not that file exists.
# Usage: scripts/check_layers.sh [SRC_DIR]   (exit status 1 on a violation)
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

# The layers from the bottom up; folders on one line are siblings.
layers=(
  "platform"
  "runtime"
  "skin settings component update"
  "launch"
  "app"
)

declare -A level
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do level[$folder]=$i; done
done

violations=0
while IFS= read -r file; do
  own=${file#"$src"/}
  own=${own%%/*}
  if [ -z "${level[$own]+set}" ]; then
    echo "$file: folder '$own' is not one of the layers" >&2
    violations=$((violations + 1))
    continue
  fi
  while IFS=: read -r line target; do
    case "$target" in */*) ;; *) continue ;; esac  # a file of the same folder
    named=${target%%/*}
    [ "$named" = "$own" ] && continue
    if [ -z "${level[$named]+set}" ]; then
      why="'$named' is not a layer"
    elif [ "${level[$named]}" -gt "${level[$own]}" ]; then
      why="'$named' is a layer above '$own'"
    elif [ "${level[$named]}" -eq "${level[$own]}" ]; then
      why="'$named' is a sibling of '$own'"
    else
      continue
    fi
    echo "$file:$line: includes \"$target\": $why" >&2
    violations=$((violations + 1))
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$file" |
           sed -E 's/^([0-9]+):.*"([^"]+)"$/\1:\2/')
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$violations" -gt 0 ]; then
  echo "check_layers: $violations include(s) break the layering (${layers[*]})" >&2
  exit 1
fi
echo "check_layers: every include under $src respects the layering"
