#include "Font.h"

#include "FontNames.h"
#include "HeapBlock.h"

bool FontHasName(HDC dc, const wchar_t* name)
{
    constexpr DWORD kNameTable = 'e' << 24 | 'm' << 16 | 'a' << 8 | 'n';  // "name", as a tag
    const DWORD size = GetFontData(dc, kNameTable, 0, nullptr, 0);
    CHeapBlock<std::uint8_t> table(size == GDI_ERROR ? 0 : size);
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
    // CharUpperW takes one character in place of a string's address.
    auto upper = [](char16_t c) {
        return static_cast<char16_t>(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR{c}))));
    };
    return size != GDI_ERROR && table && GetFontData(dc, kNameTable, 0, table.Get(), size) == size &&
           NameTableLists(table.Get(), size, reinterpret_cast<const char16_t*>(name),
                          static_cast<std::size_t>(lstrlenW(name)), upper);
}

bool IsFontFaceInstalled(const LOGFONTW& wanted)
{
    // Made as the dialog manager makes a dialog's font, so that it finds the font realized here in the font cache.
    const CFontDC dc(CreateFontIndirectW(&wanted), true);
    wchar_t realized[LF_FACESIZE] = {};
    if (!dc.Get() || !GetTextFaceW(dc.Get(), LF_FACESIZE, realized))
        return false;
    // It reports its name in the system's language or its English one.
    return lstrcmpiW(realized, wanted.lfFaceName) == 0 || FontHasName(dc.Get(), wanted.lfFaceName);
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
    // The system takes a copy of the font; the resource need not stay.
    DWORD fonts = 0;
    m_font = AddFontMemResourceEx(file, SizeofResource(module, resource), nullptr, &fonts);
    return m_font != nullptr;
}
