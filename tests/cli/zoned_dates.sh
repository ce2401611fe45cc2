#!/usr/bin/env bash
# Dates in named zones and through --tz/--fold in the commands on the date
# rows (compute, chart, durations, report, find): the same instant as the
# fixed offset in force then, the zones named in the output and in the titles
# as the window's rows name them, minutes and offsets the lists lack computed
# at their own instant, the local days of the zone across a change of
# daylight saving, and bad input refused in one line.
# Usage: bash zoned_dates.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks compute "$1"

# The output without the lines that name the zones, the JSON without its
# "zones" key and the titles without the zone's name: what the fixed offset
# in force gives.
strip_zones() {
    grep -v '^Zone of --' "$out" | sed -E 's/"zones":\[[^]]*\],//; s/\([A-Za-z_]+\/[A-Za-z_/+-]+, GMT/(GMT/g'
}
same_as() {  # same_as <what> <args...>: the last output, zones left out, equals that of args
    local mine
    mine=$(strip_zones)
    "$CLI" "$COMMAND" "${@:2}" >"$tmp/fixed" 2>&1 || fail "$1: the fixed form failed: $(cat "$tmp/fixed")"
    [ "$mine" = "$(cat "$tmp/fixed")" ] || fail "$1: differs from ${*:2}: $(diff <(echo "$mine") "$tmp/fixed" | head -5)"
}

# Berlin is +1:00 in March 1985 and +2:00 in July: a named zone gives the
# results of that offset, and names the zone and the offset.
run 0 --mode natal1 --birth1 "1985-03-15T14:30[Europe/Berlin]" --json
expect_out '"mode":"natal1","zones":[{"option":"birth1","zone":"Europe/Berlin","offset":"GMT+1:00","offset_seconds":3600,"abbreviation":"CET"}],"title"' "zone in JSON"
same_as "winter" --mode natal1 --birth1 1985-03-15T14:30+01:00 --json
run 0 --mode synastry --birth1 "1985-07-15T14:30[Europe/Berlin]" --birth2 1985-07-15T09:00 --tz America/New_York
expect_out "Zone of --birth1: Europe/Berlin, GMT+2:00 (CEST)" "summer time named"
expect_out "Zone of --birth2: America/New_York, GMT-4:00 (EDT)" "--tz named"
same_as "summer and --tz" --mode synastry --birth1 1985-07-15T14:30+02:00 --birth2 1985-07-15T09:00-04:00
# An explicit offset wins over --tz and prints as always.
run 0 --mode world --world 2000-01-01T12:00Z --tz Europe/Berlin
not_out "Zone of" "a fixed offset names no zone"

# A minute and an offset the rows lack are computed at their own instant:
# the Julian date of vek-cli positions, which takes any minute.
run 0 --mode natal1 --birth1 "1985-03-15T14:47[Europe/Berlin]" --json
expect_out '"date_jd":[0.000000,2446140.074306,0.000000]' "14:47 in Berlin"
run 0 --mode personal1 --world "2026-12-08T12:00[Asia/Kathmandu]" --birth1 1890-06-01T12:00 --tz Europe/Berlin --json
# 12:00 at +5:45 is 06:15 UT; 12:00 Berlin local mean time (+0:53:28) is 11:06:32 UT.
expect_out '"date_jd":[2461382.760417,2411519.962870,0.000000]' "Kathmandu and local mean time"
expect_out '"offset":"GMT+0:53:28","offset_seconds":3208,"abbreviation":"LMT"' "local mean time named"

COMMAND=report
run 0 --mode natal1 --birth1 "1985-03-15T14:47[Europe/Berlin]"
expect_out "Natal aspects report for 1st birthdate March 15, 1985, 14:47 (Europe/Berlin, GMT+1:00)." "report title at the minute"
run 0 --mode natal1 --birth1 "1985-03-15T14:30[Europe/Berlin]"
same_as "report in a named zone" --mode natal1 --birth1 1985-03-15T14:30+01:00
# An offset the lists lack, given as an offset through --tz, is named as one.
run 0 --mode natal1 --birth1 1986-06-01T12:00 --tz +05:45
expect_out "Natal aspects report for 1st birthdate June 1, 1986, 12:00 (GMT+5:45)." "a fixed offset off the lists"

# The durations walk the local days of the zone. Venus leaves its sextile to
# Uranus between 22:00 and 23:00 UT on 31 March 2024, just after Berlin went
# to summer time: 00:00..01:00 CEST on 1 April. From a World date in winter
# time the fixed +1:00 ends it on 31 March; Berlin's local days on 1 April.
COMMAND=durations
run 0 --mode world --world "2024-03-26T12:00[Europe/Berlin]"
expect_out "Zone of --world: Europe/Berlin, GMT+1:00 (CET)" "durations zone"
expect_out "World transits on March 26, 2024, 12:00 (Europe/Berlin, GMT+1:00)." "durations title"
grep -E '^Venus +sextile.*Uranus +from March 25, 2024, +to April 1, 2024 +\(8 days\)' "$out" >/dev/null ||
    fail "Venus sextile Uranus ends on Berlin's 1 April: $(grep Uranus "$out")"
run 0 --mode world --world "2024-03-26T12:00+01:00"
grep -E '^Venus +sextile.*Uranus +from March 25, 2024, +to March 31, 2024 +\(7 days\)' "$out" >/dev/null ||
    fail "with the fixed +1:00 it ends on 31 March: $(grep Uranus "$out")"
