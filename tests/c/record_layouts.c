/* The layout of every record in the public C headers of the platform and the
 * four modules: the offset of each field and the size, written out by hand
 * for 4-byte packing on a 64-bit target (a field is aligned to the smaller
 * of its own size and 4). Only TesselAPIResult depends on the width of
 * wchar_t (4 bytes on Linux, 2 on Windows): W below.
 *
 * Compiled as C (this file) and as C++ (record_layouts.cpp includes it): any
 * field moved, swapped with a neighbour or resized stops the build. */
#include <stddef.h>

#include "tessel/base/TesselBase.h"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/scrivo/Scrivo.h"
#include "tessel/vendra/VendraRecords.h"

#define AT(type, field, offset) TESSEL_STATIC_ASSERT(offsetof(type, field) == (offset), #type "." #field)
#define SIZE(type, size) TESSEL_STATIC_ASSERT(sizeof(type) == (size), "sizeof " #type)

TESSEL_STATIC_ASSERT(sizeof(void*) == 8, "64-bit target");
#define W sizeof(wchar_t)
/* The callback-result record's fields after the embedded TesselAPIResult. */
#define R (8 + 32 * W)

/* --- Platform ------------------------------------------------------------- */

AT(TesselAPIResult, operationCode, 0);
AT(TesselAPIResult, resultCode, 4);
AT(TesselAPIResult, moduleName, 8);
SIZE(TesselAPIResult, R);

AT(TesselAPICallbackResult, result, 0);
AT(TesselAPICallbackResult, message, R);
AT(TesselAPICallbackResult, value, R + 8);
AT(TesselAPICallbackResult, requestMethod, R + 12);
AT(TesselAPICallbackResult, requestUrl, R + 20);
AT(TesselAPICallbackResult, httpStatus, R + 28);
AT(TesselAPICallbackResult, userContext, R + 32);
SIZE(TesselAPICallbackResult, R + 40);

AT(TesselWindowInfo, windowHandle, 0);
AT(TesselWindowInfo, width, 8);
AT(TesselWindowInfo, height, 12);
SIZE(TesselWindowInfo, 16);

AT(TesselSandboxOutcome, module, 0);
AT(TesselSandboxOutcome, operationCode, 4);
AT(TesselSandboxOutcome, count, 8);
AT(TesselSandboxOutcome, fields, 12);
AT(TesselSandboxOutcome, resultCode, 16);
AT(TesselSandboxOutcome, message, 20);
AT(TesselSandboxOutcome, popupCreated, 28);
AT(TesselSandboxOutcome, flag, 29);
AT(TesselSandboxOutcome, reserved, 30);
AT(TesselSandboxOutcome, delayMs, 32);
SIZE(TesselSandboxOutcome, 36);

/* --- Vendra: records produced for callbacks --------------------------------- */

AT(TesselShopCategory, reserved, 0);
AT(TesselShopCategory, categoryId, 8);
AT(TesselShopCategory, parentCategoryId, 16);
AT(TesselShopCategory, displayNumber, 24);
AT(TesselShopCategory, name, 28);
AT(TesselShopCategory, depth, 36);
SIZE(TesselShopCategory, 40);

/* TesselProduct and TesselProductEx share their first 31 fields. */
#define PRODUCT_FIELDS(type)                      \
    AT(type, reserved, 0);                        \
    AT(type, productId, 8);                       \
    AT(type, gameItemId, 16);                     \
    AT(type, name, 24);                           \
    AT(type, description, 32);                    \
    AT(type, quantity, 40);                       \
    AT(type, productTypeCode, 44);                \
    AT(type, categoryId, 48);                     \
    AT(type, categoryName, 56);                   \
    AT(type, currencyCode, 64);                   \
    AT(type, price, 72);                          \
    AT(type, displayPrice, 80);                   \
    AT(type, displayPriceString, 88);             \
    AT(type, salePrice, 96);                      \
    AT(type, displaySalePrice, 104);              \
    AT(type, displaySalePriceString, 112);        \
    AT(type, isDiscount, 120);                    \
    AT(type, discountType, 124);                  \
    AT(type, discountTypeValue, 128);             \
    AT(type, discountBeginDate, 132);             \
    AT(type, discountEndDate, 140);               \
    AT(type, totalQuantity, 148);                 \
    AT(type, memberQuantity, 152);                \
    AT(type, guidQuantity, 156);                  \
    AT(type, thumbnailUrl, 160);                  \
    AT(type, canWithdraw, 168);                   \
    AT(type, purchasedAtLeastOnce, 169);          \
    AT(type, purchaseLimitTypeCode, 172);         \
    AT(type, purchaseLimitCount, 176);            \
    AT(type, saleLimitCount, 180);                \
    AT(type, saleBeginDate, 184);                 \
    AT(type, saleEndDate, 192)

PRODUCT_FIELDS(TesselProduct);
SIZE(TesselProduct, 200);
PRODUCT_FIELDS(TesselProductEx);
AT(TesselProductEx, purchaseAvailabilityCode, 200);
SIZE(TesselProductEx, 204);

AT(TesselPurchasedProduct, reserved, 0);
AT(TesselPurchasedProduct, transactionDetailNumber, 8);
AT(TesselPurchasedProduct, productId, 16);
AT(TesselPurchasedProduct, categoryId, 24);
AT(TesselPurchasedProduct, totalQuantity, 32);
AT(TesselPurchasedProduct, memberQuantity, 36);
AT(TesselPurchasedProduct, guidQuantity, 40);
SIZE(TesselPurchasedProduct, 44);

AT(TesselChargeInfo, reserved, 0);
AT(TesselChargeInfo, chargeDeductVal, 8);
AT(TesselChargeInfo, chargeDisplayDeductVal, 16);
AT(TesselChargeInfo, chargeType, 24);
AT(TesselChargeInfo, chargeTypeName, 28);
SIZE(TesselChargeInfo, 36);

AT(TesselPurchaseResult, reserved, 0);
AT(TesselPurchaseResult, transactionMasterNumber, 8);
AT(TesselPurchaseResult, transactionDetailNumbers, 16);
AT(TesselPurchaseResult, transactionDetailNumberCount, 24);
AT(TesselPurchaseResult, oneTimePaymentUrl, 28);
AT(TesselPurchaseResult, purchaseProgress, 36);
AT(TesselPurchaseResult, isPurchased, 40);
AT(TesselPurchaseResult, extraData, 44);
AT(TesselPurchaseResult, purchasedProducts, 52);
AT(TesselPurchaseResult, purchasedProductCount, 60);
AT(TesselPurchaseResult, chargeInfos, 64);
AT(TesselPurchaseResult, chargeInfoCount, 72);
SIZE(TesselPurchaseResult, 76);

AT(TesselInventoryItem, reserved, 0);
AT(TesselInventoryItem, transactionMasterNumber, 8);
AT(TesselInventoryItem, transactionDetailNumber, 16);
AT(TesselInventoryItem, productId, 24);
AT(TesselInventoryItem, gameItemId, 32);
AT(TesselInventoryItem, productName, 40);
AT(TesselInventoryItem, quantity, 48);
AT(TesselInventoryItem, thumbnailUrl, 52);
SIZE(TesselInventoryItem, 60);

AT(TesselVoidedPurchase, reserved, 0);
AT(TesselVoidedPurchase, tid, 8);
AT(TesselVoidedPurchase, marketCode, 16);
AT(TesselVoidedPurchase, productId, 24);
AT(TesselVoidedPurchase, marketProductId, 32);
AT(TesselVoidedPurchase, userId, 40);
AT(TesselVoidedPurchase, characterNo, 48);
AT(TesselVoidedPurchase, purchaseMillis, 56);
AT(TesselVoidedPurchase, voidedMillis, 64);
SIZE(TesselVoidedPurchase, 72);

/* --- Vendra: records the game passes in ----------------------------------- */

AT(TesselFetchProductParam, categoryId, 0);
AT(TesselFetchProductParam, pageNumber, 8);
AT(TesselFetchProductParam, pageSize, 12);
SIZE(TesselFetchProductParam, 16);

AT(TesselOrderProduct, productId, 0);
AT(TesselOrderProduct, salePrice, 8);
AT(TesselOrderProduct, quantity, 16);
SIZE(TesselOrderProduct, 20);

/* The three window option records share one layout. */
#define WINDOW_OPTION(type)  \
    AT(type, reserved, 0);   \
    AT(type, operation, 8);  \
    AT(type, webviewMode, 12); \
    AT(type, x, 16);         \
    AT(type, y, 20);         \
    AT(type, width, 24);     \
    AT(type, height, 28);    \
    SIZE(type, 32)

WINDOW_OPTION(TesselPurchaseOption);
WINDOW_OPTION(TesselTermsOption);
WINDOW_OPTION(TesselPaymentOption);

AT(TesselStartPurchaseParam, orderProducts, 0);
AT(TesselStartPurchaseParam, orderProductCount, 8);
AT(TesselStartPurchaseParam, purchaseOption, 12);
AT(TesselStartPurchaseParam, serviceTxnNo, 44);
AT(TesselStartPurchaseParam, extraData, 52);
SIZE(TesselStartPurchaseParam, 60);

AT(TesselWithdrawGameOptionParams, webviewMode, 0);
AT(TesselWithdrawGameOptionParams, x, 4);
AT(TesselWithdrawGameOptionParams, y, 8);
AT(TesselWithdrawGameOptionParams, width, 12);
AT(TesselWithdrawGameOptionParams, height, 16);
SIZE(TesselWithdrawGameOptionParams, 20);

/* --- Panora ------------------------------------------------------------------ */

AT(TesselPopupDisallowedParams, popupId, 0);
AT(TesselPopupDisallowedParams, days, 4);
SIZE(TesselPopupDisallowedParams, 8);

AT(TesselPopupStringPair, first, 0);
AT(TesselPopupStringPair, second, 8);
SIZE(TesselPopupStringPair, 16);

AT(TesselPopup, text1, 0);
AT(TesselPopup, text2, 8);
AT(TesselPopup, number1, 16);
AT(TesselPopup, text3, 20);
AT(TesselPopup, byte1, 28);
AT(TesselPopup, byte2, 29);
AT(TesselPopup, byte3, 30);
AT(TesselPopup, byte4, 31);
AT(TesselPopup, byte5, 32);
AT(TesselPopup, byte6, 33);
AT(TesselPopup, byte7, 34);
AT(TesselPopup, number2, 36);
AT(TesselPopup, pair1, 40);
AT(TesselPopup, pair2, 56);
AT(TesselPopup, number3, 72);
AT(TesselPopup, number4, 76);
AT(TesselPopup, number5, 80);
AT(TesselPopup, number6, 84);
SIZE(TesselPopup, 88);

AT(TesselPopupRequestData, pairs1, 0);
AT(TesselPopupRequestData, pairCount1, 8);
AT(TesselPopupRequestData, pairs2, 12);
AT(TesselPopupRequestData, pairCount2, 20);
SIZE(TesselPopupRequestData, 24);

/* --- Scrivo ---------------------------------------------------------------- */

AT(TesselLogSendParam, auid, 0);
AT(TesselLogSendParam, cuid, 8);
AT(TesselLogSendParam, mktType1, 16);
AT(TesselLogSendParam, mktId1, 24);
AT(TesselLogSendParam, mktType2, 32);
AT(TesselLogSendParam, mktId2, 40);
AT(TesselLogSendParam, gameVersion, 48);
AT(TesselLogSendParam, logGroupId, 56);
AT(TesselLogSendParam, serverCd, 64);
AT(TesselLogSendParam, serverCdDet, 72);
AT(TesselLogSendParam, lvCd, 80);
AT(TesselLogSendParam, lvCdDet, 88);
AT(TesselLogSendParam, contents, 96);
SIZE(TesselLogSendParam, 104);

/* Ludex's C header declares no record. */
