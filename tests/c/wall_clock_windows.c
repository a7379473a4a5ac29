/* Wall-clock seconds for the C tests (Windows). */
#include <windows.h>

double TestWallClock(void);

double TestWallClock(void)
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}
