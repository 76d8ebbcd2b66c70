#pragma once

#include "Menu.h"
#include "MessageMap.h"
#include "String.h"

// A plain, non-owning handle of some window, such as a control of a dialog.
class CWindow {
public:
    explicit CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}

    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, msg, w, l); }

private:
    HWND m_hWnd;
};

// A window whose messages go to the message map of a C++ object, which does not own it: the window system destroys it
// (a dialog, when it ends), and the object forgets the handle.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    // The child window with this id, or an empty handle.
    CWindow GetDlgItem(int id) const { return CWindow(::GetDlgItem(m_hWnd, id)); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageW(m_hWnd, msg, w, l); }
    CString GetWindowText() const;
    // Shows a message owned by this window (as MessageBox takes it), as the application shows its messages.
    int MessageBox(const wchar_t* text, const wchar_t* caption, UINT type);

    // The window's own system menu (revert: the system's default one); empty if it has none.
    CMenu GetSystemMenu(bool revert) const { return CMenu(::GetSystemMenu(m_hWnd, revert)); }
    // Sets the big (title bar, task switcher) or small icon; returns the previous one.
    HICON SetIcon(HICON icon, bool big)
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    RECT GetClientRect() const
    {
        RECT rect{};
        ::GetClientRect(m_hWnd, &rect);
        return rect;
    }

    // Commands go to this window's map chain first, then to the application object.
    bool OnCmdMsg(UINT commandId) override;

    HWND m_hWnd = nullptr;

protected:
    // The window's default processing of the message being handled, and its result; 0 outside a handler.
    LRESULT Default();

    // Looks a message up in the map chain, recorded as Default()'s current message; WM_COMMAND no row takes is routed.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The default processing of one message for this kind of window.
    virtual LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const CurrentMessage* m_currentMessage = nullptr;
};
