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
expect_out '"index":0,"row":0,"column":0,"text":"280°22'"'"'\n10Cap22"' "JSON Sun cell"
expect_out '"retrograde":{"count":1,"list":"Sa"}' "JSON retrograde"
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
assert d["summary"].startswith("2 conjunctions\n")
EOF
fi

# The aspects by meaning agree with the bodies' longitudes and with the
# table: the angle between the two bodies is the aspect's angle off by the
# deviation, the cell of the pair shows the aspect, its marker and its bold.
for mode in "world --world 2000-01-01T12:00Z" \
    "personal1 --world 2026-12-08T12:00Z --birth1 1960-07-04T12:00-05:00" \
    "personal2 --world 1999-08-11T11:00Z --birth2 1955-10-28T21:30-08:00 --sidereal" \
    "synastry --birth1 1960-07-04T12:00-05:00 --birth2 1965-03-01T08:00Z" \
    "natal2 --birth2 1871-08-21T12:00+01:00 --radians --no-moon"; do
    # shellcheck disable=SC2086
    run 0 --mode $mode --json
    python3 - "$out" <<'EOF' || fail "aspects of --mode $mode do not fit bodies and table"
import json, sys
d = json.load(open(sys.argv[1]))
angle = [None, 0, 180, 90, 120, 60, 30, 150]
where = {(b["date"], b["index"]): b["longitude_deg"] for b in d["bodies"] if "longitude_deg" in b}
assert d["aspects"] and len(d["aspects"]) == d["total_aspects"], "one entry per aspect"
cols = d["columns"]
cells = {c["index"]: c for c in d["cells"]}
for a in d["aspects"]:
    f, s = a["first"], a["second"]
    if d["mode"].startswith("personal"):
        assert (f["date"], s["date"]) == ("birth" + d["mode"][-1], "world"), a
    elif d["mode"] == "synastry":
        assert (f["date"], s["date"]) == ("birth1", "birth2"), a
    else:
        own = {"world": "world", "natal1": "birth1", "natal2": "birth2"}[d["mode"]]
        assert f["date"] == s["date"] == own and f["index"] < s["index"], a
    sep = abs(where[(f["date"], f["index"])] - where[(s["date"], s["index"])]) % 360
    sep = min(sep, 360 - sep)
    assert abs(abs(sep - angle[a["aspect"]["index"]]) - a["deviation_degrees"]) < 1e-5, a
    # The table: chart B of personal transits down the rows, the 1st
    # birthdate of synastry across the columns.
    if d["layout"] == "triangular":
        row, col = f["index"] + 1, s["index"] - 1
    elif d["mode"] == "synastry":
        row, col = s["index"] + 1, f["index"] + 1
    else:
        row, col = f["index"] + 1, s["index"] + 1
    assert a["cell"] == row * cols + col, a
    c = cells[a["cell"]]
    assert c["bold"] == a["close"], (a, c)
    marker = {" -": "applying", " +": "separating"}.get(c["text"][-2:])
    assert marker == a["motion"], (a, c)
    if d["mode"] == "synastry":
        assert a["motion"] is None, a
EOF
done

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

# The last half hour of a year in the sidereal zodiac: the position half an
# hour later is compared under the same year's correction, so the flags and
# markers are those of the neighbouring half hours.
for t in 23:00 23:30; do
    run 0 --mode world --world 2026-12-31T${t}Z --sidereal
    expect_out "2 retrograde: Ju Ur" "sidereal retrograde at $t"
