#include "HwTnlFile.h"

#include "SaveSteps.h"

using namespace save_steps;

namespace {

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

HwTnlSaveResult CreateWithTheByte(char byte, const SystemCalls& calls)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        Error error;
        {
            NewFile file(attempt, calls);
            error = file.Create(byte);
            if (NameIsTaken(error))
                continue;
            if (!error) {
                error = RetriedWhileHeld([&file] { return file.BecomeTarget(); });
                if (!error) {
                    if (Error closed = file.Close())
                        return Unconfirmed(closed);
                    return Saved();
                }
                // TandL.ini appeared meanwhile: the next round writes it where it stands.
                if (NameIsTaken(error))
                    return NotSaved(error);
            } else if (!IsDenied(error)) {
                return NotSaved(error);
            }
        }  // the temporary file goes here
        // A folder may let us create files but not remove them again (a permission of its
        // own on Windows), and a file system, a network redirector or a filter driver may
        // refuse the rename: then TandL.ini is made directly, as a plain write makes it.
        return WriteTarget(TargetFile::Open::New, byte);
    }
    return NotSaved(NoFreeName());
}

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state) { return WriteHwTnlFile(state, SystemCalls::OfThisSystem()); }

HwTnlSaveResult WriteHwTnlFile(HwTnlState state, const SystemCalls& calls)
{
    const char byte = HwTnlFileByte(state);
    for (int attempt = 1;; ++attempt) {
        HwTnlSaveResult result = WriteTarget(TargetFile::Open::Existing, byte);
        if (IsMissing(result.systemError))
            result = CreateWithTheByte(byte, calls);
        const Error error = result.systemError;
        // A TandL.ini that appeared meanwhile is written in place on the next round.
        if (!(HeldByAnotherProgram(error) || NameIsTaken(error)) || attempt == kAttemptsWhileHeld)
            return result;
        if (HeldByAnotherProgram(error))
            PauseBriefly();
    }
}
