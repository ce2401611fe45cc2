#!/usr/bin/env bash
# Takes a fixed set of screenshots of the main window with tools/screenshot.sh,
# so that two builds of vek can be compared picture by picture.
#
# Usage: screenshots.sh OUTDIR [REFDIR]
#   VEK     the program (default: the one tools/screenshot.sh finds)
#   REFDIR  a folder of earlier screenshots: every picture is compared with
#           the one of the same name there (cmp), the differing ones are
#           listed, and the exit status is 1 when any differ
#
# Pictures, each in English and German, at scale 1 and 2:
#   nostate    no state file: world transits for "now"
#   world      a state file in world transits
#   natal1     a state file in natal aspects of the 1st birthdate
#   natal2     the same for the 2nd birthdate, sidereal, other orbs and colours
#   synastry   a state file in synastry, sidereal, other orbs and colours:
#              the window starts in world transits of its World date, as it
#              does for every mode but the natal aspects, so a two-chart mode
#              cannot be shown this way
# The language is the one of the settings store (VEK.conf in VEK_CONFIG_DIR);
# a small wrapper around vek writes it there, since tools/screenshot.sh gives
# the program an empty settings folder. "Now" is held at a fixed moment with
# faketime (Debian package faketime), which the wrapper also starts; without
# it the nostate pictures follow the clock and the script says so.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 OUTDIR [REFDIR]" >&2
    exit 2
fi
out="$(realpath -m "$1")"
ref="${2:+$(realpath -m "$2")}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
shot="$root/tools/screenshot.sh"

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
vek="$(realpath "$vek")"

# "Now" for the nostate pictures: 2024 March 20, 10:10 UT, shown as 10:00.
now="2024-03-20 10:10:00"
faketime_cmd=()
if command -v faketime >/dev/null; then
    faketime_cmd=(faketime -f "@$now")
else
    echo "$0: faketime is missing: the nostate pictures show the real time" >&2
fi

export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE VEK_DATA_DIR SE_EPHE_PATH
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out" "$tmp/state"

# The wrapper: settings store with the language, then the program.
wrapper="$tmp/vek"
{
    echo '#!/usr/bin/env bash'
    echo 'set -e'
    echo 'mkdir -p "$VEK_CONFIG_DIR"'
    echo 'if [ "$SHOT_LANGUAGE" = de ]; then'
    echo '    printf "[Software\\\\Vantrel\\\\VEK]\\nLanguage=DE\\n" >"$VEK_CONFIG_DIR/VEK.conf"'
    echo 'fi'
    echo "export FAKETIME_DONT_FAKE_MONOTONIC=1"
    printf 'exec %s %q "$@"\n' "${faketime_cmd[*]@Q}" "$vek"
} >"$wrapper"
chmod +x "$wrapper"

# State files (51 lines, CR LF): three date rows (month, day, year, time
# index k for (k - 1) half hours, zone index with 24 for GMT), the six mode
# buttons, stepping, two orb lists, colour, bold, bold fraction, the two bold
# thresholds, sidereal, tropical, proportion, eight accepted orbs, seven
# aspect colours, image background, keep zodiac, midpoint orb, proportion.
write_state() {  # write_state NAME MODE(1..6) SIDEREAL(0/1) SETTINGS
    local file="$tmp/state/$1.vek" mode=$2 sidereal=$3 l m
    local -a lines=(
        " 7 " " 4 " "2010" " 25 " " 14 "
        " 3 " " 21 " "1980" " 14 " " 26 "
        " 11 " " 9 " "1989" " 40 " " 26 ")
    for m in 1 2 3 4 5 6; do
        if [ $m -eq "$mode" ]; then lines+=("#TRUE#"); else lines+=("#FALSE#"); fi
    done
    if [ "$4" = plain ]; then
        lines+=(" 2 " " 12 " " 9 " " 1 " " 1 " " 2 ")
    else
        lines+=(" 3 " " 4 " " 5 " " 1 " " 1 " " 6 ")
    fi
    if [ "$sidereal" -eq 1 ]; then
        lines+=("#FALSE#" "#TRUE#" "#TRUE#" "#FALSE#")
    else
        lines+=("#TRUE#" "#FALSE#" "#FALSE#" "#TRUE#")
    fi
    if [ "$4" = plain ]; then
        lines+=(" 2 " 8 7 6 5 4 3 0 5 65535 16711935 255 65280 16776960 16744576 8421504
            " 0 " " 1 " " 2 " " 2 ")
    else
        lines+=(" 4 " 12 10 9 7 5 3 2 0 255 65280 16711680 0 8421376 32896 12632256
            " 0 " " 0 " " 7 " " 3 ")
    fi
    : >"$file"
    for l in "${lines[@]}"; do printf '%s\r\n' "$l" >>"$file"; done
}
write_state world 1 0 plain
write_state natal1 2 0 plain
write_state natal2 3 1 other
write_state synastry 6 1 other

names=()
for state in nostate world natal1 natal2 synastry; do
    statefile="-"
    [ $state = nostate ] || statefile="$tmp/state/$state.vek"
    for lang in en de; do
        for scale in 1 2; do
            name="$state-$lang-${scale}x.png"
            rm -f "$out/$name"
            SHOT_LANGUAGE=$lang QT_SCALE_FACTOR=$scale VEK="$wrapper" \
                "$shot" "$statefile" "$out/$name" >/dev/null 2>"$tmp/log" || {
                cat "$tmp/log" >&2
                echo "$0: $name failed" >&2
                exit 1
            }
            [ -s "$out/$name" ] || { echo "$0: $name was not written" >&2; exit 1; }
            names+=("$name")
        done
    done
done
echo "${#names[@]} screenshots in $out"

[ -n "$ref" ] || exit 0
status=0
for name in "${names[@]}"; do
    if [ ! -f "$ref/$name" ]; then
        echo "missing in $ref: $name"
        status=1
    elif ! cmp -s "$out/$name" "$ref/$name"; then
        echo "differs: $name"
        status=1
    fi
done
[ $status -ne 0 ] || echo "all ${#names[@]} match $ref"
exit $status
