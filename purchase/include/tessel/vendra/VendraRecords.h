/**
 * @file VendraRecords.h
 * @brief Vendra, the purchase module: the C records of its C interface.
 *
 * Records the module produces for C callbacks and the option records begin
 * with a 64-bit `reserved` field: the module writes 0 there and never reads
 * it. Every text is a zero-terminated wide string. Records produced for a
 * callback belong to the module and are freed when the callback returns;
 * records the game passes in are only read during the call.
 */
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
/** Marks a function or class of the Vendra library for import. */
#define VENDRA_API TESSEL_IMPORT
#endif

/**
 * The longest list Vendra makes or reads: order products, purchased
 * products, charges, transaction detail numbers. A longer count is treated
 * as a list that cannot be allocated: a request answers
 * #TESSEL_RESULT_OUT_OF_MEMORY without reading any element, and a list
 * builder of the C++ classes leaves the list empty.
 */
#define TESSEL_VENDRA_MAX_LIST_COUNT 65536u

/** @name Values of the enumeration fields
 * The values of ProductTypeCode, DiscountType, PurchaseLimitTypeCode and
 * PurchaseProgress in the C records (all 32 bits wide).
 * @{ */
/** Product type code none. */
#define TESSEL_PRODUCT_TYPE_CODE_NONE 0
/** Product type code indie package game item. */
#define TESSEL_PRODUCT_TYPE_CODE_INDIE_PACKAGE_GAME_ITEM 1
/** Product type code in game item. */
#define TESSEL_PRODUCT_TYPE_CODE_IN_GAME_ITEM 2
/** Product type code package item. */
#define TESSEL_PRODUCT_TYPE_CODE_PACKAGE_ITEM 3

/** Discount type none. */
#define TESSEL_DISCOUNT_TYPE_NONE 0
/** Discount type fixed rate. */
#define TESSEL_DISCOUNT_TYPE_FIXED_RATE 1
/** Discount type flat rate. */
#define TESSEL_DISCOUNT_TYPE_FLAT_RATE 2

/** Purchase limit type code none. */
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_NONE 0
/** Purchase limit type code unlimited. */
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_UNLIMITED 1
/** Purchase limit type code member. */
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_MEMBER 2
/** Purchase limit type code character. */
#define TESSEL_PURCHASE_LIMIT_TYPE_CODE_CHARACTER 3

/** Purchase progress none. */
#define TESSEL_PURCHASE_PROGRESS_NONE 0
/** Purchase progress need payment window. */
#define TESSEL_PURCHASE_PROGRESS_NEED_PAYMENT_WINDOW 1
/** Purchase progress not need payment window. */
#define TESSEL_PURCHASE_PROGRESS_NOT_NEED_PAYMENT_WINDOW 2
/** @} */

#pragma pack(push, 4)

/* --- Records produced for C callbacks -------------------------------------- */

/** A shop category, as TesselAPI_FetchShopCategories() delivers it. */
typedef struct TesselShopCategory {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    const wchar_t* categoryId; /**< The category's id. */
    const wchar_t* parentCategoryId; /**< The parent category's id. */
    int32_t displayNumber; /**< Position in the shop's display order. */
    const wchar_t* name; /**< Display name. */
    int32_t depth; /**< Depth in the category tree. */
} TesselShopCategory;

/** A product of a product page, as TesselAPI_FetchProducts() delivers it. */
typedef struct TesselProduct {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long productId; /**< The product's id. */
    const wchar_t* gameItemId; /**< The game's own id of the item. */
    const wchar_t* name; /**< Display name. */
    const wchar_t* description; /**< Description text. */
    int32_t quantity; /**< Quantity of items. */
    int32_t productTypeCode; /**< Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    const wchar_t* categoryId; /**< The category's id. */
    const wchar_t* categoryName; /**< Name of the product's category. */
    const wchar_t* currencyCode; /**< Currency code of the prices. */
    double price; /**< List price. */
    double displayPrice; /**< List price as shown. */
    const wchar_t* displayPriceString; /**< List price as formatted text. */
    double salePrice; /**< Sale price (what a purchase costs). */
    double displaySalePrice; /**< Sale price as shown. */
    const wchar_t* displaySalePriceString; /**< Sale price as formatted text. */
    bool isDiscount; /**< True while a discount applies. */
    int32_t discountType; /**< Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    int32_t discountTypeValue; /**< Amount of the discount, in the unit of its kind. */
    long long discountBeginDate; /**< Start of the discount, milliseconds since 1970 (UTC). */
    long long discountEndDate; /**< End of the discount, milliseconds since 1970 (UTC). */
    int32_t totalQuantity; /**< Total quantity. */
    int32_t memberQuantity; /**< Quantity per member account. */
    int32_t guidQuantity; /**< Quantity per character. */
    const wchar_t* thumbnailUrl; /**< URL of the thumbnail image. */
    bool canWithdraw; /**< True when a purchase of it can be withdrawn. */
    bool purchasedAtLeastOnce; /**< True when the player bought it before. */
    int32_t purchaseLimitTypeCode; /**< Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    int32_t purchaseLimitCount; /**< Purchases allowed under the limit. */
    int32_t saleLimitCount; /**< Sales allowed in total. */
    long long saleBeginDate; /**< Start of sale, milliseconds since 1970 (UTC). */
    long long saleEndDate; /**< End of sale, milliseconds since 1970 (UTC). */
} TesselProduct;

