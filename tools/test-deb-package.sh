#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks it as Debian's
# tools do (lintian without errors or warnings, the desktop entry, the
# AppStream metadata, the manual pages, one version everywhere), unpacks it
# into a scratch root and runs the installed programs from there: they must
# find their data in share/vek relative to themselves, wherever the root is.
# Usage: tools/test-deb-package.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)"
scratch="$(mktemp -d /tmp/vek-deb-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; exit 1; }
deb="$(ls "$scratch"/out/*.deb)"
[ "$(dpkg-deb -f "$deb" Package)" = vek ] || { echo "not a vek package: $deb"; exit 1; }
version="$(dpkg-deb -f "$deb" Version)"
dpkg-deb -x "$deb" "$scratch/root"

root="$scratch/root/usr"
id=io.github.vantrel.vek
for f in bin/vek-cli share/vek/vek.dat share/vek/pluto.slx share/vek/vek_help.txt \
         share/vek/vek_help_de.txt share/vek/vek_help.html share/vek/vek_help_de.html \
         share/man/man1/vek-cli.1.gz share/doc/vek/copyright share/doc/vek/changelog.gz \
         share/doc/vek/vek-cli-json.md.gz; do
  [ -f "$root/$f" ] || fail "missing in the package: /usr/$f"
done
gui=0
[ -f "$build/bin/vek" ] && gui=1
if [ $gui = 1 ]; then
  for f in bin/vek share/man/man1/vek.1.gz share/applications/$id.desktop \
           share/icons/hicolor/scalable/apps/$id.svg share/metainfo/$id.metainfo.xml; do
    [ -f "$root/$f" ] || fail "missing in the package: /usr/$f"
  done
  for size in 16 22 24 32 48 64 128 256; do
    png="$root/share/icons/hicolor/${size}x$size/apps/$id.png"
    # The PNG signature, then width and height from the image header.
    head="$(od -An -tx1 -N24 "$png" 2>/dev/null | tr -d ' \n')"
    printf -v want '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size"
    [ "$head" = "$want" ] || fail "icon $size x $size: not a PNG of that size: $png"
  done
  desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net --explain "$root/share/metainfo/$id.metainfo.xml" \
    >"$scratch/appstream.log" 2>&1 || { cat "$scratch/appstream.log"; fail "appstreamcli validate"; }
  # The metadata and the desktop entry in German too.
  for f in "$root/share/metainfo/$id.metainfo.xml"; do
    grep -q '<summary xml:lang="de">' "$f" || fail "no German summary in the metadata"
    grep -q '<name xml:lang="de">' "$f" || fail "no German name in the metadata"
    grep -q "<release version=\"$version\"" "$f" || fail "no release entry for $version in the metadata"
  done
  grep -q '^Name\[de\]=' "$root/share/applications/$id.desktop" || fail "no German name in the desktop entry"
  grep -q '^Comment\[de\]=' "$root/share/applications/$id.desktop" || fail "no German comment in the desktop entry"
fi

# lintian: no errors and no warnings (the informational tags of a build
# without Debian's flags, such as hardening-no-fortify-functions, are
# allowed; tools/build-deb.sh checks the package built with them).
if command -v lintian >/dev/null; then
  lintian --pedantic "$deb" >"$scratch/lintian.log" 2>&1 || true
  if grep -qE '^[EW]: ' "$scratch/lintian.log"; then
    cat "$scratch/lintian.log"
    fail "lintian reports errors or warnings"
  fi
fi

# The manual pages render without warnings, and they, the changelog and both
# programs name the package's version.
for page in "$root"/share/man/man1/*.1.gz; do
  warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$scratch/page.txt")" || true
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  grep -q "VEK $version" "$scratch/page.txt" || fail "$(basename "$page") does not name VEK $version"
done
[ "$(zcat "$root/share/doc/vek/changelog.gz" | head -n 1 | sed -n 's/^vek (\([^)]*\)).*/\1/p')" = "$version" ] \
  || fail "the changelog's latest entry is not $version"
head -n 1 "$root/share/doc/vek/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  || fail "the copyright file is not in the machine-readable format"

# From a folder that holds no data, without VEK_DATA_DIR: the data must come
# from the package's share/vek.
out="$(cd "$scratch" && env -u VEK_DATA_DIR "$root/bin/vek-cli" positions --at 2026-12-08T12:00Z)"
grep -q "^ 1  Sun " <<<"$out" || fail "unexpected output: $out"
grep -q "^ 9  Pluto " <<<"$out" || fail "Pluto missing (pluto.slx not found?): $out"
for program in vek-cli vek; do
  [ -f "$root/bin/$program" ] || continue
  got="$(cd "$scratch" && env -u VEK_DATA_DIR "$root/bin/$program" --version | head -n 1)"
  [ "$got" = "$program $version" ] || fail "$program --version: '$got', the package is $version"
done
if [ $gui = 1 ]; then
  # --help needs no display.
  (cd "$scratch" && env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/vek" --help >"$scratch/help.txt") \
    || fail "vek --help exited $?"
  grep -q "^usage: vek " "$scratch/help.txt" || fail "vek --help: no usage line"
fi
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
    tail -n 30 "$scratch/vek.log"
    fail "vek --screenshot failed from the package"
  elif [ "$(od -An -c -j1 -N3 "$scratch/shot.png" | tr -d ' ')" != "PNG" ]; then
    fail "vek --screenshot wrote no PNG"
  fi
fi
[ $failures -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "OK: $(basename "$deb") installs and runs from $scratch/root"
