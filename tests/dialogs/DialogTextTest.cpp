// Both dialogs, run for real, read whole whatever font their face maps to: every character
// of every text has a glyph in the font its control got, and every text fits its control.
// The test command runs this in the project's prefix and again in prefixes as players
// have them, naming the prefix in VORLAMY_PLAYERS_PREFIX: "plain", where the system has no
// Japanese font and the dialogs must get the program's own, "ipagothic", where
// "ＭＳ Ｐゴシック" is replaced by the monospaced IPAGothic, of other proportions, or
// "japanese", whose system messages are Japanese but lack the dialogs' face.
#include "dialogs/AboutDlg.h"
#include "dialogs/SettingsDlg.h"
#include "res/resource.h"
#include "support/ScriptedDialog.h"
#include "support/TemplateValues.h"
#include "support/WindowGeometry.h"
#include "winlib/MessageDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The font a control got.
struct FontSeen {
    std::wstring face;
    bool monospaced = false;
};

// What is wrong with a control's text in its own font; empty when nothing is.
std::string Faults(HWND control, FontSeen& font)
{
    wchar_t buffer[512] = {};
    const std::wstring text(buffer, GetWindowTextW(control, buffer, 512));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool isStatic = SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_STATIC;
    if (text.empty() || (isStatic && (style & SS_TYPEMASK) == SS_ICON))
        return {};
    HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t faceName[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, faceName);
    font.face = faceName;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    font.monospaced = !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);  // the bit means "variable"
    std::string faults;
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (glyphs[i] == 0xFFFF && text[i] >= L' ')  // a line break is no glyph
            faults += "no glyph for character " + std::to_string(text[i]) + "; ";
    }
    RECT client{}, needed{};
    GetClientRect(control, &client);
    if (isStatic) {
        // As the static control draws it.
        needed.right = client.right;
        DrawTextW(dc, text.c_str(), -1, &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
    } else {
        // As the button itself reckons its whole label, check box included.
        SIZE ideal{};
        SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        needed = {0, 0, ideal.cx, ideal.cy};
    }
    if (needed.right > client.right || needed.bottom > client.bottom)
        faults += "cut: needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return faults;
}

// Where the template puts each control, in the dialog's pixels, in creation order; last, the client area.
std::vector<RECT> DesignedRects(HWND dialog, UINT templateId)
{
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    const DialogTemplate t =
        ParseDialogTemplate(LockResource(LoadResource(nullptr, found)), SizeofResource(nullptr, found));
    std::vector<RECT> rects;
    RECT client{0, 0, t.cx, t.cy};
    MapDialogRect(dialog, &client);
    for (const DialogItem& item : t.items) {
        RECT r{item.x, item.y, item.cx, item.cy};  // the size is converted apart from the place
        MapDialogRect(dialog, &r);
        rects.push_back({r.left, r.top, r.left + r.right, r.top + r.bottom});
    }
    rects.push_back(client);
    return rects;
}

template <class Dialog>
void ExpectWholeAndReadable(UINT templateId)
{
    const char* prefix = std::getenv("VORLAMY_PLAYERS_PREFIX");
    const bool noJapaneseFont = prefix && std::strcmp(prefix, "plain") == 0;
    // The monospaced replacement draws the choices wider than they were laid out.
    const bool choicesMustWiden = prefix && std::strcmp(prefix, "ipagothic") == 0;
    ScriptedDialog<Dialog> dlg([&](ScriptedDialog<Dialog>& d) {
        if (const char* dpi = std::getenv("VORLAMY_EXPECTED_DPI")) {
            HDC screen = GetDC(nullptr);
            EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), std::atoi(dpi)) << "the run was asked for this";
            ReleaseDC(nullptr, screen);
        }
        const std::vector<RECT> designed = DesignedRects(d.m_hWnd, templateId);
        std::size_t i = 0;
        for (HWND c = GetWindow(d.m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++i) {
            const int id = GetDlgCtrlID(c);
            SCOPED_TRACE(testing::Message() << "template " << templateId << ", control " << i << " (id " << id << ")");
            FontSeen font;
            EXPECT_EQ(Faults(c, font), "");
            if (font.face.empty())
                continue;  // no text: the icon, which takes its own size
            if (noJapaneseFont) {
                EXPECT_EQ(font.face, DIALOGFONT_FACE) << "the program's own font";
            }
            EXPECT_EQ(font.monospaced, choicesMustWiden) << "the replacement took, or none was there";
            RECT rect{};
            GetWindowRect(c, &rect);
            MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            ASSERT_LT(i + 1, designed.size());
            if (!choicesMustWiden) {
                EXPECT_TRUE(EqualRect(&rect, &designed[i])) << "where every text fits, nothing moves";
            } else if (id == IDC_HWTNL_OFF || id == IDC_HWTNL_ON) {
                EXPECT_GT(rect.right, designed[i].right) << "the choice was widened";
            }
        }
        EXPECT_EQ(i + 1, designed.size());
        RECT client{};
        GetClientRect(d.m_hWnd, &client);
        if (!choicesMustWiden) {
            EXPECT_TRUE(EqualRect(&client, &designed.back())) << "and the dialog keeps its size";
        }
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// The message of a failed save reads whole where the dialogs do: the class library's message dialog, in the font of
// the settings dialog that it speaks for, inside the work area.
TEST(DialogTextTest, TheMessageOfAFailedSaveIsWholeAndReadable)
{
    CWinApp app;
    app.SetStandInDialogFont(IDR_DIALOGFONT, DIALOGFONT_FACE);
    const char* prefix = std::getenv("VORLAMY_PLAYERS_PREFIX");
    const CString text = SaveFailureText({HwTnlSaveResult::Outcome::LeftEmpty, ERROR_DISK_FULL});
    ScriptedDialog<CSettingsDlg> settings([&](ScriptedDialog<CSettingsDlg>& s) {
        ScriptedDialog<CMessageDlg> message(
            [&](ScriptedDialog<CMessageDlg>& m) {
                for (HWND c = GetWindow(m.m_hWnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                    FontSeen font;
                    EXPECT_EQ(Faults(c, font), "") << "control " << GetDlgCtrlID(c);
                    if (prefix && std::strcmp(prefix, "plain") == 0 && !font.face.empty()) {
                        EXPECT_EQ(font.face, DIALOGFONT_FACE) << "the program's own font";
                    }
                }
                EXPECT_TRUE(Inside(WindowRect(m.m_hWnd), WorkAreaOf(m.m_hWnd)));
                m.EndDialog(IDOK);
            },
            &s, text, L"Vorlamy", MB_OK | MB_ICONERROR);
        EXPECT_EQ(message.DoModal(), IDOK);
        s.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(settings.DoModal(), IDCANCEL);
}

TEST(DialogTextTest, EveryTextOfBothDialogsIsWholeAndReadable)
{
    // As the program's application object: its own font where the system has none of the
    // dialogs' face.
    CWinApp app;
    app.SetStandInDialogFont(IDR_DIALOGFONT, DIALOGFONT_FACE);
    ExpectWholeAndReadable<CSettingsDlg>(IDD_SETTINGS_DIALOG);
    ExpectWholeAndReadable<CAboutDlg>(IDD_ABOUTBOX);
}

}  // namespace
