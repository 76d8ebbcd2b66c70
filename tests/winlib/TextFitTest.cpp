// Making room for texts, naming another face in a copy of a dialog template and reading a
// font's names, as plain computation: natively and under Wine.
#include "winlib/TextFit.h"
#include "winlib/DialogTemplate.h"
#include "winlib/FontNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The About box: a line that grows wider pushes the OK button in its row to the right,
// and the dialog widens; the line below it, in no row with the button, stays.
TEST(TextFitTest, ALineThatGrowsWiderPushesWhatStandsInItsRow)
{
    std::vector<ControlFit> controls = {{{60, 15, 238, 27}}, {{60, 37, 238, 49}}, {{267, 10, 342, 31}}};
    controls[0].neededWidth = 230;  // 52 pixels more
    controls[1].neededWidth = 50;   // narrower than it is: a control never shrinks
    const ClientSize size = FitControls(controls.data(), controls.size(), {352, 82});
    EXPECT_EQ(controls[2].rect.left, 319);
    EXPECT_EQ(controls[1].rect.right, 238);
    EXPECT_EQ(size.width, 404);
    EXPECT_EQ(size.height, 82);
}

// An aligned text keeps its place where there is room before it; a group box grows with
// the check box it frames, and what stands beside the box keeps its gap to it.
TEST(TextFitTest, AlignedTextsKeepTheirPlaceAndGroupBoxesGrowWithWhatTheyFrame)
{
    std::vector<ControlFit> c = {{{10, 10, 30, 20}},  {{50, 10, 100, 20}}, {{120, 10, 160, 20}},
                                 {{10, 30, 110, 80}}, {{20, 45, 60, 55}},  {{120, 40, 160, 60}}};
    c[1].align = TextAlign::Right, c[1].neededWidth = 70;   // 20 more, all to the left
    c[2].align = TextAlign::Centre, c[2].neededWidth = 60;  // 20 more, half to the left
    c[3].frames = true;
    c[4].neededWidth = 100;  // the framed check box: 60 more
    const ClientSize size = FitControls(c.data(), c.size(), {170, 90});
    EXPECT_EQ(c[1].rect.left, 30);
    EXPECT_EQ(c[1].rect.right, 100);
    EXPECT_EQ(c[2].rect.left, 110);
    EXPECT_EQ(c[2].rect.right, 170);
    EXPECT_EQ(c[4].rect.right, 120);
    EXPECT_EQ(c[3].rect.right, 170) << "the box keeps its margin of 50 around the check box";
    EXPECT_EQ(c[5].rect.left, 180) << "and its neighbour its gap of 10";
    EXPECT_EQ(size.width, 230);
}

// A template as the resource compiler writes it: header, menu, class, caption, font, and
// the items from the next 4-byte boundary on.
std::vector<std::uint8_t> Template(bool extended, const std::u16string& face, std::uint16_t pointSize = 9)
{
    std::vector<std::uint8_t> t;
    auto unit = [&t](std::uint32_t u) { t.push_back(u & 0xFF), t.push_back((u >> 8) & 0xFF); };
    auto text = [&](const std::u16string& s) {
        for (char16_t c : s)
            unit(c);
        unit(0);
    };
    if (extended)
        unit(1), unit(0xFFFF), unit(0), unit(0), unit(0), unit(0);
    unit(0x00C0), unit(0x90C8);  // style: DS_SETFONT, ...
    if (!extended)
        unit(0), unit(0);
    unit(1), unit(0), unit(0), unit(223), unit(129);           // one item; x, y, cx, cy
    unit(0xFFFF), unit(7), text(u"#32770"), text(u"Vorlamy");  // a menu by ordinal
    unit(pointSize);
    if (extended && pointSize != dialog_template::kMessageBoxFont)
        unit(0), unit(0x0100);  // weight 0, not italic, character set 1
    if (pointSize != dialog_template::kMessageBoxFont)
        text(face);
    while (t.size() % 4)
        t.push_back(0);
    for (std::uint8_t b = 1; b <= 30; ++b)
        t.push_back(b);  // the item, as opaque bytes
    return t;
}

dialog_template::Header HeaderOf(const std::vector<std::uint8_t>& t)
{
    return dialog_template::Reader(t.data(), t.size()).ReadHeader();
}

TEST(DialogTemplateTest, ACopyNamesTheNewFaceAndKeepsTheItemsWholeAndAligned)
{
    for (bool extended : {false, true}) {
        const std::u16string face = u"ＭＳ Ｐゴシック";
        const std::vector<std::uint8_t> original = Template(extended, face);
        const dialog_template::Header header = HeaderOf(original);
        ASSERT_TRUE(header.complete && header.hasFace) << extended;
        EXPECT_EQ(header.face.length, face.size());
        EXPECT_EQ(original[header.itemsAt], 1);

        for (const std::u16string& other : {std::u16string(u"Ume P Gothic"), std::u16string(u"X")}) {
            std::vector<std::uint8_t> copy(dialog_template::SizeWithFace(original.size(), header, other.size()));
            dialog_template::CopyWithFace(original.data(), original.size(), header, other.data(), other.size(),
                                          copy.data());
            EXPECT_EQ(copy, Template(extended, other)) << extended;
        }
        // A point size of 0x7FFF asks for the message box's font: no face follows, and
        // the items start right after it.
        const std::vector<std::uint8_t> messageBoxFont = Template(extended, u"", dialog_template::kMessageBoxFont);
        const dialog_template::Header noFace = HeaderOf(messageBoxFont);
        EXPECT_TRUE(noFace.complete && !noFace.hasFace) << extended;
        EXPECT_EQ(messageBoxFont[noFace.itemsAt], 1) << extended;
    }
    std::vector<std::uint8_t> cut = Template(true, u"ＭＳ Ｐゴシック");
    cut.resize(60);
    EXPECT_FALSE(HeaderOf(cut).complete) << "a template that ends in its face";
}

// A name table with a font's English and Japanese family names, and a Macintosh name in
// an older encoding that does not count.
TEST(FontNamesTest, AFontIsKnownByItsFamilyNamesInEveryLanguage)
{
    const std::u16string english = u"Test Sans", japanese = u"テスト", mac = u"Mac";
    std::vector<std::uint8_t> t;
    auto unit = [&t](unsigned u) { t.push_back((u >> 8) & 0xFF), t.push_back(u & 0xFF); };
    unit(0), unit(3), unit(6 + 3 * 12);  // format, records, where the strings start
    unit(3), unit(1), unit(0x409), unit(1), unit(2 * english.size()), unit(0);
    unit(3), unit(1), unit(0x411), unit(1), unit(2 * japanese.size()), unit(2 * english.size());
    unit(1), unit(0), unit(0), unit(1), unit(2 * mac.size()), unit(2 * (english.size() + japanese.size()));
    for (const std::u16string& s : {english, japanese, mac})
        for (char16_t c : s)
            unit(c);
    auto lists = [&t](const std::u16string& face, std::size_t size) {
        return NameTableLists(t.data(), size, face.data(), face.size());
    };
    EXPECT_TRUE(lists(u"test SANS", t.size()));
    EXPECT_TRUE(lists(japanese, t.size()));
    EXPECT_FALSE(lists(mac, t.size()));
    EXPECT_FALSE(lists(u"Test", t.size()));
    EXPECT_FALSE(lists(japanese, t.size() - 2 * mac.size() - 2)) << "a name cut off by the table's end";
}

}  // namespace
