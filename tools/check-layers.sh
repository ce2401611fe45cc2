#!/usr/bin/env bash
# Checks that every quoted include in src/, tests/, bench/, tools/ and fuzz/
# points to the including file's own layer or one below it. The core's
# layers, lowest first: util platform engine time config display app; the chart
# painter (paint) stands on the whole core; the front ends cli and gui stand
# on the core and the painter and not on each other.
# It also checks that the includes of src/ form no cycle: a header and its
# .cpp count as one module, so a.cpp including b.h and b.h including a.h is a
# cycle, inside a folder as across folders.
# Usage: tools/check-layers.sh [SOURCE_ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"
layers=(util platform engine time config display app)
rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  case "$1" in
    paint) echo 9 ;;
    cli) echo 10 ;;
    gui) echo 11 ;;
    *) echo -1 ;;
  esac
}
bad=0
checked=0
while IFS= read -r file; do
  # The layer of the file: its first folder below src/ or tests/; benchmarks,
  # tools and fuzz targets stand on the whole core like the command line,
  # benchmarks of the windows (bench/gui) on the windows.
  case "$file" in
    src/*|tests/*) own="$(echo "$file" | cut -d/ -f2)" ;;
    bench/gui/*) own=gui ;;
    *) own=cli ;;
  esac
  own_rank="$(rank "$own")"
  [ "$own_rank" -ge 0 ] || continue
  while IFS= read -r inc; do
    target="${inc%%/*}"
    [ "$target" = "$inc" ] && continue  # a file beside the includer
    target_rank="$(rank "$target")"
    [ "$target_rank" -ge 0 ] || continue
    checked=$((checked + 1))
    allowed=1
    if [ "$target_rank" -ge 10 ]; then
      [ "$target" = "$own" ] || allowed=0
    elif [ "$own_rank" -lt 10 ] && [ "$target_rank" -gt "$own_rank" ]; then
      allowed=0
    fi
    if [ "$allowed" -eq 0 ]; then
      echo "$file includes \"$inc\": $own may not include $target"
      bad=$((bad + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find src tests bench tools fuzz -type f 2>/dev/null \( -name '*.cpp' -o -name '*.h' \) | sort)
echo "$checked includes checked, $bad upward"

# The module graph of src/: one line "from to" per include of another module.
module_edges() {
  local file from inc
  while IFS= read -r file; do
    from="${file#src/}"
    from="${from%.*}"
    while IFS= read -r inc; do
      [ -f "src/$inc" ] || continue
      [ "${inc%.*}" = "$from" ] || echo "$from ${inc%.*}"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done < <(find src -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
}
cycles=0
if ! loops="$(module_edges | tsort 2>&1 >/dev/null)"; then
  echo "the includes of src/ form a cycle:"
  echo "$loops" | sed -n 's/^tsort: \([^ ]*\)$/  \1/p'
  cycles=1
fi
[ "$bad" -eq 0 ] && [ "$cycles" -eq 0 ]
