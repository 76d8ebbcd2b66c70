// The save's file operations on Windows, through the wide entry points.
#include "SaveSteps.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace save_steps {

namespace {

constexpr wchar_t kTarget[] = L"TandL.ini";

Error ErrorUnless(BOOL succeeded) { return succeeded ? 0 : GetLastError(); }

Error WriteByteAt(HANDLE file, char byte)
{
    OVERLAPPED atStart{};  // offset 0; the handle is synchronous, so the write completes here
    DWORD written = 0;
    if (!WriteFile(file, &byte, 1, &written, &atStart))
        return GetLastError();
    return written == 1 ? 0 : ERROR_WRITE_FAULT;
}

// A device or file system that does not flush refuses the request as such; what was
// written is then as far as it can go.
Error FlushToDisk(HANDLE file, const SystemCalls& calls)
{
    const Error error = ErrorUnless(calls.flushFileBuffers(file));
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ? 0 : error;
}

Error CloseFile(HANDLE& file)
{
    const HANDLE closing = file;
    file = INVALID_HANDLE_VALUE;
    return closing == INVALID_HANDLE_VALUE ? 0 : ErrorUnless(CloseHandle(closing));
}

// A function of kernel32 looked up by name, null where this Windows has none: a static
// import of it would keep the program from starting there at all.
template <class Function>
Function KernelFunction(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    // GetProcAddress hands every export out under one type; this one's own comes back
    // (through the generic function pointer type that is there for such conversions).
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

SystemCalls SystemCalls::OfThisSystem()
{
    return {KernelFunction<decltype(setFileInformationByHandle)>("SetFileInformationByHandle"), MoveFileExW};
}

// A new one shares deleting alone: that lets it be deleted by name while this handle still
// holds it, on every Windows, without asking for any access that a plain create does not.
TargetFile::TargetFile(Open how, const SystemCalls& calls)
    : m_calls(calls),
      m_file(how == Open::Existing ? calls.createFile(kTarget, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                   : calls.createFile(kTarget, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr))
{
    if (m_file == INVALID_HANDLE_VALUE)
        m_openError = GetLastError();
    m_createdEmpty = how == Open::New && !m_openError;
}

TargetFile::~TargetFile()
{
    RemoveIfEmpty();
    Close();
}

bool TargetFile::RemoveIfEmpty()
{
    if (!m_createdEmpty)
        return true;
    m_createdEmpty = false;
    // Marked for deletion while held, the file goes as the handle closes; meanwhile no
    // other program can open it.
    return !RetriedWhileHeld([this] { return ErrorUnless(m_calls.deleteFile(kTarget)); });
}

Error TargetFile::CutToFirstByte()
{
    LARGE_INTEGER size{};
    if (!m_calls.getFileSize(m_file, &size))
        return GetLastError();
    if (size.QuadPart <= 1)
        return 0;
    LARGE_INTEGER oneByte{};
    oneByte.QuadPart = 1;
    if (!SetFilePointerEx(m_file, oneByte, nullptr, FILE_BEGIN))
        return GetLastError();
    return ErrorUnless(SetEndOfFile(m_file));
}

Error TargetFile::WriteFirstByte(char byte)
{
    const Error error = WriteByteAt(m_file, byte);
    m_createdEmpty = m_createdEmpty && error;
    return error;
}

Error TargetFile::Flush() { return FlushToDisk(m_file, m_calls); }
Error TargetFile::Close() { return CloseFile(m_file); }

NewFile::NewFile(int attempt, const SystemCalls& calls) : m_calls(calls), m_file(INVALID_HANDLE_VALUE)
{
    const DWORD processId = GetCurrentProcessId();
    if (attempt)
        wsprintfW(m_name, L"%s.%lu-%d.tmp", kTarget, processId, attempt);
    else
        wsprintfW(m_name, L"%s.%lu.tmp", kTarget, processId);
}

NewFile::~NewFile()
{
    if (m_created && !m_isTarget)
        Remove();
    CloseFile(m_file);
}

void NewFile::Remove()
{
    // Through our own handle where Windows can: no other program can hold the file then.
    FILE_DISPOSITION_INFO remove{TRUE};
    if (m_file != INVALID_HANDLE_VALUE && m_calls.setFileInformationByHandle &&
        m_calls.setFileInformationByHandle(m_file, FileDispositionInfo, &remove, sizeof remove))
        return;
    // Otherwise by name once closed, while a program that looks at each new file (a virus
    // scanner) may hold it for a moment.
    CloseFile(m_file);
    RetriedWhileHeld([this] { return ErrorUnless(DeleteFileW(m_name)); });
}

Error NewFile::Create(char byte)
{
    // Shared with nobody until it is TandL.ini: a virus scanner that comes to look at the
    // new file cannot hold it and so block the rename. Asking to delete it as well finds
    // out now whether this folder lets us remove what we made.
    m_file = m_calls.createFile(m_name, GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return GetLastError();
    m_created = true;
    if (Error error = WriteByteAt(m_file, byte))
        return error;
    return FlushToDisk(m_file, m_calls);
}

Error NewFile::BecomeTarget()
{
    if (!m_calls.setFileInformationByHandle) {
        // Without it (Windows XP) a file is renamed by name, which our handle, shared
        // with nobody, would refuse: closed first, it is moved without replacing a
        // TandL.ini that appeared meanwhile.
        if (Error error = CloseFile(m_file))
            return error;
        if (!m_calls.moveFileEx(m_name, kTarget, 0))
            return GetLastError();
        m_isTarget = true;
        return 0;
    }
    // Renamed through our handle. A name without a folder is taken relative to the
    // current directory, where the temporary file is too.
    union {
        FILE_RENAME_INFO info;
        unsigned char bytes[sizeof(FILE_RENAME_INFO) + sizeof kTarget];
    } rename{};
    rename.info.ReplaceIfExists = FALSE;
    rename.info.RootDirectory = nullptr;
    rename.info.FileNameLength = sizeof kTarget - sizeof(wchar_t);
    std::memcpy(rename.bytes + offsetof(FILE_RENAME_INFO, FileName), kTarget, sizeof kTarget);
    if (!m_calls.setFileInformationByHandle(m_file, FileRenameInfo, rename.bytes, sizeof rename))
        return GetLastError();
    m_isTarget = true;
    return 0;
}

Error NewFile::Close() { return CloseFile(m_file); }

bool IsMissing(Error error) { return error == ERROR_FILE_NOT_FOUND; }
bool NameIsTaken(Error error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }
bool HeldByAnotherProgram(Error error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

void PauseBriefly() { Sleep(25); }

}  // namespace save_steps
