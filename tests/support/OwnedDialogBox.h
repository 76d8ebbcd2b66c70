#pragma once

#include <windows.h>

// Whether `window` is a dialog box (a message box, an About box) that `owner` owns.
inline bool IsDialogBoxOwnedBy(HWND window, HWND owner)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return window != owner && GetWindow(window, GW_OWNER) == owner && lstrcmpW(className, L"#32770") == 0;
}
