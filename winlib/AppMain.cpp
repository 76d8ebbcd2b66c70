// The process entry point of a program built on this library. The command line and the
// show state are not used: the program's windows are dialogs that show themselves.
#include "WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AfxLoadDllsOnlyFromSystem();
    return AfxWinMain(instance);
}
