#!/usr/bin/env bash
# vek-cli durations: the durations list of world and personal transits, its
# orders, "Show duration", JSON, unknown dates at the end of the Pluto table,
# and rejection of bad arguments with exit status 2.
# Usage: bash durations.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks durations "$1"

W1990="--world 1990-01-01T12:00Z"

# The title line, an empty line, then one line per aspect by exactness.
run 0 $W1990
[ "$(head -1 "$out" | cut -c1-47)" = "World transits on January 1, 1990, 12:00 (GMT)." ] ||
    fail "title line: $(head -1 "$out")"
[ -z "$(sed -n 2p "$out")" ] || fail "second line not empty"
expect_out "Dates are local dates in the time zone of the World date." "world title ends"
expect_out "Saturn  conjunct (3°37')      Neptune from October 15, 1988,   to April 3, 1990      (1 year, 171 days)" "Saturn-Neptune"
expect_out "(Moon: about " "Moon estimate"
lines=$(tail -n +3 "$out" | wc -l)
[ "$lines" -ge 10 ] || fail "expected at least 10 aspect lines, got $lines"
# Sorted by deviation: the angles in parentheses never decrease.
tail -n +3 "$out" | sed -E "s/^[^(]*\(([0-9]+)°([0-9]+)'\).*/\1 \2/" |
    awk 'NR > 1 && ($1 * 60 + $2) < prev { bad = 1 } { prev = $1 * 60 + $2 } END { exit bad }' ||
    fail "default order is not by deviation"

# --sort 5: by end date, without the Moon's lines; "Show duration" comes back on.
run 0 $W1990 --sort 5 --no-duration
not_out "Moon" "end order"
[ "$(tail -n +3 "$out" | wc -l)" -lt "$lines" ] || fail "end order kept the Moon's lines"
expect_out " from " "end order shows durations"
# --no-duration with another order: bodies and aspects only.
run 0 $W1990 --sort 0 --no-duration
not_out " from " "--no-duration"
expect_out "Moon" "first-body order keeps the Moon"
[ "$(sed -n 3p "$out" | cut -c1-3)" = "Sun" ] || fail "first-body order starts with the Sun"

# JSON: fields of every line, ISO dates, durations in days.
run 0 $W1990 --json
expect_out '"mode":"world"' "json mode"
expect_out '"sort":2' "json sort"
expect_out '"show_duration":true' "json show duration"
expect_out '"first":{"index":6,"name":"Saturn","date":"world"},"second":{"index":8,"name":"Neptune","date":"world"},"aspect":{"index":1,"name":"Conjunction"}' "json bodies"
expect_out '"beginning":"1988-10-15","end":"1990-04-03","duration_days":536' "json dates"
expect_out '"moving_moon":true,"beginning":null,"end":null,"duration_days":null' "json Moon"
if command -v python3 >/dev/null; then
    python3 - "$out" <<'PY' || fail "JSON does not parse or does not add up"
import json, math, sys, datetime
d = json.load(open(sys.argv[1]))
assert d["lines"], "no lines"
for l in d["lines"]:
    if l["moving_moon"]:
        continue
    b = datetime.date.fromisoformat(l["beginning"])
    e = datetime.date.fromisoformat(l["end"])
    assert (e - b).days + 1 == l["duration_days"], l
    assert b <= datetime.date(1990, 1, 1) <= e, l
for l in d["lines"]:
    assert abs(l["deviation_degrees"] - l["deviation"] * 180 / math.pi) < 1e-6, l
PY
fi

# Personal transits: the first body is the natal one, the second the
# transiting one, as the lines name them.
run 0 --mode personal1 --world 2026-12-08T12:00Z --birth1 1960-07-04T12:00-05:00 --json
python3 - "$out" <<'PY' || fail "JSON bodies of personal transits are not those of the lines"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["lines"], "no lines"
for l in d["lines"]:
    f, s = l["first"], l["second"]
    assert (f["date"], s["date"]) == ("birth1", "world"), l
    assert l["text"].startswith("tr." + s["name"] + " "), l
    assert " nat." + f["name"] + " " in l["text"], l
    assert l["moving_moon"] == (s["index"] == 10), l
