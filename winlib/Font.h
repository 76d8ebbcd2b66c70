#pragma once

#include <windows.h>

// Whether the system has a font of this face. A face the font system maps to another
// font by name (a replacement, a substitute) counts as there.
bool IsFontFaceInstalled(const wchar_t* face);

// A font that this process alone can use, registered from a font file among the
// resources and removed again with the object.
class CPrivateFont {
public:
    CPrivateFont() = default;
    CPrivateFont(const CPrivateFont&) = delete;
    CPrivateFont& operator=(const CPrivateFont&) = delete;
    ~CPrivateFont();

    // Registers the font file held as RCDATA resource `id` of `module`; true when the
    // font is registered (now or before).
    bool Register(HINSTANCE module, UINT id);

private:
    HANDLE m_font = nullptr;
};
