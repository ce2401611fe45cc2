#!/usr/bin/env bash
# vek-cli chart: the chart image as the window saves it, PNG and SVG, its
# size at a scale, the white background, the houses and points of a place,
# of --points and of a state file's settings, and rejection of bad arguments
# (status 2) and of an unwritable target (status 1, an earlier file kept).
# Usage: bash chart.sh <path-to-vek-cli>
source "$(dirname "$0")/lib.sh"
start_checks chart "$1"

# png_size FILE: "WIDTHxHEIGHT" from the PNG header.
png_size() {
    local hex
    hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}

is_png() {
    [ "$(od -An -c -j1 -N3 "$1" | tr -d ' ')" = "PNG" ]
}

# What a PNG holds, read with Python when present: "pixel FILE X Y" gives
# the colour at x,y as "r g b", "count FILE 'R G B'" the number of pixels of
# that colour.
png() {
    python3 - "$@" <<'PY' 2>/dev/null
import sys, zlib, struct
what, data = sys.argv[1], open(sys.argv[2], 'rb').read()
pos, idat, w, h, ct = 8, b'', 0, 0, 0
while pos < len(data):
    n, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b'IHDR':
        w, h, depth, ct = struct.unpack('>IIBB', body[:10])
    elif kind == b'IDAT':
        idat += body
    pos += 12 + n
bpp = {2: 3, 6: 4}[ct]
raw = zlib.decompress(idat)
stride = w * bpp
rows, prev = [], bytearray(stride)
i = 0
for _ in range(h):
    f = raw[i]; line = bytearray(raw[i + 1:i + 1 + stride]); i += 1 + stride
    for k in range(stride):
        a = line[k - bpp] if k >= bpp else 0
        b = prev[k]; c = prev[k - bpp] if k >= bpp else 0
        if f == 1: line[k] = (line[k] + a) & 255
        elif f == 2: line[k] = (line[k] + b) & 255
        elif f == 3: line[k] = (line[k] + (a + b) // 2) & 255
        elif f == 4:
            p = a + b - c; pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[k] = (line[k] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line); prev = line
if what == 'pixel':
    x, y = int(sys.argv[3]), int(sys.argv[4])
    p = rows[y][x * bpp:x * bpp + 3]
    print(p[0], p[1], p[2])
else:
    want = bytes(int(v) for v in sys.argv[3].split())
    print(sum(1 for r in rows for x in range(w) if r[x * bpp:x * bpp + 3] == want))
PY
}
pixel() { png pixel "$@"; }
colour_count() { png count "$@"; }

world="--mode world --world 2010-07-04T14:30Z"

# PNG at 1× and 2×: 400 × 400 pixels for the single wheel.
run 0 $world --out "$tmp/w.png"
grep -qF "$tmp/w.png" "$out" || fail "the written file is not named"
is_png "$tmp/w.png" || fail "w.png is not a PNG file"
[ "$(png_size "$tmp/w.png")" = "400x400" ] || fail "w.png is $(png_size "$tmp/w.png")"
run 0 $world --out "$tmp/w2.png" --scale 2
[ "$(png_size "$tmp/w2.png")" = "800x800" ] || fail "w2.png is $(png_size "$tmp/w2.png")"

# The double wheel: 660 × 440.
run 0 --mode synastry --birth1 1960-07-04T12:00-05:00 --birth2 1965-03-01T08:00Z \
    --lang de --out "$tmp/s.png"
[ "$(png_size "$tmp/s.png")" = "660x440" ] || fail "s.png is $(png_size "$tmp/s.png")"

# The disc is black, or white with --white; the surround stays light grey.
# (230, 100) lies inside the disc between two spokes, the sign ring and the
# planets.
if command -v python3 >/dev/null; then
    run 0 $world --no-moon --out "$tmp/plain.png"
    run 0 $world --no-moon --white --out "$tmp/white.png"
    [ "$(pixel "$tmp/plain.png" 230 100)" = "0 0 0" ] || fail "disc not black: $(pixel "$tmp/plain.png" 230 100)"
    [ "$(pixel "$tmp/white.png" 230 100)" = "255 255 255" ] || fail "disc not white: $(pixel "$tmp/white.png" 230 100)"
    [ "$(pixel "$tmp/white.png" 399 399)" = "224 224 224" ] || fail "surround: $(pixel "$tmp/white.png" 399 399)"
fi

# SVG: the same drawing in vectors; the glyphs as outlines, the notes as text.
run 0 $world --out "$tmp/w.svg"
grep -q "<svg" "$tmp/w.svg" || fail "w.svg is no SVG file"
grep -q "<path" "$tmp/w.svg" || fail "w.svg has no outlines"
grep -qF "Chart made with VEK" "$tmp/w.svg" || fail "w.svg lacks the annotation text"

# Houses and points, drawn as the window draws them: the Ascendant's and
# the Midheaven's lines in their colour (226, 168, 48) and the cusps in
# theirs (150, 118, 52), counted over the picture; none without them.
natal="--mode natal1 --birth1 1985-03-15T14:47 --tz Europe/Berlin"
if command -v python3 >/dev/null; then
    run 0 $natal --out "$tmp/n.png"
    run 0 $natal --place1 Berlin --houses koch --points nodes,chiron --out "$tmp/nh.png"
    [ "$(colour_count "$tmp/n.png" "226 168 48")" -eq 0 ] || fail "angles drawn without houses"
    [ "$(colour_count "$tmp/n.png" "150 118 52")" -eq 0 ] || fail "cusps drawn without houses"
    [ "$(colour_count "$tmp/nh.png" "226 168 48")" -gt 100 ] || fail "no angle lines with --houses"
    [ "$(colour_count "$tmp/nh.png" "150 118 52")" -gt 300 ] || fail "no cusp lines with --houses"
    # The houses are those of the date the mode reads: a World date's place
    # draws none in natal aspects.
    run 0 $natal --world 2010-07-04T14:30Z --place Berlin --out "$tmp/nw.png"
    cmp -s "$tmp/n.png" "$tmp/nw.png" || fail "the World date's place changed a natal chart"
    # Houses of a state file's settings, for its row's place, are drawn as
    # in the window; the same state without them draws none.
    state="$(dirname "$0")/../testdata/state/expected.vek"
    cp "$state" "$tmp/plain.vek"
    { cat "$state"; printf 'Place Birth1 52.520000 13.405000\r\nHouses on placidus\r\n'; } \
        >"$tmp/houses.vek"
    run 0 --state "$tmp/plain.vek" --mode natal1 --out "$tmp/sp.png"
    run 0 --state "$tmp/houses.vek" --mode natal1 --out "$tmp/sh.png"
    [ "$(colour_count "$tmp/sp.png" "226 168 48")" -eq 0 ] || fail "angles drawn from a plain state"
    [ "$(colour_count "$tmp/sh.png" "226 168 48")" -gt 100 ] || fail "the state's houses not drawn"
fi
# The points alone need no place; their symbols are in the SVG.
run 0 $natal --points nodes,chiron --out "$tmp/np.svg"
run 0 $natal --out "$tmp/n.svg"
cmp -s "$tmp/n.svg" "$tmp/np.svg" && fail "--points drew nothing"
bad $natal --houses koch --out "$tmp/x.png"
grep -qF -- "--houses needs a place" "$err" || fail "houses without a place: $(cat "$err")"
bad $natal --place1 Berlin --houses nonsense --out "$tmp/x.png"
bad $natal --points moon --out "$tmp/x.png"
bad $natal --place1 Qqqxzzy --out "$tmp/x.png"

# Bad arguments.
run 2 $world
grep -qF -- "--out" "$err" || fail "missing --out not named"
run 2 $world --out "$tmp/w.bmp"
run 2 $world --out "$tmp/w.png" --scale 0
run 2 $world --out "$tmp/w.png" --scale two
run 2 --mode nonsense --out "$tmp/x.png"

# An unwritable target (a folder that is a regular file, which root cannot
# write into either): status 1, the message, and nothing else touched.
printf 'keep me' >"$tmp/file"
run 1 $world --out "$tmp/file/chart.png"
[ "$(cat "$tmp/file")" = "keep me" ] || fail "the regular file was changed"
grep -qF "$tmp/file/chart.png" "$err" || fail "the failure does not name the file"

# A save replaces only a regular file: a link to a device node (root can
# make one; /dev/full stands for it otherwise) is refused with one line,
# and the device stays a device.
if mknod "$tmp/myfull" c 1 7 2>/dev/null; then dev="$tmp/myfull"; else dev=/dev/full; fi
ln -s "$dev" "$tmp/x.png"
run 1 $world --out "$tmp/x.png"
[ -c "$dev" ] || fail "$dev is no longer a device"
[ "$(wc -l <"$err")" -eq 1 ] || fail "device refusal: not one line: $(cat "$err")"
grep -qF "character device" "$err" || fail "device refusal does not say why: $(cat "$err")"
# The format is that of the file a link names: a link.png to notes.txt
# leaves the notes alone, a link.svg to a .png gets a PNG.
printf 'my notes' >"$tmp/notes.txt"
ln -s notes.txt "$tmp/link.png"
run 1 $world --out "$tmp/link.png"
[ "$(cat "$tmp/notes.txt")" = "my notes" ] || fail "notes.txt was overwritten through link.png"
run 0 $world --out "$tmp/w.png"
ln -s w.png "$tmp/pic.svg"
run 0 $world --out "$tmp/pic.svg" --scale 2
is_png "$tmp/w.png" || fail "pic.svg -> w.png did not get a PNG"
[ "$(png_size "$tmp/w.png")" = "800x800" ] || fail "w.png through pic.svg is $(png_size "$tmp/w.png")"

# --scale: a plain decimal number from 0.25 to 8, the limits included.
run 0 $world --out "$tmp/q.png" --scale 0.25
[ "$(png_size "$tmp/q.png")" = "100x100" ] || fail "--scale 0.25 gave $(png_size "$tmp/q.png")"
run 0 $world --no-moon --out "$tmp/big.png" --scale 8
[ "$(png_size "$tmp/big.png")" = "3200x3200" ] || fail "--scale 8 gave $(png_size "$tmp/big.png")"
for s in 8.01 0.24 0x2 " 2" "2 " 1e0 +2 -1 . 2. .5x; do
    bad $world --out "$tmp/q.png" --scale "$s"
done
run 0 $world --out "$tmp/q.png" --scale .5
[ "$(png_size "$tmp/q.png")" = "200x200" ] || fail "--scale .5 gave $(png_size "$tmp/q.png")"

# A control character in the name is refused before anything is written.
bad $world --out "$tmp/two
lines.png"
[ -e "$tmp/two
lines.png" ] && fail "a file with a line break in its name was written"
# A long name is shortened in the message like any quoted argument.
long="$tmp/$(printf 'a%.0s' $(seq 5000)).png"
run 1 $world --out "$long"
[ "$(wc -c <"$err")" -lt 400 ] || fail "the message of a long --out is $(wc -c <"$err") bytes"

# A second write replaces the first in one piece and leaves no stray file.
run 0 $world --out "$tmp/w.png" --scale 2
[ "$(png_size "$tmp/w.png")" = "800x800" ] || fail "w.png was not replaced"
stray=$(find "$tmp" -name '*.png.*' -o -name '*.svg.*' | wc -l)
[ "$stray" -eq 0 ] || fail "temporary files left behind"

finish_checks
