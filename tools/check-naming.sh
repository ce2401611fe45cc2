#!/usr/bin/env bash
# Checks the names of src/ against the convention in .clang-tidy
# (readability-identifier-naming) with clang-tidy-14 over a build's
# compile_commands.json; prints every name that breaks it and fails if any.
# It compiles every file of src/ once, so it takes minutes: it is not part of
# the default ctest run.
# Usage: tools/check-naming.sh [BUILD_DIR] [JOBS] [PATH_REGEX]
#   (default build/release, 2 jobs, every file of src/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
jobs="${2:-2}"
only="${3:-.}"
[ -f "$build/compile_commands.json" ] ||
  { echo "no compile_commands.json in $build: configure first"; exit 2; }
command -v clang-tidy-14 >/dev/null ||
  { echo "clang-tidy-14 is missing (tools/deps.sh --naming installs it)"; exit 2; }
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
cd "$root"
find src -name '*.cpp' | sort | grep -E "$only" |
  xargs -r -P "$jobs" -n 4 clang-tidy-14 --quiet -p "$build" >"$out" 2>/dev/null || true
# One line per name; a header's names are reported once however many files
# include it.
grep -E 'warning: invalid case style' "$out" | sed "s|^$root/||" | sort -u >"$out.names" || true
count="$(wc -l <"$out.names")"
cat "$out.names"
rm -f "$out.names"
echo "$count names break the convention"
[ "$count" -eq 0 ]