/** A product with its purchase availability, as TesselAPI_FetchProductsEx() delivers it; the fields of TesselProduct, then one more. */
typedef struct TesselProductEx {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long productId; /**< The product's id. */
    const wchar_t* gameItemId; /**< The game's own id of the item. */
    const wchar_t* name; /**< Display name. */
    const wchar_t* description; /**< Description text. */
    int32_t quantity; /**< Quantity of items. */
    int32_t productTypeCode; /**< Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    const wchar_t* categoryId; /**< The category's id. */
    const wchar_t* categoryName; /**< Name of the product's category. */
    const wchar_t* currencyCode; /**< Currency code of the prices. */
    double price; /**< List price. */
    double displayPrice; /**< List price as shown. */
    const wchar_t* displayPriceString; /**< List price as formatted text. */
    double salePrice; /**< Sale price (what a purchase costs). */
    double displaySalePrice; /**< Sale price as shown. */
    const wchar_t* displaySalePriceString; /**< Sale price as formatted text. */
    bool isDiscount; /**< True while a discount applies. */
    int32_t discountType; /**< Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    int32_t discountTypeValue; /**< Amount of the discount, in the unit of its kind. */
    long long discountBeginDate; /**< Start of the discount, milliseconds since 1970 (UTC). */
    long long discountEndDate; /**< End of the discount, milliseconds since 1970 (UTC). */
    int32_t totalQuantity; /**< Total quantity. */
    int32_t memberQuantity; /**< Quantity per member account. */
    int32_t guidQuantity; /**< Quantity per character. */
    const wchar_t* thumbnailUrl; /**< URL of the thumbnail image. */
    bool canWithdraw; /**< True when a purchase of it can be withdrawn. */
    bool purchasedAtLeastOnce; /**< True when the player bought it before. */
    int32_t purchaseLimitTypeCode; /**< Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    int32_t purchaseLimitCount; /**< Purchases allowed under the limit. */
    int32_t saleLimitCount; /**< Sales allowed in total. */
    long long saleBeginDate; /**< Start of sale, milliseconds since 1970 (UTC). */
    long long saleEndDate; /**< End of sale, milliseconds since 1970 (UTC). */
    int16_t purchaseAvailabilityCode; /**< Whether the player may buy it now, as the platform codes it (0 when unknown). */
} TesselProductEx;

/** One purchased product of a purchase. */
typedef struct TesselPurchasedProduct {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long transactionDetailNumber; /**< Number of the purchase line (transaction detail). */
    long long productId; /**< The product's id. */
    const wchar_t* categoryId; /**< The category's id. */
    int32_t totalQuantity; /**< Total quantity. */
    int32_t memberQuantity; /**< Quantity per member account. */
    int32_t guidQuantity; /**< Quantity per character. */
} TesselPurchasedProduct;

/** One charge of a purchase. */
typedef struct TesselChargeInfo {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    double chargeDeductVal; /**< Amount charged. */
    double chargeDisplayDeductVal; /**< Amount charged, as shown. */
    int32_t chargeType; /**< Kind of charge, as the platform codes it. */
    const wchar_t* chargeTypeName; /**< Name of the kind of charge. */
} TesselChargeInfo;

/** The outcome of a purchase. Each list pointer is null when its count is 0. */
typedef struct TesselPurchaseResult {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long transactionMasterNumber; /**< Number of the purchase (transaction master). */
    long long* transactionDetailNumbers; /**< Numbers of the purchase lines; null when there are none. */
    uint32_t transactionDetailNumberCount; /**< Length of transactionDetailNumbers. */
    const wchar_t* oneTimePaymentUrl; /**< URL of the payment page of this purchase; empty when none is needed. */
    int32_t purchaseProgress; /**< What the purchase needs next (PurchaseProgress, TESSEL_PURCHASE_PROGRESS_*). */
    bool isPurchased; /**< True once the purchase is complete. */
    const wchar_t* extraData; /**< The game's extra data of the purchase, passed through unchanged. */
    TesselPurchasedProduct* purchasedProducts; /**< The purchased products; null when there are none. */
    uint32_t purchasedProductCount; /**< Length of purchasedProducts. */
    TesselChargeInfo* chargeInfos; /**< The charges; null when there are none. */
    uint32_t chargeInfoCount; /**< Length of chargeInfos. */
} TesselPurchaseResult;

