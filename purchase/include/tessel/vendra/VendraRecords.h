/* Vendra, the purchase module: the C records of its C interface.
 *
 * Records the module produces for C callbacks and the option records begin
 * with a 64-bit `reserved` field: the module writes 0 there and never reads
 * it. Every text is a zero-terminated wide string. Records produced for a
 * callback belong to the module and are freed when the callback returns;
 * records the game passes in are only read during the call. */
#ifndef TESSEL_VENDRA_VENDRARECORDS_H
#define TESSEL_VENDRA_VENDRARECORDS_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#ifndef __cplusplus
#include <stdbool.h>
#endif

#include "tessel/base/TesselBase.h"

#if defined(TESSEL_BUILDING_VENDRA)
#define VENDRA_API TESSEL_EXPORT
#else
#define VENDRA_API TESSEL_IMPORT
#endif

/* Values of the enumeration fields (all 32 bits wide). */
#define TESSEL_PRODUCT_TYPE_CODE_NONE 0
#define TESSEL_PRODUCT_TYPE_CODE_INDIE_PACKAGE_GAME_ITEM 1
#define TESSEL_PRODUCT_TYPE_CODE_IN_GAME_ITEM 2
#define TESSEL_PRODUCT_TYPE_CODE_PACKAGE_ITEM 3

#define TESSEL_DISCOUNT_TYPE_NONE 0
#define TESSEL_DISCOUNT_TYPE_FIXED_RATE 1
#define TESSEL_DISCOUNT_TYPE_FLAT_RATE 2

#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_NONE 0
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_UNLIMITED 1
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_MEMBER 2
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_CHARACTER 3

#define TESSEL_PURCHASE_PROGRESS_NONE 0
#define TESSEL_PURCHASE_PROGRESS_NEED_PAYMENT_WINDOW 1
#define TESSEL_PURCHASE_PROGRESS_NOT_NEED_PAYMENT_WINDOW 2

#pragma pack(push, 4)

/* --- Records produced for C callbacks -------------------------------------- */

typedef struct TesselShopCategory {
    long long reserved;
    const wchar_t* categoryId;
    const wchar_t* parentCategoryId;
    int32_t displayNumber;
    const wchar_t* name;
    int32_t depth;
} TesselShopCategory;

typedef struct TesselProduct {
    long long reserved;
    long long productId;
    const wchar_t* gameItemId;
    const wchar_t* name;
    const wchar_t* description;
    int32_t quantity;
    int32_t productTypeCode;
    const wchar_t* categoryId;
    const wchar_t* categoryName;
    const wchar_t* currencyCode;
    double price;
    double displayPrice;
    const wchar_t* displayPriceString;
    double salePrice;
    double displaySalePrice;
    const wchar_t* displaySalePriceString;
    bool isDiscount;
    int32_t discountType;
    int32_t discountTypeValue;
    long long discountBeginDate;
    long long discountEndDate;
    int32_t totalQuantity;
    int32_t memberQuantity;
    int32_t guidQuantity;
    const wchar_t* thumbnailUrl;
    bool canWithdraw;
    bool purchasedAtLeastOnce;
    int32_t purchaseLimitTypeCode;
    int32_t purchaseLimitCount;
    int32_t saleLimitCount;
    long long saleBeginDate;
    long long saleEndDate;
} TesselProduct;

typedef struct TesselProductEx {
    long long reserved;
    long long productId;
    const wchar_t* gameItemId;
    const wchar_t* name;
    const wchar_t* description;
    int32_t quantity;
    int32_t productTypeCode;
    const wchar_t* categoryId;
    const wchar_t* categoryName;
    const wchar_t* currencyCode;
    double price;
    double displayPrice;
    const wchar_t* displayPriceString;
    double salePrice;
    double displaySalePrice;
    const wchar_t* displaySalePriceString;
    bool isDiscount;
    int32_t discountType;
    int32_t discountTypeValue;
    long long discountBeginDate;
    long long discountEndDate;
    int32_t totalQuantity;
    int32_t memberQuantity;
    int32_t guidQuantity;
    const wchar_t* thumbnailUrl;
    bool canWithdraw;
    bool purchasedAtLeastOnce;
    int32_t purchaseLimitTypeCode;
    int32_t purchaseLimitCount;
    int32_t saleLimitCount;
    long long saleBeginDate;
    long long saleEndDate;
    int16_t purchaseAvailabilityCode;
} TesselProductEx;

typedef struct TesselPurchasedProduct {
    long long reserved;
    long long transactionDetailNumber;
    long long productId;
    const wchar_t* categoryId;
    int32_t totalQuantity;
    int32_t memberQuantity;
    int32_t guidQuantity;
} TesselPurchasedProduct;

typedef struct TesselChargeInfo {
    long long reserved;
    double chargeDeductVal;
    double chargeDisplayDeductVal;
    int32_t chargeType;
    const wchar_t* chargeTypeName;
} TesselChargeInfo;

