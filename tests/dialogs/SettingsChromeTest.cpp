// The settings dialog's window chrome, in-process against the real window system: the
// system menu's About entry and the About box it opens, the icons, the minimized paint.
#include "dialogs/SettingsDlg.h"
#include "res/resource.h"
#include "support/Executables.h"
#include "support/ScratchDirectory.h"
#include "support/ScriptedDialog.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A modal dialog without WS_VISIBLE shows itself once its loop is idle; a timer fires
// only then, so the watch sees the About box as the user would.
constexpr UINT_PTR kWatchTimer = 77;
const std::wstring kAboutEntry = L"Vorlamy のﾊﾞｰｼﾞｮﾝ情報(&A)...";

enum class CloseBy { OkButton, Enter, Esc, CloseCommand };

// A settings dialog that, while a box it owns is up, notes what it sees and closes the
// box the way it was asked to; it also notes the icon background erases of its paint.
class CChromeWatchingDlg : public CSettingsDlg {
public:
    CloseBy closeBy = CloseBy::OkButton;
    std::wstring boxCaption;
    bool boxOwnedByDialog = false;
    bool dialogDisabledMeanwhile = false;
    int boxesSeen = 0;
    int iconBackgroundErases = 0;
    int lookups = 0;
    bool boxWasVisible = false;

    HICON Icon() const { return m_hIcon; }

    void WatchForAboutBox() { SetTimer(m_hWnd, kWatchTimer, 10, nullptr); }

protected:
    LRESULT OnTimer(WPARAM timer, LPARAM)
    {
        if (timer != kWatchTimer)
            return 0;
        HWND box = FindOwnedWindow(m_hWnd);
        if (!(box && IsWindowVisible(box)) && ++lookups < 50)
            return 0;
        KillTimer(m_hWnd, kWatchTimer);
        if (box)
            CloseAboutBox(box);
        return 0;
    }

    void CloseAboutBox(HWND box)
    {
        ++boxesSeen;
        boxWasVisible = IsWindowVisible(box) != FALSE;
        wchar_t caption[128] = {};
        ::GetWindowTextW(box, caption, 128);
        boxCaption = caption;
        boxOwnedByDialog = GetWindow(box, GW_OWNER) == m_hWnd;
        dialogDisabledMeanwhile = !IsWindowEnabled(m_hWnd);
        HWND focus = GetFocus();
        switch (closeBy) {
        case CloseBy::OkButton:
            ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            break;
        case CloseBy::Enter:
        case CloseBy::Esc:
            PostMessageW(focus ? focus : box, WM_KEYDOWN, closeBy == CloseBy::Enter ? VK_RETURN : VK_ESCAPE, 1);
            break;
        case CloseBy::CloseCommand:
            ::SendMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    }
    LRESULT OnIconEraseBackground(WPARAM, LPARAM)
    {
        ++iconBackgroundErases;
        return Default();
    }

    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

private:
    static const MessageEntry messageEntries[];
};
using ObservedMap = MessageMapOf<CChromeWatchingDlg>;
const MessageEntry CChromeWatchingDlg::messageEntries[] = {
    ObservedMap::OnMessage<WM_TIMER, &CChromeWatchingDlg::OnTimer>(),
    ObservedMap::OnMessage<WM_ICONERASEBKGND, &CChromeWatchingDlg::OnIconEraseBackground>(),
};
const MessageMap CChromeWatchingDlg::messageMap = {&CSettingsDlg::messageMap, messageEntries,
                                                   std::size(messageEntries)};

using Scripted = ScriptedDialog<CChromeWatchingDlg>;

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}
bool IsSeparator(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}
HICON WindowIcon(HWND window, WPARAM size)
{
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, size, 0));
}

