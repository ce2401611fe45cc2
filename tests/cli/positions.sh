#!/usr/bin/env bash
# vek-cli positions: output at known instants, the options, and rejection of
# bad arguments with exit status 2 and one line on stderr.
# Usage: bash positions.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks positions "$1"

# J2000.0: the Sun stands at 280°22' (10°22' Capricorn).
run 0 --at 2000-01-01T12:00Z
expect_out "Julian date (UT): 2451545.000000" "J2000 date"
expect_out "Sun" "J2000 Sun"
expect_out "280°22'" "J2000 Sun angle"
expect_out "10Cap22" "J2000 Sun position"
expect_out "Moon" "J2000 Moon"
[ "$(grep -cE '^ ?[0-9]+  ' "$out")" -eq 10 ] || fail "J2000: expected 10 body lines"
[ -s "$err" ] && fail "J2000: unexpected stderr: $(cat "$err")"

# Local time with a zone and an arbitrary minute: 14:37 at +01:00 is 13:37 UT.
run 0 --at 2026-12-08T14:37+01:00
expect_out "Julian date (UT): 2461383.067361" "zone offset"
run 0 --at 2026-12-08T08:07-05:30
expect_out "Julian date (UT): 2461383.067361" "negative zone offset"

# Named zones: Berlin had +1:00 in March 1985, so 14:47 there is 13:47 UT;
# the output names the zone and offset. --tz gives a zone to a date without
# one; the fixed forms print as before, without a zone line.
run 0 --at "1985-03-15T14:47[Europe/Berlin]"
expect_out "Julian date (UT): 2446140.074306" "Berlin in winter"
expect_out "Zone: Europe/Berlin, GMT+1:00 (CET)" "the zone used"
run 0 --at 1985-03-15T14:47 --tz Europe/Berlin --json
expect_out '"jd_ut":2446140.074306,"zone":"Europe/Berlin","offset":"GMT+1:00","offset_seconds":3600,' "zone in JSON"
run 0 --at "1986-06-01T12:00[Asia/Kathmandu]"
expect_out "Zone: Asia/Kathmandu, GMT+5:45" "Kathmandu"
run 0 --at 1985-03-15T13:47Z --tz Europe/Berlin
not_out "Zone:" "an explicit Z keeps the old output"
expect_out "Julian date (UT): 2446140.074306" "Z wins over --tz"
# The Berlin gap and overlap of 1980 are refused until --fold chooses.
bad --at "1980-04-06T02:30[Europe/Berlin]"
expect_err "1980-04-06 02:30 does not exist in Europe/Berlin (clocks went from GMT+1:00 to GMT+2:00): earlier GMT+2:00 or later GMT+1:00; choose one with --fold earlier or --fold later" "gap"
bad --at "1980-09-28T02:30[Europe/Berlin]"
expect_err "occurs twice in Europe/Berlin" "overlap"
run 0 --at "1980-09-28T02:30[Europe/Berlin]" --fold earlier
expect_out "Julian date (UT): 2444510.520833" "overlap, earlier: 00:30 UT"
expect_out "GMT+2:00 (CEST)" "overlap, earlier offset"
run 0 --at "1980-09-28T02:30[Europe/Berlin]" --fold later
expect_out "Julian date (UT): 2444510.562500" "overlap, later: 01:30 UT"
# Bad zones, times and brackets: one line each.
for at in "1985-03-15T14:47[Europe/Berln]" "1985-03-15T14:47[Europe/Berlin" \
          "1985-03-15T14:47Europe/Berlin]" "1985-03-15T25:00[Europe/Berlin]" \
          "1985-03-15T14:47[]" "1985-02-30T14:47[Europe/Berlin]" "1985-03-15T14:47+14:30"; do
    bad --at "$at"
done
bad --at 1985-03-15T14:47 --tz "Europe/Berlin]"
expect_err 'unknown time zone "Europe/Berlin]"' "--tz unknown"
bad --at 1985-03-15T14:47
bad --at 1985-03-15T14:47 --tz Europe/Berlin --fold sideways

# Without the Moon: nine bodies.
run 0 --at 2000-01-01T12:00Z --no-moon
[ "$(grep -cE '^ ?[0-9]+  ' "$out")" -eq 9 ] || fail "--no-moon: expected 9 body lines"
not_out "Moon" "--no-moon"

# German names and sign abbreviations.
run 0 --at 2000-01-01T12:00Z --lang de
expect_out "Sonne" "German Sun"
expect_out "10Ste22" "German position"

# Sidereal: 0.416314 rad (23°51') less in 2000.
run 0 --at 2000-01-01T12:00Z --sidereal
expect_out "256°31'" "sidereal Sun"

