#pragma once

#include <windows.h>

#include <utility>

// A UTF-16 string on the process heap, with no C++ library code, from the string table too; out of memory, unchanged.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) { Join(text, text ? lstrlenW(text) : 0, nullptr, 0); }
    CString(const CString& other) { Join(other.m_text, other.m_length, nullptr, 0); }
    CString(CString&& other) noexcept { Swap(other); }
    CString& operator=(CString other) noexcept { return Swap(other), *this; }
    ~CString() { HeapFree(GetProcessHeap(), 0, m_text); }

    // Loads string `id` of the resource module; false (and empty) where there is none.
    bool LoadString(UINT id);

    bool IsEmpty() const { return m_length == 0; }
    int GetLength() const { return m_length; }
    operator const wchar_t*() const { return m_text ? m_text : L""; }

    CString& operator+=(const wchar_t* text);

private:
    // Takes the two texts, one after the other, in place of what it held.
    void Join(const wchar_t* first, int firstLength, const wchar_t* second, int secondLength);
    void Swap(CString& other) noexcept
    {
        std::swap(m_text, other.m_text);
        std::swap(m_length, other.m_length);
    }

    wchar_t* m_text = nullptr;
    int m_length = 0;
};

// The system's text for an error code without its line end, then the code in parentheses; the bare code without one.
CString FormatSystemMessage(DWORD error);
