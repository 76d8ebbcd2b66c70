// The yardstick: the settings dialog as a bare Win32 program, with a plain dialog
// procedure and no class library, doing the same work on OK.
#include "res/resource.h"
#include "setting/HwTnlFile.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageW(dialog, IDC_HWTNL_OFF, BM_SETCHECK, BST_CHECKED, 0);
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
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS_DIALOG), nullptr, &SettingsProc, 0);
    return 0;
}
