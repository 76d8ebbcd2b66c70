// The yardstick: the settings dialog as a bare Win32 program, with a plain dialog
// procedure and no class library, doing the same work on OK. Built twice more, each time
// with one step that the class library adds as a dialog opens, to show what that costs:
// the decision on the dialog's font (BASELINE_FONT_DECISION) and the fit of the controls
// to their texts (BASELINE_TEXT_FIT).
#include "res/resource.h"
#include "setting/HwTnlFile.h"
#include "winlib/Dialog.h"
#include "winlib/Font.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, IDC_HWTNL_OFF, BM_SETCHECK, BST_CHECKED, 0);
#if defined(BASELINE_TEXT_FIT)
        FitControlsToTheirTexts(dialog);
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
