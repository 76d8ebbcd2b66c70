#include "String.h"

#include "WinApp.h"

namespace {

wchar_t* Allocate(int length)
{
    return static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t)));
}

void Copy(wchar_t* to, const wchar_t* from, int length)
{
    for (int i = 0; i < length; ++i)
        to[i] = from[i];
}

}  // namespace

void CString::Assign(const wchar_t* text, int length)
{
    wchar_t* copy = Allocate(length);
    if (!copy)
        return;
    Copy(copy, text, length);
    copy[length] = L'\0';
    HeapFree(GetProcessHeap(), 0, m_text);
    m_text = copy;
    m_length = length;
}

CString& CString::operator+=(const wchar_t* text)
{
    const int added = text ? lstrlenW(text) : 0;
    wchar_t* joined = Allocate(m_length + added);
    if (!joined)
        return *this;
    Copy(joined, *this, m_length);
    Copy(joined + m_length, text, added);
    joined[m_length + added] = L'\0';
    HeapFree(GetProcessHeap(), 0, m_text);
    m_text = joined;
    m_length += added;
    return *this;
}

wchar_t* CString::GetBufferSetLength(int length)
{
    wchar_t* buffer = Allocate(length);
    if (!buffer)
        return nullptr;
    buffer[0] = buffer[length] = L'\0';
    HeapFree(GetProcessHeap(), 0, m_text);
    m_text = buffer;
    m_length = length;
    return buffer;
}

bool CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself,
    // so strings of any length load whole.
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        *this = CString();
        return false;
    }
    Assign(resource, length);
    return m_length == length;
}

CString FormatSystemMessage(DWORD error)
{
    wchar_t* buffer = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    while (length && buffer &&
           (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r' || buffer[length - 1] == L' '))
        buffer[--length] = L'\0';
    CString text(length && buffer ? buffer : L"");
    LocalFree(buffer);

    wchar_t code[16];
    wsprintfW(code, text.IsEmpty() ? L"%lu" : L" (%lu)", error);
    text += code;
    return text;
}
