#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing.
# With --package also those of tools/build-deb.sh (hardening-check) and
# tools/test-deb-chroot.sh (debootstrap); with --naming clang-tidy-14 for
# tools/check-naming.sh.
set -euo pipefail
pkgs=(build-essential cmake pkg-config libswe-dev qt6-base-dev libgtest-dev libgmock-dev
      libbenchmark-dev qt6-svg-dev swe-basic-data swe-standard-data fonts-dejavu-core
      fonts-liberation xvfb xauth qt6-translations-l10n dpkg-dev appstream
      libhowardhinnant-date-dev tzdata libgeonames-dev libgeonames-common
      desktop-file-utils lintian man-db
      openbox xdotool x11-utils python3)
if [ "${1:-}" = --package ]; then
  pkgs+=(devscripts debootstrap)
fi
if [ "${1:-}" = --naming ]; then
  pkgs+=(clang-tidy-14)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