PY

# Personal transits at the end of the Pluto table: the end is unknown.
run 0 --mode personal1 --world 2099-07-01T12:00Z --birth1 2099-07-01T12:00Z
expect_out "Personal transits to the natal chart of July 1, 2099, 12:00 (GMT) on July 1, 2099, 12:00 (GMT)." "personal title"
grep -E "^tr\.Pluto +conjunct \(0°0'\) +nat\.Pluto +from [A-Z][a-z]+ [0-9]+, 209[89], +to unknown *$" "$out" >/dev/null ||
    fail "Pluto's end is not unknown: $(grep 'tr.Pluto' "$out")"
run 0 --mode personal1 --world 2099-07-01T12:00Z --birth1 2099-07-01T12:00Z --json
expect_out '"end":null,"duration_days":null' "json unknown end"
# Without its dates an entry still has the three instant fields, empty.
expect_out '"duration_days":null,"enters_orb":null,"exact":[],"leaves_orb":null' "json unknown instants"

# JSON dates are ISO 8601 with four-digit years.
run 0 --mode world --world 0999-06-01T12:00Z --json
expect_out '"beginning":"0999-0' "four-digit year"
grep -q '"beginning":"[0-9]\{1,3\}-' "$out" && fail "JSON date with fewer than four year digits"

# German wording, and no Moon when it is excluded.
run 0 $W1990 --lang de --no-moon
expect_out "Welttransite am 1.Januar 1990, 12:00 (GMT)." "German title"
expect_out " von " "German from"
expect_out " bis " "German to"
not_out "Mond" "--no-moon"

# By beginning date, with the Moon's lines left out.
run 0 $W1990 --sort 4
not_out "Moon" "beginning order"
expect_out " from " "beginning order"

# Bad arguments: status 2, nothing on stdout, one line on stderr.
bad $W1990 --sort 7
bad $W1990 --sort -1
bad $W1990 --sort 22
bad $W1990 --sort x
bad $W1990 --sort
bad --mode natal1 --birth1 1971-08-21T12:00Z
bad --mode synastry --birth1 1971-08-21T12:00Z --birth2 1980-02-02T06:30Z
bad --world 1990-01-01T12:15Z
bad --world 1990-02-30T12:00Z
bad --mode personal1 --world 1990-01-01T12:00Z
bad $W1990 --bogus

# --exact: every line as without it, padded to the longest and followed by
# its exact passes (the window's "Exact times"), and below it its instants in
# the World date's zone, the Moon's too. The Saturn–Neptune conjunction of
# 1989 perfected three times (March, June and November).
run 0 $W1990
cp "$out" "$tmp/plain"
run 0 $W1990 --exact
grep -v '^    ' "$out" >"$tmp/exactlines"
[ "$(wc -l <"$tmp/exactlines")" -eq "$(wc -l <"$tmp/plain")" ] || fail "--exact: not one line per aspect"
paste -d '\n' "$tmp/plain" "$tmp/exactlines" | awk '
    NR % 2 == 1 { p = $0; next }
    { if (substr($0, 1, length(p)) != p) bad = 1
      rest = substr($0, length(p) + 1)
      if (NR > 4 && rest !~ /^ +(exact [12][0-9][0-9][0-9]-|not exact in this pass$|unknown$)/) bad = 1
      if (NR > 4) { c = index($0, "  exact ") + index($0, "  not exact") + index($0, "  unknown")
                    if (col && c != col) bad = 1; col = c } }
    END { exit bad }' || fail "--exact: the lines are not the plain ones with a column of exact passes"
grep '^Saturn  conjunct.*Neptune' "$out" |
    grep -qE '  exact 1989-0[3-4][^,]*, 1989-0[6-7][^,]*, 1989-1[01][^,]*$' ||
    fail "--exact: Saturn-Neptune column: $(grep '^Saturn  conjunct.*Neptune' "$out")"
