#pragma once

#include <windows.h>

#include <utility>

// A UTF-16 string that knows how to load itself from the string table. It keeps its
// characters on the process heap and needs no code of the C++ library, so a program
// built on it stays small; when memory runs out it stays as it was (or empty).
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) { Join(text, text ? lstrlenW(text) : 0, nullptr, 0); }
    CString(const CString& other) { Join(other.m_text, other.m_length, nullptr, 0); }
    CString(CString&& other) noexcept { Swap(other); }
    CString& operator=(CString other) noexcept { return Swap(other), *this; }
    ~CString() { HeapFree(GetProcessHeap(), 0, m_text); }

    // Loads string `id` of the application's resource module. Returns false, leaving the
    // string empty, when the table has no such string or it is empty.
    bool LoadString(UINT id);

    bool IsEmpty() const { return m_length == 0; }
    int GetLength() const { return m_length; }
    operator const wchar_t*() const { return m_text ? m_text : L""; }

    CString& operator+=(const wchar_t* text);

    // Room for `length` characters to be written by a system call; ReleaseBuffer() then
    // takes the length from the terminating zero. Null when memory runs out.
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer() { m_length = m_text ? lstrlenW(m_text) : 0; }

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

// The system's own description of an error code (GetLastError() style), without the
// trailing line end, followed by the code in parentheses; the bare code when the system
// has no text for it.
CString FormatSystemMessage(DWORD error);
