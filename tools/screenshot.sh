#!/usr/bin/env bash
# Starts vek under a virtual X server with a given state file and writes a PNG
# of the main window once the first result is shown.
#
# Usage: tools/screenshot.sh STATEFILE OUT.png [VEK-OPTION...]
#   STATEFILE  a state file (.vek or vek.usr) to start from; "-" for none
#   VEK-OPTION further options of vek, as --configure (the picture is then
#              of the configuration dialog)
#   VEK_LANGUAGE=de starts the program in German.
#   VEK        the program to start (default: the first of build/release/bin/vek,
#              build/debug/bin/vek, build/bin/vek)
#   QT_SCALE_FACTOR=2 takes the picture at twice the resolution.
# The program's settings and state live in a temporary folder, so the user's
# own are neither read nor changed.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 STATEFILE OUT.png [VEK-OPTION...]" >&2
  exit 2
fi
state="$1"
out="$(realpath -m "$2")"
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
vek="${VEK:-}"
if [ -z "$vek" ]; then
  for c in build/release/bin/vek build/debug/bin/vek build/bin/vek; do
    if [ -x "$root/$c" ]; then vek="$root/$c"; break; fi
  done
fi
if [ -z "$vek" ] || [ ! -x "$vek" ]; then
  echo "$0: vek is not built (set VEK=path/to/vek)" >&2
  exit 1
fi
if ! command -v xvfb-run >/dev/null; then
  echo "$0: xvfb-run is missing (tools/deps.sh installs it)" >&2
  exit 1
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data/Vantrel" "$tmp/config"
if [ "$state" != "-" ]; then
  cp "$state" "$tmp/data/Vantrel/vek.usr"
fi
if [ "${VEK_LANGUAGE:-}" = de ]; then
  printf '[Software\\Vantrel\\VEK]\nLanguage=DE\n' >"$tmp/config/VEK.conf"
fi
XDG_DATA_HOME="$tmp/data" VEK_CONFIG_DIR="$tmp/config" XDG_CONFIG_HOME="$tmp/config" \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96" \
  "$vek" --screenshot "$out" "$@"
echo "$out"
