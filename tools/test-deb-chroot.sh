#!/usr/bin/env bash
# Installs the Debian package for real into a fresh Debian 12 (bookworm)
# root and runs both programs there: apt-get resolves the package's declared
# dependencies, so a missing or wrong Depends shows up as a program that does
# not start. Before that, lintian checks the package (when it is installed
# here). In the root: the JPL-derived ephemeris files answer, both programs
# answer --version, both manual pages render; then dpkg -r and dpkg -P
# remove the package, and nothing of it may be left but the files the
# programs wrote for the user (settings and state under /root). Last, a
# plain "apt-get install" brings the recommended ephemeris files too.
# Needs root, debootstrap and a reachable Debian mirror.
#
# Usage: tools/test-deb-chroot.sh BUILD_DIR [DEB]
#   DEB defaults to a package that cpack builds from BUILD_DIR.
#
# The first run fetches the base system with debootstrap (minbase) and keeps
# the finished root as a tarball in BUILD_DIR/deb-chroot/; later runs unpack
# that tarball into a new scratch folder, so every run starts from the same
# untouched root. VEK_CHROOT_MIRROR overrides the mirror (default: the first
# URI of the machine's apt sources, else deb.debian.org).
set -euo pipefail
build="$(cd "${1:?usage: $0 BUILD_DIR [DEB]}" && pwd)"
deb="${2:-}"

[ "$(id -u)" = 0 ] || { echo "needs root (debootstrap, chroot, mount)"; exit 1; }
command -v debootstrap >/dev/null || { echo "needs debootstrap (apt-get install debootstrap)"; exit 1; }

mirror="${VEK_CHROOT_MIRROR:-}"
if [ -z "$mirror" ]; then
  mirror="$(grep -hsoE '^(URIs:|deb) +[^ ]*https?://[^ ]+/debian/?( |$)' \
              /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
            | grep -oE 'https?://[^ ]+' | head -n 1 || true)"
  mirror="${mirror:-http://deb.debian.org/debian}"
fi

cache="$build/deb-chroot"
base="$cache/bookworm-minbase-root.tar"
mkdir -p "$cache"
scratch="$(mktemp -d /tmp/vek-chroot-XXXXXX)"
root="$scratch/root"
mounted=()
cleanup() {
  local m
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    m="${mounted[$i]}"
    umount -l "$m" 2>/dev/null || true
  done
  rm -rf --one-file-system "$scratch"
}
trap cleanup EXIT
trap "exit 130" INT TERM

stamp() { echo "[$(date -u +%H:%M:%S)] $*"; }

if [ ! -f "$base" ]; then
  stamp "debootstrap bookworm (minbase) from $mirror"
  debootstrap --variant=minbase bookworm "$scratch/fresh" "$mirror" >"$scratch/debootstrap.log" 2>&1 \
    || { tail -n 30 "$scratch/debootstrap.log"; exit 1; }
  rm -rf "$scratch/fresh/var/cache/apt/archives/"*.deb
  tar -C "$scratch/fresh" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$scratch/fresh"
fi
stamp "fresh root from $base"
mkdir -p "$root"
tar -C "$root" -xf "$base"

if [ -z "$deb" ]; then
  stamp "cpack -G DEB"
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; exit 1; }
  deb="$(ls "$scratch"/out/*.deb)"
fi
cp "$deb" "$root/tmp/"
debname="$(basename "$deb")"
version="$(dpkg-deb -f "$deb" Version)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"

if command -v lintian >/dev/null; then
  stamp "lintian --pedantic --display-info $debname"
  lintian --pedantic --display-info "$deb" | tee "$scratch/lintian.log" || true
  echo "lintian: E: $(grep -c '^E: ' "$scratch/lintian.log") W: $(grep -c '^W: ' "$scratch/lintian.log")" \
       "I: $(grep -c '^I: ' "$scratch/lintian.log") P: $(grep -c '^P: ' "$scratch/lintian.log")"
  ! grep -qE '^[EW]: ' "$scratch/lintian.log" || { echo "lintian reports errors or warnings"; exit 1; }
else
  echo "lintian is not installed: the package is not checked by it"
fi

