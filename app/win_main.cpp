// The Windows entry point of Chromalversor.exe.
#include <windows.h>

#include "converter_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    cc_main();
}
