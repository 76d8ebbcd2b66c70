#pragma once

#include "HwTnlState.h"

// The file the companion program reads, relative to the current working directory.
inline constexpr char kHwTnlFileName[] = "TandL.ini";

// What became of one save. On failure, systemError holds the platform's error code
// (errno, or GetLastError() on Windows) of the step that failed.
struct HwTnlSaveResult {
    bool saved = false;
    unsigned long systemError = 0;

    explicit operator bool() const { return saved; }
};

// Replaces TandL.ini in the current working directory with the one byte for `state`.
// The byte goes to a temporary file beside it first, is flushed to disk, and then takes
// TandL.ini's place in one rename, so a failed or interrupted save leaves the old file as
// it was. Reports success only when the byte has really reached the file.
HwTnlSaveResult WriteHwTnlFile(HwTnlState state);
