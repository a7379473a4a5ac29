/* A small game written in C against the SDK's public C headers only. It
 * initializes the platform and the four modules, buys the first product of a
 * shop page, fetches the automatic popups and shows one, sends a log record
 * and fetches a character, pumps the callbacks the way a game loop does, and
 * shuts everything down. It exits 0 only when every callback ran exactly once
 * with the answer the sandbox platform is expected to give. */
#include <stdio.h>
#include <time.h>

#include "tessel/base/TesselBase.h"
#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/scrivo/Scrivo.h"
#include "tessel/vendra/Vendra.h"

/* One request: how often its callback ran and whether it answered as expected. */
typedef struct Request {
    const char* name;
    int calls;
    int good;
} Request;

enum { PRODUCTS, PURCHASE, POPUP_LIST, POPUP, LOG_SENT, CHARACTER, REQUEST_COUNT };

static Request g_requests[REQUEST_COUNT] = {
    {"product page", 0, 0}, {"purchase", 0, 0},  {"popup list", 0, 0},
    {"popup", 0, 0},        {"log sent", 0, 0},  {"character", 0, 0},
};
static int g_failures = 0;

/* An ASCII copy of a wide text for the console. */
static const char* Narrow(const wchar_t* text, char* buffer, size_t size)
{
    size_t i = 0;
    for (; text != NULL && text[i] != L'\0' && i + 1 < size; ++i) {
        buffer[i] = (text[i] >= 0x20 && text[i] < 0x7F) ? (char)text[i] : '?';
    }
    buffer[i] = '\0';
    return buffer;
}

static void Expect(int condition, const char* what)
{
    if (!condition) {
        printf("  FAILED: %s\n", what);
        ++g_failures;
    }
}

/* Records one callback of a request: success code, the request's own
 * context (the popup lists take none) and what the caller checked. */
static void Answered(int which, const TesselAPICallbackResult* result, const void* context, int good,
                     const char* detail)
{
    Request* request = &g_requests[which];
    char message[96];
    char code[32];
    ++request->calls;
    request->good = request->calls == 1 && good && result->result.resultCode == TESSEL_RESULT_SUCCESS &&
                    result->userContext == context;
    printf("  %-12s code %u (%s) %s%s%s\n", request->name, result->result.resultCode,
           Narrow(Tessel_ResultCodeName(result->result.resultCode), code, sizeof code), detail,
           *result->message ? " | " : "", Narrow(result->message, message, sizeof message));
}

static void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    char detail[96];
    snprintf(detail, sizeof detail, "transaction %lld, purchased %s", purchase->transactionMasterNumber,
             purchase->isPurchased ? "yes" : "no");
    Answered(PURCHASE, result, &g_requests[PURCHASE], purchase->isPurchased && purchase->transactionMasterNumber != 0,
             detail);
}

/* The first product of the page is bought from inside the callback: the
 * request goes out now and its answer comes with a later frame. */
static void OnProducts(const TesselAPICallbackResult* result, const TesselProductEx* products, unsigned int count)
{
    char name[64];
    char price[32];
    char detail[128];
    TesselOrderProduct order;
    TesselStartPurchaseParam purchase = {0};
    snprintf(detail, sizeof detail, "%u product(s), first \"%s\" %s", count,
             Narrow(count > 0 ? products[0].name : NULL, name, sizeof name),
             Narrow(count > 0 ? products[0].displaySalePriceString : NULL, price, sizeof price));
    Answered(PRODUCTS, result, &g_requests[PRODUCTS], count > 0, detail);
    if (count == 0) {
        return;
    }
    order.productId = products[0].productId;
    order.salePrice = products[0].salePrice;
    order.quantity = 1;
    purchase.orderProducts = &order; /* read during the call only */
    purchase.orderProductCount = 1;
    purchase.extraData = L"standalone C game";
    TesselAPI_StartPurchase(&purchase, &OnPurchase, &g_requests[PURCHASE]);
}

static void OnPopupList(const TesselAPICallbackResult* result, TesselPopup* popups, unsigned int count,
                        TesselPopupRequestData* requestData)
{
    char title[64];
    char detail[96];
    (void)requestData;
    snprintf(detail, sizeof detail, "%u popup(s), first \"%s\"", count,
             Narrow(count > 0 ? popups[0].text1 : NULL, title, sizeof title));
    Answered(POPUP_LIST, result, NULL, count > 0, detail);
}