[ "$(grep -c '^    enters the orb ' "$out")" -eq "$(tail -n +3 "$tmp/plain" | wc -l)" ] ||
    fail "--exact: not one line of instants per aspect"
grep -A1 '^Saturn  conjunct.*Neptune' "$out" | tail -1 |
    grep -qE '^    enters the orb 1988-10-1[45]T[0-9:]{5}\+00:00, exact 1989-0[3-4].*, exact 1989-0[6-7].*, exact 1989-1[01].*, leaves the orb 1990-04-0[23]T' ||
    fail "--exact: Saturn-Neptune: $(grep -A1 '^Saturn  conjunct.*Neptune' "$out" | tail -1)"
grep -A1 'Moon' "$out" | grep -q '^    enters the orb 19' || fail "--exact: the Moon's instants"
run 0 $W1990 --exact --sort 7
grep -v '^    ' "$out" | tail -n +3 | grep -oE '  exact [0-9T:+-]{22}' | cut -c9- |
    sort -c || fail "--sort 7: not by the first exact pass"
bad $W1990 --sort 7
run 0 --world 2026-03-29T12:00 --tz Europe/Berlin --exact --lang de
expect_out "    tritt in den Orbis " "German words"
grep -q '+02:00, exakt 2026' "$out" || fail "--exact: summer time offset of the instants"
# JSON always has them, as ISO instants with the offset.
run 0 $W1990 --json
grep -qE '"enters_orb":"1988-10-1[45]T[0-9]{2}:[0-9]{2}\+00:00","exact":\["1989-0' "$out" ||
    fail "json exact instants"

# Points: their aspects follow the table's, whose lines stay (in a name
# column as wide as the points' names). With one-day steps the walk's days
# are the local days of the instants the crossing search finds, for the
# moving points (world) and the natal ones (personal) alike; the moving
# Moon's lines have instants but no dates.
W2026="--world 2026-12-08T12:00Z"
P1960="--mode personal1 $W2026 --birth1 1960-07-04T12:00-05:00"
# The lunar eclipse of 3 March 2026: the Moon opposite the nodes.
for args in "$W2026" "$P1960" "--world 2026-03-03T12:00Z"; do
    run 0 $args
    tail -n +3 "$out" | tr -s ' ' | sort >"$tmp/bodies.txt"
    run 0 $args --points nodes,chiron
    tail -n +3 "$out" | grep -vE 'Node|Chiron' | tr -s ' ' | sort | cmp -s - "$tmp/bodies.txt" ||
        fail "$args: the table's lines changed with --points"
    grep -qE 'Node|Chiron' "$out" || fail "$args: no line of a point"
    run 0 $args --points nodes,chiron --json
    python3 - "$out" <<'PY' || fail "$args: json with points"
import json, sys
d = json.load(open(sys.argv[1]))
personal = d["mode"] == "personal1"
lines = [l for l in d["lines"] if "point" in l["first"] or "point" in l["second"]]
assert len(lines) >= 3, len(lines)
moon = [l for l in lines if l["moving_moon"]]
assert moon or "2026-03-03" not in d["title"] and "March 3, 2026" not in d["title"], "no Moon line"
for l in lines:
    point = l["first"] if personal else l["second"]
    body = l["second"] if personal else l["first"]
    assert "point" in point and "point" not in body, l["text"]
    assert point["index"] == {"mean-node": 11, "true-node": 12, "chiron": 13}[point["point"]]
    assert point["date"] == ("birth1" if personal else "world")
    assert l["moving_moon"] == (body["index"] == 10), l["text"]
    if l["moving_moon"]:
        assert l["beginning"] is None and l["enters_orb"], l["text"]
        continue
    assert l["beginning"] and l["end"], l["text"]
    assert l["enters_orb"][:10] == l["beginning"], (l["text"], l["enters_orb"])
    assert l["leaves_orb"][:10] == l["end"], (l["text"], l["leaves_orb"])
    assert all(l["enters_orb"] <= x <= l["leaves_orb"] for x in l["exact"]), l["text"]
PY
done

finish_checks
