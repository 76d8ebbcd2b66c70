// A template's sizes are in units of the font it names, so each text is measured in the font its control really got.
#include "Dialog.h"

#include "Font.h"
#include "HeapBlock.h"
#include "TextFit.h"

#include <commctrl.h>

namespace {

// The flags a static control draws its text with, built as the control builds them (STATIC_PaintTextfn in Wine's
// comctl32); 0 for a picture, and for a text meant to be cut (ellipses, centred in a fixed box), which stays so.
UINT StaticTextFormat(LONG style, LONG exStyle)
{
    const LONG type = style & SS_TYPEMASK;
    // SS_LEFT, SS_CENTER and SS_RIGHT are DT_LEFT, DT_CENTER and DT_RIGHT.
    UINT format = type <= SS_RIGHT            ? static_cast<UINT>(type) | DT_EXPANDTABS | DT_WORDBREAK
                  : type == SS_SIMPLE         ? DT_LEFT | DT_SINGLELINE
                  : type == SS_LEFTNOWORDWRAP ? DT_LEFT | DT_EXPANDTABS
                                              : 0;
    if (!format || (type != SS_SIMPLE && (style & (SS_ELLIPSISMASK | SS_CENTERIMAGE))))
        return 0;
    if (exStyle & WS_EX_RIGHT)
        format = DT_RIGHT | (format & ~(DT_LEFT | DT_CENTER));
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (type != SS_SIMPLE && (style & SS_EDITCONTROL))
        format |= DT_EDITCONTROL;
    return format;
}

// The client size a control needs to show its whole text, drawn with `format`; {0, 0} where that cannot be told.
SIZE NeededClientSize(HWND control, UINT format, bool checkBox, bool pushButton, const RECT& client)
{
    // A themed check box (as the manifest asks) tells the size of its box and text; Wine's three-state ones do not.
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    SIZE ideal{};
    if (checkBox && type != BS_3STATE && type != BS_AUTO3STATE &&
        SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 0)
        return ideal;
    const int length = GetWindowTextLengthW(control);
    CHeapBlock<wchar_t> chars(static_cast<std::size_t>(length) + 1);
    const CFontDC dc(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW font{};
    if (length <= 0 || !chars || !GetWindowTextW(control, chars.Get(), length + 1) || !dc.Get() ||
        !GetTextMetricsW(dc.Get(), &font))
        return {0, 0};
    // A paragraph gets more lines at its width; one high enough for a single line only widens instead.
    if (client.bottom < 2 * font.tmHeight)
        format &= ~DT_WORDBREAK;
    // Around the text: a button's edges, or a check box and the gap after it, with the focus rectangle's pixel on
    // each side. The box is 13 pixels at 96 dots per inch (not the menu's check mark, which grows with its font).
    const int box = checkBox ? MulDiv(13, GetDeviceCaps(dc.Get(), LOGPIXELSX), 96) : 0;
    INT digit = 0;
    GetCharWidth32W(dc.Get(), L'0', L'0', &digit);
    const int aroundWidth = checkBox ? box + digit / 2 + 2 : pushButton ? 2 * (GetSystemMetrics(SM_CXEDGE) + 2) : 0;
    const int aroundHeight = checkBox ? 2 : pushButton ? 2 * (GetSystemMetrics(SM_CYEDGE) + 1) : 0;
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc.Get(), chars.Get(), -1, &needed, format | DT_CALCRECT);
    return {needed.right + aroundWidth, needed.bottom + aroundHeight > box ? needed.bottom + aroundHeight : box};
}

// Fills in what a control needs to show its whole text; not for hidden, edit, list, picture, multiline, owner-drawn.
void MeasureText(HWND control, ControlFit& fit)
{
    RECT client{};
    const LONG style = GetWindowLongW(control, GWL_STYLE), type = style & BS_TYPEMASK;
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const bool isStatic = lstrcmpiW(className, L"Static") == 0;
    const bool button = lstrcmpiW(className, L"Button") == 0 && !(style & (BS_BITMAP | BS_ICON | BS_MULTILINE));
    // Check boxes and radio buttons (BS_CHECKBOX to BS_AUTO3STATE, BS_AUTORADIOBUTTON), unless drawn as pushed.
    const bool checkType = (type >= BS_CHECKBOX && type <= BS_AUTO3STATE) || type == BS_AUTORADIOBUTTON;
    const bool pushButton =
        button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (checkType && (style & BS_PUSHLIKE)));
    const bool checkBox = button && checkType && !pushButton;
    const UINT format = isStatic                 ? StaticTextFormat(style, GetWindowLongW(control, GWL_EXSTYLE))
                        : checkBox || pushButton ? DT_EXPANDTABS | DT_SINGLELINE
                                                 : 0;
    fit.shown = (style & WS_VISIBLE) != 0;
    fit.frames = button && type == BS_GROUPBOX;
    fit.align = static_cast<TextAlign>(format & (DT_CENTER | DT_RIGHT));  // as TextAlign counts them
    if (!fit.shown || !format || !::GetClientRect(control, &client))
        return;
    const SIZE needed = NeededClientSize(control, format, checkBox, pushButton, client);
    // Borders and the like stay as they are around the client area.
    if (needed.cx > 0)
        fit.neededWidth = needed.cx + fit.rect.Width() - client.right,
        fit.neededHeight = needed.cy + fit.rect.Height() - client.bottom;
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
        controls[n].rect = RectInParent(children[n] = child, dialog);
        MeasureText(child, controls[n]);
    }

    RECT client{};
    ::GetClientRect(dialog, &client);
    const ClientSize size = FitControls(controls.Get(), n, {client.right, client.bottom});
    for (std::size_t i = 0; i < n; ++i) {
        const PixelRect was = RectInParent(children[i], dialog);
        const PixelRect& now = controls[i].rect;
        if (was.left != now.left || was.top != now.top || was.right != now.right || was.bottom != now.bottom)
            SetWindowPos(children[i], nullptr, now.left, now.top, now.Width(), now.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (size.width != client.right || size.height != client.bottom) {
        RECT window{};
        GetWindowRect(dialog, &window);
        SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + size.width - client.right,
                     window.bottom - window.top + size.height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
