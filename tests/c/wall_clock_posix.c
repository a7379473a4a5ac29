/* Wall-clock seconds for the C tests (POSIX). */
#define _POSIX_C_SOURCE 200809L
#include <time.h>

double TestWallClock(void);

double TestWallClock(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}
