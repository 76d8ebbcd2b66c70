// Making room for texts, and naming another face in a copy of a dialog template, as plain
// computation: natively and under Wine.
#include "winlib/TextFit.h"
#include "winlib/DialogTemplate.h"

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

}  // namespace
