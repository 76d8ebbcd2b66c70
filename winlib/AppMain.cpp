// The process entry point of a program built on this library. The command line and the
// show state are not used: the program's windows are dialogs that show themselves. It is
// main, which MinGW-w64 calls in a windowed program too: its WinMain glue would take the
// unread command line apart, with functions that differ from one runtime to the next.
#include "WinApp.h"

int main()
{
    AfxLoadDllsOnlyFromSystem();
    return AfxWinMain(GetModuleHandleW(nullptr));
}
