#!/usr/bin/env bash
# Starts vek under a virtual X server with a real window manager (openbox) on
# a 1600x1200 screen, at scale 1 and 2, opens its windows as a user would and
# checks what the window manager shows: every top-level window's frame, title
# bar included, lies inside the screen, and the main window can be made
# larger than its content where the screen has room.
#
# Usage: tools/test-window-manager.sh [VEK]
#   VEK  the program (default: the first of build/release/bin/vek,
#        build/debug/bin/vek, build/bin/vek)
# Needs Xvfb, openbox, xdotool, xwininfo and xprop (tools/deps.sh installs
# them); exits 77 (skipped) when one is missing, 1 when a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
vek="${1:-${VEK:-}}"
if [ -z "$vek" ]; then
    for c in build/release/bin/vek build/debug/bin/vek build/bin/vek; do
        if [ -x "$root/$c" ]; then vek="$root/$c"; break; fi
    done
fi
if [ -z "$vek" ] || [ ! -x "$vek" ]; then
    echo "$0: vek is not built" >&2
    exit 1
fi
for tool in Xvfb openbox xdotool xwininfo xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: $tool is missing (tools/deps.sh installs it); skipped" >&2
        exit 77
    fi
done

screen_w=1600
screen_h=1200
tmp="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
vek_pid=""
stop() {  # stop PID: ends a process this script started and waits for it
    if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
cleanup() {
    stop "$vek_pid"
    stop "$wm_pid"
    stop "$xvfb_pid"
    rm -rf "$tmp"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A state file with all three dates (July 4 2010, March 21 1980, November 9
# 1989); the window starts in world transits of its World date.
state="$tmp/state.vek"
{
    for l in " 7 " " 4 " "2010" " 25 " " 24 " " 3 " " 21 " "1980" " 14 " " 26 " \
        " 11 " " 9 " "1989" " 40 " " 26 " "#TRUE#" "#FALSE#" "#FALSE#" "#FALSE#" "#FALSE#" \
        "#FALSE#" " 2 " " 10 " " 9 " " 1 " " 1 " " 2 " "#TRUE#" "#FALSE#" "#FALSE#" "#TRUE#" \
        " 2 " 10 9 6 7 4 3 3 1 65535 255 16711680 65280 16776960 16711935 8421504 " 0 " \
        " 1 " " 2 " " 2 "; do
        printf '%s\r\n' "$l"
    done
} >"$state"

# The same dates with a place, the houses and the three points. In German
# the points' names make the report's lines wider than the screen at scale
# 2: the window grows up to the screen's width, its frame included.
points_state="$tmp/points.vek"
{
    cat "$state"
    printf '%s\r\n' "Place World 52.520000 13.405000 Berlin" "Houses on placidus" \
        "Points nodes,chiron"
} >"$points_state"

start_display() {
    exec 3>"$tmp/displayfd"
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -dpi 96 -nolisten tcp \
        >"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    local n
    for _ in $(seq 100); do
        n="$(cat "$tmp/displayfd" 2>/dev/null || true)"
        [ -n "$n" ] && break
        sleep 0.1
    done
    [ -n "$n" ] || { cat "$tmp/xvfb.log" >&2; echo "$0: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$n"
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    cat "$tmp/openbox.log" >&2
    echo "$0: openbox did not start" >&2
    exit 1
}

# The visible top-level windows of vek, one "id x0 y0 x1 y1 title" line each:
# the frame's corners (the client's place and size widened by the frame's
# extents that the window manager reports).
frames() {
    local id info x y w h ext l r t b
    # The windows the window manager manages (shown ones), those of vek.
    for id in $(xprop -root _NET_CLIENT_LIST 2>/dev/null | sed -n 's/.*# //p' | tr -d ','); do
        [ "$(xprop -id "$id" _NET_WM_PID 2>/dev/null | sed -n 's/.*= *//p')" = "$vek_pid" ] || continue
        info="$(xwininfo -id "$id" 2>/dev/null)" || continue
        grep -q 'Map State: IsViewable' <<<"$info" || continue
        x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
        y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
        w=$(sed -n 's/^ *Width: *//p' <<<"$info")
        h=$(sed -n 's/^ *Height: *//p' <<<"$info")
        ext="$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p')"
        [ -n "$ext" ] || continue  # not managed: no frame (a tooltip, a pop-up)
        IFS=', ' read -r l r t b <<<"$ext"
        echo "$id $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b)) $(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/.*= "\(.*\)"$/\1/p')"
    done | sort
}

# Waits until vek shows `count` framed windows and they stay put for a
# second (three equal looks, half a second apart: on a busy machine the
# window manager may place a window a moment after it is mapped); at most
# 30 seconds.
settle() {
    local count=$1 last="" now same=0
    for _ in $(seq 60); do
        now="$(frames)"
        if [ "$(grep -c . <<<"$now")" -ge "$count" ] && [ "$now" = "$last" ]; then
            same=$((same + 1))
            if [ "$same" -ge 2 ]; then
                echo "$now"
                return 0
            fi
        else
            same=0
        fi
        last="$now"
        sleep 0.5
    done
    echo "$now"
    return 1
}

start_vek() {  # start_vek SCALE ARGS...; vek_state and vek_language (de) may be set
    local scale=$1
    shift
    mkdir -p "$tmp/data/Vantrel" "$tmp/config"
    rm -f "$tmp/config/VEK.conf"
    if [ "${vek_language:-}" = de ]; then
        printf '[Software\\Vantrel\\VEK]\nLanguage=DE\n' >"$tmp/config/VEK.conf"
    fi
    cp "${vek_state:-$state}" "$tmp/data/Vantrel/vek.usr"
    XDG_DATA_HOME="$tmp/data" VEK_CONFIG_DIR="$tmp/config" XDG_CONFIG_HOME="$tmp/config" \
        QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" "$vek" "$@" >"$tmp/vek.log" 2>&1 &
    vek_pid=$!
}

check_inside() {  # check_inside WHAT FRAMES
    local id x0 y0 x1 y1 title
    while read -r id x0 y0 x1 y1 title; do
        [ -n "$id" ] || continue
        echo "  $1: \"$title\" frame ($x0,$y0)-($x1,$y1)"
        if [ "$x0" -lt 0 ] || [ "$y0" -lt 0 ] || [ "$x1" -gt $screen_w ] || [ "$y1" -gt $screen_h ]; then
            fail "$1: \"$title\" reaches outside the ${screen_w}x${screen_h} screen"
        fi
    done <<<"$2"
}

window_of() {  # window_of FRAMES TITLE-START: the id of the first window whose title starts so
    awk -v t="$2" '{ id = $1; $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, "");
                     if (index($0, t) == 1) { print id; exit } }' <<<"$1"
}

client_size() {  # client_size ID: the window's own size (no frame), WxH
    local info
    info="$(xwininfo -id "$1" 2>/dev/null)" || return 0
    echo "$(sed -n 's/^ *Width: *//p' <<<"$info")x$(sed -n 's/^ *Height: *//p' <<<"$info")"
}

click_twips() {  # click_twips ID X Y: a left click at a point of the window given in twips
    timeout 5 xdotool mousemove --window "$1" $(($2 * scale / 15)) $(($3 * scale / 15)) click 1 \
        >/dev/null 2>&1 || true
}

start_display
echo "screen ${screen_w}x${screen_h}, $(openbox --version | head -1)"
for scale in 1 2; do
    echo "scale $scale"

    # The table, the configuration dialog (opened, hidden and opened again)
    # and the help viewer.
    start_vek "$scale" --click cmdConfigure --click cmdHide --click cmdConfigure --click cmdHelp
    if f="$(settle 3)"; then :; else fail "scale $scale: the three windows did not appear"; fi
    check_inside "scale $scale, table" "$f"
    [ -n "$(window_of "$f" "Configure")" ] || fail "scale $scale: no configuration dialog"
    stop "$vek_pid"

    # The synastry wheel and the report window; then the main window made
    # larger by the window manager, as a user drags its corner.
    echo "  (synastry run)"
    start_vek "$scale" --click optSynastry --click cmdToggleGraphic --click cmdReport
    if f="$(settle 2)"; then :; else fail "scale $scale: the chart and the report did not appear"; fi
    check_inside "scale $scale, synastry chart" "$f"
    main="$(window_of "$f" "VEK")"
    if [ -n "$main" ]; then
        read -r _ x0 y0 x1 y1 _ <<<"$(grep "^$main " <<<"$f")"
        w0=$((x1 - x0))
        h0=$((y1 - y0))
        # Room to grow: up to the screen's edges (the frame already stands at
        # the top left). No --sync: the window may keep another size.
        timeout 5 xdotool windowsize "$main" $((screen_w - 40)) $((screen_h - 80)) >/dev/null 2>&1 || true
        sleep 0.5
        g="$(settle 2 || true)"
        check_inside "scale $scale, enlarged" "$g"
        read -r _ x0 y0 x1 y1 _ <<<"$(grep "^$main " <<<"$g")"
        w1=$((x1 - x0))
        h1=$((y1 - y0))
        echo "  main window ${w0}x${h0} -> ${w1}x${h1} after asking for more"
        if [ "$w0" -lt $((screen_w - 100)) ] && [ "$w1" -le "$w0" ]; then
            fail "scale $scale: the main window cannot be made wider (${w0} -> ${w1})"
        fi
        if [ "$h0" -lt $((screen_h - 100)) ] && [ "$h1" -le "$h0" ]; then
            fail "scale $scale: the main window cannot be made higher (${h0} -> ${h1})"
        fi
    else
        fail "scale $scale: no main window"
    fi
    stop "$vek_pid"
    vek_pid=""

    echo "  (German report with the points)"
    vek_state="$points_state" vek_language=de start_vek "$scale" --click cmdReport
    if f="$(settle 2)"; then :; else fail "scale $scale: the German report did not appear"; fi
    check_inside "scale $scale, German report with points" "$f"
    stop "$vek_pid"
    vek_pid=""

    # A size the user drags the main window to is kept when the mode changes
    # and changes back. The clicks land where the buttons stand (their places
    # in twips, 15 to a pixel at 96 dpi): "Synastry", "Report", "World
    # transits", "Report"; the report's title shows that each mode was taken.
    echo "  (size kept across modes)"
    start_vek "$scale"
    if f="$(settle 1)"; then :; else fail "scale $scale: the main window did not appear"; fi
    check_inside "scale $scale, plain start" "$f"
    main="$(window_of "$f" "VEK")"
    if [ -n "$main" ]; then
        want="$((720 * scale))x$((460 * scale))"
        timeout 5 xdotool windowsize "$main" "${want%x*}" "${want#*x}" >/dev/null 2>&1 || true
        settle 1 >/dev/null || true
        [ "$(client_size "$main")" = "$want" ] ||
            fail "scale $scale: the window took $(client_size "$main"), not the $want dragged"
        for step in "optSynastry 8700 1680 Synastry" "optPlanetary 8700 255 Durations"; do
            read -r name x y title <<<"$step"
            click_twips "$main" "$x" "$y"
            sleep 0.5
            click_twips "$main" 10240 2187  # cmdReport
            g="$(settle 2 || true)"
            [ -n "$(window_of "$g" "$title")" ] ||
                fail "scale $scale: after $name no report \"$title ...\" (the click missed?)"
            got="$(client_size "$main")"
            echo "  after $name: main window $got"
            [ "$got" = "$want" ] || fail "scale $scale: after $name the window is $got, not $want"
        done
    else
        fail "scale $scale: no main window"
    fi
    stop "$vek_pid"
    vek_pid=""
done

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all windows inside the screen"
