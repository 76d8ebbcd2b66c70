// The save's file operations on POSIX systems, where the writer is built and tested too.
#include "SaveSteps.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace save_steps {

namespace {

constexpr char kTarget[] = "TandL.ini";

Error LastError() { return static_cast<Error>(errno); }

Error WriteByteAt(int fd, char byte)
{
    ssize_t written;
    do {
        written = pwrite(fd, &byte, 1, 0);
    } while (written < 0 && errno == EINTR);
    return written == 1 ? 0 : LastError();
}

// A file that cannot be synchronized (a special file) has nothing waiting to be flushed.
Error FlushToDisk(int fd, const SystemCalls& calls)
{
    return calls.syncFile(fd) == 0 || errno == EINVAL ? 0 : LastError();
}

Error CloseFile(int& fd)
{
    const int closing = fd;
    fd = -1;
    return closing < 0 || close(closing) == 0 ? 0 : LastError();
}

}  // namespace

int OpenFile(const char* name, int flags, int mode) { return open(name, flags, static_cast<mode_t>(mode)); }
int SyncFile(int fd) { return fsync(fd); }

SystemCalls SystemCalls::OfThisSystem() { return {::link}; }

TargetFile::TargetFile(Open how, const SystemCalls& calls)
    : m_calls(calls),
      m_file(how == Open::Existing ? calls.openFile(kTarget, O_WRONLY | O_CLOEXEC | O_NOCTTY, 0)
                                   : calls.openFile(kTarget, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666))
{
    if (m_file < 0)
        m_openError = LastError();
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
    return m_calls.removeFile(kTarget) == 0;
}

Error TargetFile::CutToFirstByte()
{
    struct stat status;
    if (m_calls.statFile(m_file, &status) != 0)
        return LastError();
    if (status.st_size > 1 && ftruncate(m_file, 1) != 0)
        return LastError();
    return 0;
}

Error TargetFile::WriteFirstByte(char byte)
{
    const Error error = WriteByteAt(m_file, byte);
    m_createdEmpty = m_createdEmpty && error;
    return error;
}

Error TargetFile::Flush() { return FlushToDisk(m_file, m_calls); }
Error TargetFile::Close() { return CloseFile(m_file); }

NewFile::NewFile(int attempt, const SystemCalls& calls) : m_calls(calls), m_file(-1)
{
    const unsigned long processId = static_cast<unsigned long>(getpid());
    if (attempt)
        std::snprintf(m_name, sizeof m_name, "%s.%lu-%d.tmp", kTarget, processId, attempt);
    else
        std::snprintf(m_name, sizeof m_name, "%s.%lu.tmp", kTarget, processId);
}

NewFile::~NewFile()
{
    if (m_created && !m_isTarget)
        Remove();
    CloseFile(m_file);
}

void NewFile::Remove() { unlink(m_name); }

Error NewFile::Create(char byte)
{
    m_file = m_calls.openFile(m_name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (m_file < 0)
        return LastError();
    m_created = true;
    if (Error error = WriteByteAt(m_file, byte))
        return error;
    return FlushToDisk(m_file, m_calls);
}

// POSIX has no rename that keeps an existing target; a second name given with link()
// never replaces one. The temporary name then goes. Some file systems (FAT) have no
// second names at all.
Error NewFile::BecomeTarget()
{
    if (m_calls.link(m_name, kTarget) != 0)
        return LastError();
    m_isTarget = true;
    unlink(m_name);
    return 0;
}

Error NewFile::Close() { return CloseFile(m_file); }

bool IsMissing(Error error) { return error == ENOENT; }
bool NameIsTaken(Error error) { return error == EEXIST; }
// No open file blocks a write here.
bool HeldByAnotherProgram(Error) { return false; }

void PauseBriefly()
{
    const timespec pause{0, 25 * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

}  // namespace save_steps
