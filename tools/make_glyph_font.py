#!/usr/bin/python3
"""Builds the glyph font "Starfont Sans" from the astrological symbols of
DejaVu Sans.

The program draws each body and sign with one plain letter ("s" for the Sun,
"x" for Aries, ...) set in this font. This script takes the symbols from
DejaVu Sans, keeps only them, and maps them to those letters (they also stay at
their own Unicode code points). The result is committed, so the build does not
need Python; run this again only to change the font.

Needs Debian's python3-fonttools and fonts-dejavu-core.
Usage: tools/make_glyph_font.py [SOURCE.ttf] [OUT.ttf]
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
OUT = "src/gui/fonts/StarfontSans.ttf"

# Letter in the program's glyph tables -> Unicode symbol.
GLYPHS = {
    # bodies
    "s": 0x2609,  # Sun
    "f": 0x263F,  # Mercury
    "g": 0x2640,  # Venus
    "h": 0x2642,  # Mars
    "j": 0x2643,  # Jupiter
    "S": 0x2644,  # Saturn
    "F": 0x2645,  # Uranus
    "G": 0x2646,  # Neptune
    "J": 0x2647,  # Pluto
    "a": 0x263D,  # Moon
    # signs, Aries .. Pisces
    "x": 0x2648,
    "c": 0x2649,
    "v": 0x264A,
    "b": 0x264B,
    "n": 0x264C,
    "m": 0x264D,
    "X": 0x264E,
    "C": 0x264F,
    "V": 0x2650,
    "B": 0x2651,
    "N": 0x2652,
    "M": 0x2653,
}

FAMILY = "Starfont Sans"
POSTSCRIPT = "StarfontSans-Regular"


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else SOURCE
    out = sys.argv[2] if len(sys.argv) > 2 else OUT

    font = TTFont(source)
    options = subset.Options()
    options.layout_features = []
    options.name_IDs = [0, 13, 14]  # keep the copyright and licence records
    options.name_languages = [0x409]
    options.notdef_outline = True
    options.glyph_names = True
    options.hinting = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[0x20] + sorted(GLYPHS.values()))
    subsetter.subset(font)

    # Put each symbol at its letter as well.
    cmap = font.getBestCmap()
    for table in font["cmap"].tables:
        if table.isUnicode():
            for letter, code in GLYPHS.items():
                table.cmap[ord(letter)] = cmap[code]

    # The licence of the source asks that a changed font carries another name.
    names = font["name"]
    for name_id, value in (
        (1, FAMILY),
        (2, "Regular"),
        (3, FAMILY + " Regular (derived from DejaVu Sans)"),
        (4, FAMILY),
        (5, "Version 1.0"),
        (6, POSTSCRIPT),
        (10, "Astrological symbols of DejaVu Sans at the glyph codes of VEK."),
    ):
        names.setName(value, name_id, 3, 1, 0x409)
        names.setName(value, name_id, 1, 0, 0)
    for table in ("FFTM", "MATH"):
        if table in font:
            del font[table]
    font.save(out)

    check = TTFont(out)
    mapped = check.getBestCmap()
    missing = [letter for letter in GLYPHS if ord(letter) not in mapped]
    if missing:
        sys.exit("not mapped: " + " ".join(missing))
    print(f"{out}: {len(check.getGlyphOrder())} glyphs, family {check['name'].getDebugName(1)}")


if __name__ == "__main__":
    main()
