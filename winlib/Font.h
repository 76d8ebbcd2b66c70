#pragma once

#include <windows.h>

// Whether the font mapper gives a font made as `wanted` the face it names, not another: the font it realizes reports
// that face or lists it among its names, in any language (a face mapped to another font by name counts).
bool IsFontFaceInstalled(const LOGFONTW& wanted);
// Whether the font selected into `dc` is known by `name`: its name table lists it.
bool FontHasName(HDC dc, const wchar_t* name);

// A memory device context of the screen (its dots per inch, and no window's visible region to compute) with a font
// selected into it, given back with the object; a font handed over with `owned` is deleted then too.
class CFontDC {
public:
    explicit CFontDC(HFONT font, bool owned = false)
        : m_dc(CreateCompatibleDC(nullptr)), m_font(owned ? font : nullptr),
          m_previous(m_dc && font ? SelectObject(m_dc, font) : nullptr)
    {
    }
    CFontDC(const CFontDC&) = delete;
    CFontDC& operator=(const CFontDC&) = delete;
    ~CFontDC()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);  // both do nothing with a null handle
        DeleteObject(m_font);
    }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

// A font for this process alone, registered from a font file among the resources and removed again with the object.
class CPrivateFont {
public:
    CPrivateFont() = default;
    CPrivateFont(const CPrivateFont&) = delete;
    CPrivateFont& operator=(const CPrivateFont&) = delete;
    ~CPrivateFont();

    // Registers RCDATA resource `id` of `module`; true when it is registered (now or before).
    bool Register(HINSTANCE module, UINT id);

private:
    HANDLE m_font = nullptr;
};
