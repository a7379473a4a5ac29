/* A game's own test in C, through public headers only: a profile makes the
 * sandbox decline every purchase and answer 200 ms late. */
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "tessel/base/TesselBase.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

static int g_failures = 0;
static int g_answers = 0;
static uint32_t g_code = 0;
static wchar_t g_message[128];

#define CHECK(condition)                                                 \
    do {                                                                 \
        if (!(condition)) {                                              \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++g_failures;                                                \
        }                                                                \
    } while (0)

double TestWallClock(void); /* wall_clock_<platform>.c */

static double Now(void) { return TestWallClock(); }

static void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    (void)purchase;
    ++g_answers;
    g_code = result->result.resultCode;
    wcsncpy(g_message, result->message != NULL ? result->message : L"", 127);
}

static void OnDestroy(TesselAPICallbackResult* result) { (void)result; }

int main(int argc, char** argv)
{
    TesselOrderProduct order = {110, 9.90, 1};
    TesselStartPurchaseParam purchase;
    double start = 0;

    if (argc < 2) {
        fprintf(stderr, "usage: profile_c_test <declined-profile.json>\n");
        return 2;
    }
    CHECK(Tessel_Initialize(L"c-profile-test").resultCode == TESSEL_RESULT_SUCCESS);

    /* A refused profile says why and changes nothing. */
    CHECK(TesselSandbox_LoadProfileText("{\"latencyMs\": true}", 19) == TESSEL_RESULT_INVALID_ARGUMENT);
    CHECK(strstr(TesselSandbox_LastProfileError(), "latencyMs") != NULL);
    CHECK(TesselSandbox_LoadProfileFile(argv[1]) == TESSEL_RESULT_SUCCESS);
    CHECK(TesselSandbox_LastProfileError()[0] == '\0');

    CHECK(TesselAPI_IAPInitialize(L"c-profile-test").resultCode == TESSEL_RESULT_SUCCESS);
    memset(&purchase, 0, sizeof(purchase));
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    start = Now();
    TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, NULL, NULL);
    Tessel_RunCallbacks();
    CHECK(g_answers == 0); /* not due yet */
    while (g_answers == 0 && Now() - start < 5.0) {
        Tessel_RunCallbacks();
    }
    CHECK(g_answers == 1);
    CHECK(Now() - start >= 0.2);
    CHECK(g_code == 1001);
    CHECK(wcscmp(g_message, L"Payment declined: the card was refused.") == 0);

    TesselAPI_IAPUnInitialize();
    Tessel_UnInitialize();
    if (g_failures == 0) {
        printf("declined after %.0f ms\n", (Now() - start) * 1000);
    }
    return g_failures == 0 ? 0 : 1;
}
