// The process entry point of a program built on this library. The command line and the
// show state are not used: the program's windows are dialogs that show themselves.
//
// It is main, not WinMain, although the program is a windowed one: MinGW-w64's start-up
// calls main in either kind of program, and only its WinMain glue takes the command line
// apart, which newer runtimes do with msvcrt's _ismbblead. What the program imports then
// stays the same with every toolchain, and nothing is imported for a command line that
// nobody reads.
#include "WinApp.h"

int main()
{
    AfxLoadDllsOnlyFromSystem();
    return AfxWinMain(GetModuleHandleW(nullptr));
}
