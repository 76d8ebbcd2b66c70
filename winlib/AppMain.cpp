// The entry point of a program of this library, which reads no command line: main, which MinGW-w64 calls in a windowed
// program too. Its WinMain glue would take the command line apart, differently from one runtime to the next.
#include "WinApp.h"

int main()
{
    AfxLoadDllsOnlyFromSystem();
    return AfxWinMain(GetModuleHandleW(nullptr));
}