for d in proc sys dev dev/pts; do
  mkdir -p "$root/$d"
  case "$d" in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sysfs "$root/sys" ;;
    *) mount --bind "/$d" "$root/$d" ;;
  esac
  mounted+=("$root/$d")
done
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
              LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

stamp "apt-get install ./$debname"
in_root apt-get update -q >"$scratch/apt.log" 2>&1 || { tail -n 20 "$scratch/apt.log"; exit 1; }
# --no-install-recommends: only what Depends names, so a library that the
# package needs but does not declare is missing here too.
in_root apt-get install -y -q --no-install-recommends "/tmp/$debname" >>"$scratch/apt.log" 2>&1 \
  || { tail -n 30 "$scratch/apt.log"; exit 1; }
echo "packages set up: $(grep -c "^Setting up" "$scratch/apt.log")"

stamp "vek-cli positions --at 2026-12-08T12:00Z"
out="$(in_root sh -c 'cd /tmp && vek-cli positions --at 2026-12-08T12:00Z')"
echo "$out"
grep -q "^ 1  Sun " <<<"$out" || { echo "unexpected output of vek-cli"; exit 1; }
grep -q "^ 9  Pluto " <<<"$out" || { echo "Pluto missing (pluto.slx not found?)"; exit 1; }
# The JPL-derived files of the declared dependency, not the analytical
# fallback.
grep -qx "Ephemeris: Swiss Ephemeris files (/usr/share/libswe/ephe)" <<<"$out" \
  || { echo "vek-cli positions does not use the ephemeris files of swe-basic-data"; exit 1; }
# The help of the installed program, and its chart image, which needs QtGui,
# QtSvg and a font from the declared dependencies.
in_root vek-cli find --help | head -n 1
missing="$(in_root ldd /usr/bin/vek-cli | grep 'not found' || true)"
[ -z "$missing" ] || { echo "vek-cli: libraries missing after installation:"; echo "$missing"; exit 1; }
for image in chart.png chart.svg; do
  in_root sh -c "cd /tmp && vek-cli chart --mode world --world 2026-12-08T12:00Z --out $image" \
    || { echo "vek-cli chart --out $image failed in the chroot"; exit 1; }
done
[ "$(od -An -c -j1 -N3 "$root/tmp/chart.png" | tr -d ' ')" = "PNG" ] \
  || { echo "vek-cli chart wrote no PNG"; exit 1; }
grep -q '<svg' "$root/tmp/chart.svg" || { echo "vek-cli chart wrote no SVG"; exit 1; }

stamp "apt-get install man-db; man vek-cli; man vek"
in_root apt-get install -y -q --no-install-recommends man-db >>"$scratch/apt.log" 2>&1 \
  || { tail -n 30 "$scratch/apt.log"; exit 1; }
pages=(vek-cli)
in_root test -x /usr/bin/vek && pages+=(vek)
for page in "${pages[@]}"; do
  text="$(in_root env MANWIDTH=80 MAN_KEEP_FORMATTING= man "$page" 2>"$scratch/man.err")" \
    || { cat "$scratch/man.err"; echo "man $page failed"; exit 1; }
  [ ! -s "$scratch/man.err" ] || { cat "$scratch/man.err"; echo "man $page: warnings"; exit 1; }
  echo "man $page: $(wc -l <<<"$text") lines; $(tail -n 1 <<<"$text" | tr -s ' ')"
  grep -q "VEK $version" <<<"$text" || { echo "man $page does not name VEK $version"; exit 1; }
done

if in_root test -x /usr/bin/vek; then
  stamp "apt-get install xvfb xauth"
  in_root apt-get install -y -q --no-install-recommends xvfb xauth >>"$scratch/apt.log" 2>&1 \
    || { tail -n 30 "$scratch/apt.log"; exit 1; }
  # Libraries the window program needs that no declared dependency brings
  # show up here as "not found".
  missing="$(in_root ldd /usr/bin/vek | grep 'not found' || true)"
  [ -z "$missing" ] || { echo "vek: libraries missing after installation:"; echo "$missing"; exit 1; }
  stamp "xvfb-run vek --screenshot /tmp/shot.png"
  if ! in_root sh -c 'cd /tmp && xvfb-run -a vek --screenshot /tmp/shot.png' >"$scratch/vek.log" 2>&1; then
    echo "vek --screenshot failed in the chroot:"
    tail -n 30 "$scratch/vek.log"
    exit 1
  fi
  [ "$(od -An -c -j1 -N3 "$root/tmp/shot.png" | tr -d ' ')" = "PNG" ] \
    || { echo "vek --screenshot wrote no PNG"; cat "$scratch/vek.log"; exit 1; }
  mkdir -p "$cache" && cp "$root/tmp/shot.png" "$cache/chroot-shot.png"
  echo "screenshot: $cache/chroot-shot.png ($(stat -c %s "$cache/chroot-shot.png") bytes)"
