#pragma once

// Root may write any file and create files in any folder, whatever their modes say; a
// player may not. A piece of a test that is about permissions runs here in a child
// process without that override, as an ordinary user's process runs (Linux only).

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// What the child reports when it could not give up the override.
inline constexpr int kOverrideNotDropped = 255;

// Runs `body` (returning 0..254) in a child process without root's override of file
// modes; returns what it returned, or -1 if the child did not end normally.
template <class Body>
int RunAsOrdinaryUser(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct capabilities[_LINUX_CAPABILITY_U32S_3]{};
        const unsigned overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        if (syscall(SYS_capget, &header, capabilities) != 0)
            _exit(kOverrideNotDropped);
        capabilities[0].effective &= ~overrides;
        capabilities[0].permitted &= ~overrides;
        if (syscall(SYS_capset, &header, capabilities) != 0)
            _exit(kOverrideNotDropped);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
