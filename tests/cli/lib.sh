# Checks shared by the vek-cli test scripts; sourced, never run by itself.
#   source "$(dirname "$0")/lib.sh"
#   start_checks <command> <path-to-vek-cli>
#   run 0 --at ...; expect_out "text" "what"; bad --bogus; ...
#   finish_checks
# A failed check prints a line and counts; finish_checks exits 1 when any
# check failed. $tmp is a folder of the script's own, removed at its end;
# $out and $err hold stdout and stderr of the last run.
set -u

start_checks() {
    COMMAND="$1"
    CLI="$2"
    failures=0
    tmp=$(mktemp -d)
    out="$tmp/out"
    err="$tmp/err"
    trap 'rm -rf "$tmp"' EXIT
}

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# run <expected status> <args...>: runs the command with the arguments.
run() {
    local want="$1"
    shift
    "$CLI" "$COMMAND" "$@" >"$out" 2>"$err"
    local got=$?
    [ "$got" -eq "$want" ] || fail "$COMMAND $* exited $got, expected $want; stderr: $(cat "$err")"
}

expect_out() {  # expect_out <fixed string> <what>
    grep -qF -- "$1" "$out" || fail "$2: '$1' not in output: $(head -c 2000 "$out")"
}

not_out() {  # not_out <fixed string> <what>
    ! grep -qF -- "$1" "$out" || fail "$2: '$1' unexpectedly in output"
}

expect_err() {  # expect_err <fixed string> <what>
    grep -qF -- "$1" "$err" || fail "$2: '$1' not on stderr: $(cat "$err")"
}

# bad <args...>: refused with status 2, nothing on stdout, one line on stderr.
bad() {
    run 2 "$@"
    [ -s "$out" ] && fail "$COMMAND $*: output on stdout"
    [ "$(wc -l <"$err")" -eq 1 ] || fail "$COMMAND $*: expected one line on stderr, got: $(cat "$err")"
}

finish_checks() {
    if [ "$failures" -ne 0 ]; then
        echo "$COMMAND: $failures check(s) failed"
        exit 1
    fi
    echo "$COMMAND: all checks passed"
}
