// The control case of the DLL-planting test: a program that loads a system DLL by name the ordinary
// way, so that a DLL of that name beside it is taken when Wine prefers native DLLs.
// Usage: loadcheck NAME.dll
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        return 2;
    }
    return LoadLibraryW(argv[1]) != nullptr ? 0 : 1;
}
