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

class File {
public:
    explicit File(int fd) : m_fd(fd) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    bool WriteAt(off_t offset, char byte)
    {
        ssize_t written;
        do {
            written = pwrite(m_fd, &byte, 1, offset);
        } while (written < 0 && errno == EINTR);
        return written == 1;
    }
    bool Flush() { return fsync(m_fd) == 0; }
    bool TruncateTo(off_t length) { return ftruncate(m_fd, length) == 0; }
    bool Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd < 0 || close(fd) == 0;
    }

private:
    int m_fd;
};

// A TandL.ini that the user made read-only is kept, as opening it for writing would
// refuse (root's override aside); the rename alone would not ask.
bool TargetIsReadOnly()
{
    struct stat target;
    return stat(kTarget, &target) == 0 && S_ISREG(target.st_mode) && !(target.st_mode & S_IWUSR);
}

}  // namespace

TemporaryFile::TemporaryFile(int attempt)
{
    const unsigned long processId = static_cast<unsigned long>(getpid());
    if (attempt)
        std::snprintf(m_name, sizeof m_name, "%s.%lu-%d.tmp", kTarget, processId, attempt);
    else
        std::snprintf(m_name, sizeof m_name, "%s.%lu.tmp", kTarget, processId);
}

TemporaryFile::~TemporaryFile()
{
    if (m_exists)
        unlink(m_name);
}

Error TemporaryFile::Create(char byte)
{
    File file(open(m_name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        return errno;
    m_exists = true;
    if (!file.WriteAt(0, byte) || !file.Flush() || !file.Close())
        return errno;
    return 0;
}

Error TemporaryFile::ReplaceTarget()
{
    if (TargetIsReadOnly())
        return EACCES;
    if (std::rename(m_name, kTarget) != 0)
        return errno;
    m_exists = false;
    return 0;
}

bool NameIsTaken(Error error) { return error == EEXIST; }
// An open file never blocks a rename here.
bool HeldByAnotherProgram(Error) { return false; }
Error NoFreeName() { return EEXIST; }

Error OverwriteTargetInPlace(char byte)
{
    if (TargetIsReadOnly())
        return EACCES;
    File file(open(kTarget, O_WRONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return errno;
    if (!file.WriteAt(0, byte) || !file.Flush() || !file.TruncateTo(1) || !file.Flush() || !file.Close())
        return errno;
    return 0;
}

void PauseBriefly()
{
    const timespec pause{0, 25 * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

}  // namespace save_steps
