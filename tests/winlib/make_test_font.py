#!/usr/bin/python3
"""Makes tests/winlib/TwoNamesGothic.ttf, a font for the font decision's tests.

It is the dialogs' own font (res/font/UmePGothic-Vorlamy.ttf; its licence is
res/font/LICENSE.txt) cut to printable ASCII and renamed: its English family name and its
Japanese one differ, as the names of the fonts of a Japanese Windows do ("MS PGothic",
"ＭＳ Ｐゴシック"). The output depends only on that font, so running this again changes
nothing.

Run:  /usr/bin/python3 tests/winlib/make_test_font.py   (Debian package python3-fonttools)
"""
import os

from fontTools import subset
from fontTools.ttLib import TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "..", "..", "res", "font", "UmePGothic-Vorlamy.ttf")
OUTPUT = os.path.join(HERE, "TwoNamesGothic.ttf")
NAMES = {0x409: ("Vorlamy Test Gothic", "Vorlamy Test Gothic Regular"),
         0x411: ("ボルラミー検査ゴシック", "ボルラミー検査ゴシック 標準")}

font = TTFont(SOURCE, recalcTimestamp=False)
options = subset.Options()
options.hinting = True
options.name_IDs = [0]
options.name_languages = ["*"]
subsetter = subset.Subsetter(options)
subsetter.populate(text="".join(chr(c) for c in range(0x20, 0x7F)))
subsetter.subset(font)
table = font["name"]
table.names = [n for n in table.names if n.nameID == 0]
for language, (family, full) in NAMES.items():
    for name_id, text in ((1, family), (2, "Regular"), (3, family), (4, full), (6, "VorlamyTestGothic")):
        if language == 0x411 and name_id in (2, 3, 6):
            continue
        table.setName(text, name_id, 3, 1, language)
font.save(OUTPUT)
