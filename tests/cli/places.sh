#!/usr/bin/env bash
# vek-cli places: the cities of the atlas with coordinates and zone.
# Usage: bash places.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks places "$1"

run 0 Berlin --limit 1
expect_out "Berlin, Germany (DE)" "the city and its country"
expect_out "52°31'N 13°25'E" "its coordinates"
expect_out "Europe/Berlin" "its zone"
[ "$(grep -c . "$out")" -eq 1 ] || fail "--limit 1 lists one place: $(cat "$out")"
run 0 münchen --lang de
expect_out "München (Munich), Bavaria, Deutschland (DE)" "the German name first in German"
run 0 "sao paulo" --json
grep -q '^{"schema_version":1,"places":\[{"name":"São Paulo","german_name":"São Paulo","state":"São Paulo","country_code":"BR","country":"Brazil","latitude_deg":-23.54750,"longitude_deg":-46.63611,"coordinates":"23°33'"'"'S 46°38'"'"'W","zone":"America/Sao_Paulo","population":' "$out" ||
    fail "JSON of São Paulo: $(cat "$out")"
run 0 Christchurch
[ "$(head -1 "$out" | grep -c 'Pacific/Auckland')" -eq 1 ] || fail "the larger Christchurch first: $(cat "$out")"
run 0 "Christchurch, GB"
expect_out "Europe/London" "a country code chooses"
not_out "Pacific/Auckland" "only the chosen country"

bad Xyzzyqv
expect_err "no place of the atlas begins with 'Xyzzyqv'" "an unknown place"
bad
bad Berlin --limit 0
bad Berlin --bogus

finish_checks
