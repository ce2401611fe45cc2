#!/usr/bin/env bash
# vek-cli chart: the chart image as the window saves it, PNG and SVG, its
# size at a scale, the white background, and rejection of bad arguments
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

# The pixel colour at x,y of a PNG as "r g b", read with Python when present.
pixel() {
    python3 - "$1" "$2" "$3" <<'PY' 2>/dev/null
import sys, zlib, struct
data = open(sys.argv[1], 'rb').read()
x, y = int(sys.argv[2]), int(sys.argv[3])
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
p = rows[y][x * bpp:x * bpp + 3]
print(p[0], p[1], p[2])
PY
}

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

# A second write replaces the first in one piece and leaves no stray file.
run 0 $world --out "$tmp/w.png" --scale 2
[ "$(png_size "$tmp/w.png")" = "800x800" ] || fail "w.png was not replaced"
stray=$(find "$tmp" -name '*.png.*' -o -name '*.svg.*' | wc -l)
[ "$stray" -eq 0 ] || fail "temporary files left behind"

finish_checks
