#pragma once

#include <windows.h>

#include <string>

// Another program holding TandL.ini open, with the share mode it opened it with.
class HeldFile {
public:
    HeldFile(const wchar_t* name, DWORD shareMode)
        : m_handle(CreateFileW(name, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { CloseHandle(m_handle); }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    // What the holder reads from the start of the file now.
    std::string ReadFromStart() const
    {
        char buffer[64];
        DWORD read = 0;
        SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN);
        ReadFile(m_handle, buffer, sizeof buffer, &read, nullptr);
        return std::string(buffer, read);
    }

private:
    HANDLE m_handle;
};