static void OnPopup(const TesselAPICallbackResult* result)
{
    Answered(POPUP, result, &g_requests[POPUP], 1, "shown");
}

static void OnLogSent(const TesselAPICallbackResult* result)
{
    Answered(LOG_SENT, result, &g_requests[LOG_SENT], 1, "accepted");
}

static void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    char text[160];
    Answered(CHARACTER, result, &g_requests[CHARACTER], character != NULL && *character != L'\0',
             Narrow(character, text, sizeof text));
}

static int AllAnswered(void)
{
    int i;
    for (i = 0; i < REQUEST_COUNT; ++i) {
        if (g_requests[i].calls == 0) {
            return 0;
        }
    }
    return 1;
}

static void ExpectSuccess(TesselAPIResult result, const char* call)
{
    char code[32];
    printf("  %-36s code %u (%s)\n", call, result.resultCode,
           Narrow(Tessel_ResultCodeName(result.resultCode), code, sizeof code));
    Expect(result.resultCode == TESSEL_RESULT_SUCCESS, call);
}

int main(void)
{
    TesselFetchProductParam page;
    TesselLogSendParam record = {0};
    time_t deadline;
    int frames = 0;
    int i;

    printf("== C game: start\n");
    ExpectSuccess(Tessel_Initialize(L"standalone-game"), "Tessel_Initialize");
    ExpectSuccess(TesselAPI_IAPInitialize(L"standalone-store"), "TesselAPI_IAPInitialize");
    ExpectSuccess(TesselAPI_ViewInitialize(), "TesselAPI_ViewInitialize");
    ExpectSuccess(TesselAPI_LogInitialize(), "TesselAPI_LogInitialize");
    ExpectSuccess(TesselAPI_GamingServicesInitialize(), "TesselAPI_GamingServicesInitialize");

    page.categoryId = L"bundles";
    page.pageNumber = 1;
    page.pageSize = 10;
    TesselAPI_FetchProductsEx(&page, &OnProducts, &g_requests[PRODUCTS]);
    TesselAPI_FetchAutoPopup(&OnPopupList);
    TesselAPI_AutoPopup(TESSEL_WEBVIEW_MODE_EMBEDDED, &OnPopup, &g_requests[POPUP]);
    record.auid = 1001;
    record.logGroupId = L"standalone";
    record.contents = L"{\"event\":\"session_start\"}";
    TesselAPI_LogSend(&record, &OnLogSent, &g_requests[LOG_SENT]);
    TesselAPI_FetchCharacter(L"hero", L"eu", &OnCharacter, &g_requests[CHARACTER]);

    printf("== C game: pumping callbacks\n");
    deadline = time(NULL) + 10;
    while (!AllAnswered() && time(NULL) < deadline) {
        Tessel_RunCallbacks();
        ++frames;
    }
    /* A few frames more: a callback that runs twice shows up here. */
    for (i = 0; i < 10; ++i) {
        Tessel_RunCallbacks();
    }
    printf("  (%d frames)\n", frames);

    printf("== C game: shutdown\n");
    ExpectSuccess(TesselAPI_ViewCloseAllPopups(), "TesselAPI_ViewCloseAllPopups");
    ExpectSuccess(TesselAPI_IAPCloseAllPopups(), "TesselAPI_IAPCloseAllPopups");
    Tessel_RunCallbacks();
    ExpectSuccess(TesselAPI_GamingServicesUnInitialize(), "TesselAPI_GamingServicesUnInitialize");
    ExpectSuccess(TesselAPI_LogUnInitialize(), "TesselAPI_LogUnInitialize");
    ExpectSuccess(TesselAPI_ViewUnInitialize(), "TesselAPI_ViewUnInitialize");
    ExpectSuccess(TesselAPI_IAPUnInitialize(), "TesselAPI_IAPUnInitialize");
    ExpectSuccess(Tessel_UnInitialize(), "Tessel_UnInitialize");

    for (i = 0; i < REQUEST_COUNT; ++i) {
        if (g_requests[i].calls != 1 || !g_requests[i].good) {
            printf("  FAILED: %s: %d callback(s), %s\n", g_requests[i].name, g_requests[i].calls,
                   g_requests[i].good ? "as expected" : "not as expected");
            ++g_failures;
        }
    }
    printf("== C game: %s\n", g_failures == 0 ? "every callback answered once, as expected" : "FAILED");
    return g_failures == 0 ? 0 : 1;
}
