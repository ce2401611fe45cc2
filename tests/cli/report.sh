#!/usr/bin/env bash
# vek-cli report: the natal report of natal aspects and the synastry report,
# as text and JSON, in English and German, and rejection of bad arguments.
# Usage: bash report.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks report "$1"

B1="--birth1 1971-08-21T12:00+01:00"
B2="--birth2 1980-02-02T06:30-05:00"

# Natal aspects: heading, the two closest as sentences, the rest, the counts
# and the patterns.
run 0 --mode natal1 $B1
expect_out "Natal aspects report for 1st birthdate August 21, 1971, 12:00 (GMT+1:00)." "natal title"
expect_out "There are twenty two aspects in this natal chart." "heading"
expect_out "The closest aspect is Sun (28° in Leo) square Jupiter (28° in Scorpio), exact to the arc minute." "closest, exact"
expect_out "The next closest is Sun (28° in Leo) semisextile Pluto (28° in Virgo), 0°37' from exact." "next closest"
expect_out "The remaining aspects, from the closest to the widest:" "remaining"
expect_out "There are six conjunctions, two oppositions, eight squares, two trines, two sextiles, two semisextiles and no quincunxes." "counts"
expect_out "There are two T-squares:" "T-squares"
expect_out "There is one midpoint: Mars-Saturn-Pluto" "midpoint"
expect_out "These are all the aspect patterns of the chart." "patterns end"
# Every aspect sentence ends with its distance from exact, widest last.
[ "$(grep -c ' from exact\.$\|exact to the arc minute\.$' "$out")" -eq 22 ] || fail "expected 22 aspect sentences"

# Without the Moon there are fewer aspects.
run 0 --mode natal1 $B1 --no-moon
expect_out "There are sixteen aspects in this natal chart." "heading without the Moon"
not_out "Moon" "--no-moon"

# The 2nd birthdate, in German.
run 0 --mode natal2 $B2 --lang de
expect_out "Bericht über die Radix-Aspekte für 2. Geburtsdatum 2.Februar 1980, 06:30 (GMT-5:00)." "German natal title"
expect_out "In diesem Radix gibt es zwanzig Aspekte." "German heading"
expect_out "Der engste Aspekt ist Neptun (22° in Schütze) Sextil Pluto (22° in Waage), 0°13' vom exakten Winkel entfernt." "German closest"

# Synastry: markers (1) and (2), counts, no patterns.
run 0 --mode synastry $B1 $B2
expect_out "Synastry report between 1st birthdate August 21, 1971, 12:00 (GMT+1:00) and 2nd birthdate February 2, 1980, 06:30 (GMT-5:00)." "synastry title"
expect_out "There are twelve aspects in this synastry." "synastry heading"
expect_out "The closest aspect is Pluto(1) (28° in Virgo) semisextile Moon(2) (28° in Leo), 0°17' from exact." "synastry closest"
not_out "pattern" "synastry has no patterns"
run 0 --mode synastry $B1 $B2 --lang de
expect_out "In dieser Synastrie gibt es zwölf Aspekte." "German synastry heading"

# JSON: the title, the report text and the lines closest first.
run 0 --mode natal1 $B1 --json
expect_out '"mode":"natal1"' "json mode"
expect_out '"report":"There are twenty two aspects in this natal chart.\n\nThe closest aspect is' "json report"
expect_out '"lines":[{"first":{"index":1,"name":"Sun","date":"birth1"},"second":{"index":5,"name":"Jupiter","date":"birth1"},"aspect":{"index":3,"name":"Square"},"deviation":' "json first line"
not_out '"beginning"' "json natal lines carry no dates"
if command -v python3 >/dev/null; then
    python3 - "$out" <<'PY' || fail "JSON does not parse or does not add up"
import json, sys
d = json.load(open(sys.argv[1]))
devs = [l["deviation"] for l in d["lines"]]
assert len(devs) == 22 and devs == sorted(devs), devs
PY
fi

# Bad arguments: status 2, nothing on stdout, one line on stderr.
bad --world 1990-01-01T12:00Z
bad --mode personal1 --world 1990-01-01T12:00Z $B1
bad --mode natal1
bad --mode natal1 --birth1 1971-02-29T12:00Z
bad --mode synastry $B1
bad --mode natal3 $B1
bad --mode natal1 $B1 --sort 2
# A state file whose World date is incomplete (no year): the one error, no
# warning about showing world transits first.
state="$(dirname "$0")/../testdata/state/expected.vek"
nodate=$(mktemp)
sed '3s/.*/\r/' "$state" >"$nodate"
bad --state "$nodate"
grep -qF "World date is incomplete" "$err" || fail "state without World date: $(cat "$err")"
sed '3s/.*/\r/;17s/.*/#TRUE#\r/;19s/.*/#FALSE#\r/;8s/.*/\r/' "$state" >"$nodate"
bad --state "$nodate"
grep -qF "1st birthdate is incomplete" "$err" || fail "natal state without birthdate: $(cat "$err")"
rm -f "$nodate"

finish_checks