/* Each list pointer is null when its count is 0. */
typedef struct TesselPurchaseResult {
    long long reserved;
    long long transactionMasterNumber;
    long long* transactionDetailNumbers;
    uint32_t transactionDetailNumberCount;
    const wchar_t* oneTimePaymentUrl;
    int32_t purchaseProgress;
    bool isPurchased;
    const wchar_t* extraData;
    TesselPurchasedProduct* purchasedProducts;
    uint32_t purchasedProductCount;
    TesselChargeInfo* chargeInfos;
    uint32_t chargeInfoCount;
} TesselPurchaseResult;

typedef struct TesselInventoryItem {
    long long reserved;
    long long transactionMasterNumber;
    long long transactionDetailNumber;
    long long productId;
    const wchar_t* gameItemId;
    const wchar_t* productName;
    int32_t quantity;
    const wchar_t* thumbnailUrl;
} TesselInventoryItem;

typedef struct TesselVoidedPurchase {
    long long reserved;
    long long tid;
    const wchar_t* marketCode;
    const wchar_t* productId;
    const wchar_t* marketProductId;
    const wchar_t* userId;
    long long characterNo;
    long long purchaseMillis;
    long long voidedMillis;
} TesselVoidedPurchase;

/* --- Records the game passes in ---------------------------------------------- */

/* A null category id reads as the empty one. */
typedef struct TesselFetchProductParam {
    const wchar_t* categoryId;
    int32_t pageNumber;
    int32_t pageSize;
} TesselFetchProductParam;

typedef struct TesselOrderProduct {
    long long productId;
    double salePrice;
    int32_t quantity;
} TesselOrderProduct;

/* operation: 0, 1 or 2; webviewMode: a TesselWebViewMode value. */
typedef struct TesselPurchaseOption {
    long long reserved;
    int32_t operation;
    int32_t webviewMode;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
} TesselPurchaseOption;

/* A null order-product array reads as no order products; null texts read as
 * empty ones. */
typedef struct TesselStartPurchaseParam {
    const TesselOrderProduct* orderProducts;
    uint32_t orderProductCount;
    TesselPurchaseOption purchaseOption;
    const wchar_t* serviceTxnNo;
    const wchar_t* extraData;
} TesselStartPurchaseParam;

/* operation: 0 or 1. */
typedef struct TesselTermsOption {
    long long reserved;
    int32_t operation;
    int32_t webviewMode;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
} TesselTermsOption;

/* operation: 0 or 1. */
typedef struct TesselPaymentOption {
    long long reserved;
    int32_t operation;
    int32_t webviewMode;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
} TesselPaymentOption;

typedef struct TesselWithdrawGameOptionParams {
    int32_t webviewMode;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
} TesselWithdrawGameOptionParams;

#pragma pack(pop)

/* Layouts: 4-byte packing on a 64-bit target. */
#define TESSEL_VENDRA_LAYOUT(type, field, offset) \
    TESSEL_STATIC_ASSERT(offsetof(type, field) == (offset), #type "." #field)
#define TESSEL_VENDRA_SIZE(type, size) TESSEL_STATIC_ASSERT(sizeof(type) == (size), "size of " #type)

TESSEL_STATIC_ASSERT(sizeof(void*) == 8, "the records are laid out for 64-bit targets");
TESSEL_STATIC_ASSERT(sizeof(bool) == 1, "flags are one byte");

TESSEL_VENDRA_SIZE(TesselShopCategory, 40);
TESSEL_VENDRA_LAYOUT(TesselShopCategory, categoryId, 8);
TESSEL_VENDRA_LAYOUT(TesselShopCategory, displayNumber, 24);
TESSEL_VENDRA_LAYOUT(TesselShopCategory, name, 28);
TESSEL_VENDRA_LAYOUT(TesselShopCategory, depth, 36);

TESSEL_VENDRA_SIZE(TesselProduct, 200);
TESSEL_VENDRA_LAYOUT(TesselProduct, productId, 8);
TESSEL_VENDRA_LAYOUT(TesselProduct, quantity, 40);
TESSEL_VENDRA_LAYOUT(TesselProduct, productTypeCode, 44);
TESSEL_VENDRA_LAYOUT(TesselProduct, price, 72);
TESSEL_VENDRA_LAYOUT(TesselProduct, isDiscount, 120);
TESSEL_VENDRA_LAYOUT(TesselProduct, discountType, 124);
TESSEL_VENDRA_LAYOUT(TesselProduct, discountBeginDate, 132);
TESSEL_VENDRA_LAYOUT(TesselProduct, totalQuantity, 148);
TESSEL_VENDRA_LAYOUT(TesselProduct, thumbnailUrl, 160);
TESSEL_VENDRA_LAYOUT(TesselProduct, canWithdraw, 168);
TESSEL_VENDRA_LAYOUT(TesselProduct, purchasedAtLeastOnce, 169);
TESSEL_VENDRA_LAYOUT(TesselProduct, purchaseLimitTypeCode, 172);
TESSEL_VENDRA_LAYOUT(TesselProduct, saleBeginDate, 184);
TESSEL_VENDRA_LAYOUT(TesselProduct, saleEndDate, 192);
TESSEL_VENDRA_SIZE(TesselProductEx, 204);
TESSEL_VENDRA_LAYOUT(TesselProductEx, saleEndDate, 192);
TESSEL_VENDRA_LAYOUT(TesselProductEx, purchaseAvailabilityCode, 200);

TESSEL_VENDRA_SIZE(TesselPurchasedProduct, 44);
TESSEL_VENDRA_LAYOUT(TesselPurchasedProduct, transactionDetailNumber, 8);
TESSEL_VENDRA_LAYOUT(TesselPurchasedProduct, categoryId, 24);
TESSEL_VENDRA_LAYOUT(TesselPurchasedProduct, guidQuantity, 40);

TESSEL_VENDRA_SIZE(TesselChargeInfo, 36);
TESSEL_VENDRA_LAYOUT(TesselChargeInfo, chargeDeductVal, 8);
TESSEL_VENDRA_LAYOUT(TesselChargeInfo, chargeType, 24);
TESSEL_VENDRA_LAYOUT(TesselChargeInfo, chargeTypeName, 28);

TESSEL_VENDRA_SIZE(TesselPurchaseResult, 76);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, transactionMasterNumber, 8);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, transactionDetailNumbers, 16);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, transactionDetailNumberCount, 24);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, oneTimePaymentUrl, 28);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, purchaseProgress, 36);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, isPurchased, 40);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, extraData, 44);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, purchasedProducts, 52);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, purchasedProductCount, 60);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, chargeInfos, 64);
TESSEL_VENDRA_LAYOUT(TesselPurchaseResult, chargeInfoCount, 72);

