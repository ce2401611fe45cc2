#!/usr/bin/env bash
# Golden output of vek-cli: runs compute, durations, report and positions over
# a fixed list of a few thousand cases and compares a SHA-256 of every case's
# exit status, standard output and standard error with cli_golden.sha256 next
# to this script. Any change of any byte of any case fails, so a change that
# should leave the results alone (moving code about) can be checked whole.
#
# Usage: cli_golden.sh VEK_CLI [--write] [--dump DIR]
#   --write     make cli_golden.sha256 anew from VEK_CLI
#   --dump DIR  also write every case's full output to DIR/NNNN.txt (NNNN is
#               the case number, DIR/cases.txt lists them), so the outputs of
#               two programs can be compared with diff -r
# Environment: GOLDEN_JOBS sets how many cases run at once (default: the
# number of processors, at most 4).
#
# The cases are made by a fixed pseudo-random generator, so the list is the
# same on every run and every machine. The program runs with TZ=UTC, LC_ALL=C
# and settings, state and config folders in a temporary folder; VEK_DATA_DIR
# and SE_EPHE_PATH are cleared, so it reads the data files next to it and
# the Swiss Ephemeris files of /usr/share/libswe/ephe when they are installed.
# The digests were made on a machine that has those files: without them the
# positions come from the analytical ephemeris and many cases differ.
#
# What is hashed for a case (and what --dump writes): the standard output,
# then a line "== exit N; stderr:", then the standard error.
set -euo pipefail

usage() {
    echo "usage: $0 VEK_CLI [--write] [--dump DIR]" >&2
    exit 2
}

[ $# -ge 1 ] || usage
cli="$1"
shift
write=0
dump=""
while [ $# -gt 0 ]; do
    case "$1" in
        --write) write=1 ;;
        --dump)
            [ $# -ge 2 ] || usage
            dump="$2"
            shift
            ;;
        *) usage ;;
    esac
    shift
