// Stand-in of the product's image library: it loads and answers one call.
#include <windows.h>

// The library's version (1.04).
extern "C" __declspec(dllexport) int QvImageVersion()
{
    return 104;
}
