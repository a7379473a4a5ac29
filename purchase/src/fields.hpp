// Field lists of Vendra's records, in declaration order, shared by the public
// classes, the intermediate records, the C records and the platform's data
// objects. Each entry is X(KIND, field, Getter): the field is `field` in the
// intermediate and C records, `field_` in the public class; Getter names the
// accessor of the public class and of the data object. KIND is TEXT (a
// wide string), VALUE (a number or flag) or ENUM (an enumeration, whose
// public getter is not const).
#pragma once

#define VENDRA_SHOP_CATEGORY_FIELDS(X)                 \
    X(TEXT, categoryId, GetCategoryId)                 \
    X(TEXT, parentCategoryId, GetParentCategoryId)     \
    X(VALUE, displayNumber, GetDisplayNumber)          \
    X(TEXT, name, GetName)                             \
    X(VALUE, depth, GetDepth)

#define VENDRA_FETCH_PRODUCT_PARAM_FIELDS(X) \
    X(TEXT, categoryId, GetCategoryId)       \
    X(VALUE, pageNumber, GetPageNumber)      \
    X(VALUE, pageSize, GetPageSize)

#define VENDRA_PRODUCT_FIELDS(X)                                 \
    X(VALUE, productId, GetProductId)                            \
    X(TEXT, gameItemId, GetGameItemId)                           \
    X(TEXT, name, GetName)                                       \
    X(TEXT, description, GetDescription)                         \
    X(VALUE, quantity, GetQuantity)                              \
    X(ENUM, productTypeCode, GetProductTypeCode)                 \
    X(TEXT, categoryId, GetCategoryId)                           \
    X(TEXT, categoryName, GetCategoryName)                       \
    X(TEXT, currencyCode, GetCurrencyCode)                       \
    X(VALUE, price, GetPrice)                                    \
    X(VALUE, displayPrice, GetDisplayPrice)                      \
    X(TEXT, displayPriceString, GetDisplayPriceString)           \
    X(VALUE, salePrice, GetSalePrice)                            \
    X(VALUE, displaySalePrice, GetDisplaySalePrice)              \
    X(TEXT, displaySalePriceString, GetDisplaySalePriceString)   \
    X(VALUE, isDiscount, IsDiscount)                             \
    X(ENUM, discountType, GetDiscountType)                       \
    X(VALUE, discountTypeValue, GetDiscountTypeValue)            \
    X(VALUE, discountBeginDate, GetDiscountBeginDate)            \
    X(VALUE, discountEndDate, GetDiscountEndDate)                \
    X(VALUE, totalQuantity, GetTotalQuantity)                    \
    X(VALUE, memberQuantity, GetMemberQuantity)                  \
    X(VALUE, guidQuantity, GetGuidQuantity)                      \
    X(TEXT, thumbnailUrl, GetThumbnailUrl)                       \
    X(VALUE, canWithdraw, CanWithdraw)                           \
    X(VALUE, purchasedAtLeastOnce, GetPurchasedAtLeastOnce)      \
    X(ENUM, purchaseLimitTypeCode, GetPurchaseLimitTypeCode)     \
    X(VALUE, purchaseLimitCount, GetPurchaseLimitCount)          \
    X(VALUE, saleLimitCount, GetSaleLimitCount)                  \
    X(VALUE, saleBeginDate, GetSaleBeginDate)                    \
    X(VALUE, saleEndDate, GetSaleEndDate)

#define VENDRA_PRODUCT_EX_FIELDS(X) \
    VENDRA_PRODUCT_FIELDS(X)        \
    X(VALUE, purchaseAvailabilityCode, GetPurchaseAvailabilityCode)

#define VENDRA_ORDER_PRODUCT_FIELDS(X)   \
    X(VALUE, productId, GetProductId)    \
    X(VALUE, salePrice, GetSalePrice)    \
    X(VALUE, quantity, GetQuantity)

// The rectangle has one getter for its four fields.
#define VENDRA_WINDOW_FIELDS(X)                \
    X(ENUM, webviewMode, GetWebviewMode)       \
    X(VALUE, webviewX, GetWebviewRect)         \
    X(VALUE, webviewY, GetWebviewRect)         \
    X(VALUE, webviewWidth, GetWebviewRect)     \
    X(VALUE, webviewHeight, GetWebviewRect)

#define VENDRA_OPTION_FIELDS(X)         \
    X(ENUM, operation, GetOperation)    \
    VENDRA_WINDOW_FIELDS(X)

#define VENDRA_PURCHASED_PRODUCT_FIELDS(X)                      \
    X(VALUE, transactionDetailNumber, GetTransactionDetailNumber) \
    X(VALUE, productId, GetProductId)                           \
    X(TEXT, categoryId, GetCategoryId)                          \
    X(VALUE, totalQuantity, GetTotalQuantity)                   \
    X(VALUE, memberQuantity, GetMemberQuantity)                 \
    X(VALUE, guidQuantity, GetGuidQuantity)

#define VENDRA_CHARGE_INFO_FIELDS(X)                            \
    X(VALUE, chargeDeductVal, GetChargeDeductVal)               \
    X(VALUE, chargeDisplayDeductVal, GetChargeDisplayDeductVal) \
    X(VALUE, chargeType, GetChargeType)                         \
    X(TEXT, chargeTypeName, GetChargeTypeName)

#define VENDRA_INVENTORY_ITEM_FIELDS(X)                          \
    X(VALUE, transactionMasterNumber, GetTransactionMasterNumber) \
    X(VALUE, transactionDetailNumber, GetTransactionDetailNumber) \
    X(VALUE, productId, GetProductId)                            \
    X(TEXT, gameItemId, GetGameItemId)                           \
    X(TEXT, productName, GetProductName)                         \
    X(VALUE, quantity, GetQuantity)                              \
    X(TEXT, thumbnailUrl, GetThumbnailUrl)

#define VENDRA_VOIDED_PURCHASE_FIELDS(X)          \
    X(VALUE, tid, GetTid)                         \
    X(TEXT, marketCode, GetMarketCode)            \
    X(TEXT, productId, GetProductId)              \
    X(TEXT, marketProductId, GetMarketProductId)  \
    X(TEXT, userId, GetUserId)                    \
    X(VALUE, characterNo, GetCharacterNo)         \
    X(VALUE, purchaseMillis, GetPurchaseMillis)   \
    X(VALUE, voidedMillis, GetVoidedMillis)
