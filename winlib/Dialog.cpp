#include "Dialog.h"

#include "DialogTemplate.h"
#include "Font.h"
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

// Messages whose result a dialog procedure returns itself, not in DWLP_MSGRESULT; the WM_CTLCOLOR ones are a run.
bool ReturnsResultDirectly(UINT message)
{
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// A dialog template of the resources and the font it names, as the dialog manager makes it; a copy may name another.
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
        dialog_template::MakeDialogFont(reader, m_header, GetDeviceCaps(CFontDC(nullptr).Get(), LOGPIXELSY), font);
        font.lfCharSet = DEFAULT_CHARSET, font.lfQuality = PROOF_QUALITY;
    }

    // A copy that names `face` instead, for DialogBoxIndirectParam; null where none can be made.
    const DLGTEMPLATE* CopyWithFace(const wchar_t* face)
    {
        static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
        const auto length = static_cast<std::size_t>(lstrlenW(face));
        if (!font.lfFaceName[0] || !m_copy.Allocate(dialog_template::SizeWithFace(m_size, m_header, length)))
            return nullptr;
        dialog_template::CopyWithFace(m_data, m_size, m_header, reinterpret_cast<const char16_t*>(face), length,
                                      m_copy.Get());
        return reinterpret_cast<const DLGTEMPLATE*>(m_copy.Get());
    }

    LOGFONTW font{};

private:
    const std::uint8_t* m_data = nullptr;
    DWORD m_size = 0;
    dialog_template::Header m_header;
    CHeapBlock<std::uint8_t> m_copy;
};

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR CDialog::DoModal()
{
    const HINSTANCE module = AfxGetResourceHandle();
    const HWND owner = OwnerWindow();
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    // A copy of the template names the face asked for, or the stand-in if the system lacks it. Both disable the owner.
    CResourceTemplate dialogTemplate(module, m_templateId);
    if (m_face && dialogTemplate.font.lfFaceName[0])
        lstrcpynW(dialogTemplate.font.lfFaceName, m_face, LF_FACESIZE);
    CWinApp* app = AfxGetApp();
    const wchar_t* standIn = app ? app->StandInFaceFor(dialogTemplate.font) : nullptr;
    if (const DLGTEMPLATE* copy = standIn || m_face ? dialogTemplate.CopyWithFace(standIn ? standIn : m_face) : nullptr)
        return DialogBoxIndirectParamW(module, copy, owner, &CDialog::DialogProc, self);
    return DialogBoxParamW(module, MAKEINTRESOURCEW(m_templateId), owner, &CDialog::DialogProc, self);
}

HWND CDialog::OwnerWindow() const
{
    const CWnd* owner = m_parent ? m_parent : AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
    if (!owner || owner == this || !IsWindow(owner->m_hWnd))
        return nullptr;
    return GetAncestor(owner->m_hWnd, GA_ROOT);
}

// Once initialized, the dialog makes room for texts drawn larger than planned, and, unless it placed itself, opens over
// what it belongs to, not where its template says (mostly the screen's corner); a child stays where its parent put it.
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    RECT before{};
    GetWindowRect(m_hWnd, &before);
    const BOOL result = OnInitDialog();
    if (!m_hWnd)
        return result;
    if (m_fitsTexts)
        FitControlsToTheirTexts(m_hWnd);
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
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
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

BOOL CDialog::OnInitDialog() { return DoDataExchange(false), TRUE; }

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
    return passing->returned = true;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = hWnd;
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
    // No exception may unwind through the window system; a handler that threw leaves its message to the dialog manager.
    try {
        handled = dialog->Dispatch(message, wParam, lParam, result);
    } catch (...) {
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
