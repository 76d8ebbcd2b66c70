#pragma once

// The host system beneath Wine, for the few things a test needs done there that Windows
// itself has no call for (a Unix mode, a folder removed under a running program).

#include <windows.h>

#include <filesystem>
#include <string>

// The host's name for a path (UTF-8), or an empty string where no host system lies beneath.
inline std::string HostName(const std::filesystem::path& path)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string hostName(name);
    HeapFree(GetProcessHeap(), 0, name);
    return hostName;
}

// Starts a host program, e.g. L"/bin/chmod 0555 \"/tmp/x\"". Wine hands out no handle to
// wait on for a host program: the caller watches for its effect.
inline bool StartHostProgram(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    return true;
}

// Runs a host program on a path ("/bin/rmdir", folder) and waits up to five seconds for
// `done` to hold; false if there is no host system or it never does.
template <class Condition>
bool RunOnHostPath(const wchar_t* program, const wchar_t* arguments, const std::filesystem::path& path, Condition done)
{
    const std::string hostName = HostName(path);
    if (hostName.empty())
        return false;
    std::wstring hostPath(hostName.size(), L'\0');
    hostPath.resize(MultiByteToWideChar(CP_UTF8, 0, hostName.data(), static_cast<int>(hostName.size()), &hostPath[0],
                                        static_cast<int>(hostPath.size())));
    if (!StartHostProgram(std::wstring(program) + L" " + arguments + L" \"" + hostPath + L"\""))
        return false;
    for (int i = 0; i < 250; ++i) {
        if (done())
            return true;
        Sleep(20);
    }
    return false;
}