run 0 --mode world --world 2024-03-26T12:00 --tz Europe/Berlin --json
expect_out '"first":{"index":3,"name":"Venus","date":"world"},"second":{"index":7,"name":"Uranus","date":"world"},"aspect":{"index":5,"name":"Sextile"}' "JSON entry"
grep -qE '"name":"Uranus","date":"world"\},"aspect":\{"index":5,"name":"Sextile"\},[^}]*"end":"2024-04-01"' "$out" ||
    fail "JSON end on 1 April: $(head -c 600 "$out")"
# A World date at a minute: its own title, the days of its date.
run 0 --mode personal1 --world "2026-12-08T12:10[Europe/Berlin]" --birth1 "1986-06-01T12:00[Asia/Kathmandu]"
expect_out "Personal transits to the natal chart of June 1, 1986, 12:00 (Asia/Kathmandu, GMT+5:45) on Dec. 8, 2026, 12:10 (Europe/Berlin, GMT+1:00)." "personal title"

# The chart writes the date at its minute and offset.
COMMAND=chart
run 0 --mode natal1 --birth1 "1985-03-15T14:47[Europe/Berlin]" --out "$tmp/natal.svg"
expect_out "Zone of --birth1: Europe/Berlin, GMT+1:00 (CET)" "chart zone"
grep -q "14:47 GMT+1:00" "$tmp/natal.svg" || fail "chart annotation: no '14:47 GMT+1:00' in the SVG"
grep -q "1985-03-15" "$tmp/natal.svg" || fail "chart annotation: no date in the SVG"

# The find steps the row as the window's run does, at any minute and offset.
COMMAND=find
run 0 --pattern kite --from "2026-01-01T12:00[Europe/Berlin]" --to "2026-03-01T12:10[Europe/Berlin]" --first
expect_out "Zone of --from: Europe/Berlin, GMT+1:00 (CET)" "find --from zone"
expect_out "Zone of --to: Europe/Berlin, GMT+1:00 (CET)" "find --to zone"
expect_out "+01:00 .. " "find steps at the offset of --from"
# In a named zone the steps go in its local time: a day is the same clock
# time the next day, in summer time after 29 March; half an hour is half an
# hour of real time, so the clocks jump from 01:30 to 03:00.
run 0 --pattern stellium3 --from "2026-03-20T12:00[Europe/Berlin]" --to "2026-04-02T12:00[Europe/Berlin]"
expect_out "2026-03-21T12:00+01:00 .. 2026-04-01T12:00+02:00  (12 steps)" "days across the change"
run 0 --pattern stellium3 --from 2026-03-20T12:00+01:00 --to "2026-04-02T12:00[Europe/Berlin]"
expect_out "2026-03-21T12:00+01:00 .. 2026-04-01T12:00+01:00  (12 steps)" "a fixed offset stays"
run 0 --pattern stellium3 --from 2026-03-29T00:00 --to 2026-03-29T05:00 --tz Europe/Berlin --step 30m --json
expect_out '"first":"2026-03-29T00:30+01:00","last":"2026-03-29T05:00+02:00","first_jd":2461128.479167,"last_jd":2461128.625000,"steps":8' "half hours across the change"
run 0 --pattern stellium3 --from "2026-03-20T12:10[Europe/Berlin]" --to "2026-04-02T12:00[Europe/Berlin]"
expect_out "2026-03-21T12:10+01:00 .. 2026-04-01T12:10+02:00  (12 steps)" "find --from at a minute"
run 0 --pattern stellium3 --from "2026-03-20T12:00[Asia/Kathmandu]" --to 2026-03-23T00:00Z --json
expect_out '"first":"2026-03-21T12:00+05:45","last":"2026-03-22T12:00+05:45"' "find --from at +5:45"
run 0 --pattern stellium3 --from "2026-03-20T12:00[Pacific/Kiritimati]" --to 2026-03-22T00:00Z --step 30m --json
expect_out '"first":"2026-03-20T12:30+14:00",' "find --from at +14:00"

# Bad input: one line, status 2, nothing on stdout.
COMMAND=compute
for b in "1985-03-15T14:47[Europe/Berln]" "1985-03-15T14:47[Europe/Berlin" "1985-03-15T14:47Europe/Berlin]" \
         "1985-03-15T25:00[Europe/Berlin]" "1985-03-15T14:47[]" "1985-02-30T14:47[Europe/Berlin]"; do
    bad --mode natal1 --birth1 "$b"
done
bad --mode natal1 --birth1 "1985-03-15T14:47[Europe/Berln]"
expect_err "vek-cli compute: --birth1: unknown time zone" "unknown zone"
bad --mode natal1 --birth1 1985-03-15T14:47 --tz "Europe/Berlin]"
expect_err "--tz: unknown time zone" "--tz unknown"
bad --mode natal1 --birth1 1985-03-15T14:47 --tz +14:30
bad --mode natal1 --birth1 1985-03-15T14:47 --tz Europe/Berlin --fold sideways
# The gap and overlap of Berlin in 1980: refused until --fold chooses.
bad --mode world --world "1980-04-06T02:30[Europe/Berlin]"
expect_err "vek-cli compute: --world: 1980-04-06 02:30 does not exist in Europe/Berlin" "gap"
expect_err "choose one with --fold earlier or --fold later" "gap names --fold"
run 0 --mode world --world "1980-09-28T02:30[Europe/Berlin]" --fold earlier --json
expect_out '"offset":"GMT+2:00"' "overlap, earlier"
expect_out '"date_jd":[2444510.520833,' "overlap, earlier instant"
run 0 --mode world --world "1980-09-28T02:30[Europe/Berlin]" --fold later --json
expect_out '"date_jd":[2444510.562500,' "overlap, later instant"

finish_checks
