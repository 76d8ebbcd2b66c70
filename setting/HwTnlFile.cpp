#include "HwTnlFile.h"

#include "SaveSteps.h"

using namespace save_steps;

namespace {

// A save that fails to create its temporary file because the name is taken (a file left
// by a process that died mid-save and had our process id) tries the next suffix.
constexpr int kTemporaryNameAttempts = 16;

// How long a save keeps trying while another program holds TandL.ini (another copy of
// this program replacing it at the same moment, or a virus scanner): about half a second.
constexpr int kHeldFileAttempts = 20;

HwTnlSaveResult Result(Error error) { return {error == 0, error}; }

// Puts the temporary file in TandL.ini's place. A program that holds TandL.ini open
// without sharing delete access (the companion program reading it, say) blocks the
// rename but not a write: then the byte is written into the file in place.
Error ReplaceOrOverwrite(TemporaryFile& temporary, char byte)
{
    for (int attempt = 1;; ++attempt) {
        Error error = temporary.ReplaceTarget();
        if (HeldByAnotherProgram(error))
            error = OverwriteTargetInPlace(byte);
        if (!HeldByAnotherProgram(error) || attempt == kHeldFileAttempts)
            return error;
        PauseBriefly();
    }
}

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state)
{
    const char byte = HwTnlFileByte(state);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        TemporaryFile temporary(attempt);
        Error error = temporary.Create(byte);
        if (NameIsTaken(error))
            continue;
        if (!error)
            error = ReplaceOrOverwrite(temporary, byte);
        return Result(error);
    }
    return Result(NoFreeName());
}
