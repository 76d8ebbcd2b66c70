// The class library against the real window system: message-map chaining, Default(),
// the two ways a dialog procedure answers, modal runs and ownership, command routing.
#include "support/ScriptedDialog.h"
#include "support/WindowGeometry.h"
#include "winlib/DialogTemplate.h"
#include "winlib/MessageDlg.h"
#include "winlib/TestDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_BASE_ONLY = WM_APP + 1;
constexpr UINT WM_BOTH = WM_APP + 2;
constexpr UINT WM_THROWS = WM_APP + 3;
constexpr UINT WM_NOBODY = WM_APP + 4;
constexpr UINT WM_NESTED = WM_APP + 5;

// A dialog class with a map of its own ...
class CBaseDlg : public CDialog {
public:
    CBaseDlg() : CDialog(IDD_TEST_DIALOG) {}
    std::string calls;

protected:
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM)
    {
        calls += "base-only;";
        return 1000 + static_cast<LRESULT>(wParam);
    }
    LRESULT OnBoth(WPARAM, LPARAM)
    {
        calls += "base-both;";
        return 1;
    }
    // The default processing of WM_GETTEXTLENGTH is the caption's length.
    LRESULT OnGetTextLength(WPARAM, LPARAM) { return Default() + 100; }
    void OnThrows() { throw std::runtime_error("handler failed"); }
    // The default processing of a private message is 0.
    LRESULT OnNested(WPARAM, LPARAM)
    {
        calls += "nested;";
        return Default() + 1;
    }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};
using BaseMap = MessageMapOf<CBaseDlg>;
const MessageEntry CBaseDlg::messageEntries[] = {
    BaseMap::OnMessage<WM_BASE_ONLY, &CBaseDlg::OnBaseOnly>(),
    BaseMap::OnMessage<WM_BOTH, &CBaseDlg::OnBoth>(),
    BaseMap::OnMessage<WM_GETTEXTLENGTH, &CBaseDlg::OnGetTextLength>(),
    BaseMap::OnMessage<WM_THROWS, &CBaseDlg::OnThrows>(),
    BaseMap::OnMessage<WM_NESTED, &CBaseDlg::OnNested>(),
};
const MessageMap CBaseDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

// ... and a class derived from it that overrides one row and adds a command.
class CDerivedDlg : public CBaseDlg {
public:
    bool okPressed = false;

protected:
    LRESULT OnBoth(WPARAM, LPARAM)
    {
        calls += "derived-both;";
        return 2;
    }
    void OnOther() { calls += "other;"; }
    void OnOK() override
    {
        okPressed = true;
        CBaseDlg::OnOK();
    }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};
using DerivedMap = MessageMapOf<CDerivedDlg>;
const MessageEntry CDerivedDlg::messageEntries[] = {
    DerivedMap::OnMessage<WM_BOTH, &CDerivedDlg::OnBoth>(),
    DerivedMap::OnCommand<IDC_TEST_OTHER, &CDerivedDlg::OnOther>(),
};
const MessageMap CDerivedDlg::messageMap = {&CBaseDlg::messageMap, messageEntries, std::size(messageEntries)};

// An application whose map takes a command that no dialog handles.
class CTestApp : public CWinApp {
public:
    int commands = 0;
    std::function<BOOL()> initInstance = [] { return FALSE; };
    BOOL InitInstance() override { return initInstance(); }

protected:
    void OnAppCommand() { ++commands; }
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};
const MessageEntry CTestApp::messageEntries[] = {
    MessageMapOf<CTestApp>::OnCommand<IDC_TEST_OTHER, &CTestApp::OnAppCommand>(),
};
const MessageMap CTestApp::messageMap = {&CWinApp::messageMap, messageEntries, std::size(messageEntries)};

using Scripted = ScriptedDialog<CDerivedDlg>;

LRESULT Send(const CWnd& wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(wnd.m_hWnd, message, wParam, lParam);
}

