#!/usr/bin/env bash
# vek-cli find: the stretches where a pattern holds agree with vek-cli compute
# at their dates, the names and options, and refusal of bad arguments.
# Usage: bash find.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks find "$1"

# pattern_count <date> <json key>: the pattern's count of a compute at a date.
pattern_count() {
    "$CLI" compute --world "$1" --json | grep -o "\"$2\":[0-9]*" | cut -d: -f2
}

# The first find of "at least 3 T-squares" has three in the compute of its
# date, and the day before it has fewer.
run 0 --pattern t-square --at-least 3 --from 2000-01-01T12:00Z --to 2003-01-01T00:00Z --first
first=$(head -1 "$out" | cut -d' ' -f1)
[ "$(grep -c '^  T-square: ' "$out")" -ge 3 ] || fail "at least 3: fewer instances listed"
[ "$(pattern_count "$first" t_square)" -ge 3 ] || fail "at least 3: compute at $first disagrees"
run 0 --pattern t-square --from 2000-01-01T12:00Z --to "$first" --at-least 3 --json
expect_out '"stretches":[{"first":"'"${first%+00:00}" "the range ending at the find ends with it"
# One step, to that date (the search steps on from --from): --at-least with
# the compute's own count there finds it, one more finds nothing.
count=$(pattern_count "$first" t_square)
dayBefore=$(date -u -d "${first%+00:00} 1 day ago" +%Y-%m-%dT%H:%MZ)
run 0 --pattern t-square --from "$dayBefore" --to "$first" --at-least "$count" --json
expect_out '"steps":1' "one step"
expect_out '"stretches":[{' "at least $count at a date with $count"
run 0 --pattern t-square --from "$dayBefore" --to "$first" --at-least $((count + 1)) --json
expect_out '"stretches":[]' "at least $((count + 1)) at a date with $count"
before=$(date -u -d "${first%+00:00} 1 day ago" +%Y-%m-%dT%H:%MZ)
[ "$(pattern_count "$before" t_square)" -lt 3 ] || fail "at least 3: the day before already has three"

# Without --at-least one instance suffices; every stretch's first and last
# step show the pattern in the compute, the step before a stretch does not.
run 0 --pattern grand-trine --from 2001-01-01T12:00Z --to 2001-04-01T00:00Z --json
stretches=$(grep -o '"first":"[^"]*","last":"[^"]*"' "$out")
[ -n "$stretches" ] || fail "grand trines: no stretch in three months"
while read -r line; do
    f=$(echo "$line" | cut -d'"' -f4)
    l=$(echo "$line" | cut -d'"' -f8)
    # Daily steps from 12:00 Z: every stretch begins and ends on a step.
    case "$f $l" in *T12:00+00:00\ *T12:00+00:00) ;; *) fail "stretch $f .. $l is off the steps" ;; esac
    [ "$(pattern_count "${f%+00:00}Z" grand_trine)" -ge 1 ] || fail "grand trine not at $f"
    [ "$(pattern_count "${l%+00:00}Z" grand_trine)" -ge 1 ] || fail "grand trine not at $l"
    b=$(date -u -d "${f%+00:00} 1 day ago" +%Y-%m-%dT%H:%MZ)
    if [ "$b" != "2001-01-01T12:00Z" ]; then
        [ "$(pattern_count "$b" grand_trine)" -eq 0 ] || fail "grand trine already at $b"
    fi
done <<<"$stretches"

# German and English names and the ASCII aliases name the same pattern.
run 0 --pattern grand-trine --from 2001-01-01T12:00Z --to 2001-04-01T00:00Z
cp "$out" "$tmp/alias"
run 0 --pattern "Großes Trigon" --from 2001-01-01T12:00Z --to 2001-04-01T00:00Z
cmp -s "$out" "$tmp/alias" || fail "German name gives other stretches"
run 0 --pattern "grand trine" --from 2001-01-01T12:00Z --to 2001-04-01T00:00Z
cmp -s "$out" "$tmp/alias" || fail "English name gives other stretches"

# Steps, four-digit years and the local zone of --from.
run 0 --pattern stellium3 --from 0999-05-01T12:00+01:00 --to 1000-05-01T12:00Z --step 1mo --json
expect_out '"steps":12' "monthly steps in a year"
expect_out '"first":"0999-' "four-digit year"
expect_out '+01:00"' "zone of --from"
run 0 --pattern t-square --from 2000-01-01T12:00Z --to 2000-01-02T12:00Z --step 30m --json
expect_out '"steps":48' "half-hour steps in a day"

# The end of the accepted dates ends the search with a note.
run 0 --pattern t-square --from 2799-12-30T12:00Z --to 2799-12-31T23:00Z --json
expect_out '"steps":1,"date_limit_reached":false' "last day, the range searched whole"

