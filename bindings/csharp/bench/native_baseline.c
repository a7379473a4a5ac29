/* The C baseline of the C# benchmark, loaded into the same process: the same
 * round trips through the C interface, timed in C. */
#include <stddef.h>
#include <time.h>
#include <wchar.h>

#include "tessel/ludex/Ludex.h"
#include "tessel/vendra/Vendra.h"

#if defined(_WIN32)
#define BENCH_API __declspec(dllexport)
#else
#define BENCH_API __attribute__((visibility("default")))
#endif

static size_t g_seen;

static double NowNs(void)
{
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec * 1e9 + (double)now.tv_nsec;
}

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    g_seen += wcslen(result->message) + wcslen(character);
}

static void OnProducts(const TesselAPICallbackResult* result, const TesselProduct* products, unsigned int count)
{
    (void)result;
    g_seen += count > 0 ? wcslen(products[count - 1].name) : 0;
}

/* Fetches a character and pumps, @p rounds times; returns the nanoseconds taken. */
BENCH_API double TesselCsBench_RoundTrips(int rounds)
{
    double start = NowNs();
    for (int i = 0; i < rounds; ++i) {
        TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, &g_seen);
        Tessel_RunCallbacks();
    }
    return NowNs() - start;
}

/* Fetches a page of @p pageSize products and pumps, @p rounds times; returns the nanoseconds taken. */
BENCH_API double TesselCsBench_ProductPages(int rounds, int pageSize)
{
    TesselFetchProductParam param = {L"", 1, pageSize};
    double start = NowNs();
    for (int i = 0; i < rounds; ++i) {
        TesselAPI_FetchProducts(&param, OnProducts, &g_seen);
        Tessel_RunCallbacks();
    }
    return NowNs() - start;
}