# JSON: fields, retrograde flags and codes for missing positions.
run 0 --at 2000-01-01T12:00Z --json
expect_out '"jd_ut":2451545.000000' "json jd"
expect_out '"ephemeris":"' "json ephemeris"
expect_out '"index":1,"name":"Sun","longitude_deg":280.3' "json Sun"
expect_out '"angle_text":"280°22'"'"'"' "json angle text"
expect_out '"position_text":"10Cap22"' "json position text"
expect_out '"retrograde":false' "json retrograde"
[ "$(grep -o '"index":' "$out" | wc -l)" -eq 10 ] || fail "json: expected 10 bodies"
if command -v jq >/dev/null; then
    jq -e '.bodies | length == 10' "$out" >/dev/null || fail "json does not parse"
fi

# Before 1600 and from 2100 on, the Moon and Pluto have no position.
run 0 --at 1599-12-31T23:00Z --json
expect_out '"index":9,"name":"Pluto","code":-99' "Pluto before the table"
expect_out '"index":10,"name":"Moon","code":-99' "Moon before its range"
expect_out '"index":1,"name":"Sun","longitude_deg":' "Sun in 1599"
run 0 --at 2100-01-01T00:00Z --json
expect_out '"index":9,"name":"Pluto","code":-100' "Pluto after the table"
expect_out '"index":10,"name":"Moon","code":-100' "Moon after its range"
run 0 --at 2100-01-01T00:00Z
expect_out ">" "text mark after the range"

# Bad arguments: status 2, nothing on stdout, one line on stderr.
bad
bad --at
bad --at ""
bad --at garbage
bad --at 2026-12-08T14:30
bad --at 2026-12-08 14:30Z
bad --at 2026-12-08T14:30+25:00
bad --at 2026-12-08T14:30+14:01
bad --at 2026-12-08T14:30+01:60
bad --at 2026-12-08T14:30+0100
bad --at 2026-13-08T14:30Z
bad --at 2026-02-31T14:30Z
bad --at 2025-02-29T14:30Z
bad --at 2026-12-08T24:00Z
bad --at 2026-12-08T14:60Z
bad --at 0000-01-01T00:00Z
bad --at 2800-01-01T00:00Z
bad --at 26-12-08T14:30Z
bad --at "2026-12-08T14:30Z "
bad --at 2026-12-08T14:30Z --lang fr
bad --at 2026-12-08T14:30Z --bogus
bad --at 2026-12-08T14:30Z extra
bad --at 2026-12-08T14:30Z --json=yes
run 2 --at 2026-02-31T14:30Z
grep -qF "2026-02-31" "$err" || fail "31 February: message does not name the date"
run 2 --at 2800-01-01T00:00Z
grep -qF "2799" "$err" || fail "year 2800: message does not name the range"

# Leap day and the edges of the year range are accepted.
run 0 --at 2024-02-29T12:00Z
run 0 --at 0001-01-01T00:00Z
run 0 --at 2799-12-31T23:59-14:00

# A place gives the angles and cusps; a city's zone stands for --tz.
run 0 --at 2000-01-01T12:00Z --lat 52.52 --lon "13°24'E" --houses whole-sign
expect_out "Houses: Whole sign" "the system named"
expect_out "    Ascendant " "the Ascendant"
expect_out "    12 " "twelve cusps"
run 0 --at 1985-03-15T14:47 --place Berlin
expect_out "Zone: Europe/Berlin, GMT+1:00 (CET)" "the city's zone for a date without one"
expect_out "Place: Berlin, Germany (DE), 52°31'N 13°25'E (Europe/Berlin)" "the city"
expect_out "Houses: Placidus" "Placidus unless asked"
run 0 --at 2000-01-01T12:00Z --lat 69.65 --lon 18.96 --houses koch --lang de
expect_out "Koch-Häuser sind auf der Breite 69°39'N nicht definiert" "the polar fallback, in German"
expect_out "Houses: Porphyrius" "the cusps are Porphyry's"
run 0 --at 2000-01-01T12:00Z --points nodes,chiron
expect_out "    Mean Node 125.040646  125°2'    5Leo2     r" "the mean node"
expect_out "Chiron" "Chiron"
not_out "Houses" "no houses without a place"
run 0 --at 0600-01-01T12:00Z --points chiron
expect_out "Chiron has no position on January 1, 600: the installed ephemeris files do not cover that date." "Chiron outside its files"
bad --at 2000-01-01T12:00Z --houses placidus
expect_err "--houses needs a place" "houses without a place"
bad --at 2000-01-01T12:00Z --lat 52.5
bad --at 2000-01-01T12:00Z --lat 95 --lon 13
expect_err "--lat: \"95\" is not a latitude" "a latitude out of range"
bad --at 2000-01-01T12:00Z --place Xyzzyqv
expect_err "no place of the atlas begins with 'Xyzzyqv'" "an unknown place"
bad --at 2000-01-01T12:00Z --place Berlin --lat 1 --lon 2
bad --at 2000-01-01T12:00Z --lat 1 --lon 2 --houses topocentric
bad --at 2000-01-01T12:00Z --points lilith

finish_checks
