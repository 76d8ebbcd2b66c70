// The process entry point of a program built on this library, whose dialogs show
// themselves and which reads no command line. It is main, which MinGW-w64 calls in a
// windowed program too: its WinMain glue would take the command line apart, with
// functions that differ from one runtime to the next.
#include "WinApp.h"

int main()
{
    AfxLoadDllsOnlyFromSystem();
    return AfxWinMain(GetModuleHandleW(nullptr));
}
