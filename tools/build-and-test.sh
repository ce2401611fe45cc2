#!/usr/bin/env bash
# Installs what the build needs, builds and runs the whole test suite.
# Usage: tools/build-and-test.sh [preset]   (release by default; also debug, sanitize)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
tools/deps.sh
cmake --preset "$preset" >/dev/null
if [ "$preset" = sanitize ]; then
  # The sanitizers' run needs the test programs, the two programs the tests
  # drive and their data, not the benchmarks, generators and the package.
  cmake --build --preset "$preset" -j "$(nproc)" --target test_util test_platform \
    test_config test_engine test_time test_display test_app test_gui vek vek-cli vek-data vek-atlas
else
  cmake --build --preset "$preset" -j "$(nproc)"
fi
# The package test builds and inspects the .deb; under the sanitizers it
# would only package instrumented programs again, so that run leaves it out,
# the golden digests, which the release run checks, and the checks of the
# sources (layers, domain types), which run no program code.
exclude=()
[ "$preset" = sanitize ] && exclude=(-LE 'package|golden|source')
ctest --preset "$preset" -j "$(nproc)" "${exclude[@]}"
