// A dialog's controls measured with the font each one really got, and given the room
// their texts need: a template's sizes are in units of the font it names, and a system
// without that font draws the texts in one of other proportions.
#include "Dialog.h"

#include "HeapBlock.h"
#include "TextFit.h"

namespace {

enum class TextKind { None, Line, Paragraph, CheckBox, PushButton };

TextKind KindOf(HWND control)
{
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(className, L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            return TextKind::Paragraph;
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE:
            return TextKind::Line;
        default:
            return TextKind::None;  // icons, pictures, frames
        }
    }
    if (lstrcmpiW(className, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return TextKind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return style & BS_PUSHLIKE ? TextKind::PushButton : TextKind::CheckBox;
        default:
            return TextKind::None;  // group boxes, owner-drawn buttons
        }
    }
    return TextKind::None;  // edit fields, lists: what they show is the user's
}

// A control's device context with the control's own font in it, given back with the object.
class CControlDC {
public:
    explicit CControlDC(HWND control)
        : m_control(control), m_dc(GetDC(control)),
          m_previous(m_dc ? SelectObject(m_dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)))
                          : nullptr)
    {
    }
    CControlDC(const CControlDC&) = delete;
    CControlDC& operator=(const CControlDC&) = delete;
    ~CControlDC()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
        if (m_dc)
            ReleaseDC(m_control, m_dc);
    }
    HDC Get() const { return m_dc; }

private:
    HWND m_control;
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The client size a control needs to show its whole text; {0, 0} for a control whose
// text is not to be fitted.
SIZE NeededClientSize(HWND control, TextKind kind)
{
    if (kind == TextKind::None)
        return {0, 0};
    const int length = GetWindowTextLengthW(control);
    CHeapBlock<wchar_t> text(static_cast<std::size_t>(length) + 1);
    if (length <= 0 || !text || !GetWindowTextW(control, text.Get(), length + 1))
        return {0, 0};
    const CControlDC dc(control);
    TEXTMETRICW font{};
    if (!dc.Get() || !GetTextMetricsW(dc.Get(), &font))
        return {0, 0};
    RECT client{};
    GetClientRect(control, &client);

    UINT format = DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE;
    if (kind != TextKind::CheckBox && kind != TextKind::PushButton &&
        (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX))
        format |= DT_NOPREFIX;
    // A paragraph gets more lines at its width; one high enough for a single line only is
    // a line, and widens instead.
    if (kind == TextKind::Paragraph && client.bottom >= 2 * font.tmHeight)
        format = (format & ~DT_SINGLELINE) | DT_WORDBREAK;
    // Around the text: a button's edges, or a check box and the gap after it, with the
    // focus rectangle's pixel on each side.
    int aroundWidth = 0, aroundHeight = 0, leastHeight = 0;
    if (kind == TextKind::CheckBox) {
        // The box is 13 pixels at 96 dots per inch, themed or not, whatever the fonts; the
        // menu's check mark (SM_CXMENUCHECK) grows with the menu font, and is not it.
        const int box = MulDiv(13, GetDeviceCaps(dc.Get(), LOGPIXELSX), 96);
        INT digit = 0;
        GetCharWidth32W(dc.Get(), L'0', L'0', &digit);
        aroundWidth = box + digit / 2 + 2;
        aroundHeight = 2;
        leastHeight = box;
    } else if (kind == TextKind::PushButton) {
        aroundWidth = 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        aroundHeight = 2 * (GetSystemMetrics(SM_CYEDGE) + 1);
    }
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc.Get(), text.Get(), -1, &needed, format);
    const int height = needed.bottom + aroundHeight;
    return {needed.right + aroundWidth, height > leastHeight ? height : leastHeight};
}

RECT RectInParent(HWND window, HWND parent)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void CDialog::FitControlsToTheirTexts()
{
    std::size_t count = 0;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    CHeapBlock<HWND> children(count);
    CHeapBlock<ControlFit> controls(count);
    if (!children || !controls)
        return;
    std::size_t n = 0;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child && n < count; child = GetWindow(child, GW_HWNDNEXT), ++n) {
        children[n] = child;
        const RECT window = RectInParent(child, m_hWnd);
        controls[n].rect = {window.left, window.top, window.right, window.bottom};
        const SIZE needed = NeededClientSize(child, KindOf(child));
        if (needed.cx <= 0)
            continue;
        // Borders and the like stay as they are around the client area.
        RECT client{};
        ::GetClientRect(child, &client);
        controls[n].neededWidth = needed.cx + controls[n].rect.Width() - client.right;
        controls[n].neededHeight = needed.cy + controls[n].rect.Height() - client.bottom;
    }

    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const ClientSize fitted = FitControls(controls.Get(), n, {client.right, client.bottom});
    for (std::size_t i = 0; i < n; ++i) {
        const RECT was = RectInParent(children[i], m_hWnd);
        const PixelRect& now = controls[i].rect;
        if (was.left != now.left || was.top != now.top || was.right != now.right || was.bottom != now.bottom)
            SetWindowPos(children[i], nullptr, now.left, now.top, now.Width(), now.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (fitted.width != client.right || fitted.height != client.bottom) {
        RECT window{};
        GetWindowRect(m_hWnd, &window);
        SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + fitted.width - client.right,
                     window.bottom - window.top + fitted.height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
