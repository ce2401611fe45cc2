#!/usr/bin/env bash
# The layer check refuses a cycle of includes between two modules of one
# folder (a.cpp includes b.h, b.h includes a.h), names both, and accepts the
# same tree once the cycle is broken.
# Usage: cycle_probe.sh CHECK_LAYERS_SCRIPT
set -euo pipefail
check="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/src/engine"
printf '#pragma once\n' > "$root/src/engine/a.h"
printf '#include "engine/a.h"\n#include "engine/b.h"\n' > "$root/src/engine/a.cpp"
printf '#pragma once\n#include "engine/a.h"\n' > "$root/src/engine/b.h"
out="$(bash "$check" "$root" 2>&1)" && { echo "a cycle passed the check: $out"; exit 1; }
grep -q "form a cycle" <<<"$out" || { echo "no cycle reported: $out"; exit 1; }
grep -q "engine/a" <<<"$out" && grep -q "engine/b" <<<"$out" ||
  { echo "the cycle's modules are not named: $out"; exit 1; }
printf '#pragma once\n' > "$root/src/engine/b.h"
out="$(bash "$check" "$root" 2>&1)" || { echo "a tree without a cycle failed: $out"; exit 1; }
echo "cycle refused, acyclic tree accepted"