/** An item of the player's inventory, as TesselAPI_FetchInventory() delivers it. */
typedef struct TesselInventoryItem {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long transactionMasterNumber; /**< Number of the purchase (transaction master). */
    long long transactionDetailNumber; /**< Number of the purchase line (transaction detail). */
    long long productId; /**< The product's id. */
    const wchar_t* gameItemId; /**< The game's own id of the item. */
    const wchar_t* productName; /**< The product's name. */
    int32_t quantity; /**< Quantity of items. */
    const wchar_t* thumbnailUrl; /**< URL of the thumbnail image. */
} TesselInventoryItem;

/** A voided (refunded or cancelled) purchase, as TesselAPI_FetchVoidedPurchases() delivers it. */
typedef struct TesselVoidedPurchase {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    long long tid; /**< The voided transaction's id. */
    const wchar_t* marketCode; /**< Code of the market the purchase was made in. */
    const wchar_t* productId; /**< The product's id. */
    const wchar_t* marketProductId; /**< The market's id of the product. */
    const wchar_t* userId; /**< The buyer's user id. */
    long long characterNo; /**< The buyer's character number. */
    long long purchaseMillis; /**< Time of the purchase, milliseconds since 1970 (UTC). */
    long long voidedMillis; /**< Time it was voided, milliseconds since 1970 (UTC). */
} TesselVoidedPurchase;

/* --- Records the game passes in ---------------------------------------------- */

/** Which product page to fetch. A null category id reads as the empty one (every category). */
typedef struct TesselFetchProductParam {
    const wchar_t* categoryId; /**< The category's id. */
    int32_t pageNumber; /**< Page to fetch, from 1. */
    int32_t pageSize; /**< Products per page, at least 1. */
} TesselFetchProductParam;

/** One product to buy: id, expected sale price, quantity. */
typedef struct TesselOrderProduct {
    long long productId; /**< The product's id. */
    double salePrice; /**< Sale price (what a purchase costs). */
    int32_t quantity; /**< Quantity of items. */
} TesselOrderProduct;

/** How the purchase window is shown. operation is 0, 1 or 2. */
typedef struct TesselPurchaseOption {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    int32_t operation; /**< What the window is asked to do, passed to the platform unchanged. */
    int32_t webviewMode; /**< Where the window is shown (a TesselWebViewMode value). */
    int32_t x; /**< Left edge of the window, in pixels. */
    int32_t y; /**< Top edge of the window, in pixels. */
    int32_t width; /**< Width of the window, in pixels. */
    int32_t height; /**< Height of the window, in pixels. */
} TesselPurchaseOption;

/** What to buy and how the purchase window is shown. A null order-product array reads as no order products; null texts read as empty ones. */
typedef struct TesselStartPurchaseParam {
    const TesselOrderProduct* orderProducts; /**< The products to buy; null reads as none. */
    uint32_t orderProductCount; /**< Length of orderProducts; at most #TESSEL_VENDRA_MAX_LIST_COUNT. */
    TesselPurchaseOption purchaseOption; /**< How the purchase window is shown. */
    const wchar_t* serviceTxnNo; /**< The game's own transaction number; null reads as empty. */
    const wchar_t* extraData; /**< The game's extra data of the purchase, passed through unchanged. */
} TesselStartPurchaseParam;

/** How the terms window is shown. operation is 0 or 1. */
typedef struct TesselTermsOption {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    int32_t operation; /**< What the window is asked to do, passed to the platform unchanged. */
    int32_t webviewMode; /**< Where the window is shown (a TesselWebViewMode value). */
    int32_t x; /**< Left edge of the window, in pixels. */
    int32_t y; /**< Top edge of the window, in pixels. */
    int32_t width; /**< Width of the window, in pixels. */
    int32_t height; /**< Height of the window, in pixels. */
} TesselTermsOption;

/** How the payment window is shown. operation is 0 or 1. */
typedef struct TesselPaymentOption {
    long long reserved; /**< Reserved: the module writes 0 and never reads it. */
    int32_t operation; /**< What the window is asked to do, passed to the platform unchanged. */
    int32_t webviewMode; /**< Where the window is shown (a TesselWebViewMode value). */
    int32_t x; /**< Left edge of the window, in pixels. */
    int32_t y; /**< Top edge of the window, in pixels. */
    int32_t width; /**< Width of the window, in pixels. */
    int32_t height; /**< Height of the window, in pixels. */
} TesselPaymentOption;

/** How the withdrawal window is shown. */
typedef struct TesselWithdrawGameOptionParams {
    int32_t webviewMode; /**< Where the window is shown (a TesselWebViewMode value). */
    int32_t x; /**< Left edge of the window, in pixels. */
    int32_t y; /**< Top edge of the window, in pixels. */
    int32_t width; /**< Width of the window, in pixels. */
    int32_t height; /**< Height of the window, in pixels. */
} TesselWithdrawGameOptionParams;

#pragma pack(pop)

/* Layouts: 4-byte packing on a 64-bit target. */
/** @cond INTERNAL */
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

/** @endcond */

#endif
