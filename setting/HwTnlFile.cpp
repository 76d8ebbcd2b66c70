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
HwTnlSaveResult LeftEmpty(Error error) { return {HwTnlSaveResult::Outcome::LeftEmpty, error}; }

// The steps go in the one order in which every failure but the last two leaves the old
// first byte: cut a longer file to that byte, then put the new byte in its place. A new
// file that a step fails in goes again, or the result says that it is there, empty.
HwTnlSaveResult WriteTarget(TargetFile::Open how, char byte, const SystemCalls& calls)
{
    TargetFile file(how, calls);
    if (Error error = file.OpenError())
        return NotSaved(error);
    Error error = file.CutToFirstByte();
    if (!error)
        error = file.WriteFirstByte(byte);
    if (error)
        return file.RemoveIfEmpty() ? NotSaved(error) : LeftEmpty(error);
    if (Error error = file.Flush())
        return Unconfirmed(error);
    if (Error error = file.Close())
        return Unconfirmed(error);
    return Saved();
}

HwTnlSaveResult CreateWithTheByte(char byte, const SystemCalls& calls)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        NewFile file(attempt, calls);
        Error error = file.Create(byte);
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
        }
        break;  // the temporary file goes with `file`
    }
    // Where no temporary file could be made whole and renamed (a folder that lets us
    // create files but not remove them again, a path with no room for the longer name, no
    // free name, a file system or filter that refuses the rename), TandL.ini is made
    // directly, as a plain write makes it, and its own error is the one reported.
    return WriteTarget(TargetFile::Open::New, byte, calls);
}

}  // namespace

HwTnlSaveResult WriteHwTnlFile(HwTnlState state) { return WriteHwTnlFile(state, SystemCalls::OfThisSystem()); }

HwTnlSaveResult WriteHwTnlFile(HwTnlState state, const SystemCalls& calls)
{
    const char byte = HwTnlFileByte(state);
    for (int attempt = 1;; ++attempt) {
        HwTnlSaveResult result = WriteTarget(TargetFile::Open::Existing, byte, calls);
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
