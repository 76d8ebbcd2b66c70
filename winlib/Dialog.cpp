#include "Dialog.h"

#include "WinApp.h"

#include <iterator>

const MessageEntry CDialog::messageEntries[] = {
    MessageMapOf<CDialog>::OnMessage<WM_INITDIALOG, &CDialog::HandleInitDialog>(),
    MessageMapOf<CDialog>::OnCommand<IDOK, &CDialog::OnOK>(),
    MessageMapOf<CDialog>::OnCommand<IDCANCEL, &CDialog::OnCancel>(),
};
const MessageMap CDialog::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

namespace {

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR CDialog::DoModal()
{
    // DialogBoxParam disables the owner for the run and enables it again afterwards.
    return DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_templateId), OwnerWindow(), &CDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CDialog::OwnerWindow() const
{
    const CWnd* owner = m_parent;
    if (!owner) {
        const CWinApp* app = AfxGetApp();
        owner = app ? app->m_pMainWnd : nullptr;
    }
    if (!owner || owner == this || !IsWindow(owner->m_hWnd))
        return nullptr;
    return GetAncestor(owner->m_hWnd, GA_ROOT);
}

BOOL CDialog::OnInitDialog()
{
    DoDataExchange(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (DoDataExchange(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::DoDataExchange(bool) { return true; }

LRESULT CDialog::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_inDefaultProcessing = true;
    const LRESULT result = DefDlgProcW(m_hWnd, message, wParam, lParam);
    m_inDefaultProcessing = false;
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
    if (!dialog)
        return FALSE;
    if (dialog->m_inDefaultProcessing) {
        // DefDlgProc asking first: let it do its own processing.
        dialog->m_inDefaultProcessing = false;
        return FALSE;
    }

    LRESULT result = 0;
    bool handled = false;
#if defined(__cpp_exceptions)
    try {
        handled = dialog->Dispatch(message, wParam, lParam, result);
    } catch (...) {
        // No exception may unwind through the window system. The message counts as not
        // handled, so the dialog manager's default processing still runs.
        handled = false;
    }
#else
    handled = dialog->Dispatch(message, wParam, lParam, result);
#endif
    if (message == WM_NCDESTROY) {
        // The window is gone; no later message may reach the object through it.
        SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }

    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
