#pragma once

#include <windows.h>

namespace owned_dialog_box_detail {

struct Search {
    HWND owner;
    bool mustBeVisible;
    HWND found;
};

inline BOOL CALLBACK Match(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (window != search->owner && GetWindow(window, GW_OWNER) == search->owner &&
        lstrcmpW(className, L"#32770") == 0 && (!search->mustBeVisible || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace owned_dialog_box_detail

// The dialog box (a message box, an About box) that `owner` owns, if there is one; of
// any process, since owner and box always share one.
inline HWND FindDialogBoxOwnedBy(HWND owner, bool mustBeVisible)
{
    owned_dialog_box_detail::Search search{owner, mustBeVisible, nullptr};
    EnumWindows(&owned_dialog_box_detail::Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
