#!/usr/bin/env bash
# vek-cli zones: lists matching zone names with their offset now.
# Usage: bash zones.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks zones "$1"

run 0 berl
expect_out "Europe/Berlin" "a part of the name, any case"
[ "$(grep -c . "$out")" -eq "$(grep -ci berl "$out")" ] || fail "every line matches: $(cat "$out")"
run 0 kathmandu
expect_out "GMT+5:45" "Kathmandu's offset"
run 0 Kiritimati
expect_out "GMT+14:00" "Kiritimati's offset"
run 0 Pacific/Chatham --json
grep -qE '^\{"schema_version":1,"zones":\[\{"zone":"Pacific/Chatham","offset":"GMT\+1[23]:45","offset_seconds":(45900|49500),"abbreviation":"\+1[23]45"\}\]\}$' "$out" ||
    fail "JSON of Pacific/Chatham: $(cat "$out")"
run 0
[ "$(grep -c . "$out")" -gt 300 ] || fail "without TEXT every zone is listed"

run 1 "no/such zone"
expect_err "no zone name contains 'no/such zone'" "nothing matches"
bad berl --bogus

finish_checks