done
case "$cli" in /*) ;; *) cli="$PWD/$cli" ;; esac
case "$dump" in "" | /*) ;; *) dump="$PWD/$dump" ;; esac
if [ ! -x "$cli" ] || [ -d "$cli" ]; then
    echo "$0: $cli is not a program" >&2
    exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
digest_file="$here/cli_golden.sha256"

export LC_ALL=C TZ=UTC
unset VEK_DATA_DIR SE_EPHE_PATH LANG LANGUAGE
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/state" "$tmp/out"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data"
export VEK_CONFIG_DIR="$tmp/config"
cd "$tmp"

# ---------------------------------------------------------------------------
# State files. Lines: three date rows (month, day, year, time index with
# k = 1..48 for (k - 1) half hours, zone index with 24 for GMT), the six mode
# buttons, stepping, two orb lists, colour, bold, bold fraction, the two bold
# thresholds, sidereal, tropical, proportion, the eight accepted orbs, seven
# aspect colours, image background, keep zodiac, midpoint orb, proportion.
write_state() {  # write_state FILE LINE...
    local file="$1" l
    shift
    : >"$file"
    for l in "$@"; do printf '%s\r\n' "$l" >>"$file"; done
}
colours=(65535 16711935 255 65280 16776960 16744576 8421504)
# Natal aspects of the 1st birthdate; no 2nd birthdate; all orbs 8°.
write_state "$tmp/state/natal.vek" \
    " 1 " " 1 " "2000" " 25 " " 24 " " 7 " " 4 " "1960" " 25 " " 14 " " 0 " " 0 " "" " 0 " " 0 " \
    "#FALSE#" "#TRUE#" "#FALSE#" "#FALSE#" "#FALSE#" "#FALSE#" \
    " 1 " " 10 " " 9 " " 0 " " 1 " " 2 " "#TRUE#" "#FALSE#" "#FALSE#" "#TRUE#" " 2 " \
    8 8 8 8 8 8 8 1 "${colours[@]}" " 0 " " 1 " " 2 " " 2 "
# Synastry, sidereal, a different orb for every aspect, bold by fraction of
# the orb, other colours, the widest midpoint orb.
write_state "$tmp/state/synastry.vek" \
    " 3 " " 21 " "1987" " 14 " " 35 " " 11 " " 30 " "1954" " 48 " " 1 " " 2 " " 29 " "1803" " 1 " " 47 " \
    "#FALSE#" "#FALSE#" "#FALSE#" "#FALSE#" "#FALSE#" "#TRUE#" \
    " 3 " " 4 " " 5 " " 1 " " 1 " " 6 " "#FALSE#" "#TRUE#" "#TRUE#" "#FALSE#" " 4 " \
    12 10 9 7 5 3 2 0 255 65280 16711680 0 8421376 32896 12632256 " 0 " " 0 " " 7 " " 3 "
# Personal transits of the 2nd birthdate, narrow orbs, no colour, no bold.
write_state "$tmp/state/personal.vek" \
    " 12 " " 31 " "2099" " 48 " " 47 " " 0 " " 0 " "" " 0 " " 0 " " 6 " " 15 " "1600" " 2 " " 24 " \
    "#FALSE#" "#FALSE#" "#FALSE#" "#FALSE#" "#TRUE#" "#FALSE#" \
    " 0 " " 2 " " 1 " " 0 " " 0 " " 8 " "#TRUE#" "#FALSE#" "#FALSE#" "#TRUE#" " 0 " \
    3 2 2 1 1 1 0 15 0 0 0 0 0 0 0 " 0 " " 1 " " 0 " " 1 "
# Stops after ten lines.
head -c 40 "$tmp/state/natal.vek" >"$tmp/state/short.vek"

# ---------------------------------------------------------------------------
# The cases: "<ok|err> <arguments>". They run in the temporary folder, so
# state files are named relative to it and messages do not show its name.
# An ok case must exit 0, an err case 1 or 2 with a message on stderr.
cases=()
declare -A seen_case=()
declare -A seen_instant=()
add() {  # add ok|err ARG...; an empty argument is kept as ""
    local a c=""
    for a in "$@"; do c+="${c:+ }${a:-\"\"}"; done
    [ -z "${seen_case[$c]:-}" ] || return 0
    seen_case[$c]=1
    cases+=("$c")
}
note() {  # note INSTANT...: counts the distinct instants
    local t
    for t in "$@"; do seen_instant[$t]=1; done
}

seed=20260301
rnd() {  # r = next number 0..32767
    seed=$(((seed * 1103515245 + 12345) % 2147483648))
    r=$((seed / 65536))
}
days_in() {  # dim = days of month $2 of year $1 (Gregorian)
    case $2 in
        4 | 6 | 9 | 11) dim=30 ;;
        2) if (($1 % 4 == 0 && ($1 % 100 != 0 || $1 % 400 == 0))); then dim=29; else dim=28; fi ;;
        *) dim=31 ;;
    esac
}
zone_text() {  # zt = zone of $1 minutes east; 0 is Z, +00:00 or -00:00 by $2
    local m=$1 sign=+
    if ((m == 0)); then
        case $2 in 0) zt=Z ;; 1) zt=+00:00 ;; *) zt=-00:00 ;; esac
        return
    fi
    ((m > 0)) || { sign=-; m=$((-m)); }
    printf -v zt '%s%02d:%02d' "$sign" $((m / 60)) $((m % 60))
}
# inst = a date row instant: 1600..2100, half-hour time, half-hour zone.
row_instant() {
    local y mo d h mi
    rnd; y=$((1600 + r % 501))
    rnd; mo=$((1 + r % 12))
    days_in $y $mo
    rnd; d=$((1 + r % dim))
    rnd; h=$((r % 24))
    rnd; mi=$(((r % 2) * 30))
    rnd; zone_text $(((r % 47 - 23) * 30)) $(((r / 47) % 3))
    printf -v inst '%04d-%02d-%02dT%02d:%02d%s' $y $mo $d $h $mi "$zt"
}
# inst = a positions instant: any minute, zones in quarter hours to ±14:00.
any_instant() {
    local y mo d h mi
    rnd; y=$((1600 + r % 501))
    rnd; mo=$((1 + r % 12))
    days_in $y $mo
    rnd; d=$((1 + r % dim))
    rnd; h=$((r % 24))
    rnd; mi=$((r % 60))
    rnd; zone_text $(((r % 113 - 56) * 15)) $(((r / 113) % 3))
    printf -v inst '%04d-%02d-%02dT%02d:%02d%s' $y $mo $d $h $mi "$zt"
}

modes=(world natal1 natal2 personal1 personal2 synastry)
dmodes=(world personal1 personal2)
rmodes=(natal1 natal2 synastry)
langs=(en de)

# The dates a mode needs, from world date $2, birthdates $3 and $4; with $5
# set, also the dates the mode does not use.
dates_for() {
    local mode=$1 w=$2 b1=$3 b2=$4 all=${5:-0}
    dates=()
    case $mode in
        world) dates=(--world "$w") ;;
        natal1) dates=(--birth1 "$b1") ;;
        natal2) dates=(--birth2 "$b2") ;;
        personal1) dates=(--world "$w" --birth1 "$b1") ;;
        personal2) dates=(--world "$w" --birth2 "$b2") ;;
        synastry) dates=(--birth1 "$b1" --birth2 "$b2") ;;
    esac
    ((all)) && dates=(--world "$w" --birth1 "$b1" --birth2 "$b2")
    return 0
}
zodiac() {  # zod = "--sidereal" when $1 is 1
    zod=()
    (($1)) && zod=(--sidereal)
    return 0
}

# Instants at the edges: year ends at 23:30 UT, the largest zones, the ends
# of the Pluto table (1600 January 1 to 2100 January 2, 0 h UT), leap days,
# the calendar reform, and dates outside the table that the program takes.
edge_rows=(
    1600-01-01T00:00Z 1600-01-01T00:00+11:30 1600-01-01T11:30-11:30 1600-12-31T23:30Z
    1699-12-31T23:30Z 1799-12-31T23:30Z 1899-12-31T23:30Z 1999-12-31T23:30Z
    2000-01-01T00:30+01:00 2000-01-01T12:00Z 2000-02-29T12:00Z 2024-02-29T23:30-03:30
    2099-12-31T23:30Z 2100-01-01T23:30Z 2100-01-02T23:30Z 2100-01-03T00:00-11:30
    2100-12-31T23:30+11:30 1582-10-15T00:00Z 1582-10-04T23:30Z 1500-06-15T12:00Z
    1599-12-31T23:30Z 0001-01-01T00:00Z 2799-12-31T23:30Z 2500-07-04T06:30+05:30
    1776-07-04T12:00-04:30 1900-01-01T00:00+11:30 1969-07-20T20:30Z 2038-01-19T03:00+00:00
    1752-09-14T00:00-00:00 1800-02-28T23:30-11:30
)
edge_positions=(
    1600-01-01T00:00Z 1599-12-31T23:59Z 2100-01-02T00:00Z 2100-01-02T23:59Z
    2100-01-03T00:00Z 0001-01-01T00:00Z 2799-12-31T23:59+14:00 2799-12-31T23:59-14:00
    2000-01-01T05:45+05:45 2000-01-01T00:00-03:30 2000-01-01T00:00+11:30 2000-01-01T00:00-11:30
    2000-01-01T00:00+14:00 2000-01-01T00:00-14:00 1999-12-31T23:30Z 1582-10-10T12:00Z
    1752-09-08T12:00Z 2000-02-29T23:59+12:45 1900-02-28T23:59-09:30 1200-05-05T05:05+05:05
)

# Every edge instant as world date and as birthdate, once each.
for ((e = 0; e < ${#edge_rows[@]}; e++)); do
    E=${edge_rows[e]}
    note "$E"
    lang=${langs[e % 2]}
    zodiac $(((e / 2) % 2))
    add ok compute --mode world --world "$E" --lang $lang "${zod[@]}" --json
    add ok compute --mode personal1 --world "$E" --birth1 1960-07-04T12:00-05:00 --lang $lang "${zod[@]}" --json
    add ok compute --mode synastry --birth1 "$E" --birth2 1980-02-02T06:30-05:00 --lang $lang "${zod[@]}" --json
    add ok durations --mode world --world "$E" --sort $((e % 7)) --lang $lang "${zod[@]}" --json
    add ok durations --mode personal2 --world "$E" --birth2 1871-08-21T12:00+01:00 --sort $(((e + 3) % 7)) --lang $lang "${zod[@]}" --json
    add ok report --mode natal1 --birth1 "$E" --lang $lang "${zod[@]}" --json
done
for ((e = 0; e < ${#edge_positions[@]}; e++)); do
    E=${edge_positions[e]}
    note "$E"
    zodiac $(((e / 2) % 2))
    add ok positions --at "$E" --lang ${langs[e % 2]} "${zod[@]}" --json
    add ok positions --at "$E" --lang ${langs[(e + 1) % 2]} "${zod[@]}"
done

# The pseudo-random instants: for each, two compute runs, a durations list, a
# report and the positions at its own instant, rotating mode, language and
# zodiac so every combination comes round many times; every eighth also as
# text.
count=400
for ((i = 0; i < count; i++)); do
    row_instant; W=$inst
    row_instant; B1=$inst
    row_instant; B2=$inst
    any_instant; P=$inst
    note "$W" "$B1" "$B2" "$P"

    for k in $((i % 24)) $(((i * 7 + 11) % 24)); do
        mode=${modes[k % 6]}
        zodiac $((k / 12))
        extra=()
        if ((k == i % 24)); then
            ((i % 5 == 3)) && extra+=(--no-moon)
            ((i % 4 == 1)) && extra+=(--radians)
        else
            ((i % 7 == 2)) && extra+=(--no-moon)
            ((i % 3 == 0)) && extra+=(--radians)
        fi
        dates_for $mode "$W" "$B1" "$B2" $((i % 9 == 4))
        add ok compute --mode $mode "${dates[@]}" --lang ${langs[(k / 6) % 2]} "${zod[@]}" "${extra[@]}" --json
    done

    k=$((i % 12))
    mode=${dmodes[k % 3]}
    zodiac $((k / 6))
    extra=()
    ((i % 5 == 0)) && extra+=(--no-duration)
    ((i % 9 == 4)) && extra+=(--no-moon)
    dates_for $mode "$W" "$B1" "$B2" $((i % 11 == 7))
    add ok durations --mode $mode "${dates[@]}" --lang ${langs[(k / 3) % 2]} "${zod[@]}" --sort $((i % 7)) "${extra[@]}" --json

    k=$(((i * 5 + 1) % 12))
    mode=${rmodes[k % 3]}
    zodiac $((k / 6))
    extra=()
    ((i % 6 == 5)) && extra+=(--no-moon)
    dates_for $mode "$W" "$B1" "$B2" $((i % 10 == 3))
    add ok report --mode $mode "${dates[@]}" --lang ${langs[(k / 3) % 2]} "${zod[@]}" "${extra[@]}" --json

    k=$((i % 4))
    zodiac $((k / 2))
    extra=()
    ((i % 5 == 2)) && extra+=(--no-moon)
    add ok positions --at "$P" --lang ${langs[k % 2]} "${zod[@]}" "${extra[@]}" --json

    if ((i % 8 == 0)); then
        j=$((i / 8))
        zodiac $(((j / 12) % 2))
        dates_for ${modes[j % 6]} "$W" "$B1" "$B2"
        extra=()
        ((j % 5 == 1)) && extra+=(--radians)
        ((j % 7 == 3)) && extra+=(--no-moon)
        add ok compute --mode ${modes[j % 6]} "${dates[@]}" --lang ${langs[(j / 6) % 2]} "${zod[@]}" "${extra[@]}"
        zodiac $(((j / 6) % 2))
        lang=${langs[(j / 3) % 2]}
        dates_for ${dmodes[j % 3]} "$W" "$B1" "$B2"
        extra=()
        ((j % 4 == 2)) && extra+=(--no-duration)
        add ok durations --mode ${dmodes[j % 3]} "${dates[@]}" --lang $lang "${zod[@]}" --sort $((j % 7)) "${extra[@]}"
        dates_for ${rmodes[j % 3]} "$W" "$B1" "$B2"
        add ok report --mode ${rmodes[j % 3]} "${dates[@]}" --lang $lang "${zod[@]}"
        zodiac $(((j / 2) % 2))
        add ok positions --at "$P" --lang ${langs[j % 2]} "${zod[@]}"
    fi
done

# State files, alone and with options and dates on top.
for lang in en de; do
    for f in natal synastry personal; do
        S=state/$f.vek
        add ok compute --state $S --lang $lang --json
        add ok compute --state $S --lang $lang
        for mode in "${modes[@]}"; do
            add ok compute --state $S --mode $mode --world 1990-05-05T05:30+02:00 --birth1 1945-05-08T23:00+01:00 --birth2 2001-09-11T08:30-04:00 --lang $lang --json
        done
        add ok durations --state $S --mode world --lang $lang --json
        add ok durations --state $S --mode personal1 --birth1 1933-03-03T03:30Z --lang $lang --sort 4 --json
        add ok durations --state $S --mode world --world 2024-04-08T18:00Z --lang $lang --no-moon
        kind=ok
        [ $f != personal ] || kind=err  # its 1st birthdate is empty
        add $kind report --state $S --mode natal1 --lang $lang --json
        add ok report --state $S --mode synastry --birth1 1933-03-03T03:30Z --birth2 1955-10-28T21:30-08:00 --lang $lang --json
        add ok report --state $S --mode natal1 --birth1 1933-03-03T03:30Z --lang $lang --sidereal
    done
    add ok durations --state state/personal.vek --lang $lang --json
    add ok report --state state/natal.vek --lang $lang
    add err compute --state state/personal.vek --mode personal1 --lang $lang --json
    add err report --state state/natal.vek --mode natal2 --lang $lang --json
    add err compute --state state/short.vek --lang $lang --json
    add err compute --state state/missing.vek --lang $lang --json
done

# Input the commands refuse, in both languages.
W=2000-01-01T12:00Z
for lang in en de; do
    for bad in 1900-02-29T12:00Z 2000-04-31T00:00Z 2100-02-29T00:00Z 0000-06-01T00:00Z \
        2800-01-01T00:00Z 9999-12-31T23:30Z 2000-01-01T12:15Z 2000-01-01T12:00+05:45 \
        2000-01-01T12:00+12:00 2000-01-01T12:00-12:00 2000-13-01T12:00Z 2000-00-10T12:00Z \
        2000-01-00T12:00Z 2000-01-32T00:00Z 2000-01-01T24:00Z 2000-01-01T12:60Z 2000-1-01T00:00Z \
        2000-01-01T12:00 2000-01-01T12:00+0100 2000-01-01T12:00+15:00 2000-01-01 ""; do
        add err compute --mode world --world "$bad" --lang $lang --json
        add err compute --mode personal2 --world $W --birth2 "$bad" --lang $lang
        add err durations --mode world --world "$bad" --lang $lang --json
        add err report --mode synastry --birth1 $W --birth2 "$bad" --lang $lang --json
    done
    for bad in 2800-01-01T00:00Z 0000-01-01T00:00Z 2000-02-30T00:00Z 2000-01-01T00:00+14:15 \
        2000-01-01T00:00-14:01 2000-01-01T00:60Z 2000-01-01T25:00Z 2000-01-01 2000-01-01T00:00+05:60 ""; do
        add err positions --at "$bad" --lang $lang --json
    done
    add err compute --mode world --lang $lang --json
    add err compute --mode natal1 --lang $lang --json
    add err compute --mode natal2 --birth1 $W --lang $lang --json
    add err compute --mode personal1 --world $W --lang $lang --json
    add err compute --mode personal2 --birth2 $W --lang $lang --json
    add err compute --mode synastry --birth1 $W --lang $lang --json
    add err durations --mode world --lang $lang
    add err durations --mode personal2 --world $W --birth1 $W --lang $lang --json
    add err durations --mode natal1 --birth1 $W --lang $lang --json
    add err durations --mode synastry --birth1 $W --birth2 $W --lang $lang --json
    add err durations --mode world --world $W --sort 7 --lang $lang --json
    add err durations --mode world --world $W --sort 12 --lang $lang --json
    add err durations --mode world --world $W --sort x --lang $lang
    add err report --mode world --world $W --lang $lang --json
    add err report --mode personal1 --world $W --birth1 $W --lang $lang --json
    add err report --mode natal2 --birth1 $W --lang $lang --json
    add err report --mode synastry --birth2 $W --lang $lang
done
add err compute --mode galaxy --world $W --json
add err compute --mode world --world $W --lang fr --json
add err compute --mode world --world $W --frobnicate --json
add err compute --mode world --world
add err compute --mode world --world $W --json=1
add err compute --mode world --world $W json
add err durations --mode world --world $W --sort
add err durations --mode world --world $W --no-duration=yes
add ok report --mode natal1 --birth1 $W --radians --json
add err report --mode natal1 --birth1 $W --sort 1 --json
add err positions --json
add err positions --at $W --radians --json
add err positions --at $W --mode world --json
add err positions --at $W --lang es --json
add err positions --at $W --sidereal=1 --json

ncases=${#cases[@]}
((ncases < 10000)) || { echo "$0: too many cases for four-digit names" >&2; exit 2; }

# ---------------------------------------------------------------------------
# Running. Each job takes every jobs-th case; the outputs go to out/NNNN.txt.
jobs=${GOLDEN_JOBS:-$(nproc 2>/dev/null || echo 1)}
((jobs >= 1 && jobs <= 4)) || jobs=4
run_share() {  # run_share FIRST STEP
    local n k c kind f e rc line
    local -a argv
    e="$tmp/err.$1"
    : >"$tmp/bad.$1"
    set -f
    for ((n = $1; n < ncases; n += $2)); do
        c=${cases[n]}
        kind=${c%% *}
        line=${c#* }
        # shellcheck disable=SC2206  # split on blanks; globbing is off
        argv=($line)
        for ((k = 0; k < ${#argv[@]}; k++)); do [ "${argv[k]}" != '""' ] || argv[k]=; done
        printf -v f '%s/out/%04d.txt' "$tmp" $((n + 1))
        rc=0
        "$cli" "${argv[@]}" >"$f" 2>"$e" || rc=$?
        printf '== exit %d; stderr:\n' $rc >>"$f"
        if [ -s "$e" ]; then cat "$e" >>"$f"; fi
        if [ "$kind" = ok ] && ((rc != 0)); then
            printf 'case %d exited %d: %s\n' $((n + 1)) $rc "$line" >>"$tmp/bad.$1"
        elif [ "$kind" = err ] && { ((rc != 1 && rc != 2)) || [ ! -s "$e" ]; }; then
            printf 'case %d exited %d (expected 1 or 2 with a message): %s\n' \
                $((n + 1)) $rc "$line" >>"$tmp/bad.$1"
        fi
    done
}
start=$SECONDS
pids=()
for ((w = 0; w < jobs; w++)); do
    run_share $w $jobs &
    pids+=($!)
done
for p in "${pids[@]}"; do wait "$p"; done

for ((n = 0; n < ncases; n++)); do
    printf '%04d %s\n' $((n + 1)) "${cases[n]#* }"
done >"$tmp/cases.txt"
(cd "$tmp/out" && sha256sum -- *.txt) |
    awk 'NR == FNR { sub(/^[0-9]+ /, ""); args[FNR] = $0; next }
         { print $1 "  " args[FNR] }' "$tmp/cases.txt" - >"$tmp/new.sha256"
[ "$(wc -l <"$tmp/new.sha256")" -eq "$ncases" ] || { echo "$0: outputs missing" >&2; exit 1; }

if [ -n "$dump" ]; then
    mkdir -p "$dump"
    cp "$tmp"/out/*.txt "$tmp/cases.txt" "$dump"/
    echo "outputs of $ncases cases in $dump"
fi

status=0
cat "$tmp"/bad.* | sort -k2,2n >"$tmp/bad"
if [ -s "$tmp/bad" ]; then
    echo "vek-cli failed unexpectedly:"
    cat "$tmp/bad"
    status=1
fi

if ((write)); then
    if ((status)); then
        echo "$digest_file not written" >&2
        exit 1
    fi
    cp "$tmp/new.sha256" "$digest_file"
    echo "wrote $ncases digests over ${#seen_instant[@]} instants to $digest_file ($((SECONDS - start)) s)"
    exit 0
fi

if [ ! -f "$digest_file" ]; then
    echo "$digest_file is missing (make it with --write)" >&2
    exit 1
fi
# Compares by case arguments: a case that is new, gone or differs is listed.
awk 'NR == FNR { h = substr($0, 1, 64); a = substr($0, 67); old[a] = h; order[++n] = a; next }
     { h = substr($0, 1, 64); a = substr($0, 67); seen[a] = 1
       if (!(a in old)) { print "case " FNR " is not in the digest file: " a; bad++ }
       else if (old[a] != h) { print "case " FNR " differs: " a; bad++ } }
     END { for (i = 1; i <= n; i++) if (!(order[i] in seen)) { print "case missing: " order[i]; bad++ }
           if (bad) print bad " of " FNR " cases differ or are missing"
           exit bad ? 1 : 0 }' "$digest_file" "$tmp/new.sha256" || status=1
if ((status)); then
    echo "FAILED ($((SECONDS - start)) s); compare outputs with --dump DIR against another vek-cli"
    exit 1
fi
echo "OK: $ncases cases over ${#seen_instant[@]} instants match ($((SECONDS - start)) s)"
