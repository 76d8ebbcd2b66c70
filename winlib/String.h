#pragma once

#include <windows.h>

#include <string>

// A UTF-16 string that knows how to load itself from the string table.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}

    // Loads string `id` of the application's resource module. Returns false, leaving the
    // string empty, when the table has no such string or it is empty.
    bool LoadString(UINT id);

    bool IsEmpty() const { return m_text.empty(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    operator const wchar_t*() const { return m_text.c_str(); }

    CString& operator+=(const wchar_t* text)
    {
        m_text += text;
        return *this;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }

private:
    std::wstring m_text;
};

// The system's own description of an error code (GetLastError() style), without the
// trailing line end; the bare number when the system has no text for it.
CString FormatSystemMessage(DWORD error);
