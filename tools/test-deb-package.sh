#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a scratch
# root and runs the installed vek-cli from there: the programs must find
# their data in share/vek relative to themselves, wherever the root is.
# Usage: tools/test-deb-package.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)"
scratch="$(mktemp -d /tmp/vek-deb-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; exit 1; }
deb="$(ls "$scratch"/out/*.deb)"
[ "$(dpkg-deb -f "$deb" Package)" = vek ] || { echo "not a vek package: $deb"; exit 1; }
dpkg-deb -x "$deb" "$scratch/root"

root="$scratch/root/usr"
for f in bin/vek-cli share/vek/vek.dat share/vek/pluto.slx share/vek/vek_help.txt \
         share/vek/vek_help_de.txt share/vek/vek_help.html share/vek/vek_help_de.html \
         share/man/man1/vek-cli.1; do
  [ -f "$root/$f" ] || { echo "missing in the package: /usr/$f"; exit 1; }
done
if [ -f "$build/bin/vek" ]; then
  for f in bin/vek share/applications/vek.desktop share/icons/hicolor/scalable/apps/vek.svg \
           share/metainfo/io.github.vantrel.vek.metainfo.xml; do
    [ -f "$root/$f" ] || { echo "missing in the package: /usr/$f"; exit 1; }
  done
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/share/metainfo/io.github.vantrel.vek.metainfo.xml" >/dev/null
  fi
fi

# From a folder that holds no data, without VEK_DATA_DIR: the data must come
# from the package's share/vek.
out="$(cd "$scratch" && env -u VEK_DATA_DIR "$root/bin/vek-cli" positions --at 2026-12-08T12:00Z)"
grep -q "^ 1  Sun " <<<"$out" || { echo "unexpected output:"; echo "$out"; exit 1; }
grep -q "^ 9  Pluto " <<<"$out" || { echo "Pluto missing (pluto.slx not found?):"; echo "$out"; exit 1; }
# The window program from the package too, under a virtual X server: its
# first result grabbed into a picture. Its settings and state go to the
# scratch folder. In a sanitizer build, the caches that fontconfig and D-Bus
# keep until the process ends are not counted as leaks.
if [ -f "$root/bin/vek" ] && command -v xvfb-run >/dev/null; then
  printf 'leak:libfontconfig.so\nleak:libdbus-1.so\n' >"$scratch/lsan.supp"
  if ! (cd "$scratch" && env -u VEK_DATA_DIR XDG_DATA_HOME="$scratch/data" \
          VEK_CONFIG_DIR="$scratch/config" XDG_CONFIG_HOME="$scratch/config" \
          LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$scratch/lsan.supp" \
          xvfb-run -a "$root/bin/vek" --screenshot "$scratch/shot.png" >"$scratch/vek.log" 2>&1); then
    echo "vek --screenshot failed from the package:"
    tail -n 30 "$scratch/vek.log"
    exit 1
  fi
  [ "$(od -An -c -j1 -N3 "$scratch/shot.png" | tr -d ' ')" = "PNG" ] \
    || { echo "vek --screenshot wrote no PNG"; exit 1; }
fi
echo "OK: $(basename "$deb") installs and runs from $scratch/root"
