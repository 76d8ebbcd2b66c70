#!/usr/bin/python3
"""Cuts the dialogs' own font, res/font/UmePGothic-Vorlamy.ttf, out of Ume P Gothic.

The dialogs are laid out in dialog units of "ＭＳ Ｐゴシック" 9 pt. Where a system has no
font of that face (Wine in a player's own prefix, Windows without East Asian fonts), the
program registers this font for itself and the dialogs use it instead. Ume P Gothic has
MS PGothic's metrics, so the dialogs keep their designed proportions; its licence allows
any use, change and redistribution.

The subset holds printable ASCII (the dialog units come from the average width of A-Z and
a-z) and every other character that a quoted text of the resource scripts holds, without
vertical metrics or layout tables. It keeps the hinting, which rounds each advance width
as the whole font does (without it the letters come out about 5 % wider), the family
name, the copyright notice, and the code page bits for Latin 1 and Japanese, so that the
font mapper takes it under any system locale. The output depends only on the input font and the
resource scripts, so running this again changes nothing; the build takes the committed
file and needs neither the font package nor fontTools.

Run it after changing a text of the dialogs:  /usr/bin/python3 res/font/make_font.py
(Debian packages fonts-horai-umefont and python3-fonttools.)
"""
import os
import re
import subprocess

from fontTools import subset
from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/horai-umefont/ume-pgo4.ttf"
PACKAGE = "fonts-horai-umefont"
HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)
OUTPUT = os.path.join(HERE, "UmePGothic-Vorlamy.ttf")
RECORD = os.path.join(HERE, "source.txt")

LATIN_1 = 1 << 0
JAPANESE = 1 << 17


def resource_texts():
    """Every character of every quoted text in the resource scripts."""
    characters = set()
    for name in ("Dialogs.rc", "Vorlamy.rc"):
        with open(os.path.join(RES, name), encoding="utf-8") as script:
            for text in re.findall(r'"((?:[^"\\]|\\.)*)"', script.read()):
                characters.update(text)
    return characters


def main():
    characters = {chr(c) for c in range(0x20, 0x7F)} | resource_texts()
    characters = {c for c in characters if c.isprintable()}

    options = subset.Options()
    options.layout_features = []
    options.drop_tables += ["GSUB", "GPOS", "mort", "morx", "vhea", "vmtx"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]
    options.name_languages = [0x0409]
    options.notdef_outline = True
    options.recalc_timestamp = False

    font = TTFont(SOURCE, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(ord(c) for c in characters))
    subsetter.subset(font)

    os2 = font["OS/2"]
    assert os2.ulCodePageRange1 & LATIN_1 and os2.ulCodePageRange1 & JAPANESE, "code page bits lost"
    # Installable: the licence lets anyone use and change the font, so no embedding
    # restriction stands in the way of registering it.
    os2.fsType = 0
    font.save(OUTPUT, reorderTables=True)

    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", PACKAGE],
                             capture_output=True, text=True, check=True).stdout
    with open(RECORD, "w", encoding="utf-8", newline="\n") as record:
        record.write(f"Ume P Gothic ({os.path.basename(SOURCE)}), subset, from Debian package {PACKAGE} {version}\n")
    print(f"wrote {OUTPUT}: {len(characters)} characters, {len(font.getGlyphOrder())} glyphs, "
          f"{os.path.getsize(OUTPUT)} bytes")


if __name__ == "__main__":
    main()
