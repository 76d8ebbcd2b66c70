#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

// The few file operations one save of TandL.ini is made of. Each platform has a file of
// its own with them (SaveStepsWin32.cpp, SaveStepsPosix.cpp), so that the save itself
// (HwTnlFile.cpp) reads the same on both. A step returns 0 when it worked, otherwise the
// system's error code (GetLastError() on Windows, errno elsewhere).
namespace save_steps {

using Error = unsigned long;

#ifdef _WIN32
using Handle = void*;
#else
using Handle = int;
#endif

#ifndef _WIN32
// This system's open() and fsync(), in a form whose address can be taken.
int OpenFile(const char* name, int flags, int mode);
int SyncFile(int fd);
#endif

// The system functions a save calls that not every system has, or that a file system,
// a device or a path may refuse. A save looks them up as it starts; a test puts others in
// their place to take the paths that only other systems, or faults, take.
struct SystemCalls {
#ifdef _WIN32
    // Windows Vista and later; null on Windows XP, whose kernel32 has none.
    BOOL(WINAPI* setFileInformationByHandle)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    BOOL(WINAPI* moveFileEx)(LPCWSTR, LPCWSTR, DWORD);
    HANDLE(WINAPI* createFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) = CreateFileW;
    BOOL(WINAPI* flushFileBuffers)(HANDLE) = FlushFileBuffers;
    BOOL(WINAPI* deleteFile)(LPCWSTR) = DeleteFileW;
    BOOL(WINAPI* getFileSize)(HANDLE, PLARGE_INTEGER) = GetFileSizeEx;
#else
    int (*link)(const char* existing, const char* newName);
    int (*openFile)(const char* name, int flags, int mode) = OpenFile;
    int (*syncFile)(int fd) = SyncFile;
    int (*removeFile)(const char* name) = unlink;
    int (*statFile)(int fd, struct stat* status) = fstat;
#endif
    // This system's own.
    static SystemCalls OfThisSystem();
};

// TandL.ini itself, written where it stands. The file that is there is opened sharing
// reading and writing, as the C runtime opens a file, so it opens beside a program that
// is reading it; not deletion, so nobody renames it away mid-write. Its permissions,
// owner, attributes, links and streams stay its own.
// A new one is created sharing neither reading nor writing, so no other program opens it
// before it holds its byte; if that byte never goes in, the file goes again, deleted
// while still held so that none can open it in between.
class TargetFile {
public:
    enum class Open { Existing, New };
    TargetFile(Open how, const SystemCalls& calls);
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;
    ~TargetFile();

    // Why the file could not be opened (or created) for writing, or 0.
    Error OpenError() const { return m_openError; }
    // Cuts a longer file to one byte; that first byte stays what it was.
    Error CutToFirstByte();
    Error WriteFirstByte(char byte);
    // Waits until what was written is on the disk. A device that has nothing to flush
    // (it refuses the request as such) counts as flushed.
    Error Flush();
    Error Close();
    // Removes a new file whose byte never went in; false when the folder refuses that and
    // the file stays, empty.
    bool RemoveIfEmpty();

private:
    const SystemCalls& m_calls;
    Handle m_file;
    Error m_openError = 0;
    bool m_createdEmpty = false;
};

// A TandL.ini that is not there yet, made whole under a temporary name beside it,
// "TandL.ini.<process id>.tmp" ("...-<attempt>.tmp" after the first), and then given its
// name. No other program can open it until it holds its byte. A file that was created and
// never became TandL.ini goes away with the object.
class NewFile {
public:
    NewFile(int attempt, const SystemCalls& calls);
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile();

    // Creates the temporary file anew (never over an existing one), writes the byte and
    // flushes it to disk.
    Error Create(char byte);
    // Renames it to TandL.ini, never over a file of that name. May be tried again when
    // another program held a file it needs.
    Error BecomeTarget();
    Error Close();

private:
    // Removes the file that never became TandL.ini.
    void Remove();

    const SystemCalls& m_calls;
#ifdef _WIN32
    wchar_t m_name[64];
#else
    char m_name[64];
#endif
    Handle m_file;
    bool m_created = false;
    bool m_isTarget = false;
};

// There is no file of that name.
bool IsMissing(Error error);
// The name is taken: by TandL.ini that appeared meanwhile, or by a temporary file that a
// crashed save left behind.
bool NameIsTaken(Error error);
// Another program holds TandL.ini open and shares no writing with us.
bool HeldByAnotherProgram(Error error);

// A short wait before trying again what another program blocked for an instant.
void PauseBriefly();

// How many times a step is tried while another program holds a file it needs (another
// copy of this program, a virus scanner): about half a second in all, short enough that
// the dialog never looks hung.
inline constexpr int kAttemptsWhileHeld = 20;

// Runs `step` until it no longer meets a file held by another program, or the attempts
// are used up; its last error.
template <class Step>
Error RetriedWhileHeld(Step step)
{
    Error error = step();
    for (int attempt = 1; attempt < kAttemptsWhileHeld && HeldByAnotherProgram(error); ++attempt) {
        PauseBriefly();
        error = step();
    }
    return error;
}

}  // namespace save_steps
