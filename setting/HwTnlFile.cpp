#include "HwTnlFile.h"

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

// The file names here are ASCII; the wide entry points take them as they are.
struct WideName {
    explicit WideName(const char* ascii)
    {
        int i = 0;
        for (; ascii[i] && i < kMaxName - 1; ++i)
            text[i] = static_cast<wchar_t>(ascii[i]);
        text[i] = L'\0';
    }
    static constexpr int kMaxName = 64;
    wchar_t text[kMaxName];
};

File CreateNewFile(const char* name)
{
    return File(
        CreateFileW(WideName(name).text, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}
bool NameIsTaken(NativeError error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }
bool ReplaceFile(const char* from, const char* to)
{
    const WideName source(from), target(to);
    // A setting file the user has made read-only is kept, as opening it for writing
    // would fail; the rename alone would not ask (and under Wine does not).
    const DWORD attributes = GetFileAttributesW(target.text);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Another copy of the program replacing the file at the same moment holds it open
    // for an instant; so may a virus scanner. Such a refusal passes: try again briefly.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(source.text, target.text, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 20)
            return false;
        Sleep(25);
        SetLastError(error);
    }
}
void RemoveFile(const char* name) { DeleteFileW(WideName(name).text); }

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

File CreateNewFile(const char* name) { return File(open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)); }
bool NameIsTaken(NativeError error) { return error == EEXIST; }
bool ReplaceFile(const char* from, const char* to)
{
    // A setting file the user has made read-only is kept, as opening it for writing
    // would refuse; the rename alone would not ask.
    struct stat target;
    if (stat(to, &target) == 0 && S_ISREG(target.st_mode) && !(target.st_mode & S_IWUSR)) {
        errno = EACCES;
        return false;
    }
    return std::rename(from, to) == 0;
}
void RemoveFile(const char* name) { unlink(name); }

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

// "TandL.ini.<process id>[-<attempt>].tmp", beside TandL.ini.
class TemporaryName {
public:
    TemporaryName(unsigned long processId, int attempt)
    {
        Append(kHwTnlFileName);
        Append(".");
        AppendNumber(processId);
        if (attempt) {
            Append("-");
            AppendNumber(static_cast<unsigned long>(attempt));
        }
        Append(".tmp");
    }
    const char* Text() const { return m_text; }

private:
    void Append(const char* text)
    {
        while (*text && m_length < sizeof m_text - 1)
            m_text[m_length++] = *text++;
        m_text[m_length] = '\0';
    }
    void AppendNumber(unsigned long value)
    {
        char digits[24];
        int at = sizeof digits - 1;
        digits[at] = '\0';
        do {
            digits[--at] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value && at > 0);
        Append(digits + at);
    }

    char m_text[64] = {};
    unsigned m_length = 0;
};

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state)
{
    // The process id keeps two copies of the program that save at the same moment off
    // each other's temporary file.
    const unsigned long processId = CurrentProcessId();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const TemporaryName temporary(processId, attempt);
        File file = CreateNewFile(temporary.Text());
        if (!file.IsOpen()) {
            const NativeError error = LastError();
            if (NameIsTaken(error))
                continue;
            return Failure(error);
        }

        HwTnlSaveResult result = FillTemporaryFile(file, HwTnlFileByte(state));
        if (result && !ReplaceFile(temporary.Text(), kHwTnlFileName))
            result = Failure(LastError());
        if (!result)
            RemoveFile(temporary.Text());
        return result;
    }
#ifdef _WIN32
    return Failure(ERROR_FILE_EXISTS);
#else
    return Failure(EEXIST);
#endif
}
