/* A C game built with pkg-config's flags alone: it initializes the platform
 * and every module, and finds the installed version header in agreement with
 * the version the platform reports. */
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include "tessel/TesselVersion.h"
#include "tessel/base/TesselBase.h"
#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/scrivo/Scrivo.h"
#include "tessel/vendra/Vendra.h"

#define CHECK(expr)                                   \
    do {                                              \
        if ((expr).resultCode != TESSEL_RESULT_SUCCESS) { \
            fprintf(stderr, "failed: %s\n", #expr);   \
            return 1;                                 \
        }                                             \
    } while (0)

int main(void)
{
    wchar_t reported[32];
    wchar_t expected[32];
    TesselSandbox_SetLatency(0);
    CHECK(Tessel_Initialize(L"pkg-config-game"));
    CHECK(TesselAPI_GamingServicesInitialize());
    CHECK(TesselAPI_LogInitialize());
    CHECK(TesselAPI_IAPInitialize(L"store"));
    CHECK(TesselAPI_ViewInitialize());
    CHECK(TesselAPI_LogGetVersion(reported, 32));
    mbstowcs(expected, TESSEL_SDK_VERSION_STRING, 32);
    if (wcscmp(reported, expected) != 0) {
        fprintf(stderr, "platform reports %ls, TesselVersion.h says %ls\n", reported, expected);
        return 1;
    }
    CHECK(TesselAPI_ViewUnInitialize());
    CHECK(TesselAPI_IAPUnInitialize());
    CHECK(TesselAPI_LogUnInitialize());
    CHECK(TesselAPI_GamingServicesUnInitialize());
    CHECK(Tessel_UnInitialize());
    return 0;
}