TEST(SettingsChromeTest, SystemMenuEndsWithASeparatorAndTheAboutEntry)
{
    Scripted dlg([](Scripted& d) {
        HMENU menu = GetSystemMenu(d.m_hWnd, FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_TRUE(IsSeparator(menu, count - 2));
        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        EXPECT_EQ(MenuText(menu, count - 1), kAboutEntry);
        d.Click(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(SettingsChromeTest, TheApplicationIconIsTheWindowsIconAndDragIcon)
{
    const HICON appIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(appIcon, nullptr);
    Scripted dlg([appIcon](Scripted& d) {
        EXPECT_EQ(d.Icon(), appIcon);
        EXPECT_EQ(WindowIcon(d.m_hWnd, ICON_BIG), appIcon);
        EXPECT_EQ(WindowIcon(d.m_hWnd, ICON_SMALL), appIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_QUERYDRAGICON)), appIcon);
        d.Click(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(SettingsChromeTest, EveryAboutIdOpensTheOwnedBoxAndEveryWayClosesIt)
{
    const UINT ids[] = {IDM_ABOUTBOX, IDM_ABOUTBOX + 1, IDM_ABOUTBOX + 0xF};
    const CloseBy ways[] = {CloseBy::OkButton, CloseBy::Enter, CloseBy::Esc, CloseBy::CloseCommand};
    for (UINT id : ids) {
        for (CloseBy way : ways) {
            SCOPED_TRACE(testing::Message() << "id " << id << ", way " << static_cast<int>(way));
            ScratchDirectory dir;
            Scripted dlg([id](Scripted& d) {
                d.Click(IDC_HWTNL_ON);
                // Handled inside the About box's modal loop, which runs within SendMessage.
                d.WatchForAboutBox();
                d.SendMessage(WM_SYSCOMMAND, id, 0);
                EXPECT_TRUE(d.IsChecked(IDC_HWTNL_ON)) << "the choice survives the About box";
                EXPECT_FALSE(d.IsChecked(IDC_HWTNL_OFF));
                EXPECT_TRUE(IsWindowEnabled(d.m_hWnd));
                d.Click(IDCANCEL);
            });
            dlg.closeBy = way;
            // As in the program: the settings dialog is the application's main window,
            // which is what makes it the owner of the parentless About box.
            CWinApp app;
            app.m_pMainWnd = &dlg;
            EXPECT_EQ(dlg.DoModal(), IDCANCEL);
            EXPECT_EQ(dlg.boxesSeen, 1);
            EXPECT_EQ(dlg.boxCaption, L"Vorlamyのﾊﾞｰｼﾞｮﾝ情報");
            EXPECT_TRUE(dlg.boxOwnedByDialog);
            EXPECT_TRUE(dlg.boxWasVisible);
            EXPECT_TRUE(dlg.dialogDisabledMeanwhile);
            EXPECT_EQ(dir.Listing(), "") << "the About box writes nothing";
        }
    }
}

TEST(SettingsChromeTest, OtherSystemCommandsGetTheirDefaultProcessing)
{
    Scripted dlg([](Scripted& d) {
        d.WatchForAboutBox();
        d.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX + 0x10, 0);               // not ours: nothing opens
        for (MSG msg; d.lookups < 20 && GetMessageW(&msg, nullptr, 0, 0);)  // let the watch look
            DispatchMessageW(&msg);
        d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);  // the system's close: Cancel
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.boxesSeen, 0);
}

TEST(SettingsChromeTest, MinimizedTheDialogPaintsItsIcon)
{
    int erasesWhileNormal = -1;
    Scripted dlg([&erasesWhileNormal](Scripted& d) {
        d.SendMessage(WM_PAINT);
        erasesWhileNormal = d.iconBackgroundErases;
        ShowWindow(d.m_hWnd, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(d.m_hWnd));
        // A minimized window has no client area today, so the system itself sends it no
        // WM_PAINT; the paint is asked for here, as an older shell would.
        d.SendMessage(WM_PAINT);
        EXPECT_TRUE(IsWindow(d.m_hWnd));
        ShowWindow(d.m_hWnd, SW_RESTORE);
        EXPECT_FALSE(IsIconic(d.m_hWnd));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(erasesWhileNormal, 0) << "a normal paint is the dialog's own";
    EXPECT_EQ(dlg.iconBackgroundErases, 1) << "the minimized paint erased the icon background";
}

TEST(SettingsChromeTest, WithoutTheAboutTextTheMenuStaysAsTheSystemMadeIt)
{
    struct Free {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, Free> module(
        LoadLibraryW((TestExecutableDirectory() / "no_about_string.dll").c_str()));
    ASSERT_NE(module.get(), nullptr);
    ASSERT_EQ(LoadStringW(module.get(), IDS_ABOUTBOX, nullptr, 0), 0) << "the module must lack the string";

    int countWithEntry = 0;
    {
        Scripted dlg([&countWithEntry](Scripted& d) {
            countWithEntry = GetMenuItemCount(GetSystemMenu(d.m_hWnd, FALSE));
            d.Click(IDCANCEL);
        });
        dlg.DoModal();
    }

    CWinApp app;
    app.m_hResource = module.get();
    const HICON moduleIcon = LoadIconW(module.get(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(moduleIcon, nullptr);
    Scripted dlg([&](Scripted& d) {
        HMENU menu = GetSystemMenu(d.m_hWnd, FALSE);
        EXPECT_EQ(GetMenuItemCount(menu), countWithEntry - 2) << "neither the entry nor its separator";
        EXPECT_EQ(GetMenuState(menu, IDM_ABOUTBOX, MF_BYCOMMAND), static_cast<UINT>(-1));
        EXPECT_EQ(WindowIcon(d.m_hWnd, ICON_BIG), moduleIcon) << "the icons are set all the same";
        EXPECT_EQ(WindowIcon(d.m_hWnd, ICON_SMALL), moduleIcon);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace
