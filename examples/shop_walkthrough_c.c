/* Vendra through its C interface: the same shop walk, with the game's
 * contexts coming back in each callback's result. */
#include <stdio.h>

#include "shop_walkthrough.h"
#include "tessel/vendra/Vendra.h"

static int g_requestTag = 1;
static int g_destroyTag = 2;
static long long g_transaction = 0;

/* A narrow copy of a wide text, for the console. */
static const char* Narrow(const wchar_t* text, char* buffer, size_t size)
{
    size_t i = 0;
    for (; text != NULL && text[i] != L'\0' && i + 1 < size; ++i) {
        buffer[i] = (text[i] >= 0x20 && text[i] < 0x7F) ? (char)text[i] : '?';
    }
    buffer[i] = '\0';
    return buffer;
}

static void PrintResult(const char* what, const TesselAPICallbackResult* result, const void* expected)
{
    char message[128];
    printf("  [C]   %s: code %u (operation %u) \"%s\", context %s\n", what, result->result.resultCode,
           result->result.operationCode, Narrow(result->message, message, sizeof message),
           result->userContext == expected ? "is ours" : "is NOT ours");
}

static void Pump(void) { SamplePumpCallbacks(); }

static void OnCategories(const TesselAPICallbackResult* result, const TesselShopCategory* categories,
                         unsigned int count)
{
    unsigned int i;
    char name[64];
    PrintResult("categories", result, &g_requestTag);
    for (i = 0; i < count; ++i) {
        printf("        %*s%s\n", 2 * categories[i].depth, "", Narrow(categories[i].name, name, sizeof name));
    }
}

static void OnProducts(const TesselAPICallbackResult* result, const TesselProductEx* products, unsigned int count)
{
    unsigned int i;
    char name[64];
    char price[32];
    PrintResult("products", result, &g_requestTag);
    for (i = 0; i < count; ++i) {
        printf("        #%lld %-20s %s%s\n", products[i].productId, Narrow(products[i].name, name, sizeof name),
               Narrow(products[i].displaySalePriceString, price, sizeof price),
               products[i].purchaseAvailabilityCode != 0 ? " (limit reached)" : "");
    }
}

static void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    PrintResult("purchase", result, &g_requestTag);
    g_transaction = purchase->transactionMasterNumber;
    printf("        transaction %lld, purchased %s, %u product(s), %u charge(s)\n", g_transaction,
           purchase->isPurchased ? "yes" : "no", purchase->purchasedProductCount, purchase->chargeInfoCount);
}

static void OnDestroy(TesselAPICallbackResult* result) { PrintResult("purchase popup destroyed", result, &g_destroyTag); }

static void OnConfirm(const TesselAPICallbackResult* result, bool confirmed, const TesselPurchasedProduct* products,
                      unsigned int productCount, const TesselChargeInfo* charges, unsigned int chargeCount)
{
    (void)products;
    (void)charges;
    PrintResult("confirm", result, &g_requestTag);
    printf("        %s, %u product(s), %u charge(s)\n", confirmed ? "confirmed" : "not confirmed", productCount,
           chargeCount);
}

static void OnInventory(const TesselAPICallbackResult* result, const TesselInventoryItem* items, unsigned int count)
{
    unsigned int i;
    char name[64];
    PrintResult("inventory", result, &g_requestTag);
    for (i = 0; i < count; ++i) {
        printf("        %d x %s\n", items[i].quantity, Narrow(items[i].productName, name, sizeof name));
    }
}

void RunShopWalkthroughC(void)
{
    TesselFetchProductParam page;
    TesselOrderProduct order[1];
    TesselStartPurchaseParam purchase = {0};
    TesselAPIResult result;

    printf("\n== Vendra (C): the shop\n");
    result = TesselAPI_IAPInitialize(L"sample-store");
    printf("  TesselAPI_IAPInitialize: code %u\n", result.resultCode);

    TesselAPI_FetchShopCategories(&OnCategories, &g_requestTag);
    page.categoryId = L"bundles";
    page.pageNumber = 1;
    page.pageSize = 10;
    TesselAPI_FetchProductsEx(&page, &OnProducts, &g_requestTag);
    Pump();

    printf("\n== Vendra (C): buying the Starter Pack\n");
    order[0].productId = 110;
    order[0].salePrice = 9.90;
    order[0].quantity = 1;
    purchase.orderProducts = order;
    purchase.orderProductCount = 1;
    purchase.purchaseOption.width = 420;
    purchase.purchaseOption.height = 700;
    TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, &g_requestTag, &g_destroyTag);
    Pump();

    TesselAPI_ConfirmPurchase(g_transaction, &OnConfirm, &g_requestTag);
    TesselAPI_FetchInventory(&OnInventory, &g_requestTag);
    Pump();

    printf("\n== Vendra (C): closing the purchase popup\n");
    result = TesselAPI_IAPCloseAllPopups();
    printf("  TesselAPI_IAPCloseAllPopups: code %u (operation %u)\n", result.resultCode, result.operationCode);
    Pump();
    result = TesselAPI_IAPUnInitialize();
    printf("  TesselAPI_IAPUnInitialize: code %u\n", result.resultCode);
}
