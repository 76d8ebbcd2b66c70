#pragma once

#include "HeapBlock.h"
#include "TemplateFace.h"

#include <windows.h>

#include <cstdint>

// A dialog template of the resources, as it stands or, once its face is replaced, as a
// copy of its own that names another font.
class CDialogTemplate {
public:
    CDialogTemplate(HINSTANCE module, UINT id);

    // The face its font names; empty when it names none or there is no such template.
    const wchar_t* Face() const { return m_face; }
    // Makes the copy that names `face` instead; false (and no copy) when that cannot be.
    bool ReplaceFace(const wchar_t* face);
    // The copy, once made, for DialogBoxIndirectParam; null before.
    const DLGTEMPLATE* Copy() const { return reinterpret_cast<const DLGTEMPLATE*>(m_copy.Get()); }

private:
    const std::uint8_t* m_data = nullptr;
    DWORD m_size = 0;
    template_face::FacePlace m_place;
    wchar_t m_face[LF_FACESIZE] = {};
    CHeapBlock<std::uint8_t> m_copy;
};
