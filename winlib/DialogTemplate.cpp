#include "DialogTemplate.h"

using namespace template_face;

CDialogTemplate::CDialogTemplate(HINSTANCE module, UINT id)
{
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    m_data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    m_size = m_data ? SizeofResource(module, resource) : 0;
    m_place = FindFace(m_data, m_size);
    if (!m_place.found || m_place.length >= LF_FACESIZE)
        return;
    for (std::size_t i = 0; i < m_place.length; ++i)
        m_face[i] = static_cast<wchar_t>(m_data[m_place.offset + 2 * i] | (m_data[m_place.offset + 2 * i + 1] << 8));
}

bool CDialogTemplate::ReplaceFace(const wchar_t* face)
{
    if (!m_place.found)
        return false;
    // UTF-16 on Windows: wchar_t and char16_t are the same units.
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
    const auto* units = reinterpret_cast<const char16_t*>(face);
    const std::size_t length = static_cast<std::size_t>(lstrlenW(face));
    if (!m_copy.Allocate(SizeWithFace(m_size, m_place, length)))
        return false;
    CopyWithFace(m_data, m_size, m_place, units, length, m_copy.Get());
    return true;
}
