// Vexa.exe's entry point.
#include <windows.h>

#include "shell/window_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show)
{
    if (!StartUp(instance, commandLine, show)) return 0;
    const int result = RunMessageLoop();
    ShutDown();
    return result;
}
