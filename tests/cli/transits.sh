#!/usr/bin/env bash
# vek-cli transits: a year of exact transits to a birth chart and a month
# among the moving bodies, in time order, in the zone of --from; JSON with the
# same instants; bad spans refused with status 2.
# Usage: bash transits.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks transits "$1"

YEAR="--from 2026-01-01T00:00Z --to 2027-01-01T00:00Z --birth 1960-07-04T12:00-05:00"

# One line per exact aspect, every line an instant and names, in time order.
run 0 $YEAR
lines=$(wc -l <"$out")
[ "$lines" -gt 1500 ] || fail "a year to a birth chart: only $lines lines"
grep -vqE '^2026-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}\+00:00  [A-Z]' "$out" &&
    fail "a line without an instant: $(grep -vE '^2026-' "$out" | head -1)"
cut -c1-16 "$out" | sort -c || fail "the lines are not in time order"
# The solar return: the transiting Sun conjunct the natal Sun once a year,
# around the birthday.
returns=$(grep -cE '  Sun \(transit\) +Conjunction +Sun \(natal\)$' "$out")
[ "$returns" -eq 1 ] || fail "solar returns in a year: $returns"
grep -qE '^2026-07-0[345]T.*Sun \(transit\) +Conjunction +Sun \(natal\)' "$out" ||
    fail "the solar return is not near the birthday"
# Retrograde passes are marked; Mercury turns three times a year.
grep -qE 'Mercury \(transit\).*  r$' "$out" || fail "no retrograde pass of Mercury"
# The Moon meets each natal point once a sidereal month: 13 or 14 conjunctions.
moon=$(grep -cE '  Moon \(transit\) +Conjunction +Mars \(natal\)$' "$out")
[ "$moon" -ge 13 ] && [ "$moon" -le 14 ] || fail "Moon conjunct natal Mars $moon times in a year"

# JSON: the same instants.
run 0 $YEAR --json
python3 - "$out" "$lines" <<'PY' || fail "json"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["schema_version"] == 1 and d["mode"] == "personal", d.get("mode")
assert len(d["exact"]) == int(sys.argv[2]), len(d["exact"])
jds = [x["jd_ut"] for x in d["exact"]]
assert jds == sorted(jds)
first = d["exact"][0]
assert first["instant"].startswith("2026-01-0") and first["other"]["natal"] is True
PY

# Among the moving bodies, in a named zone: the great conjunction of Jupiter
# and Saturn on 21 December 2020, in Berlin's winter time.
run 0 --from '2020-12-01T00:00[Europe/Berlin]' --to 2021-01-01T00:00Z --no-moon --lang de
expect_out "Zone: Europe/Berlin" "zone line"
grep -qE '^2020-12-21T[0-9:]{5}\+01:00  Jupiter +Konjunktion +Saturn$' "$out" ||
    fail "the great conjunction: $(grep 'Jupiter.*Saturn' "$out")"
not_out "Mond" "--no-moon"

# Points: the lines of the bodies stay (their r column moves out past the
# points' longer names), and the moving bodies aspect the
# natal nodes and Chiron. The Sun passes each natal point once a year, the
# Moon once a draconic month; the list stays in time order.
run 0 $YEAR --no-moon
tr -s ' ' <"$out" >"$tmp/bodies.txt"
run 0 $YEAR --no-moon --points nodes,chiron
grep -vE '(Node|Chiron) \(natal\)' "$out" | tr -s ' ' | cmp -s - "$tmp/bodies.txt" ||
    fail "the bodies' lines changed with --points"
cut -c1-16 "$out" | sort -c || fail "the lines with points are not in time order"
for p in "Mean Node" "True Node" "Chiron"; do
    n=$(grep -cE "  Sun \(transit\) +Conjunction +$p \(natal\)\$" "$out")
    [ "$n" -eq 1 ] || fail "Sun conjunct natal $p $n times in a year"
done
# The moving points: the Moon meets the true node 13 or 14 times a year, and
# the Sun the mean node once, in the eclipse season of late winter 2026.
run 0 --from 2026-01-01T00:00Z --to 2027-01-01T00:00Z --points nodes --lang de
moon=$(grep -cE '  Mond +Konjunktion +Wahrer Mondknoten$' "$out")
[ "$moon" -ge 13 ] && [ "$moon" -le 14 ] || fail "Moon conjunct the true node $moon times"
grep -qE '^2026-0[23]-.*  Sonne +Konjunktion +Mittlerer Mondknoten$' "$out" ||
    fail "the Sun's conjunction with the mean node: $(grep 'Sonne +Konj.*Mittl' "$out")"
run 0 --from 2026-01-01T00:00Z --to 2026-01-15T00:00Z --points true-node,chiron --json
python3 - "$out" <<'PY' || fail "json with points"
import json, sys
d = json.load(open(sys.argv[1]))
points = [x for x in d["exact"] if "point" in x["other"]]
assert points, "no point in the list"
assert {x["other"]["point"] for x in points} == {"true-node", "chiron"}
assert all(x["other"]["index"] == {"true-node": 12, "chiron": 13}[x["other"]["point"]]
           and x["other"]["natal"] is False for x in points)
jds = [x["jd_ut"] for x in d["exact"]]
assert jds == sorted(jds)
PY
bad --from 2026-01-01T00:00Z --to 2026-02-01T00:00Z --points nodes,lilith
expect_err '"lilith" is not a point' "the unknown point named"

# Bad spans and dates: one line, status 2.
bad --from 2026-01-01T00:00Z
bad --from 2026-01-01T00:00Z --to 2025-01-01T00:00Z
bad --from 2099-06-01T00:00Z --to 2100-06-01T00:00Z
bad --from 1900-01-01T00:00Z --to 2010-01-01T00:00Z
bad --from 2026-01-01T00:00Z --to 2026-02-01T00:00Z --birth 1960-13-04T12:00Z
expect_err "--birth" "the option named"

finish_checks
