// Stand-in of the product's interface library: it loads and answers one call.
#include <windows.h>

// The interface version the agent would ask for (1.04).
extern "C" __declspec(dllexport) int QvApiVersion()
{
    return 104;
}
