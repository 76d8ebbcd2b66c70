#pragma once

#include <windows.h>

// A menu that belongs to somebody else (a window's system menu): a plain handle, never destroyed through this object.
class CMenu {
public:
    // The wrapper of a menu handle; empty (false) when there is no menu.
    explicit CMenu(HMENU menu) : m_hMenu(menu) {}

    explicit operator bool() const { return m_hMenu != nullptr; }

    // Appends one item (or, with MF_SEPARATOR, a separator) at the end of the menu.
    bool AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text) != FALSE;
    }

private:
    HMENU m_hMenu;
};
