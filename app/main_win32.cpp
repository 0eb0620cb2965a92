// Vexa.exe's entry point. The main window arrives with the editor; for now
// the program starts and ends at once.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return 0;
}
