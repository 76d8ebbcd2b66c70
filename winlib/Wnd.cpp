#include "Wnd.h"

#include "HeapBlock.h"
#include "WinApp.h"

CWnd::~CWnd()
{
    // The application may name this window as its main window; it must not keep a pointer to an object that is gone.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

CString CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    CHeapBlock<wchar_t> text(static_cast<std::size_t>(length) + 1);
    return CString(text && ::GetWindowTextW(m_hWnd, text.Get(), length + 1) ? text.Get() : L"");
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type)
{
    CWinApp* app = AfxGetApp();
    return app ? app->DoMessageBox(this, text, caption, type) : ::MessageBoxW(m_hWnd, text, caption, type);
}

bool CWnd::OnCmdMsg(UINT commandId)
{
    if (CCmdTarget::OnCmdMsg(commandId))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(commandId);
}

LRESULT CWnd::Default()
{
    if (!m_currentMessage)
        return 0;
    const CurrentMessage message = *m_currentMessage;
    return DefaultProcessing(message.message, message.wParam, message.lParam);
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Saved and restored: Default() in a nested message sees that message, and the outer handler its own again after.
    const CurrentMessage current{message, wParam, lParam};
    const CurrentMessage* outer = m_currentMessage;
    m_currentMessage = &current;
    struct Restore {
        CWnd& wnd;
        const CurrentMessage* outer;
        ~Restore() { wnd.m_currentMessage = outer; }
    } restore{*this, outer};

    if (OnWndMsg(message, wParam, lParam, result))
        return true;
    // Menu items, accelerators and button clicks (notifications 0 and 1) are commands; other notifications are not.
    if (message == WM_COMMAND && HIWORD(wParam) <= 1 && OnCmdMsg(LOWORD(wParam))) {
        result = 0;
        return true;
    }
    return false;
}

LRESULT CWnd::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}
