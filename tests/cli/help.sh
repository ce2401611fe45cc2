#!/usr/bin/env bash
# vek-cli help: the list of commands, each command's help by every way of
# asking, its examples running as shown, the manual page naming every option
# of the help, and the nearest name offered for a misspelt option or command.
# Usage: bash help.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks help "$1"
manual="$(dirname "$0")/../../packaging/vek-cli.1"
case "$CLI" in /*) ;; *) CLI="$PWD/$CLI" ;; esac  # the examples run in $tmp

# The list of commands, on stdout with status 0 by all three names; on
# stderr with status 2 when no command is given.
run 0
cp "$out" "$tmp/overview"
for c in positions compute durations report chart find text; do
    grep -qE "^  $c +[a-z]" "$tmp/overview" || fail "the list of commands lacks $c with a summary"
done
for ask in --help -h; do
    "$CLI" $ask >"$out" 2>"$err" || fail "vek-cli $ask exited $?"
    cmp -s "$out" "$tmp/overview" || fail "vek-cli $ask differs from vek-cli help"
done
for ask in --help -h; do
    run 0 $ask
    cmp -s "$out" "$tmp/overview" || fail "vek-cli help $ask differs from vek-cli help"
done
# Without a command: one usage line and where to read on, on stderr.
"$CLI" >"$out" 2>"$err"
[ $? -eq 2 ] || fail "vek-cli without a command: status"
[ -s "$out" ] && fail "vek-cli without a command: output on stdout"
[ "$(wc -l <"$err")" -eq 1 ] || fail "vek-cli without a command: $(wc -l <"$err") lines on stderr"
grep -q "^usage: vek-cli COMMAND" "$err" || fail "vek-cli without a command: no usage: $(cat "$err")"
grep -qF "'vek-cli help'" "$err" || fail "vek-cli without a command: no pointer to help"

commands=$(sed -n 's/^  \([a-z]\+\)  .*/\1/p' "$tmp/overview")
[ "$(wc -w <<<"$commands")" -ge 7 ] || fail "fewer than seven commands listed: $commands"
for c in $commands; do
    run 0 "$c"
    cp "$out" "$tmp/$c.help"
    head -1 "$out" | grep -q "^usage: vek-cli $c " || fail "$c: no usage line: $(head -1 "$out")"
    expect_out "Options:" "$c"
    expect_out "Examples:" "$c"
    # Every way of asking gives the same text, wherever --help stands and
    # whatever else the line holds.
    for asked in "--help" "-h" "--mode galaxy --help" "--bogus -h"; do
        "$CLI" "$c" $asked >"$out" 2>"$err" || fail "$c $asked exited $?"
        cmp -s "$out" "$tmp/$c.help" || fail "$c $asked differs from vek-cli help $c"
        [ -s "$err" ] && fail "$c $asked wrote on stderr: $(cat "$err")"
    done
    long=$(awk 'length > 79' "$tmp/$c.help")
    [ -z "$long" ] || fail "$c: help lines wider than 79 columns: $long"

    # Each option of the help has a meaning, and the manual page names it.
    options=$(sed -n '/^Options:/,/^$/s/^  \(--[a-z0-9-]\+\).*/\1/p' "$tmp/$c.help")
    [ -n "$options" ] || fail "$c: no options listed"
    section=$(awk -v c="$c" '/^\.S[SH]/ { keep = 0 } $0 ~ "^\\.SS \"?" c "( |\"|$)" { keep = 1 }
        keep' "$manual" | sed 's/\\-/-/g')
    [ -n "$section" ] || fail "$c: no entry in the manual page"
    for o in $options; do
        grep -qE "^  $o( [^ ]+)? +[a-zA-Z(\"]" "$tmp/$c.help" || fail "$c: $o has no meaning"
        grep -qF -- "$o" <<<"$section" || fail "$c: the manual page does not name $o"
    done

    # The examples run as shown (in the scratch folder, where chart writes).
    while read -r example; do
        eval "set -- $example"
        shift  # vek-cli
        (cd "$tmp" && "$CLI" "$@" >"$out" 2>"$err") || fail "example failed: $example: $(cat "$err")"
        [ -s "$out" ] || fail "example printed nothing: $example"
    done < <(sed -n '/^Examples:/,$p' "$tmp/$c.help" | tail -n +2 | sed -e 's/^ *//' \
                 | sed -e ':a' -e '/\\$/N; s/ *\\\n */ /; ta')
done

# Help of an unknown command, and a misspelt command.
bad bogus
expect_err "unknown command 'bogus'" "help bogus"
not_out "did you mean" "help bogus"
"$CLI" comptue --world 2000-01-01T12:00Z >"$out" 2>"$err"
[ $? -eq 2 ] || fail "comptue: status"
expect_err "vek-cli: unknown command 'comptue'; did you mean 'compute'? (try 'vek-cli help')" \
    "misspelt command"
bad compute extra
expect_err "unexpected argument 'extra'" "help with two names"

# A misspelt option names the nearest one; a far one does not guess, and
# messages without a guess stay as they were.
suggest() {  # suggest <expected message> <command> <args...>
    local want="$1"
    shift
    "$CLI" "$@" >"$out" 2>"$err"
    [ $? -eq 2 ] || fail "$*: status"
    [ "$(cat "$err")" = "$want" ] || fail "$*: got '$(cat "$err")', expected '$want'"
}
suggest "vek-cli find: unknown option '--frm'; did you mean '--from'?" \
    find --pattern kite --frm 2000-01-01T12:00Z --to 2000-02-01T00:00Z
suggest "vek-cli find: unknown option '--at-lest'; did you mean '--at-least'?" \
    find --pattern kite --from 2000-01-01T12:00Z --at-lest=2
suggest "vek-cli compute: unknown option '--birht1'; did you mean '--birth1'?" \
    compute --mode natal1 --birht1 2000-01-01T12:00Z
suggest "vek-cli positions: unknown option '--jsno'; did you mean '--json'?" \
    positions --at 2000-01-01T12:00Z --jsno
suggest "vek-cli durations: unknown option '--sotr'; did you mean '--sort'?" \
    durations --world 2000-01-01T12:00Z --sotr 4
suggest "vek-cli chart: unknown option '--whit'; did you mean '--white'?" \
    chart --world 2000-01-01T12:00Z --whit --out x.png
suggest "vek-cli report: unknown option '--sider'; did you mean '--sidereal'?" \
    report --mode natal1 --birth1 2000-01-01T12:00Z --sider
suggest "vek-cli text: unexpected argument '--lnag'; did you mean '--lang'?" text 1 --lnag de
suggest "vek-cli compute: unknown option '--frobnicate'" compute --world 2000-01-01T12:00Z --frobnicate
suggest "vek-cli positions: unknown option '--mode'" positions --at 2000-01-01T12:00Z --mode world
suggest "vek-cli report: unknown option '--sort'" report --mode natal1 --birth1 2000-01-01T12:00Z --sort 1
suggest "vek-cli compute: unknown option '--birth'; did you mean '--birth1'?" compute --birth 2000-01-01T12:00Z
suggest "vek-cli text: unexpected argument '--lang'" text 1 --lang

finish_checks
