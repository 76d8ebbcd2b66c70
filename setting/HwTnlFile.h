#pragma once

#include "HwTnlState.h"

// The file the companion program reads, relative to the current working directory.
inline constexpr char kHwTnlFileName[] = "TandL.ini";

// What became of one save.
struct HwTnlSaveResult {
    enum class Outcome {
        Saved,
        // Not saved: TandL.ini's first byte is what it was (or there is still no file).
        NotSaved,
        // The new byte is in TandL.ini, but the system could not confirm that it reached
        // the disk.
        Unconfirmed,
        // Not saved, and a TandL.ini that was not there before is there now, empty: its
        // byte could not go in (a full disk, a quota), and the folder would not let the
        // file go again.
        LeftEmpty,
    };
    Outcome outcome = Outcome::Saved;
    // On failure, the platform's error code (errno, or GetLastError() on Windows) of the
    // step that failed.
    unsigned long systemError = 0;

    explicit operator bool() const { return outcome == Outcome::Saved; }
};

// Writes the one byte for `state` to TandL.ini in the current working directory.
// An existing file is written where it stands, so it stays the same file with the same
// permissions; at every instant its first byte is the old or the new value. A new file
// appears whole, with its byte in it, or is not left behind, or the result says that it
// is there, empty. Reports success only when the byte has reached the file.
HwTnlSaveResult WriteHwTnlFile(HwTnlState state);

namespace save_steps {
struct SystemCalls;
}
// The same save through the given system functions in place of this system's own: how
// the tests take the paths that other Windows versions and file systems take.
HwTnlSaveResult WriteHwTnlFile(HwTnlState state, const save_steps::SystemCalls& calls);
