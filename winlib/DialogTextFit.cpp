// A template's sizes are in units of the font it names; a system without that font draws
// the texts in other proportions, so each is measured in the font its control really got.
#include "Dialog.h"

#include "Font.h"
#include "HeapBlock.h"
#include "TextFit.h"

namespace {

enum class TextKind { None, Line, Paragraph, CheckBox, PushButton, GroupBox };

// What a control shows that the fit makes room for. Hidden controls, texts meant to be cut
// (ellipses, centred in a fixed box) and picture or multiline buttons stay as they are.
TextKind KindOf(HWND control, LONG style)
{
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (!(style & WS_VISIBLE))
        return TextKind::None;
    if (lstrcmpiW(className, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (style & (SS_ELLIPSISMASK | SS_CENTERIMAGE))
            return TextKind::None;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
            return TextKind::Paragraph;
        return type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? TextKind::Line : TextKind::None;  // not pictures
    }
    // Edit fields and lists show what the user gives them.
    if (lstrcmpiW(className, L"Button") != 0 || (style & (BS_BITMAP | BS_ICON | BS_MULTILINE)))
        return TextKind::None;
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX)
        return TextKind::GroupBox;
    // Check boxes and radio buttons (BS_CHECKBOX to BS_AUTO3STATE, BS_AUTORADIOBUTTON),
    // unless drawn as push buttons; owner-drawn buttons draw what they like.
    const bool check = (type >= BS_CHECKBOX && type <= BS_AUTO3STATE) || type == BS_AUTORADIOBUTTON;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (check && (style & BS_PUSHLIKE)))
        return TextKind::PushButton;
    return check ? TextKind::CheckBox : TextKind::None;
}

// The client size a control needs to show its whole text; {0, 0} where none is fitted.
SIZE NeededClientSize(HWND control, TextKind kind)
{
    if (kind == TextKind::None || kind == TextKind::GroupBox)
        return {0, 0};
    const int length = GetWindowTextLengthW(control);
    CHeapBlock<wchar_t> text(static_cast<std::size_t>(length) + 1);
    if (length <= 0 || !text || !GetWindowTextW(control, text.Get(), length + 1))
        return {0, 0};
    const CFontDC dc(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
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

PixelRect RectInParent(HWND window, HWND parent)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void FitControlsToTheirTexts(HWND dialog)
{
    std::size_t count = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    CHeapBlock<HWND> children(count);
    CHeapBlock<ControlFit> controls(count);
    if (!children || !controls)
        return;
    std::size_t n = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child && n < count; child = GetWindow(child, GW_HWNDNEXT), ++n) {
        children[n] = child;
        controls[n].rect = RectInParent(child, dialog);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const TextKind kind = KindOf(child, style);
        controls[n].frames = kind == TextKind::GroupBox;
        // SS_LEFT, SS_CENTER and SS_RIGHT are 0, 1 and 2, as TextAlign is.
        if (kind == TextKind::Paragraph)
            controls[n].align = static_cast<TextAlign>(style & SS_TYPEMASK);
        const SIZE needed = NeededClientSize(child, kind);
        if (needed.cx <= 0)
            continue;
        // Borders and the like stay as they are around the client area.
        RECT client{};
        ::GetClientRect(child, &client);
        controls[n].neededWidth = needed.cx + controls[n].rect.Width() - client.right;
        controls[n].neededHeight = needed.cy + controls[n].rect.Height() - client.bottom;
    }

    RECT client{};
    ::GetClientRect(dialog, &client);
    const ClientSize fitted = FitControls(controls.Get(), n, {client.right, client.bottom});
    for (std::size_t i = 0; i < n; ++i) {
        const PixelRect was = RectInParent(children[i], dialog);
        const PixelRect& now = controls[i].rect;
        if (was.left != now.left || was.top != now.top || was.right != now.right || was.bottom != now.bottom)
            SetWindowPos(children[i], nullptr, now.left, now.top, now.Width(), now.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (fitted.width != client.right || fitted.height != client.bottom) {
        RECT window{};
        GetWindowRect(dialog, &window);
        SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + fitted.width - client.right,
                     window.bottom - window.top + fitted.height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