TESSEL_VENDRA_SIZE(TesselInventoryItem, 60);
TESSEL_VENDRA_LAYOUT(TesselInventoryItem, gameItemId, 32);
TESSEL_VENDRA_LAYOUT(TesselInventoryItem, quantity, 48);
TESSEL_VENDRA_LAYOUT(TesselInventoryItem, thumbnailUrl, 52);

TESSEL_VENDRA_SIZE(TesselVoidedPurchase, 72);
TESSEL_VENDRA_LAYOUT(TesselVoidedPurchase, marketCode, 16);
TESSEL_VENDRA_LAYOUT(TesselVoidedPurchase, userId, 40);
TESSEL_VENDRA_LAYOUT(TesselVoidedPurchase, characterNo, 48);
TESSEL_VENDRA_LAYOUT(TesselVoidedPurchase, voidedMillis, 64);

TESSEL_VENDRA_SIZE(TesselFetchProductParam, 16);
TESSEL_VENDRA_LAYOUT(TesselFetchProductParam, pageNumber, 8);
TESSEL_VENDRA_LAYOUT(TesselFetchProductParam, pageSize, 12);

TESSEL_VENDRA_SIZE(TesselOrderProduct, 20);
TESSEL_VENDRA_LAYOUT(TesselOrderProduct, salePrice, 8);
TESSEL_VENDRA_LAYOUT(TesselOrderProduct, quantity, 16);

TESSEL_VENDRA_SIZE(TesselPurchaseOption, 32);
TESSEL_VENDRA_LAYOUT(TesselPurchaseOption, operation, 8);
TESSEL_VENDRA_LAYOUT(TesselPurchaseOption, webviewMode, 12);
TESSEL_VENDRA_LAYOUT(TesselPurchaseOption, height, 28);
TESSEL_VENDRA_SIZE(TesselTermsOption, 32);
TESSEL_VENDRA_LAYOUT(TesselTermsOption, operation, 8);
TESSEL_VENDRA_LAYOUT(TesselTermsOption, height, 28);
TESSEL_VENDRA_SIZE(TesselPaymentOption, 32);
TESSEL_VENDRA_LAYOUT(TesselPaymentOption, operation, 8);
TESSEL_VENDRA_LAYOUT(TesselPaymentOption, height, 28);

TESSEL_VENDRA_SIZE(TesselStartPurchaseParam, 60);
TESSEL_VENDRA_LAYOUT(TesselStartPurchaseParam, orderProductCount, 8);
TESSEL_VENDRA_LAYOUT(TesselStartPurchaseParam, purchaseOption, 12);
TESSEL_VENDRA_LAYOUT(TesselStartPurchaseParam, serviceTxnNo, 44);
TESSEL_VENDRA_LAYOUT(TesselStartPurchaseParam, extraData, 52);

TESSEL_VENDRA_SIZE(TesselWithdrawGameOptionParams, 20);
TESSEL_VENDRA_LAYOUT(TesselWithdrawGameOptionParams, height, 16);

#endif
