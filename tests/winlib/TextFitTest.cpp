// Making room for texts, naming another face in a copy of a dialog template and reading a
// font's names, as plain computation: natively and under Wine.
#include "winlib/TextFit.h"
#include "winlib/DialogTemplate.h"
#include "winlib/FontNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
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

// Where there is room before it, an aligned text grows to the left: down to the dialog's margin (a hidden control
// or one off the dialog does not set it) or its group box's, and not into the gap to a control before it in its row.
TEST(TextFitTest, AlignedTextsGrowLeftOnlyIntoRoomThatIsFree)
{
    std::vector<ControlFit> c = {{{10, 10, 30, 20}}, {{50, 10, 100, 20}}, {{60, 30, 100, 40}}, {{-40, 0, -10, 5}},
                                 {{0, 50, 5, 60}},   {{40, 50, 140, 90}}, {{50, 60, 70, 70}},  {{90, 75, 130, 85}}};
    c[1].align = TextAlign::Right, c[1].neededWidth = 70;    // 20 more; c[0] stands before it
    c[2].align = TextAlign::Right, c[2].neededWidth = 100;   // 60 more; room down to the margin, 10
    c[4].shown = false;                                      // a hidden control further left
    c[5].frames = true;                                      // a group box: c[6] at its inner margin, 50
    c[7].align = TextAlign::Centre, c[7].neededWidth = 100;  // 60 more, half of it to the left, down to 50
    FitControls(c.data(), c.size(), {150, 100});
    EXPECT_EQ(c[1].rect.left, 50) << "the gap to its neighbour stays";
    EXPECT_EQ(c[1].rect.right, 120);
    EXPECT_EQ(c[2].rect.left, 10);
    EXPECT_EQ(c[2].rect.right, 110);
    EXPECT_EQ(c[7].rect.left, 60);
    EXPECT_EQ(c[7].rect.right, 160);
    EXPECT_EQ(c[5].rect.right, 170) << "the box keeps its margin of 10 around it";
}

// The dialog grows by as much as the controls in sight reach further, not for a hidden control parked beyond its edge,
// a part parked below it, or a control that the conversion from dialog units puts a pixel past it.
TEST(TextFitTest, TheDialogGrowsOnlyByWhatTheControlsInSightNeed)
{
    std::vector<ControlFit> c = {{{10, 10, 100, 20}}, {{200, 10, 260, 20}}, {{10, 110, 100, 130}}, {{50, 80, 101, 95}}};
    c[1].shown = false;
    ClientSize size = FitControls(c.data(), c.size(), {100, 100});
    EXPECT_EQ(size.width, 100);
    EXPECT_EQ(size.height, 100);
    c[3].neededWidth = 61;  // 10 more
    size = FitControls(c.data(), c.size(), {100, 100});
    EXPECT_EQ(size.width, 110);
    EXPECT_EQ(size.height, 100);
}

// An empty group box, partly off the dialog, stays as it is; two controls of no width at one x are not before each
// other, and neither pushes the other.
TEST(TextFitTest, EmptyBoxesAndControlsOfNoWidthStay)
{
    std::vector<ControlFit> c = {{{-20, 10, 30, 40}}, {{50, 10, 50, 20}}, {{50, 10, 50, 20}}};
    c[0].frames = true;
    c[1].neededWidth = 10;
    FitControls(c.data(), c.size(), {100, 100});
    EXPECT_EQ(c[0].rect.right, 30);
    EXPECT_EQ(c[1].rect.right, 60);
    EXPECT_EQ(c[2].rect.left, 50);
}

// A template as the resource compiler writes it: header, menu, class, caption, font, and
// the items from the next 4-byte boundary on.
std::vector<std::uint8_t> Template(bool extended, const std::u16string& face, std::uint16_t pointSize = 9,
                                   std::uint16_t style = 0x00C0)
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
    unit(style), unit(0x90C8);  // style: DS_SETFONT, ...
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