fi

stamp "--version"
for program in vek-cli vek; do
  in_root test -x /usr/bin/$program || continue
  answer="$(in_root sh -c "cd /tmp && $program --version")" || { echo "$program --version failed"; exit 1; }
  echo "$answer"
  [ "$(head -n 1 <<<"$answer")" = "$program $version" ] \
    || { echo "$program --version does not say $program $version"; exit 1; }
done

# Removing and purging: every file of the package goes; what stays is the
# user's own (settings and state in the home folder). The package holds no
# configuration files of its own, so dpkg -r already removes everything.
stamp "dpkg -r vek; dpkg -P vek"
in_root dpkg-query -L vek | sort >"$scratch/files"
in_root dpkg -r vek >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; exit 1; }
left=()
while read -r f; do
  [ -n "$f" ] && [ -e "$root$f" ] && [ ! -d "$root$f" ] && left+=("$f")
done <"$scratch/files"
[ ${#left[@]} -eq 0 ] || { echo "left after dpkg -r:"; printf '  %s\n' "${left[@]}"; exit 1; }
in_root dpkg -P vek >>"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; exit 1; }
[ -z "$(in_root dpkg-query -W -f='${db:Status-Abbrev}' vek 2>/dev/null | tr -d ' ')" ] \
  || [ "$(in_root dpkg-query -W -f='${db:Status-Abbrev}' vek 2>/dev/null | tr -d ' ')" = "un" ] \
  || { echo "vek still known to dpkg after dpkg -P"; exit 1; }
# Anything else named after the program, outside the scratch files in /tmp:
# only the user's settings and state may remain.
leftover="$(cd "$root" && find . -xdev \( -path ./proc -o -path ./sys -o -path ./dev -o -path ./tmp \) -prune \
              -o \( -iname '*vek*' -o -iname '*vantrel*' \) -print | sed 's|^\.||' | sort)"
echo "named after the program after dpkg -P:"
[ -z "$leftover" ] && echo "  (nothing)" || sed 's/^/  /' <<<"$leftover"
while read -r f; do
  [ -z "$f" ] && continue
  case "$f" in
    /root/.config/Vantrel | /root/.config/Vantrel/* | /root/.local/share/Vantrel | /root/.local/share/Vantrel/*) ;;
    # The pages "man" formatted above, kept by man-db in its cache, which
    # its daily job empties of pages not read for a week.
    /var/cache/man/cat1/vek.1.gz | /var/cache/man/cat1/vek-cli.1.gz) ;;
    *) echo "left behind by the package: $f"; exit 1 ;;
  esac
done <<<"$leftover"

# A plain install, as a user types it: apt installs the recommended
# ephemeris files too, which cover the years before 1800 as well.
stamp "apt-get install ./$debname (with recommends)"
in_root apt-get install -y -q "/tmp/$debname" >"$scratch/apt2.log" 2>&1 \
  || { tail -n 30 "$scratch/apt2.log"; exit 1; }
in_root dpkg-query -W -f='${Package} ${Version}\n' swe-basic-data swe-standard-data
out="$(in_root sh -c 'cd /tmp && vek-cli positions --at 1000-06-15T12:00Z')"
grep -x "Ephemeris: .*" <<<"$out"
grep -qx "Ephemeris: Swiss Ephemeris files (/usr/share/libswe/ephe)" <<<"$out" \
  || { echo "positions in the year 1000 do not come from the recommended files"; exit 1; }
stamp "OK: $debname installs with its dependencies and runs in a fresh bookworm root"
