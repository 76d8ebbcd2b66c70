#include "MessageDlg.h"

#include "Font.h"
#include "HeapBlock.h"

#include <algorithm>
#include <iterator>

const MessageEntry CMessageDlg::messageEntries[] = {
    MessageMapOf<CMessageDlg>::OnMessage<WM_COPY, &CMessageDlg::OnCopy>(),
};
const MessageMap CMessageDlg::messageMap = {&CDialog::messageMap, messageEntries, std::size(messageEntries)};

namespace {

// OK has the focus, so Ctrl+C comes to it as the character 3, which it hands to the dialog as WM_COPY.
LRESULT CALLBACK CopyOnCtrlC(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && wParam == 3)
        return SendMessageW(GetParent(button), WM_COPY, 0, 0);
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
    return CallWindowProcW(original, button, message, wParam, lParam);
}

// How many characters of `text` `font` has no glyph for; a line break needs none.
int MissingGlyphs(HFONT font, const wchar_t* text)
{
    const int length = lstrlenW(text);
    CHeapBlock<WORD> glyphs(static_cast<std::size_t>(length));
    const CFontDC dc(font);
    if (!glyphs || GetGlyphIndicesW(dc.Get(), text, length, glyphs.Get(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return 0;
    int missing = 0;
    for (int i = 0; i < length; ++i)
        missing += glyphs[i] == 0xFFFF && text[i] >= L' ';
    return missing;
}

}  // namespace

CMessageDlg::CMessageDlg(CWnd* owner, const wchar_t* text, const wchar_t* caption, UINT type)
    : CDialog(IDD_WINLIB_MESSAGE, owner), m_text(text), m_caption(caption), m_type(type)
{
    // Windows' reason may be in a script the owner's font lacks (Wine's Japanese messages in the stand-in font); where
    // the system's own font shows more of the text, the dialog takes the font that one is realized in.
    const HFONT font = owner ? reinterpret_cast<HFONT>(owner->SendMessage(WM_GETFONT)) : nullptr;
    const auto systemFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!font || !GetObjectW(font, sizeof m_font, &m_font))
        return;
    if (MissingGlyphs(font, text) > MissingGlyphs(systemFont, text))
        GetTextFaceW(CFontDC(systemFont).Get(), LF_FACESIZE, m_font.lfFaceName);
    MakeWithFace(m_font.lfFaceName);
}

// As MessageBox lays out: the icon, the text no wider than 278 dialog units (Vista) or 5/8 of the work area, OK below.
BOOL CMessageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetWindowTextW(m_hWnd, m_caption);
    const HWND text = ::GetDlgItem(m_hWnd, IDC_WINLIB_MESSAGE_TEXT), ok = ::GetDlgItem(m_hWnd, IDOK);
    ::SetWindowTextW(text, m_text);
    // MB_ICONHAND to MB_ICONASTERISK are 1 to 4 in their bits, as IDI_HAND to IDI_ASTERISK follow IDI_APPLICATION.
    const UINT icon = (m_type & MB_ICONMASK) >> 4;
    const int iconSize = icon >= 1 && icon <= 4 ? GetSystemMetrics(SM_CXICON) : 0;
    if (iconSize)
        SendDlgItemMessageW(m_hWnd, IDC_WINLIB_MESSAGE_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512 + icon))), 0);
    RECT units{7, 0, 278, 0}, button{}, window{}, client{};
    MapDialogRect(m_hWnd, &units);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const int margin = units.left, left = margin + (iconSize ? iconSize + margin : 0);
    RECT needed{0, 0, std::min<LONG>(units.right, (monitor.rcWork.right - monitor.rcWork.left) * 5 / 8 - left), 0};
    DrawTextW(CFontDC(reinterpret_cast<HFONT>(::SendMessageW(text, WM_GETFONT, 0, 0))).Get(), m_text, -1, &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    GetWindowRect(ok, &button);
    const int okTop = 2 * margin + std::max<int>(needed.bottom, iconSize), okWidth = button.right - button.left;
    const int width = std::max<int>(left + needed.right, okWidth + margin) + margin;
    SetWindowPos(text, nullptr, left, margin, needed.right, needed.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(ok, nullptr, width - margin - okWidth, okTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left - client.right + width,
                 window.bottom - window.top - client.bottom + okTop + button.bottom - button.top + margin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowLongPtrW(ok, GWLP_USERDATA, SetWindowLongPtrW(ok, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CopyOnCtrlC)));
    MessageBeep(m_type & MB_ICONMASK);
    return TRUE;
}

LRESULT CMessageDlg::OnCopy(WPARAM, LPARAM)
{
    const wchar_t* rule = L"---------------------------\r\n";
    CString copy;
    for (const wchar_t* part : {rule, m_caption, L"\r\n", rule, m_text, L"\r\n", rule, L"OK   \r\n", rule})
        copy += part;
    const SIZE_T bytes = (static_cast<SIZE_T>(copy.GetLength()) + 1) * sizeof(wchar_t);
    // The clipboard owns the memory once it takes it.
    const HGLOBAL memory = OpenClipboard(m_hWnd) && EmptyClipboard() ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
    void* data = memory ? GlobalLock(memory) : nullptr;
    if (data)
        CopyMemory(data, static_cast<const wchar_t*>(copy), bytes), GlobalUnlock(memory);
    if (memory && (!data || !SetClipboardData(CF_UNICODETEXT, memory)))
        GlobalFree(memory);
    CloseClipboard();
    return 0;
}
