/* The C baseline of the C# benchmark, loaded into the same process: the same
 * round trips through the C interface, timed in C. With `keep` set, the
 * callbacks keep a copy of every text they receive, as a game that holds on
 * to the answer must (the SDK frees it when the callback returns) and as the
 * binding does; without it they only read the texts in place. */
#include <stdlib.h>
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
static int g_keep;

/* A copy of a text, released at once: the allocation and the copy a game makes to keep it. */
static void Keep(const wchar_t* text)
{
    size_t length = wcslen(text);
    g_seen += length;
    if (g_keep) {
        wchar_t* copy = (wchar_t*)malloc((length + 1) * sizeof(wchar_t));
        if (copy != NULL) {
            wmemcpy(copy, text, length + 1);
            g_seen += (size_t)copy[0];
            free(copy);
        }
    }
}

static double NowNs(void)
{
    struct timespec now;
    timespec_get(&now, TIME_UTC);
    return (double)now.tv_sec * 1e9 + (double)now.tv_nsec;
}

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    Keep(result->message);
    Keep(character);
}

static void OnProducts(const TesselAPICallbackResult* result, const TesselProduct* products, unsigned int count)
{
    Keep(result->message);
    for (unsigned int i = 0; i < count; ++i) {
        const TesselProduct* p = &products[i];
        const wchar_t* texts[] = {p->gameItemId, p->name, p->description, p->categoryId, p->categoryName,
                                  p->currencyCode, p->displayPriceString, p->displaySalePriceString, p->thumbnailUrl};
        for (size_t t = 0; t < sizeof texts / sizeof texts[0]; ++t) {
            Keep(texts[t]);
        }
    }
}

/* Fetches a character and pumps, @p rounds times; returns the nanoseconds taken. */
BENCH_API double TesselCsBench_RoundTrips(int rounds, int keep)
{
    g_keep = keep;
    double start = NowNs();
    for (int i = 0; i < rounds; ++i) {
        TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, &g_seen);
        Tessel_RunCallbacks();
    }
    return NowNs() - start;
}

/* Fetches a page of @p pageSize products and pumps, @p rounds times; returns the nanoseconds taken. */
BENCH_API double TesselCsBench_ProductPages(int rounds, int pageSize, int keep)
{
    g_keep = keep;
    TesselFetchProductParam param = {L"", 1, pageSize};
    double start = NowNs();
    for (int i = 0; i < rounds; ++i) {
        TesselAPI_FetchProducts(&param, OnProducts, &g_seen);
        Tessel_RunCallbacks();
    }
    return NowNs() - start;
}
