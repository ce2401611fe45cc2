#!/usr/bin/env bash
# vek-cli text: prints a program text, fails with exit status 2 on bad input.
set -u
cli="$1"
fail() { echo "FAIL: $*"; exit 1; }

[ "$("$cli" text 153)" = "Input error" ] || fail "text 153 in English"
[ "$("$cli" text 153 --lang de)" = "Eingabefehler" ] || fail "text 153 in German"
[ "$("$cli" text 26 --lang=de)" = "Grafik der Welttransite im Kreis von 360 Grad" ] || fail "--lang="

for bad in "" "0" "abc" "12x" "-5" "10000" "9998"; do
    out=$("$cli" text $bad 2>&1 >/dev/null); rc=$?
    [ $rc -eq 2 ] || fail "text '$bad' exit $rc"
    [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "text '$bad' message not one line"
done
"$cli" text 1 --lang fr >/dev/null 2>&1; [ $? -eq 2 ] || fail "unknown language"

# A broken or missing vek.dat gives its message on one line.
dir=$(mktemp -d); trap 'rm -rf "$dir"' EXIT
out=$(VEK_DATA_DIR="$dir" "$cli" text 1 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] || fail "missing vek.dat exit $rc"
case "$out" in *"Cannot open file containing program text."*"$dir"*) ;; *) fail "missing: $out";; esac
printf '1 en: a\n1 en: b\n' > "$dir/vek.dat"
out=$(VEK_DATA_DIR="$dir" "$cli" text 1 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] || fail "duplicate exit $rc"
case "$out" in *"Duplicate in program text at line 2."*) ;; *) fail "duplicate: $out";; esac
echo OK
