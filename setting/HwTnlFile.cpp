#include "HwTnlFile.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A save that fails to create its temporary file because the name is taken (a file left
// by a process that died mid-save and had our process id) tries the next suffix.
constexpr int kTemporaryNameAttempts = 16;

#ifdef _WIN32

using NativeError = DWORD;
NativeError LastError() { return GetLastError(); }
unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

class File {
public:
    explicit File(HANDLE handle) : m_handle(handle) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(char byte)
    {
        DWORD written = 0;
        return WriteFile(m_handle, &byte, 1, &written, nullptr) && written == 1;
    }
    bool Flush() { return FlushFileBuffers(m_handle) != FALSE; }
    bool Close()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
    }

private:
    HANDLE m_handle;
};

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

File CreateNewFile(const std::string& name)
{
    return File(CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}
bool NameIsTaken(NativeError error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}
bool ReplaceFile(const std::string& from, const std::string& to)
{
    const std::wstring source = Widen(from), target = Widen(to);
    // A setting file the user has made read-only is kept, as opening it for writing
    // would fail; the rename alone would not ask (and under Wine does not).
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Another copy of the program replacing the file at the same moment holds it open
    // for an instant; so may a virus scanner. Such a refusal passes: try again briefly.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 20)
            return false;
        Sleep(25);
        SetLastError(error);
    }
}
void RemoveFile(const std::string& name) { DeleteFileW(Widen(name).c_str()); }

#else

using NativeError = int;
NativeError LastError() { return errno; }
unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

class File {
public:
    explicit File(int fd) : m_fd(fd) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(char byte)
    {
        ssize_t written;
        do {
            written = write(m_fd, &byte, 1);
        } while (written < 0 && errno == EINTR);
        return written == 1;
    }
    bool Flush() { return fsync(m_fd) == 0; }
    bool Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd < 0 || close(fd) == 0;
    }

private:
    int m_fd;
};

File CreateNewFile(const std::string& name)
{
    return File(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
}
bool NameIsTaken(NativeError error) { return error == EEXIST; }
bool ReplaceFile(const std::string& from, const std::string& to)
{
    // A setting file the user has made read-only is kept, as opening it for writing
    // would refuse; the rename alone would not ask.
    struct stat target;
    if (stat(to.c_str(), &target) == 0 && S_ISREG(target.st_mode) && !(target.st_mode & S_IWUSR)) {
        errno = EACCES;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}
void RemoveFile(const std::string& name) { unlink(name.c_str()); }

#endif

HwTnlSaveResult Failure(NativeError error) { return {false, static_cast<unsigned long>(error)}; }

// Writes, flushes and closes the temporary file; the caller removes it if this fails.
HwTnlSaveResult FillTemporaryFile(File& file, char byte)
{
    if (!file.Write(byte) || !file.Flush())
        return Failure(LastError());
    if (!file.Close())
        return Failure(LastError());
    return {true, 0};
}

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state)
{
    // The process id keeps two copies of the program that save at the same moment off
    // each other's temporary file.
    const std::string stem = std::string(kHwTnlFileName) + "." + std::to_string(CurrentProcessId());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string temporary = stem + (attempt ? "-" + std::to_string(attempt) : "") + ".tmp";
        File file = CreateNewFile(temporary);
        if (!file.IsOpen()) {
            const NativeError error = LastError();
            if (NameIsTaken(error))
                continue;
            return Failure(error);
        }

        HwTnlSaveResult result = FillTemporaryFile(file, HwTnlFileByte(state));
        if (result && !ReplaceFile(temporary, kHwTnlFileName))
            result = Failure(LastError());
        if (!result)
            RemoveFile(temporary);
        return result;
    }
#ifdef _WIN32
    return Failure(ERROR_FILE_EXISTS);
#else
    return Failure(EEXIST);
#endif
}
