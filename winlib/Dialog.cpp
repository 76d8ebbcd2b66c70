#include "Dialog.h"

#include "DialogTemplate.h"
#include "HeapBlock.h"
#include "Placement.h"
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

// A dialog template of the resources, as it stands or, once its face is replaced, as a
// copy of its own that names another font.
class CResourceTemplate {
public:
    CResourceTemplate(HINSTANCE module, UINT id)
    {
        const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
        const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
        m_data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
        m_size = m_data ? SizeofResource(module, resource) : 0;
        dialog_template::Reader reader(m_data, m_size);
        m_header = reader.ReadHeader();
        if (!m_header.complete || !m_header.hasFace || m_header.face.length >= LF_FACESIZE)
            return;
        for (std::size_t i = 0; i < m_header.face.length; ++i)
            m_face[i] = static_cast<wchar_t>(reader.UnitOf(m_header.face, i));
    }

    // The face its font names; empty when it names none or there is no such template.
    const wchar_t* Face() const { return m_face; }
    // Makes the copy that names `face` instead; false (and no copy) when that cannot be.
    bool ReplaceFace(const wchar_t* face)
    {
        if (!m_face[0])
            return false;
        // UTF-16 on Windows: wchar_t and char16_t are the same units.
        static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
        const auto* units = reinterpret_cast<const char16_t*>(face);
        const std::size_t length = static_cast<std::size_t>(lstrlenW(face));
        if (!m_copy.Allocate(dialog_template::SizeWithFace(m_size, m_header, length)))
            return false;
        dialog_template::CopyWithFace(m_data, m_size, m_header, units, length, m_copy.Get());
        return true;
    }
    // The copy, once made, for DialogBoxIndirectParam; null before.
    const DLGTEMPLATE* Copy() const { return reinterpret_cast<const DLGTEMPLATE*>(m_copy.Get()); }

private:
    const std::uint8_t* m_data = nullptr;
    DWORD m_size = 0;
    dialog_template::Header m_header;
    wchar_t m_face[LF_FACESIZE] = {};
    CHeapBlock<std::uint8_t> m_copy;
};

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR CDialog::DoModal()
{
    const HINSTANCE module = AfxGetResourceHandle();
    const HWND owner = OwnerWindow();
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    // Where the system has no font of the template's face, the dialog is made from a copy
    // that names the application's stand-in font; elsewhere from the template as it is.
    CResourceTemplate dialogTemplate(module, m_templateId);
    CWinApp* app = AfxGetApp();
    const wchar_t* standIn = app ? app->StandInFaceFor(dialogTemplate.Face()) : nullptr;
    // Both disable the owner for the run and enable it again afterwards.
    if (standIn && dialogTemplate.ReplaceFace(standIn))
        return DialogBoxIndirectParamW(module, dialogTemplate.Copy(), owner, &CDialog::DialogProc, self);
    return DialogBoxParamW(module, MAKEINTRESOURCEW(m_templateId), owner, &CDialog::DialogProc, self);
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

// Once initialized, the dialog makes room for texts that its font draws larger than the
// template planned. A dialog that did not place itself while it was being initialized
// then opens in the middle of what it belongs to rather than where its template says
// (mostly 0, 0: the screen's corner). Child dialogs stay where their parent put them.
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    RECT before{};
    GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    if (!m_hWnd)
        return result;
    FitControlsToTheirTexts();
    RECT after{};
    if (GetWindowRect(m_hWnd, &after) && before.left == after.left && before.top == after.top &&
        !(GetWindowLongW(m_hWnd, GWL_STYLE) & WS_CHILD))
        CentreOnOwnerOrScreen();
    return result;
}

void CDialog::CentreOnOwnerOrScreen()
{
    const auto toPixelRect = [](const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; };
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    const bool overOwner = owner && IsWindowVisible(owner) && !::IsIconic(owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT reference = monitor.rcWork;
    if (overOwner)
        GetWindowRect(owner, &reference);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const PixelPoint at = CentredPosition(window.right - window.left, window.bottom - window.top,
                                          toPixelRect(reference), toPixelRect(monitor.rcWork));
    SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    PassedOn passing{message, wParam, lParam, m_passedOn, false};
    m_passedOn = &passing;
    const LRESULT result = DefDlgProcW(m_hWnd, message, wParam, lParam);
    m_passedOn = passing.outer;
    return result;
}

bool CDialog::IsComingBack(UINT message, WPARAM wParam, LPARAM lParam)
{
    PassedOn* passing = m_passedOn;
    if (!passing || passing->returned || passing->message != message || passing->wParam != wParam ||
        passing->lParam != lParam)
        return false;
    passing->returned = true;
    return true;
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
    // DefDlgProc asking first about what Default() handed it: let it do its own processing.
    if (dialog->IsComingBack(message, wParam, lParam))
        return FALSE;

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
