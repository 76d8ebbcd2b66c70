// The yardstick: the settings dialog as a bare Win32 program, with a plain dialog
// procedure and no class library, doing the same work on OK. Built three times more, each
// time with one step that Vorlamy adds as its dialog opens, to show what that costs: the
// decision on the dialog's font (BASELINE_FONT_DECISION), the fit of the controls to their
// texts (BASELINE_TEXT_FIT), and the window's chrome: its icons, the About entry of its
// system menu and its place in the middle of the screen (BASELINE_WINDOW_CHROME).
#include "res/resource.h"
#include "setting/HwTnlFile.h"
#include "winlib/Dialog.h"
#include "winlib/Font.h"
#include "winlib/Placement.h"

#include <windows.h>

namespace {

#if defined(BASELINE_WINDOW_CHROME)
void AddWindowChrome(HWND dialog)
{
    const HMENU systemMenu = GetSystemMenu(dialog, FALSE);
    wchar_t text[64];
    if (systemMenu && LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, 64)) {
        AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
    }
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT window{};
    GetWindowRect(dialog, &window);
    if (!GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const PixelRect workArea{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    const PixelPoint at = CentredPosition(window.right - window.left, window.bottom - window.top, workArea, workArea);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
#endif

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, IDC_HWTNL_OFF, BM_SETCHECK, BST_CHECKED, 0);
#if defined(BASELINE_TEXT_FIT)
        FitControlsToTheirTexts(dialog);
#endif
#if defined(BASELINE_WINDOW_CHROME)
        AddWindowChrome(dialog);
#endif
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const bool off = SendDlgItemMessageW(dialog, IDC_HWTNL_OFF, BM_GETCHECK, 0, 0) == BST_CHECKED;
            if (WriteHwTnlFile(HwTnlStateFromOffButton(off)))
                EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#if defined(BASELINE_FONT_DECISION)
    // The settings dialog's font, as its template names it.
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, GetDeviceCaps(CFontDC(nullptr).Get(), LOGPIXELSY), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    lstrcpyW(font.lfFaceName, L"ＭＳ Ｐゴシック");
    IsFontFaceInstalled(font);
#endif
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS_DIALOG), nullptr, &SettingsProc, 0);
    return 0;
}
