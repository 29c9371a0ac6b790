// Started by the process tests: "sleep MS" sleeps that long, "exit N" ends
// with status N.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "sleep") == 0)
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    if (argc >= 3 && std::strcmp(argv[1], "exit") == 0)
        return std::atoi(argv[2]);
    return 0;
}