done
run 0 --mode personal1 --world 2026-12-31T23:00Z --birth1 1990-06-15T12:00Z --sidereal --json
cp "$out" "$tmp/before"
run 0 --mode personal1 --world 2026-12-31T23:30Z --birth1 1990-06-15T12:00Z --sidereal --json
markers() { grep -o '"text":"[A-Z][a-z][a-z]\\n[0-9]*°[0-9]*'"'"' [-+]' "$1"; }
[ -n "$(markers "$out")" ] || fail "no markers found in personal transits"
[ "$(markers "$out" | sed "s/°[0-9]*'//")" = "$(markers "$tmp/before" | sed "s/°[0-9]*'//")" ] ||
    fail "sidereal markers flip at 23:30: $(markers "$out" | tr '\n' ' ')"

# One instant written in two zones is one Julian date: the same flags.
run 0 --mode world --world 1881-09-03T18:30-05:00 --json
grep -o '"retrograde":{[^}]*}' "$out" >"$tmp/zoned"
grep -o '"date_jd":\[[0-9.]*' "$out" >>"$tmp/zoned"
run 0 --mode world --world 1881-09-03T23:30Z --json
grep -o '"retrograde":{[^}]*}' "$out" >"$tmp/utc"
grep -o '"date_jd":\[[0-9.]*' "$out" >>"$tmp/utc"
cmp -s "$tmp/zoned" "$tmp/utc" || fail "1881-09-03 18:30-05:00 and 23:30Z differ: $(cat "$tmp/zoned" "$tmp/utc")"

# The widest zones of the lists and the first year.
run 0 --mode world --world 2000-01-01T12:00+11:30
expect_out "World transits" "zone +11:30"
run 0 --mode world --world 2000-01-01T12:00-11:30
expect_out "World transits" "zone -11:30"
run 0 --mode world --world 0001-01-01T12:00Z
expect_out "World transits" "year 1"

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

# Arguments repeated in messages are quoted safely: one line, printable, valid
# UTF-8, cut short with an ellipsis.
one_safe_line() {  # one_safe_line <what>
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$1: message not one line: $(cat -v "$err")"
    LC_ALL=C grep -q $'[\x01-\x09\x0b-\x1f\x7f]' "$err" && fail "$1: control character: $(cat -v "$err")"
    iconv -f UTF-8 -t UTF-8 "$err" >/dev/null 2>&1 || fail "$1: not UTF-8: $(cat -v "$err")"
    [ "$(wc -c <"$err")" -lt 400 ] || fail "$1: message of $(wc -c <"$err") bytes"
}
run 2 --mode $'a\nb\e[31mred\xff\xc3'
one_safe_line "--mode with escapes"
expect_err "--mode 'a?b?[31mred??' is not world" "quoted --mode"
run 2 --mode world --world $'2000-01-01T12:15Z\r\nx'
one_safe_line "--world with a line break"
run 2 --mode world "--$(printf 'x%.0s' $(seq 1 100000))"
one_safe_line "100 KB option"
expect_err "unknown option '--xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…'" "long option cut short"
run 2 --mode world --world 2000-01-01T12:00Z "$(printf 'é%.0s' $(seq 1 50))"
one_safe_line "UTF-8 argument"
expect_err "'$(printf 'é%.0s' $(seq 1 40))…'" "UTF-8 cut at a character"
"$CLI" "$(printf 'x\ny')" >"$out" 2>"$err"
one_safe_line "unknown command"

# A missing vek.dat: one line in every command that reads it.
for command in "compute --mode world --world 2000-01-01T12:00Z" "positions --at 2000-01-01T12:00Z" \
    "durations --mode world --world 2000-01-01T12:00Z" "report --mode natal1 --birth1 2000-01-01T12:00Z"; do
    VEK_DATA_DIR="$tmp/no-data" "$CLI" $command >"$out" 2>"$err"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$command without vek.dat: $(cat -v "$err")"
    grep -q $'\r' "$err" && fail "$command without vek.dat: carriage return"
    expect_err "Cannot open file containing program text." "$command without vek.dat"
done

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

# Places, houses and points of the dates of the mode, after the summary.
run 0 --mode natal1 --birth1 1985-03-15T14:47 --place1 Berlin --points nodes,chiron
expect_out "Zone of --birth1: Europe/Berlin, GMT+1:00 (CET)" "the city's zone for a date without one"
expect_out "Points (birth1):" "the points of the birthdate"
expect_out "Houses (birth1): Placidus" "Placidus unless asked"
expect_out "    Ascendant 140.717874  140°43'   20Leo43" "the Ascendant of Berlin"
run 0 --mode personal1 --world 2026-12-08T12:00Z --lat -43.53 --lon 172.63 --birth1 1960-07-04T12:00-05:00 --houses campanus
expect_out "Houses (world): Campanus" "the World date's houses"
not_out "(birth1)" "no place for the birthdate, no points"
run 0 --mode world --world 2000-01-01T12:00Z --place1 Berlin
not_out "Houses" "a place of a date the mode does not compute"
bad --mode natal1 --birth1 1985-03-15T14:47Z --houses koch
expect_err "--houses needs a place" "houses without a place"
bad --mode natal1 --birth1 1985-03-15T14:47Z --lat1 52 --lon1 east
bad --mode natal1 --birth1 1985-03-15T14:47Z --place2 Xyzzyqv

finish_checks
