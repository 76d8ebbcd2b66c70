#include "HwTnlFile.h"

#include "SaveSteps.h"

using namespace save_steps;

namespace {

// How many times a save tries while another program holds TandL.ini without sharing
// writing (another copy of this program, a virus scanner), or while TandL.ini comes and
// goes under it: about half a second in all, short enough that the dialog never looks hung.
constexpr int kAttempts = 20;

// A save that finds a temporary name taken (by a file a crashed save left behind with our
// process id) tries the next suffix.
constexpr int kTemporaryNameAttempts = 16;

HwTnlSaveResult Saved() { return {HwTnlSaveResult::Outcome::Saved, 0}; }
HwTnlSaveResult NotSaved(Error error) { return {HwTnlSaveResult::Outcome::NotSaved, error}; }
HwTnlSaveResult Unconfirmed(Error error) { return {HwTnlSaveResult::Outcome::Unconfirmed, error}; }

// The steps go in the one order in which every failure but the last two leaves the old
// first byte: cut a longer file to that byte, then put the new byte in its place.
HwTnlSaveResult WriteTarget(TargetFile::Open how, char byte)
{
    TargetFile file(how);
    if (Error error = file.OpenError())
        return NotSaved(error);
    if (Error error = file.CutToFirstByte())
        return NotSaved(error);
    if (Error error = file.WriteFirstByte(byte))
        return NotSaved(error);
    if (Error error = file.Flush())
        return Unconfirmed(error);
    if (Error error = file.Close())
        return Unconfirmed(error);
    return Saved();
}

HwTnlSaveResult CreateWithTheByte(char byte)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        NewFile file(attempt);
        Error error = file.Create(byte);
        if (NameIsTaken(error))
            continue;
        // A folder may let us create files but not remove them again (a permission of
        // its own on Windows): then TandL.ini is made directly, as a plain write makes it.
        if (IsDenied(error))
            return WriteTarget(TargetFile::Open::New, byte);
        if (!error)
            error = file.BecomeTarget();
        if (error)
            return NotSaved(error);
        if (Error closed = file.Close())
            return Unconfirmed(closed);
        return Saved();
    }
    return NotSaved(NoFreeName());
}

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state)
{
    const char byte = HwTnlFileByte(state);
    for (int attempt = 1;; ++attempt) {
        HwTnlSaveResult result = WriteTarget(TargetFile::Open::Existing, byte);
        if (IsMissing(result.systemError))
            result = CreateWithTheByte(byte);
        const Error error = result.systemError;
        // A TandL.ini that appeared meanwhile is written in place on the next round.
        if (!(HeldByAnotherProgram(error) || NameIsTaken(error)) || attempt == kAttempts)
            return result;
        if (HeldByAnotherProgram(error))
            PauseBriefly();
    }
}
