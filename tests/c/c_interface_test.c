/* The C interfaces of Ludex, Scrivo and Panora used from C against the offline
 * sandbox: layouts as C sees them, the not-initialized path, and requests
 * completed through the pump. */
#include <stddef.h>
#include <stdio.h>
#include <wchar.h>

#include "tessel/base/TesselBase.h"
#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/scrivo/Scrivo.h"

_Static_assert(offsetof(TesselAPICallbackResult, userContext) + sizeof(void*) == sizeof(TesselAPICallbackResult),
               "the user context is the last field");
_Static_assert(sizeof(TesselLogSendParam) == 16 + 11 * sizeof(void*), "log record packed to 4 bytes");
_Static_assert(offsetof(TesselLogSendParam, contents) == 16 + 10 * sizeof(void*), "contents is the last text");

static int g_passed;
static int g_failed;

#define CHECK(condition)                                                   \
    do {                                                                   \
        if (condition) {                                                   \
            ++g_passed;                                                    \
        } else {                                                           \
            ++g_failed;                                                    \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
        }                                                                  \
    } while (0)

static int g_calls;
static unsigned g_lastCode;
static void* g_lastContext;
static wchar_t g_lastText[256];

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    ++g_calls;
    g_lastCode = result->result.resultCode;
    g_lastContext = result->userContext;
    wcsncpy(g_lastText, character != NULL ? character : L"(null)", 255);
}

static void OnLog(const TesselAPICallbackResult* result)
{
    ++g_calls;
    g_lastCode = result->result.resultCode;
    g_lastContext = result->userContext;
}

static int g_destroyCalls;
static unsigned g_destroyCode;
static void* g_destroyContext;

static void OnPopup(const TesselAPICallbackResult* result)
{
    ++g_calls;
    g_lastCode = result->result.resultCode;
    g_lastContext = result->userContext;
}

static void OnPopupDestroyed(const TesselAPICallbackResult* result)
{
    ++g_destroyCalls;
    g_destroyCode = result->result.resultCode;
    g_destroyContext = result->userContext;
}

static unsigned g_listCount;
static int g_listHadTexts;

static void OnPopupList(const TesselAPICallbackResult* result, TesselPopup* popups, unsigned int count,
                        TesselPopupRequestData* requestData)
{
    unsigned int i;
    ++g_calls;
    g_lastCode = result->result.resultCode;
    g_lastContext = result->userContext;
    g_listCount = count;
    g_listHadTexts = requestData != NULL;
    for (i = 0; i < count; ++i) {
        g_listHadTexts = g_listHadTexts && popups[i].text1 != NULL && popups[i].pair2.second != NULL;
    }
}

static void Reset(void)
{
    g_calls = 0;
    g_lastCode = 999u;
    g_lastContext = NULL;
    g_lastText[0] = L'\0';
}

int main(void)
{
    int context = 0;

    /* Before Initialize: the error arrives from the pump, never inside the call. */
    Reset();
    TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, &context);
    CHECK(g_calls == 0);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 17u);
    CHECK(g_lastContext == &context);
    CHECK(wcscmp(g_lastText, L"") == 0);

    Reset();
    TesselAPI_LogSend(NULL, NULL, NULL); /* dropped silently */
    TesselAPI_LogSend(NULL, OnLog, &context);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 17u);

    /* Panora before Initialize: the C Ex form hears of the popup that was never attempted. */
    Reset();
    g_destroyCalls = 0;
    TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, OnPopup, OnPopupDestroyed, &context, &g_destroyCalls);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 17u);
    CHECK(g_lastContext == &context);
    CHECK(g_destroyCalls == 1);
    CHECK(g_destroyCode == 33u);
    CHECK(g_destroyContext == &g_destroyCalls);
    CHECK(TesselAPI_ViewCloseAllPopups().resultCode == 17u);

    /* Initialized: the sandbox answers through the pump. */
    CHECK(Tessel_Initialize(L"c-test").resultCode == 0u);
    CHECK(TesselAPI_GamingServicesInitialize().resultCode == 0u);
    CHECK(TesselAPI_GamingServicesInitialize().resultCode == 18u);
    CHECK(TesselAPI_LogInitialize().resultCode == 0u);

    Reset();
    TesselAPI_FetchCharacter(L"hero", L"eu", OnCharacter, &context);
    CHECK(g_calls == 0);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 0u);
    CHECK(g_lastContext == &context);
    CHECK(wcsstr(g_lastText, L"\"characterId\":\"hero\"") != NULL);

    Reset();
    TesselLogSendParam record = {1, 2, L"t1", NULL, NULL, NULL, L"1.0", NULL, NULL, NULL, NULL, NULL, L"hello"};
    TesselAPI_LogSend(&record, OnLog, &context);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 0u);

    CHECK(TesselAPI_ViewInitialize().resultCode == 0u);
    Reset();
    TesselAPI_FetchNewsPopup(OnPopupList);
    Tessel_RunCallbacks();
    CHECK(g_calls == 1);
    CHECK(g_lastCode == 0u);
    CHECK(g_lastContext == NULL);
    CHECK(g_listCount > 0u);
    CHECK(g_listHadTexts);

    /* A web view mode outside the enumeration is the integer it is: passed
     * on (UndefinedBehaviorSanitizer, in the sanitize preset, reports a load
     * as the enumeration), and answered once. */
    Reset();
    TesselAPI_AutoPopup((TesselWebViewMode)7, OnPopup, &context);
    TesselAPI_VerifyIdentificationPopup(false, (TesselWebViewMode)-1, OnPopup, NULL, &context, NULL);
    Tessel_RunCallbacks();
    CHECK(g_calls == 2);
    CHECK(wcscmp(TesselAPI_ViewUnInitialize().moduleName, L"Panora") == 0);
    CHECK(TesselAPI_ViewInitialize().resultCode == 0u);
    CHECK(TesselAPI_ViewUnInitialize().resultCode == 0u);

    wchar_t version[16];
    CHECK(TesselAPI_LogGetVersion(version, 16).resultCode == 0u);
    CHECK(wcscmp(version, L"1.0.0") == 0);
    CHECK(TesselAPI_LogGetVersion(version, 2).resultCode != 0u);

    CHECK(TesselAPI_LogUnInitialize().resultCode == 0u);
    CHECK(TesselAPI_GamingServicesUnInitialize().resultCode == 0u);
    CHECK(TesselAPI_GamingServicesUnInitialize().resultCode == 17u);
    Tessel_UnInitialize();

    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
