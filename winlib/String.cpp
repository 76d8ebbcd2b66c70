#include "String.h"

#include "WinApp.h"

#include <memory>

bool CString::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself,
    // so strings of any length load whole.
    const wchar_t* resource = nullptr;
    const int length =
        ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        m_text.clear();
        return false;
    }
    m_text.assign(resource, static_cast<std::size_t>(length));
    return true;
}

CString FormatSystemMessage(DWORD error)
{
    struct LocalDeleter {
        void operator()(wchar_t* text) const { LocalFree(text); }
    };
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalDeleter> owned(buffer);

    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    const std::wstring code = std::to_wstring(error);
    return CString((text.empty() ? code : text + L" (" + code + L")").c_str());
}
