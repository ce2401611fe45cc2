#!/usr/bin/env bash
# vek-cli compute: table, title and summary at known instants, the options,
# state files, and rejection of bad input with exit status 2.
# Usage: bash compute.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks compute "$1"

# A state file of 51 lines: World date 1 January 2000 12:00 GMT, 1st
# birthdate 4 July 1960 12:00 GMT-5:00, no 2nd birthdate, all orbs 8°.
# write_state <file> <mode line 16..21 that is #TRUE#>
write_state() {
    local file="$1" mode="$2" i
    local lines=(" 1 " " 1 " "2000" " 25 " " 24 " " 7 " " 4 " "1960" " 25 " " 14 " " 0 " " 0 " ""
        " 0 " " 0 ")
    for i in 16 17 18 19 20 21; do
        if [ "$i" -eq "$mode" ]; then lines+=("#TRUE#"); else lines+=("#FALSE#"); fi
    done
    lines+=(" 1 " " 10 " " 9 " " 0 " " 1 " " 2 " "#TRUE#" "#FALSE#" "#FALSE#" "#TRUE#" " 2 "
        8 8 8 8 8 8 8 1 65535 16711935 255 65280 16776960 16744576 8421504 " 0 " " 1 " " 2 " " 2 ")
    : >"$file"
    for i in "${lines[@]}"; do printf '%s\r\n' "$i" >>"$file"; done
}

# --- World transits at J2000 -----------------------------------------------
run 0 --mode world --world 2000-01-01T12:00Z
[ -s "$err" ] && fail "J2000: unexpected stderr: $(cat "$err")"
expect_out "World transits  Orbs: 3° to 10°" "J2000 title"
expect_out "280°22'" "J2000 Sun"
expect_out "10Cap22" "J2000 Sun position"
expect_out "40°24' r" "J2000 Saturn retrograde"
expect_out "Tropical zodiac" "J2000 zodiac cell"
grep -qE '^Su +Me +Ve +Ma +Ju +Sa +Ur +Ne +Pl +Mo$' "$out" || fail "J2000: glyph row as abbreviations"
expect_out "8°29' -" "J2000 Sun-Mercury conjunction deviation"
expect_out "18 aspects in total." "J2000 total"
expect_out "1 retrograde: Sa" "J2000 retrograde line"
expect_out "T-square: Sa-Ur-Mo" "J2000 pattern block"

# JSON: the same results.
run 0 --mode world --world 2000-01-01T12:00Z --json
expect_out '"mode":"world"' "JSON mode"
expect_out '"title":"World transits  Orbs: 3° to 10°"' "JSON title"
expect_out '"index":0,"row":0,"column":0,"text":"280°22'"'"'\r\n10Cap22"' "JSON Sun cell"
expect_out '"retrograde":{"count":1,"list":"Sa "}' "JSON retrograde"
expect_out '"total_aspects":18' "JSON total"
expect_out '"t_square":1' "JSON pattern count"
if command -v python3 >/dev/null; then
    python3 - "$out" <<'EOF' || fail "JSON does not parse or does not add up"
import json, sys
d = json.load(open(sys.argv[1]))
assert sum(d["aspect_counts"].values()) == d["total_aspects"] == 18
aspects = [c for c in d["cells"] if c["text"][:3] in ("Con", "Opp", "Sqr", "Tri", "Sxt", "Ssx", "Qui")]
assert len(aspects) == 18
assert all(c["colour"] != 0 for c in aspects)
assert d["summary"].startswith("2 conjunctions\r\n")
EOF
fi

# Radians, German, without the Moon.
run 0 --mode world --world 2000-01-01T12:00Z --radians --json
expect_out '"text":"4.8934"' "radians Sun"
expect_out '"retrograde":{"count":0,"list":""}' "radians: no retrograde count"
run 0 --mode world --world 2000-01-01T12:00Z --lang de
expect_out "Welttransite" "German title"
expect_out "10Ste22" "German position"
expect_out "2 Konjunktion" "German summary"
run 0 --mode world --world 2000-01-01T12:00Z --no-moon --json
expect_out '"index":9,"row":0,"column":9,"text":""' "no Moon: empty position cell"
expect_out '"index":19,"row":1,"column":9,"text":"a"' "no Moon: glyph stays"
expect_out '"total_aspects":14' "no Moon: Moon aspects gone"
run 0 --mode world --world 2000-01-01T12:00Z --sidereal
expect_out "Sidereal zodiac" "sidereal zodiac cell"
expect_out "256°31'" "sidereal Sun"

# Two charts: square table, one summary line.
run 0 --mode synastry --birth1 1960-07-04T12:00-05:00 --birth2 1962-03-15T08:30+01:00
expect_out "Synastry of the 1st and the 2nd birthdate  Orbs: 1° to 3°20'" "synastry title"
expect_out "12 aspects in total." "synastry summary"
[ "$(grep -c 'aspects in total' "$out")" -eq 1 ] || fail "synastry: one summary line"
not_out "retrograde:" "synastry has no retrograde line"

# --- Date errors and refused input -------------------------------------------
run 2 --mode world
expect_err "World date is incomplete" "missing date"
run 2 --mode personal1 --world 2000-01-01T12:00Z
expect_err "1st birthdate is incomplete" "missing birthdate"
run 2 --mode natal1 --birth1 2011-02-29T12:00Z
expect_err "1st birthdate is not a valid date" "29 February 2011"
run 0 --mode natal1 --birth1 2012-02-29T12:00Z
run 2 --mode world --world 2800-01-01T12:00Z --lang de
expect_err "Weltdatum liegt im Jahr 2800 oder später" "year 2800 in German"
run 2 --mode world --world 0000-01-01T12:00Z
expect_err "World date lies before 1 January of the year 1" "year 0"
run 2 --mode world --world 2000-01-01T12:15Z
expect_err "half hours" "minute 15"
run 2 --mode world --world 2000-01-01T12:00+05:45
expect_err "-11:30 to +11:30" "zone +5:45"
run 2 --mode world --world 2000-01-01T12:00+12:00
run 2 --mode world --world 2000-01-32T12:00Z
run 2 --mode galaxy --world 2000-01-01T12:00Z
expect_err "is not world" "bad mode"
run 2 --mode world --world 2000-01-01T12:00Z --colour
run 2 --mode world --world 2000-01-01T12:00Z --lang fr
[ -s "$out" ] && fail "refused input printed results"

# --- State files -------------------------------------------------------------
write_state "$tmp/natal.vek" 17
run 0 --state "$tmp/natal.vek"
expect_out "Natal aspects of the 1st birthdate  Orb 8°." "state: mode and orbs"
expect_out "102°41'" "state: 1st birthdate Sun"
run 0 --state "$tmp/natal.vek" --mode world
expect_out "World transits  Orb 8°." "state: --mode overrides"
expect_out "280°22'" "state: World date from the file"
run 0 --state "$tmp/natal.vek" --mode natal1 --birth1 2000-01-01T12:00Z
expect_out "280°22'" "state: --birth1 overrides the row"
# Saved in synastry: loading shows world transits for the World date.
write_state "$tmp/synastry.vek" 21
run 0 --state "$tmp/synastry.vek"
expect_out "World transits  Orb 8°." "state in synastry shows world transits"
head -c 100 "$tmp/natal.vek" >"$tmp/short.vek"
run 2 --state "$tmp/short.vek"
run 2 --state "$tmp/missing.vek"

finish_checks
