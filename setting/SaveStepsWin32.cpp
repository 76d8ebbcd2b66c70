// The save's file operations on Windows, through the wide entry points.
#include "SaveSteps.h"

#include <windows.h>

namespace save_steps {

namespace {

constexpr wchar_t kTarget[] = L"TandL.ini";

class File {
public:
    explicit File(HANDLE handle) : m_handle(handle) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool WriteAt(LONG offset, char byte)
    {
        DWORD written = 0;
        return SetFilePointer(m_handle, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
               WriteFile(m_handle, &byte, 1, &written, nullptr) && written == 1;
    }
    bool Flush() { return FlushFileBuffers(m_handle) != FALSE; }
    // Cuts the file at the current position.
    bool Truncate() { return SetEndOfFile(m_handle) != FALSE; }
    bool Close()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
    }

private:
    HANDLE m_handle;
};

// A TandL.ini that the user made read-only, or a directory of that name, is kept: the
// rename would not ask (and under Wine, as root, not even a write would).
bool TargetMustBeKept()
{
    const DWORD attributes = GetFileAttributesW(kTarget);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace

TemporaryFile::TemporaryFile(int attempt)
{
    const DWORD processId = GetCurrentProcessId();
    if (attempt)
        wsprintfW(m_name, L"%s.%lu-%d.tmp", kTarget, processId, attempt);
    else
        wsprintfW(m_name, L"%s.%lu.tmp", kTarget, processId);
}

TemporaryFile::~TemporaryFile()
{
    if (m_exists)
        DeleteFileW(m_name);
}

Error TemporaryFile::Create(char byte)
{
    File file(CreateFileW(m_name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return GetLastError();
    m_exists = true;
    if (!file.WriteAt(0, byte) || !file.Flush() || !file.Close())
        return GetLastError();
    return 0;
}

Error TemporaryFile::ReplaceTarget()
{
    if (TargetMustBeKept())
        return ERROR_ACCESS_DENIED;
    if (MoveFileExW(m_name, kTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_exists = false;
        return 0;
    }
    const DWORD error = GetLastError();
    // The target is a plain writable file, so a refusal means somebody has it open
    // without sharing delete access (Windows reports that as access denied).
    return error == ERROR_ACCESS_DENIED ? ERROR_SHARING_VIOLATION : error;
}

bool NameIsTaken(Error error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }
bool HeldByAnotherProgram(Error error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }
Error NoFreeName() { return ERROR_FILE_EXISTS; }

Error OverwriteTargetInPlace(char byte)
{
    if (TargetMustBeKept())
        return ERROR_ACCESS_DENIED;
    // Shares what a C runtime fopen() shares (read and write), so that it opens beside
    // such a reader; and no delete, so that no rename takes the file away mid-write.
    File file(CreateFileW(kTarget, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return GetLastError();
    if (!file.WriteAt(0, byte) || !file.Flush() || !file.Truncate() || !file.Flush() || !file.Close())
        return GetLastError();
    return 0;
}

void PauseBriefly() { Sleep(25); }

}  // namespace save_steps
