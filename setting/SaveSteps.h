#pragma once

// The few file operations one save of TandL.ini is made of. Each platform has a file of
// its own with them (SaveStepsWin32.cpp, SaveStepsPosix.cpp), so that the save itself
// (HwTnlFile.cpp) reads the same on both. A step returns 0 when it worked, otherwise the
// system's error code (GetLastError() on Windows, errno elsewhere).
namespace save_steps {

using Error = unsigned long;

#ifdef _WIN32
using PathChar = wchar_t;
#else
using PathChar = char;
#endif

// The temporary file of one attempt, beside TandL.ini:
// "TandL.ini.<process id>.tmp", or "TandL.ini.<process id>-<attempt>.tmp" after the first.
// A file it created and did not put in TandL.ini's place goes away with it.
class TemporaryFile {
public:
    explicit TemporaryFile(int attempt);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // Creates the file anew (never over an existing one), writes the byte, flushes it to
    // disk and closes it.
    Error Create(char byte);
    // Puts the file in TandL.ini's place in one rename. A read-only TandL.ini is kept.
    Error ReplaceTarget();

private:
    PathChar m_name[64];
    bool m_exists = false;
};

// Create() found the name taken (by a file a crashed save left behind).
bool NameIsTaken(Error error);
// The replace, or the write in place, was refused because another program holds
// TandL.ini open.
bool HeldByAnotherProgram(Error error);
// The error of a save that found no free temporary name.
Error NoFreeName();

// Writes the byte over the first byte of the existing TandL.ini, flushes it, then cuts the
// file to that one byte: at every instant the file's first byte is the old or the new
// value, and the file is never empty. A read-only file or a directory is refused.
Error OverwriteTargetInPlace(char byte);

// A short wait before trying again what another program blocked for an instant.
void PauseBriefly();

}  // namespace save_steps