TEST(MessageMapTest, RowsChainToTheBaseAndTheMostDerivedRowWins)
{
    Scripted dlg([](Scripted& d) {
        EXPECT_EQ(Send(d, WM_BASE_ONLY, 7), 1007) << "a row of the base class's map";
        EXPECT_EQ(Send(d, WM_BOTH), 2) << "the derived row hides the base row";
        EXPECT_EQ(Send(d, WM_NOBODY), 0) << "no row: the dialog manager's default";
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.calls, "base-only;derived-both;");
}

TEST(MessageMapTest, DefaultPerformsTheDefaultProcessingAndReturnsItsResult)
{
    Scripted dlg([](Scripted& d) {
        // "Test dialog" is 11 characters; the handler adds 100 to what Default() gave.
        EXPECT_EQ(Send(d, WM_GETTEXTLENGTH), 111);
        // Messages without a row reach the default processing: the caption changes.
        SetWindowTextW(d.m_hWnd, L"Renamed");
        EXPECT_EQ(Send(d, WM_GETTEXTLENGTH), 107);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// A dialog procedure put in front of the class library's, as a tool that hooks dialogs
// does. When DefDlgProc brings back the WM_GETTEXTLENGTH that a handler's Default() handed
// it, this one first sends the dialog another message, whose handler passes it on with
// Default() in turn.
DLGPROC libraryDialogProc = nullptr;
int textLengthArrivals = 0;
LRESULT nestedResult = -1;
INT_PTR CALLBACK SendsAnotherMessageFirst(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXTLENGTH && ++textLengthArrivals == 2)
        nestedResult = SendMessageW(hWnd, WM_NESTED, 0, 0);
    return libraryDialogProc(hWnd, message, wParam, lParam);
}

TEST(MessageMapTest, DefaultLetsOnlyItsOwnMessageGoByAndOtherMessagesReachTheirHandlers)
{
    Scripted dlg([](Scripted& d) {
        libraryDialogProc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(d.m_hWnd, DWLP_DLGPROC));
        SetWindowLongPtrW(d.m_hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&SendsAnotherMessageFirst));
        textLengthArrivals = 0;
        EXPECT_EQ(Send(d, WM_GETTEXTLENGTH), 111) << "the outer Default() still gets its own default";
        EXPECT_EQ(nestedResult, 1) << "the message sent meanwhile reached its handler, and its Default()";
        SetWindowLongPtrW(d.m_hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(libraryDialogProc));
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.calls, "nested;");
}

TEST(MessageMapTest, AnExceptionInAHandlerStopsAtTheWindowProcedure)
{
    Scripted dlg([](Scripted& d) {
        EXPECT_EQ(Send(d, WM_THROWS), 0);
        EXPECT_TRUE(IsWindow(d.m_hWnd)) << "the dialog lives on";
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(CommandRoutingTest, ButtonsReachTheDialogFirstThenTheApplication)
{
    CTestApp app;
    Scripted dlg([&app](Scripted& d) {
        d.Click(IDC_TEST_OTHER);  // the derived dialog's own row
        EXPECT_EQ(app.commands, 0);
        d.Click(IDOK);  // CDialog's row, calling the overridden OnOK
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.okPressed);
    EXPECT_EQ(dlg.calls, "other;");

    ScriptedDialog<CBaseDlg> plain([](ScriptedDialog<CBaseDlg>& d) {
        d.Click(IDC_TEST_OTHER);  // no row in the dialog's chain: the application's
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(plain.DoModal(), IDCANCEL);
    EXPECT_EQ(app.commands, 1);
}

TEST(ModalRunTest, AParentlessDialogIsOwnedByTheDisabledMainWindow)
{
    CTestApp app;
    HWND outerWindow = nullptr;
    Scripted outer([&](Scripted& o) {
        outerWindow = o.m_hWnd;
        app.m_pMainWnd = &o;
        Scripted inner([&](Scripted& i) {
            EXPECT_EQ(GetWindow(i.m_hWnd, GW_OWNER), outerWindow);
            EXPECT_FALSE(IsWindowEnabled(outerWindow)) << "the owner is disabled during the run";
            i.EndDialog(1234);
        });
        EXPECT_EQ(inner.DoModal(), 1234);
        EXPECT_EQ(inner.m_hWnd, nullptr) << "the object forgets its destroyed window";
        EXPECT_TRUE(IsWindowEnabled(outerWindow));
        o.EndDialog(IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(app.m_pMainWnd, &outer);
}

// A dialog that puts itself where it wants while it is being initialized.
class CSelfPlacingDlg : public CBaseDlg {
protected:
    BOOL OnInitDialog() override
    {
        CBaseDlg::OnInitDialog();
        SetWindowPos(m_hWnd, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
};

TEST(DialogPlacementTest, AnOwnerlessDialogOpensInTheMiddleOfTheWorkArea)
{
    Scripted dlg([](Scripted& d) {
        EXPECT_LE(CentreDistance(WindowRect(d.m_hWnd), WorkAreaOf(d.m_hWnd)), 2);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(DialogPlacementTest, ADialogThatPlacesItselfKeepsItsPlace)
{
    ScriptedDialog<CSelfPlacingDlg> dlg([](ScriptedDialog<CSelfPlacingDlg>& d) {
        const RECT rect = WindowRect(d.m_hWnd);
        EXPECT_EQ(rect.left, 37);
        EXPECT_EQ(rect.top, 41);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(DialogPlacementTest, AnOwnedDialogOpensOverItsOwnerAndInsideTheWorkArea)
{
    CTestApp app;
    Scripted owner([&](Scripted& o) {
        app.m_pMainWnd = &o;
        const RECT work = WorkAreaOf(o.m_hWnd);
        Scripted overOwner([&](Scripted& i) {
            EXPECT_LE(CentreDistance(WindowRect(i.m_hWnd), WindowRect(o.m_hWnd)), 2);
            i.EndDialog(IDOK);
        });
        overOwner.DoModal();
        // The owner mostly off the bottom-right corner of the screen.
        SetWindowPos(o.m_hWnd, nullptr, work.right - 40, work.bottom - 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Scripted nearTheEdge([&](Scripted& i) {
            EXPECT_TRUE(Inside(WindowRect(i.m_hWnd), work));
            i.EndDialog(IDOK);
        });
        nearTheEdge.DoModal();
        o.EndDialog(IDOK);
    });
    EXPECT_EQ(owner.DoModal(), IDOK);
}

// Where a control stands in its dialog's client area, and where its template put it
// (dialog units, as x, y, width, height), in pixels: the dialog manager converts the
// width and height apart from the position.
RECT ControlRect(HWND dialog, int id)
{
    RECT rect = WindowRect(GetDlgItem(dialog, id));
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
RECT DesignedRect(HWND dialog, int x, int y, int width, int height)
{
    RECT rect{x, y, width, height};
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

TEST(DialogTextFitTest, ACrampedDialogMakesRoom)
{
    ScriptedDialog<CDialog> cramped(
        [](ScriptedDialog<CDialog>& d) {
            const RECT paragraph = ControlRect(d.m_hWnd, IDC_CRAMPED_PARAGRAPH);
            const RECT designed = DesignedRect(d.m_hWnd, 5, 5, 110, 16);
            const int grewBy = (paragraph.bottom - paragraph.top) - (designed.bottom - designed.top);
            EXPECT_GT(grewBy, 0) << "the paragraph gets the lines it needs";
            EXPECT_EQ(paragraph.right, designed.right) << "at its width";
            const RECT choice = ControlRect(d.m_hWnd, IDC_CRAMPED_CHOICE);
            const RECT choiceDesigned = DesignedRect(d.m_hWnd, 5, 25, 40, 10);
            EXPECT_EQ(choice.top, choiceDesigned.top + grewBy) << "what stands below moves down by as much";
            EXPECT_GT(choice.right, choiceDesigned.right) << "a line that does not fit widens";
            EXPECT_EQ(ControlRect(d.m_hWnd, IDOK).top, DesignedRect(d.m_hWnd, 35, 60, 50, 14).top + grewBy);
            RECT client{};
            GetClientRect(d.m_hWnd, &client);
            EXPECT_EQ(client.bottom, DesignedRect(d.m_hWnd, 0, 0, 120, 80).bottom + grewBy);
            EXPECT_LE(CentreDistance(WindowRect(d.m_hWnd), WorkAreaOf(d.m_hWnd)), 2) << "centred as it now is";

            const RECT group = ControlRect(d.m_hWnd, IDC_CRAMPED_GROUP),
                       framed = ControlRect(d.m_hWnd, IDC_CRAMPED_FRAMED);
            const RECT groupDesigned = DesignedRect(d.m_hWnd, 60, 22, 55, 30);
            const RECT framedDesigned = DesignedRect(d.m_hWnd, 65, 32, 40, 10);
            EXPECT_GT(framed.right - framed.left, framedDesigned.right - framedDesigned.left);
            EXPECT_EQ(framed.left - group.left, framedDesigned.left - groupDesigned.left)
                << "framed, it moves with its box";
            EXPECT_EQ(group.right - framed.right, groupDesigned.right - framedDesigned.right) << "which grows with it";
            EXPECT_EQ(ControlRect(d.m_hWnd, IDC_CRAMPED_BESIDE).left - group.right,
                      DesignedRect(d.m_hWnd, 125, 30, 40, 14).left - groupDesigned.right)
                << "and what stands beside the box keeps its gap";
            for (const int id : {IDC_CRAMPED_HIDDEN, IDC_CRAMPED_ELLIPSIS}) {
                const RECT kept = ControlRect(d.m_hWnd, id);
                EXPECT_EQ(kept.right - kept.left,
                          DesignedRect(d.m_hWnd, 5, 0, id == IDC_CRAMPED_HIDDEN ? 20 : 40, 8).right -
                              DesignedRect(d.m_hWnd, 5, 0, 0, 0).left)
                    << "control " << id << " keeps its width";
            }
            d.EndDialog(IDOK);
        },
        IDD_CRAMPED_DIALOG);
    EXPECT_EQ(cramped.DoModal(), IDOK);
}

// Where every text fits, nothing moves and the dialog keeps its size, whatever stands hidden, off or at its edge.
TEST(DialogTextFitTest, WhereEveryTextFitsNothingMovesAndTheDialogKeepsItsSize)
{
    ScriptedDialog<CDialog> fitting(
        [](ScriptedDialog<CDialog>& d) {
            RECT client{};
            GetClientRect(d.m_hWnd, &client);
            const RECT designedClient = DesignedRect(d.m_hWnd, 0, 0, 180, 80);
            EXPECT_TRUE(EqualRect(&client, &designedClient));
            const struct {
                int id, x, y, width, height;
            } controls[] = {{IDC_FITTING_PLAIN, 5, 5, 60, 10},
                            {IDC_FITTING_LINES, 5, 20, 80, 20},
                            {IDC_FITTING_EMPTY_GROUP, -10, 45, 40, 20},
                            {IDC_FITTING_PARKED, 190, 5, 60, 10},
                            {IDOK, 129, 60, 51, 14}};
            for (const auto& c : controls) {
                const RECT now = ControlRect(d.m_hWnd, c.id),
                           designed = DesignedRect(d.m_hWnd, c.x, c.y, c.width, c.height);
                EXPECT_TRUE(EqualRect(&now, &designed)) << "control " << c.id;
            }
            d.EndDialog(IDOK);
        },
        IDD_FITTING_DIALOG);
    EXPECT_EQ(fitting.DoModal(), IDOK);
}

// A centred text beside a button in a group box grows to the right and keeps its gap to the button; the one below it
// grows to the left into the box's room, not past its inner margin; a WS_EX_RIGHT text keeps its right edge.
TEST(DialogTextFitTest, AlignedTextsKeepTheirGapAndStayInTheirBox)
{
    ScriptedDialog<CDialog> aligned(
        [](ScriptedDialog<CDialog>& d) {
            auto at = [&d](int id) { return ControlRect(d.m_hWnd, id); };
            const RECT group = at(IDC_ALIGNED_GROUP), neighbour = at(IDC_ALIGNED_NEIGHBOUR),
                       beside = at(IDC_ALIGNED_BESIDE), below = at(IDC_ALIGNED_BELOW), right = at(IDC_ALIGNED_RIGHT);
            const RECT besideDesigned = DesignedRect(d.m_hWnd, 60, 17, 40, 8);
            EXPECT_GT(beside.right, besideDesigned.right) << "it grew";
            EXPECT_EQ(beside.left - neighbour.right, besideDesigned.left - DesignedRect(d.m_hWnd, 10, 15, 30, 14).right)
                << "the gap before it stays";
            EXPECT_LT(below.left, DesignedRect(d.m_hWnd, 60, 32, 40, 8).left) << "into the room before it";
            EXPECT_GE(below.left, neighbour.left) << "but not past the box's inner margin";
            EXPECT_EQ(group.right - std::max(beside.right, below.right),
                      DesignedRect(d.m_hWnd, 5, 5, 170, 40).right - besideDesigned.right)
                << "the box grows around them";
            const RECT rightDesigned = DesignedRect(d.m_hWnd, 60, 55, 50, 8);
            EXPECT_EQ(right.right, rightDesigned.right) << "a right-aligned text keeps its right edge";
            EXPECT_LT(right.left, rightDesigned.left);
            d.EndDialog(IDOK);
        },
        IDD_ALIGNED_DIALOG);
    EXPECT_EQ(aligned.DoModal(), IDOK);
}

// A dialog that lays its controls out itself keeps them where its template has them.
class CFixedLayoutDlg : public CDialog {
public:
    explicit CFixedLayoutDlg(UINT id) : CDialog(id) { KeepTemplateLayout(); }
};
TEST(DialogTextFitTest, ADialogCanKeepItsTemplatesLayout)
{
    ScriptedDialog<CFixedLayoutDlg> fixed(
        [](ScriptedDialog<CFixedLayoutDlg>& d) {
            EXPECT_EQ(ControlRect(d.m_hWnd, IDC_CRAMPED_PARAGRAPH).bottom,
                      DesignedRect(d.m_hWnd, 5, 5, 110, 16).bottom);
            d.EndDialog(IDOK);
        },
        IDD_CRAMPED_DIALOG);
    EXPECT_EQ(fixed.DoModal(), IDOK);
}

INT_PTR CALLBACK NothingHandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Whether the dialog manager gives a dialog whose template names `face` the test font: the font it realizes is, byte
// for byte, the test font's file.
bool DialogGetsTheTestFont(const std::u16string& face)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDD_TEST_DIALOG), RT_DIALOG);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource)));
    const std::size_t size = SizeofResource(module, resource);
    const dialog_template::Header header = dialog_template::Reader(data, size).ReadHeader();
    std::vector<std::uint8_t> copy(dialog_template::SizeWithFace(size, header, face.size()));
    dialog_template::CopyWithFace(data, size, header, face.data(), face.size(), copy.data());
    const HWND dialog = CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(copy.data()), nullptr,
                                                   &NothingHandled, 0);
    if (!dialog)
        return false;
    const HRSRC file = FindResourceW(module, MAKEINTRESOURCEW(IDR_TEST_FONT), RT_RCDATA);
    const auto* testFont = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, file)));
    const CFontDC dc(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    const DWORD bytes = GetFontData(dc.Get(), 0, 0, nullptr, 0);  // table 0: the whole file
    std::vector<std::uint8_t> realized(bytes == GDI_ERROR ? 0 : bytes);
    if (!realized.empty() && GetFontData(dc.Get(), 0, 0, realized.data(), bytes) != bytes)
        realized.clear();
    DestroyWindow(dialog);
    return realized == std::vector<std::uint8_t>(testFont, testFont + SizeofResource(module, file));
}

// A dialog gets the stand-in exactly where it would not get the font its template names,
// whichever of the font's names the template uses. Which names Wine knows depends on the
// system's locale (Windows knows them all), so this runs under an English and a Japanese one.
TEST(FontDecisionTest, TheStandInIsForADialogThatWouldNotGetItsFont)
{
    CPrivateFont font;
    ASSERT_TRUE(font.Register(GetModuleHandleW(nullptr), IDR_TEST_FONT));
    for (const std::u16string face : {u"Vorlamy Test Gothic", u"ボルラミー検査ゴシック", u"Vorlamy Test Gothic Regular",
                                      u"vorlamy test gothic", u"No Such Gothic"}) {
        LOGFONTW wanted{};
        wanted.lfHeight = -MulDiv(8, GetDeviceCaps(CFontDC(nullptr).Get(), LOGPIXELSY), 72);
        wanted.lfCharSet = DEFAULT_CHARSET;
        wanted.lfQuality = PROOF_QUALITY;
        face.copy(reinterpret_cast<char16_t*>(wanted.lfFaceName), LF_FACESIZE - 1);
        const bool gets = DialogGetsTheTestFont(face);
        EXPECT_EQ(IsFontFaceInstalled(wanted), gets) << "face " << face.size() << " units long: " << wanted.lfFaceName;
        if (face == u"Vorlamy Test Gothic" || face == u"vorlamy test gothic") {
            EXPECT_TRUE(gets) << "a font is known by its English name under any locale";
        }
        if (face == u"No Such Gothic") {
            EXPECT_FALSE(gets) << "no font of that name";
        }
    }
}

// The library's message: the caption, the text, the error icon and OK with the focus, modal to its owner and centred
// over it; Enter, Esc and the close button end it with OK. (Ctrl+C: the program's tests press it for real.)
TEST(MessageDlgTest, AMessageIsShownAsMessageBoxShowsOneAndEndsWithOk)
{
    const wchar_t* text = L"A message that says\nwhat went wrong.";
    const std::function<void(HWND)> endings[] = {[](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); },
                                                 [](HWND) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); },
                                                 [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }};
    for (const auto& end : endings) {
        ScriptedDialog<CDialog> owner(
            [&](ScriptedDialog<CDialog>& o) {
                ScriptedDialog<CMessageDlg> box(
                    [&](ScriptedDialog<CMessageDlg>& b) {
                        EXPECT_EQ(std::wstring(b.GetWindowText()), L"Caption");
                        EXPECT_EQ(StaticTexts(b.m_hWnd), text);
                        EXPECT_EQ(SendDlgItemMessageW(b.m_hWnd, IDC_WINLIB_MESSAGE_ICON, STM_GETICON, 0, 0),
                                  reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_ERROR)));
                        EXPECT_EQ(b.FocusId(), IDOK);
                        EXPECT_EQ(GetWindow(b.m_hWnd, GW_OWNER), o.m_hWnd);
                        EXPECT_FALSE(IsWindowEnabled(o.m_hWnd));
                        EXPECT_LE(CentreDistance(WindowRect(b.m_hWnd), WindowRect(o.m_hWnd)), 2);
                        end(b.m_hWnd);
                    },
                    &o, text, L"Caption", MB_OK | MB_ICONERROR);
                EXPECT_EQ(box.DoModal(), IDOK);
                EXPECT_TRUE(IsWindowEnabled(o.m_hWnd));
                o.EndDialog(IDCANCEL);
            },
            IDD_TEST_DIALOG);
        EXPECT_EQ(owner.DoModal(), IDCANCEL);
    }
}

TEST(ModalRunTest, AMissingTemplateFailsWithoutAWindow)
{
    CDialog missing(4321);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(MainRoutineTest, AFalseStartUpEndsWithExitCodeZeroAndForgetsTheDestroyedMainWindow)
{
    CTestApp app;
    app.initInstance = [&app] {
        Scripted dlg([](Scripted& d) { d.Click(IDCANCEL); });
        app.m_pMainWnd = &dlg;
        dlg.DoModal();
        return FALSE;
    };
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr)), 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(MainRoutineTest, ATrueStartUpRunsTheMessageLoopUntilQuit)
{
    CTestApp app;
    app.initInstance = [] {
        PostQuitMessage(3);
        return TRUE;
    };
    EXPECT_EQ(AfxWinMain(GetModuleHandleW(nullptr)), 3);
}

TEST(StringTest, LoadsNothingForAMissingStringAndDescribesSystemErrors)
{
    CString text(L"previous");
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
    const CString reason = FormatSystemMessage(ERROR_ACCESS_DENIED);
    EXPECT_GT(reason.GetLength(), 4);
    EXPECT_NE(std::wstring(reason).find(L"(5)"), std::wstring::npos);
    EXPECT_EQ(std::wstring(reason).find(L'\n'), std::wstring::npos);
}

}  // namespace
