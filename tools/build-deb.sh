#!/usr/bin/env bash
# Builds the Debian package with Debian's compiler and linker flags (CMake
# preset "package": dpkg-buildflags with all hardening, no tests) and checks
# it: lintian must report no error and no warning, and hardening-check must
# pass on both programs (PIE, stack protector, fortify, relro, bindnow). The package is left in OUT_DIR (default:
# build/package/deb).
# Usage: tools/build-deb.sh [OUT_DIR]
# Needs the packages of tools/deps.sh and hardening-check of devscripts
# (tools/deps.sh --package installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/package/deb}"
for tool in lintian hardening-check; do
  command -v "$tool" >/dev/null || { echo "needs $tool (tools/deps.sh --package)"; exit 1; }
done

cmake --preset package >build-package-configure.log 2>&1 \
  || { cat build-package-configure.log; rm -f build-package-configure.log; exit 1; }
rm -f build-package-configure.log
cmake --build build/package -j"$(nproc)"
rm -rf "$out"
cpack -G DEB --config build/package/CPackConfig.cmake -B "$out" >build/package/cpack.log 2>&1 \
  || { cat build/package/cpack.log; exit 1; }
rm -rf "$out/_CPack_Packages"
deb="$(ls "$out"/*.deb)"
echo "package: $deb"

# Informational tags are shown too; they do not fail the check.
echo "lintian:"
lintian --pedantic --display-info "$deb" | tee build/package/lintian.log
if grep -qE '^[EW]: ' build/package/lintian.log; then
  echo "lintian: errors or warnings (above)"
  exit 1
fi
echo "lintian: no errors, no warnings"

scratch="$(mktemp -d /tmp/vek-deb-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
status=0
for program in vek vek-cli; do
  [ -f "$scratch/usr/bin/$program" ] || continue
  # Control-flow protection (CET) cannot be had on Debian 12: its C library's
  # start files, which every program links, carry no CET marks, so no
  # program of the release passes that item (Debian's own /usr/bin/ls does
  # not either); the other items must all pass.
  hardening-check --nocfprotection "$scratch/usr/bin/$program" || status=1
done
[ $status -eq 0 ] || { echo "hardening-check failed"; exit 1; }
echo "OK: $(basename "$deb"): lintian and hardening-check pass"
