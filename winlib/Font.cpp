#include "Font.h"

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

}  // namespace

bool IsFontFaceInstalled(const wchar_t* face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;  // of any character set
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    if (HDC screen = GetDC(nullptr)) {
        EnumFontFamiliesExW(screen, &wanted, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
    }
    return found;
}

CPrivateFont::~CPrivateFont()
{
    if (m_font)
        RemoveFontMemResourceEx(m_font);
}

bool CPrivateFont::Register(HINSTANCE module, UINT id)
{
    if (m_font)
        return true;
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    void* file = loaded ? LockResource(loaded) : nullptr;
    if (!file)
        return false;
    // A resource stays in memory as long as its module, so the font may read it at any time.
    DWORD fonts = 0;
    m_font = AddFontMemResourceEx(file, SizeofResource(module, resource), nullptr, &fonts);
    return m_font != nullptr;
}
