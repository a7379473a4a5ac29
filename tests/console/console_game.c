/* A game for the console's end-to-end tests (curl, browser): it starts the
 * console through TESSEL_SANDBOX_CONSOLE, buys one product, then keeps its
 * frame loop running until the player closes the purchase window from the
 * console (or 60 s pass). It prints what its callbacks hear. */
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wchar.h>

#include "tessel/base/TesselBase.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

static int g_closed = 0;

static void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    printf("purchase answered: code %u, transaction %lld\n", (unsigned)result->result.resultCode,
           purchase != NULL ? (long long)purchase->transactionMasterNumber : 0LL);
    fflush(stdout);
}

static void OnDestroy(TesselAPICallbackResult* result)
{
    printf("purchase window closed: code %u\n", (unsigned)result->result.resultCode);
    fflush(stdout);
    g_closed = 1;
}

int main(void)
{
    TesselOrderProduct order = {101, 0, 1};
    TesselStartPurchaseParam purchase;
    const time_t start = time(NULL);
    const struct timespec frame = {0, 10 * 1000 * 1000};

    if (Tessel_Initialize(L"console-game").resultCode != TESSEL_RESULT_SUCCESS ||
        TesselAPI_IAPInitialize(L"console-game").resultCode != TESSEL_RESULT_SUCCESS) {
        return 1;
    }
    memset(&purchase, 0, sizeof(purchase));
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, NULL, NULL);
    while (!g_closed && time(NULL) - start < 60) {
        Tessel_RunCallbacks();
        nanosleep(&frame, NULL);
    }
    TesselAPI_IAPUnInitialize();
    Tessel_UnInitialize();
    return g_closed ? 0 : 1;
}