// The font the dialog manager makes: a negative point size asks for a cell height; DS_SHELLFONT (an extended
// template's) turns "MS Shell Dlg" into Windows 2000's font; a face longer than a LOGFONT holds is cut.
TEST(DialogTemplateTest, TheFontIsMadeAsTheDialogManagerMakesIt)
{
    struct {
        long lfHeight, lfWeight;
        std::uint8_t lfItalic;
        char16_t lfFaceName[32];
    } font{};
    auto make = [&font](const std::vector<std::uint8_t>& t) {
        font = {};
        const dialog_template::Reader reader(t.data(), t.size());
        dialog_template::MakeDialogFont(reader, HeaderOf(t), 144, font);
        return std::u16string(font.lfFaceName);
    };
    EXPECT_EQ(make(Template(true, u"ＭＳ Ｐゴシック")), u"ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -18);
    make(Template(false, u"X", static_cast<std::uint16_t>(-9)));
    EXPECT_EQ(font.lfHeight, 18);
    EXPECT_EQ(make(Template(true, u"ms shell dlg", 8, 0x00C8)), u"ms shell dlg 2");
    EXPECT_EQ(make(Template(false, u"MS Shell Dlg", 8, 0x00C8)), u"MS Shell Dlg")
        << "DS_SHELLFONT is for extended ones";
    EXPECT_EQ(make(Template(true, u"MS Shell Dlg", 8)), u"MS Shell Dlg");
    EXPECT_EQ(make(Template(true, std::u16string(40, u'A'))).size(), 31u);
}

// A name table with a font's English family name, its Japanese full name, a typographic family name (id 16) and a
// Macintosh name in an older encoding: GDI looks a face up by the first two alone, upper-casing every character.
TEST(FontNamesTest, AFontIsKnownByItsFamilyAndFullNamesInEveryLanguage)
{
    const std::u16string english = u"Test Sans", japanese = u"テストｓａｎｓ", typographic = u"Typo", mac = u"Mac";
    const std::u16string full = u"Test Sans Regular With A Longer Name";  // more than the 31 a LOGFONT holds
    std::vector<std::uint8_t> t;
    auto unit = [&t](unsigned u) { t.push_back((u >> 8) & 0xFF), t.push_back(u & 0xFF); };
    unit(0), unit(5), unit(6 + 5 * 12);  // format, records, where the strings start
    unsigned at = 0;
    for (const auto& [platform, id, s] :
         {std::tuple{3, 1, english}, {3, 4, japanese}, {3, 4, full}, {3, 16, typographic}, {1, 1, mac}})
        unit(platform), unit(1), unit(0x409), unit(id), unit(2 * s.size()), unit(at), at += 2 * s.size();
    for (const std::u16string& s : {english, japanese, full, typographic, mac})
        for (char16_t c : s)
            unit(c);
    // Upper-cases ASCII and full-width letters, as a stand-in for the system's own.
    auto upper = [](char16_t c) -> char16_t {
        return (c >= u'a' && c <= u'z') || (c >= u'ａ' && c <= u'ｚ') ? c - 32 : c;
    };
    auto lists = [&](const std::u16string& face, std::size_t size) {
        return NameTableLists(t.data(), size, face.data(), face.size(), upper);
    };
    EXPECT_TRUE(lists(u"test SANS", t.size()));
    EXPECT_TRUE(lists(u"テストＳＡＮＳ", t.size()));
    EXPECT_FALSE(lists(typographic, t.size()));
    EXPECT_FALSE(lists(mac, t.size()));
    EXPECT_FALSE(lists(u"Test", t.size()));
    EXPECT_FALSE(lists(japanese, t.size() - 2 * (full.size() + typographic.size() + mac.size()) - 2)) << "cut off";
    EXPECT_TRUE(lists(full.substr(0, 31), t.size())) << "compared as far as a LOGFONT holds a face";
}

}  // namespace
