#!/usr/bin/env bash
# vek-cli text: prints a program text, fails with exit status 2 on bad input.
# Usage: bash text.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks text "$1"

[ "$("$CLI" text 153)" = "Input error" ] || fail "text 153 in English"
[ "$("$CLI" text 153 --lang de)" = "Eingabefehler" ] || fail "text 153 in German"
[ "$("$CLI" text 26 --lang=de)" = "Grafik der Welttransite im Kreis von 360 Grad" ] || fail "--lang="

for arg in "" "0" "abc" "12x" "-5" "10000" "9998"; do
    bad $arg
done
bad 1 --lang fr

# A broken or missing vek.dat gives its message on one line.
dir="$tmp/data"
mkdir "$dir"
VEK_DATA_DIR="$dir" bad 1
expect_err "Cannot open file containing program text." "missing vek.dat"
expect_err "$dir" "missing vek.dat names the folder"
printf '1 en: a\n1 en: b\n' >"$dir/vek.dat"
VEK_DATA_DIR="$dir" bad 1
expect_err "Duplicate in program text at line 2." "duplicate"

finish_checks
