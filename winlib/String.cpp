#include "String.h"

#include "WinApp.h"

void CString::Join(const wchar_t* first, int firstLength, const wchar_t* second, int secondLength)
{
    const auto size = (static_cast<SIZE_T>(firstLength) + secondLength + 1) * sizeof(wchar_t);
    auto* joined = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (!joined)
        return;
    for (int i = 0; i < firstLength; ++i)
        joined[i] = first[i];
    for (int i = 0; i < secondLength; ++i)
        joined[firstLength + i] = second[i];
    joined[firstLength + secondLength] = L'\0';
    HeapFree(GetProcessHeap(), 0, m_text);
    m_text = joined;
    m_length = firstLength + secondLength;
}

CString& CString::operator+=(const wchar_t* text)
{
    Join(m_text, m_length, text, text ? lstrlenW(text) : 0);
    return *this;
}

bool CString::LoadString(UINT id)
{
    // With no buffer size LoadStringW hands out a pointer into the resource: strings of any length load whole.
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource)
        return *this = CString(), false;
    Join(resource, length, nullptr, 0);
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
