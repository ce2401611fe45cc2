#!/usr/bin/env bash
# Installs what the build needs, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ -x build/release/bin/vek ]; then
  exec build/release/bin/vek "$@"
fi
now=$(date +%Y-%m-%dT%H:%M%:z)
exec build/release/bin/vek-cli positions --at "$now" "$@"
