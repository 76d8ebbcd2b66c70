// A DLL planted beside a program under the name of one the system loads by name. When a
// process loads it, it leaves a mark file beside itself and refuses to load.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t mark[MAX_PATH + 16];
    const DWORD length = GetModuleFileNameW(instance, mark, MAX_PATH);
    if (length && length < MAX_PATH) {
        lstrcpyW(mark + length, L".loaded");
        CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return FALSE;
}