# A last step on 2799-12-31 that ends the requested range tests every step
# asked for: no note. A refused step inside the range gets the note, every
# part of it in the language of --lang.
run 0 --pattern t-square --from 2799-12-30T12:00Z --to 2799-12-31T12:00Z
[ -s "$err" ] && fail "a range ending on 2799-12-31 warns: $(cat "$err")"
run 0 --pattern t-square --from 2799-12-31T12:00Z --to 2799-12-31T23:00-12:00 --step 30m --lang de
expect_err "Die Suche endet dort." "German end of the dates"
grep -qF "search ends" "$err" && fail "English in the German note: $(cat "$err")"
grep -qF ".;" "$err" && fail "stray '.;' in the note: $(cat "$err")"
run 0 --pattern t-square --from 2799-12-31T12:00Z --to 2799-12-31T23:00-12:00 --step 30m
expect_err "The search ends there." "English end of the dates"
run 0 --pattern t-square --from 2799-12-31T12:00Z --to 2799-12-31T23:00-12:00 --step 30m --json
expect_out '"date_limit_reached":true' "JSON says the dates ended the search"
expect_err "The search ends there." "JSON: the note on stderr too"

# An error in a date names its option.
bad --pattern kite --from 2000-13-01T12:00Z --to 2000-02-01T00:00Z
expect_err "--from" "bad --from"
grep -qF -- "--world" "$err" && fail "bad --from names --world: $(cat "$err")"
bad --pattern kite --from 2000-01-01T12:00Z --to 2000-02-31T00:00Z
expect_err "--to" "bad --to"

# --first says it stopped at the first step of the stretch.
run 0 --pattern stellium3 --from 2000-01-01T12:00Z --to 2001-01-01T12:00Z --first
expect_out "(first step only)" "--first"
not_out "(1 step)" "--first"

# Each stretch is written as it is found: a long search cut off keeps the
# stretches found so far, also when its output goes to a file.
"$CLI" find --pattern midpoint --from 1600-01-01T12:00Z --to 2799-12-31T12:00Z --step 30m \
    >"$tmp/long" 2>/dev/null &
pid=$!
for _ in $(seq 200); do  # at most 20 s
    [ -s "$tmp/long" ] && break
    sleep 0.1
done
kill $pid 2>/dev/null  # a script's background job ignores SIGINT
wait $pid 2>/dev/null
[ -s "$tmp/long" ] || fail "nothing of a search cut off reached its file"
grep -q '^1600-.* \.\. 1600-.*  ([0-9]* steps\?)$' "$tmp/long" || fail "no whole stretch line: $(head -2 "$tmp/long")"
# On a terminal the search shows its progress on stderr, and wipes it.
if command -v script >/dev/null; then
    script -qec "'$CLI' find --pattern grand-trine --from 2000-01-01T12:00Z --to 2400-01-01T12:00Z >/dev/null" \
        "$tmp/typescript" >/dev/null 2>&1
    grep -qaE "[0-9]+ of 400 years searched, [0-9]+ found" "$tmp/typescript" ||
        fail "no progress on a terminal: $(tr '\r' '\n' <"$tmp/typescript" | tail -3)"
fi
# Without a terminal there is none.
run 0 --pattern grand-trine --from 2000-01-01T12:00Z --to 2100-01-01T12:00Z
[ -s "$err" ] && fail "progress without a terminal: $(head -c 200 "$err")"

# Personal transits never find a pattern.
run 0 --pattern t-square --mode personal1 --birth1 1960-01-01T12:00Z \
    --from 2000-01-01T12:00Z --to 2001-01-01T00:00Z
expect_out "Not found." "personal transits"

bad --pattern bogus --from 2000-01-01T12:00Z --to 2000-02-01T00:00Z
bad --pattern kite --from 2000-01-01T12:00Z
bad --pattern kite --to 2000-01-01T12:00Z
bad --pattern kite --from 2000-01-01T12:00Z --to 2000-02-01T00:00Z --step 2d
bad --pattern kite --from 2000-01-01T12:00Z --to 2000-02-01T00:00Z --at-least 0
bad --pattern kite --from 2000-01-01T12:00Z --to 2000-02-01T00:00Z --at-least 12
bad --pattern kite --from 2000-01-01T12:00Z --to 1999-02-01T00:00Z
bad --pattern kite --world 2000-01-01T12:00Z --to 2000-02-01T00:00Z
bad --pattern kite --from 2000-01-01T12:00Z --to 2000-02-01T00:00Z --mode synastry
bad --pattern kite --from 2000-13-01T12:00Z --to 2000-02-01T00:00Z

finish_checks
