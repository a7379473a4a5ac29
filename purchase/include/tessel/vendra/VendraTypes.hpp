/**
 * @file VendraTypes.hpp
 * @brief Vendra, the purchase module: intermediate records and the public
 * value classes of its C++ interface.
 *
 * The value classes own private heap copies of their texts (made with the C
 * runtime's wide-string duplicate, released with free) and keep their lists
 * in malloc arrays. A getter returns the owned pointer itself, valid until the
 * field is replaced or the object destroyed. Copies are deep: a copy shares
 * nothing with its source. An object is used by one thread at a time.
 *
 * Out of memory: the classes' own copies (constructors, assignments, setters,
 * list builders) throw nothing and cannot report it, so a text they could not
 * copy is null and a list they could not copy is empty. The objects Vendra
 * hands to a callback are always whole: when they cannot be made, the
 * callback receives #TESSEL_RESULT_OUT_OF_MEMORY with empty data instead.
 */
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tessel/base/TesselBase.hpp"
#include "tessel/vendra/VendraEnums.hpp"
#include "tessel/vendra/VendraRecords.h"

namespace Tessel::PCSDK::IAP {

// --- Intermediate records ----------------------------------------------------
// The module's owning form of each record. A default record holds empty
// strings, zeros and empty lists.

#pragma pack(push, 4)

/** The intermediate (owning) record of TesselPCShopCategory; a default record holds empty texts, zeros and empty lists. */
struct TesselPCShopCategoryCpp {
    std::wstring categoryId; /**< The category's id. */
    std::wstring parentCategoryId; /**< The parent category's id. */
    int displayNumber = 0; /**< Position in the shop's display order. */
    std::wstring name; /**< Display name. */
    int depth = 0; /**< Depth in the category tree. */
};

/** The intermediate (owning) record of TesselPCFetchProductParam; a default record holds empty texts, zeros and empty lists. */
struct TesselPCFetchProductParamCpp {
    std::wstring categoryId; /**< The category's id. */
    int pageNumber = 0; /**< Page to fetch, from 1. */
    int pageSize = 0; /**< Products per page, at least 1. */
};

/** The intermediate (owning) record of TesselPCProduct; a default record holds empty texts, zeros and empty lists. */
struct TesselPCProductCpp {
    long long productId = 0; /**< The product's id. */
    std::wstring gameItemId; /**< The game's own id of the item. */
    std::wstring name; /**< Display name. */
    std::wstring description; /**< Description text. */
    int quantity = 0; /**< Quantity of items. */
    ProductTypeCode productTypeCode = ProductTypeCode::NONE; /**< Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    std::wstring categoryId; /**< The category's id. */
    std::wstring categoryName; /**< Name of the product's category. */
    std::wstring currencyCode; /**< Currency code of the prices. */
    double price = 0; /**< List price. */
    double displayPrice = 0; /**< List price as shown. */
    std::wstring displayPriceString; /**< List price as formatted text. */
    double salePrice = 0; /**< Sale price (what a purchase costs). */
    double displaySalePrice = 0; /**< Sale price as shown. */
    std::wstring displaySalePriceString; /**< Sale price as formatted text. */
    bool isDiscount = false; /**< True while a discount applies. */
    DiscountType discountType = DiscountType::NONE; /**< Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    int discountTypeValue = 0; /**< Amount of the discount, in the unit of its kind. */
    long long discountBeginDate = 0; /**< Start of the discount, milliseconds since 1970 (UTC). */
    long long discountEndDate = 0; /**< End of the discount, milliseconds since 1970 (UTC). */
    int totalQuantity = 0; /**< Total quantity. */
    int memberQuantity = 0; /**< Quantity per member account. */
    int guidQuantity = 0; /**< Quantity per character. */
    std::wstring thumbnailUrl; /**< URL of the thumbnail image. */
    bool canWithdraw = false; /**< True when a purchase of it can be withdrawn. */
    bool purchasedAtLeastOnce = false; /**< True when the player bought it before. */
    PurchaseLimitTypeCode purchaseLimitTypeCode = PurchaseLimitTypeCode::NONE; /**< Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    int purchaseLimitCount = 0; /**< Purchases allowed under the limit. */
    int saleLimitCount = 0; /**< Sales allowed in total. */
    long long saleBeginDate = 0; /**< Start of sale, milliseconds since 1970 (UTC). */
    long long saleEndDate = 0; /**< End of sale, milliseconds since 1970 (UTC). */
};

/** The intermediate (owning) record of TesselPCProductEx; a default record holds empty texts, zeros and empty lists. */
struct TesselPCProductExCpp {
    long long productId = 0; /**< The product's id. */
    std::wstring gameItemId; /**< The game's own id of the item. */
    std::wstring name; /**< Display name. */
    std::wstring description; /**< Description text. */
    int quantity = 0; /**< Quantity of items. */
    ProductTypeCode productTypeCode = ProductTypeCode::NONE; /**< Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    std::wstring categoryId; /**< The category's id. */
    std::wstring categoryName; /**< Name of the product's category. */
    std::wstring currencyCode; /**< Currency code of the prices. */
    double price = 0; /**< List price. */
    double displayPrice = 0; /**< List price as shown. */
    std::wstring displayPriceString; /**< List price as formatted text. */
    double salePrice = 0; /**< Sale price (what a purchase costs). */
    double displaySalePrice = 0; /**< Sale price as shown. */
    std::wstring displaySalePriceString; /**< Sale price as formatted text. */
    bool isDiscount = false; /**< True while a discount applies. */
    DiscountType discountType = DiscountType::NONE; /**< Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    int discountTypeValue = 0; /**< Amount of the discount, in the unit of its kind. */
    long long discountBeginDate = 0; /**< Start of the discount, milliseconds since 1970 (UTC). */
    long long discountEndDate = 0; /**< End of the discount, milliseconds since 1970 (UTC). */
    int totalQuantity = 0; /**< Total quantity. */
    int memberQuantity = 0; /**< Quantity per member account. */
    int guidQuantity = 0; /**< Quantity per character. */
    std::wstring thumbnailUrl; /**< URL of the thumbnail image. */
    bool canWithdraw = false; /**< True when a purchase of it can be withdrawn. */
    bool purchasedAtLeastOnce = false; /**< True when the player bought it before. */
    PurchaseLimitTypeCode purchaseLimitTypeCode = PurchaseLimitTypeCode::NONE; /**< Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    int purchaseLimitCount = 0; /**< Purchases allowed under the limit. */
    int saleLimitCount = 0; /**< Sales allowed in total. */
    long long saleBeginDate = 0; /**< Start of sale, milliseconds since 1970 (UTC). */
    long long saleEndDate = 0; /**< End of sale, milliseconds since 1970 (UTC). */
    short purchaseAvailabilityCode = 0; /**< Whether the player may buy it now, as the platform codes it (0 when unknown). */
};

/** The intermediate (owning) record of TesselPCOrderProduct; a default record holds empty texts, zeros and empty lists. */
struct TesselPCOrderProductCpp {
    long long productId = 0; /**< The product's id. */
    double salePrice = 0; /**< Sale price (what a purchase costs). */
    int quantity = 0; /**< Quantity of items. */
};

/** The intermediate (owning) record of TesselPCPurchaseOption; a default record holds empty texts, zeros and empty lists. */
struct TesselPCPurchaseOptionCpp {
    TesselPCPurchaseOperation operation = TesselPCPurchaseOperation::OPERATION_0; /**< What the window is asked to do, passed to the platform unchanged. */
    WebViewMode webviewMode = WebViewMode::EMBEDDED; /**< Where the window is shown (a TesselWebViewMode value). */
    int webviewX = 0; /**< Left edge of the window, in pixels. */
    int webviewY = 0; /**< Top edge of the window, in pixels. */
    int webviewWidth = 0; /**< Width of the window, in pixels. */
    int webviewHeight = 0; /**< Height of the window, in pixels. */
};

/** The intermediate (owning) record of TesselPCPaymentOption; a default record holds empty texts, zeros and empty lists. */
struct TesselPCPaymentOptionCpp {
    TesselPCPaymentOperation operation = TesselPCPaymentOperation::OPERATION_0; /**< What the window is asked to do, passed to the platform unchanged. */
    WebViewMode webviewMode = WebViewMode::EMBEDDED; /**< Where the window is shown (a TesselWebViewMode value). */
    int webviewX = 0; /**< Left edge of the window, in pixels. */
    int webviewY = 0; /**< Top edge of the window, in pixels. */
    int webviewWidth = 0; /**< Width of the window, in pixels. */
    int webviewHeight = 0; /**< Height of the window, in pixels. */
};

/** The intermediate (owning) record of TesselPCTermsOption; a default record holds empty texts, zeros and empty lists. */
struct TesselPCTermsOptionCpp {
    TesselPCTermsOperation operation = TesselPCTermsOperation::OPERATION_0; /**< What the window is asked to do, passed to the platform unchanged. */
    WebViewMode webviewMode = WebViewMode::EMBEDDED; /**< Where the window is shown (a TesselWebViewMode value). */
    int webviewX = 0; /**< Left edge of the window, in pixels. */
    int webviewY = 0; /**< Top edge of the window, in pixels. */
    int webviewWidth = 0; /**< Width of the window, in pixels. */
    int webviewHeight = 0; /**< Height of the window, in pixels. */
};

/** The intermediate (owning) record of TesselPCWithdrawGameOption; a default record holds empty texts, zeros and empty lists. */
struct TesselPCWithdrawGameOptionCpp {
    WebViewMode webviewMode = WebViewMode::EMBEDDED; /**< Where the window is shown (a TesselWebViewMode value). */
    int webviewX = 0; /**< Left edge of the window, in pixels. */
    int webviewY = 0; /**< Top edge of the window, in pixels. */
    int webviewWidth = 0; /**< Width of the window, in pixels. */
    int webviewHeight = 0; /**< Height of the window, in pixels. */
};

/** The intermediate (owning) record of TesselPCStartPurchaseParam; a default record holds empty texts, zeros and empty lists. */
struct TesselPCStartPurchaseParamCpp {
    std::vector<TesselPCOrderProductCpp> orderProducts; /**< The products to buy; null reads as none. */
    TesselPCPurchaseOptionCpp purchaseOption; /**< How the purchase window is shown. */
    std::wstring serviceTxnNo; /**< The game's own transaction number; null reads as empty. */
    std::wstring extraData; /**< The game's extra data of the purchase, passed through unchanged. */
};

/** The intermediate (owning) record of TesselPCPurchasedProduct; a default record holds empty texts, zeros and empty lists. */
struct TesselPCPurchasedProductCpp {
    long long transactionDetailNumber = 0; /**< Number of the purchase line (transaction detail). */
    long long productId = 0; /**< The product's id. */
    std::wstring categoryId; /**< The category's id. */
    int totalQuantity = 0; /**< Total quantity. */
    int memberQuantity = 0; /**< Quantity per member account. */
    int guidQuantity = 0; /**< Quantity per character. */
};

/** The intermediate (owning) record of TesselPCChargeInfo; a default record holds empty texts, zeros and empty lists. */
struct TesselPCChargeInfoCpp {
    double chargeDeductVal = 0; /**< Amount charged. */
    double chargeDisplayDeductVal = 0; /**< Amount charged, as shown. */
    int chargeType = 0; /**< Kind of charge, as the platform codes it. */
    std::wstring chargeTypeName; /**< Name of the kind of charge. */
};

/** The intermediate (owning) record of TesselPCPurchaseResult; a default record holds empty texts, zeros and empty lists. */
struct TesselPCPurchaseResultCpp {
    long long transactionMasterNumber = 0; /**< Number of the purchase (transaction master). */
    std::vector<long long> transactionDetailNumbers; /**< Numbers of the purchase lines; null when there are none. */
    std::wstring oneTimePaymentUrl; /**< URL of the payment page of this purchase; empty when none is needed. */
    PurchaseProgress purchaseProgress = PurchaseProgress::NONE; /**< What the purchase needs next (PurchaseProgress, TESSEL_PURCHASE_PROGRESS_*). */
    bool isPurchased = false; /**< True once the purchase is complete. */
    std::wstring extraData; /**< The game's extra data of the purchase, passed through unchanged. */
    std::vector<TesselPCPurchasedProductCpp> purchasedProducts; /**< The purchased products; null when there are none. */
    std::vector<TesselPCChargeInfoCpp> chargeInfos; /**< The charges; null when there are none. */
};

/** The intermediate (owning) record of TesselPCInventoryItem; a default record holds empty texts, zeros and empty lists. */
struct TesselPCInventoryItemCpp {
    long long transactionMasterNumber = 0; /**< Number of the purchase (transaction master). */
    long long transactionDetailNumber = 0; /**< Number of the purchase line (transaction detail). */
    long long productId = 0; /**< The product's id. */
    std::wstring gameItemId; /**< The game's own id of the item. */
    std::wstring productName; /**< The product's name. */
    int quantity = 0; /**< Quantity of items. */
    std::wstring thumbnailUrl; /**< URL of the thumbnail image. */
};

/** The intermediate (owning) record of TesselPCVoidedPurchase; a default record holds empty texts, zeros and empty lists. */
struct TesselPCVoidedPurchaseCpp {
    long long tid = 0; /**< The voided transaction's id. */
    std::wstring marketCode; /**< Code of the market the purchase was made in. */
    std::wstring productId; /**< The product's id. */
    std::wstring marketProductId; /**< The market's id of the product. */
    std::wstring userId; /**< The buyer's user id. */
    long long characterNo = 0; /**< The buyer's character number. */
    long long purchaseMillis = 0; /**< Time of the purchase, milliseconds since 1970 (UTC). */
    long long voidedMillis = 0; /**< Time it was voided, milliseconds since 1970 (UTC). */
};

// --- Public value classes ----------------------------------------------------
// Each has a default constructor, a copy constructor, a converting
// constructor from a pointer to its intermediate record (null gives the
// default object), a copy assignment and an assignment from a record pointer
// (null leaves the object unchanged). Self-assignment is safe.

/** A shop category, as IAP_FetchShopCategories() delivers it. */
struct VENDRA_API TesselPCShopCategory {
public:
    /** The default object. */
    TesselPCShopCategory();
    /** A deep copy of @p other. */
    TesselPCShopCategory(const TesselPCShopCategory& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCShopCategory(const TesselPCShopCategoryCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCShopCategory();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCShopCategory& operator=(const TesselPCShopCategory& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCShopCategory& operator=(const TesselPCShopCategoryCpp* record);

    /** @return The category's id. Owned by the object; may be null. */
    const wchar_t* GetCategoryId() const;
    /** @return The parent category's id. Owned by the object; may be null. */
    const wchar_t* GetParentCategoryId() const;
    /** @return Position in the shop's display order. */
    int GetDisplayNumber() const;
    /** @return Display name. Owned by the object; may be null. */
    const wchar_t* GetName() const;
    /** @return Depth in the category tree. */
    int GetDepth() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCShopCategory& other);
    void DeepCopy(const TesselPCShopCategoryCpp* record);

    wchar_t* categoryId_;
    wchar_t* parentCategoryId_;
    int displayNumber_;
    wchar_t* name_;
    int depth_;
};

/** Which product page to fetch (category, page number, page size). */
struct VENDRA_API TesselPCFetchProductParam {
public:
    /** The default object. */
    TesselPCFetchProductParam();
    /** A deep copy of @p other. */
    TesselPCFetchProductParam(const TesselPCFetchProductParam& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCFetchProductParam(const TesselPCFetchProductParamCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCFetchProductParam();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCFetchProductParam& operator=(const TesselPCFetchProductParam& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCFetchProductParam& operator=(const TesselPCFetchProductParamCpp* record);

    /** @return The category's id. Owned by the object; may be null. */
    const wchar_t* GetCategoryId() const;
    /** @param categoryId The category's id. Copied; null stores null. */
    void SetCategoryId(const wchar_t* categoryId);
    /** @return Page to fetch, from 1. */
    int GetPageNumber() const;
    /** @param pageNumber Page to fetch, from 1. */
    void SetPageNumber(int pageNumber);
    /** @return Products per page, at least 1. */
    int GetPageSize() const;
    /** @param pageSize Products per page, at least 1. */
    void SetPageSize(int pageSize);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCFetchProductParam& other);
    void DeepCopy(const TesselPCFetchProductParamCpp* record);

    wchar_t* categoryId_;
    int pageNumber_;
    int pageSize_;
};


/** A product of a product page, as IAP_FetchProducts() delivers it. */
struct VENDRA_API TesselPCProduct {
public:
    /** The default object. */
    TesselPCProduct();
    /** A deep copy of @p other. */
    TesselPCProduct(const TesselPCProduct& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCProduct(const TesselPCProductCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCProduct();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCProduct& operator=(const TesselPCProduct& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCProduct& operator=(const TesselPCProductCpp* record);

    /** @return The product's id. */
    long long GetProductId() const;
    /** @return The game's own id of the item. Owned by the object; may be null. */
    const wchar_t* GetGameItemId() const;
    /** @return Display name. Owned by the object; may be null. */
    const wchar_t* GetName() const;
    /** @return Description text. Owned by the object; may be null. */
    const wchar_t* GetDescription() const;
    /** @return Quantity of items. */
    int GetQuantity() const;
    /** @return Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    ProductTypeCode GetProductTypeCode();
    /** @return The category's id. Owned by the object; may be null. */
    const wchar_t* GetCategoryId() const;
    /** @return Name of the product's category. Owned by the object; may be null. */
    const wchar_t* GetCategoryName() const;
    /** @return Currency code of the prices. Owned by the object; may be null. */
    const wchar_t* GetCurrencyCode() const;
    /** @return List price. */
    double GetPrice() const;
    /** @return List price as shown. */
    double GetDisplayPrice() const;
    /** @return List price as formatted text. Owned by the object; may be null. */
    const wchar_t* GetDisplayPriceString() const;
    /** @return Sale price (what a purchase costs). */
    double GetSalePrice() const;
    /** @return Sale price as shown. */
    double GetDisplaySalePrice() const;
    /** @return Sale price as formatted text. Owned by the object; may be null. */
    const wchar_t* GetDisplaySalePriceString() const;
    /** @return True while a discount applies. */
    bool IsDiscount() const;
    /** @return Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    DiscountType GetDiscountType();
    /** @return Amount of the discount, in the unit of its kind. */
    int GetDiscountTypeValue() const;
    /** @return Start of the discount, milliseconds since 1970 (UTC). */
    long long GetDiscountBeginDate() const;
    /** @return End of the discount, milliseconds since 1970 (UTC). */
    long long GetDiscountEndDate() const;
    /** @return Total quantity. */
    int GetTotalQuantity() const;
    /** @return Quantity per member account. */
    int GetMemberQuantity() const;
    /** @return Quantity per character. */
    int GetGuidQuantity() const;
    /** @return URL of the thumbnail image. Owned by the object; may be null. */
    const wchar_t* GetThumbnailUrl() const;
    /** @return True when a purchase of it can be withdrawn. */
    bool CanWithdraw() const;
    /** @return True when the player bought it before. */
    bool GetPurchasedAtLeastOnce() const;
    /** @return Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    PurchaseLimitTypeCode GetPurchaseLimitTypeCode();
    /** @return Purchases allowed under the limit. */
    int GetPurchaseLimitCount() const;
    /** @return Sales allowed in total. */
    int GetSaleLimitCount() const;
    /** @return Start of sale, milliseconds since 1970 (UTC). */
    long long GetSaleBeginDate() const;
    /** @return End of sale, milliseconds since 1970 (UTC). */
    long long GetSaleEndDate() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCProduct& other);
    void DeepCopy(const TesselPCProductCpp* record);

    long long productId_;
    wchar_t* gameItemId_;
    wchar_t* name_;
    wchar_t* description_;
    int quantity_;
    ProductTypeCode productTypeCode_;
    wchar_t* categoryId_;
    wchar_t* categoryName_;
    wchar_t* currencyCode_;
    double price_;
    double displayPrice_;
    wchar_t* displayPriceString_;
    double salePrice_;
    double displaySalePrice_;
    wchar_t* displaySalePriceString_;
    bool isDiscount_;
    DiscountType discountType_;
    int discountTypeValue_;
    long long discountBeginDate_;
    long long discountEndDate_;
    int totalQuantity_;
    int memberQuantity_;
    int guidQuantity_;
    wchar_t* thumbnailUrl_;
    bool canWithdraw_;
    bool purchasedAtLeastOnce_;
    PurchaseLimitTypeCode purchaseLimitTypeCode_;
    int purchaseLimitCount_;
    int saleLimitCount_;
    long long saleBeginDate_;
    long long saleEndDate_;
};

/** A product with its purchase availability, as IAP_FetchProductsEx() delivers it. */
struct VENDRA_API TesselPCProductEx {
public:
    /** The default object. */
    TesselPCProductEx();
    /** A deep copy of @p other. */
    TesselPCProductEx(const TesselPCProductEx& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCProductEx(const TesselPCProductExCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCProductEx();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCProductEx& operator=(const TesselPCProductEx& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCProductEx& operator=(const TesselPCProductExCpp* record);

    /** @return The product's id. */
    long long GetProductId() const;
    /** @return The game's own id of the item. Owned by the object; may be null. */
    const wchar_t* GetGameItemId() const;
    /** @return Display name. Owned by the object; may be null. */
    const wchar_t* GetName() const;
    /** @return Description text. Owned by the object; may be null. */
    const wchar_t* GetDescription() const;
    /** @return Quantity of items. */
    int GetQuantity() const;
    /** @return Kind of product (ProductTypeCode, TESSEL_PRODUCT_TYPE_CODE_*). */
    ProductTypeCode GetProductTypeCode();
    /** @return The category's id. Owned by the object; may be null. */
    const wchar_t* GetCategoryId() const;
    /** @return Name of the product's category. Owned by the object; may be null. */
    const wchar_t* GetCategoryName() const;
    /** @return Currency code of the prices. Owned by the object; may be null. */
    const wchar_t* GetCurrencyCode() const;
    /** @return List price. */
    double GetPrice() const;
    /** @return List price as shown. */
    double GetDisplayPrice() const;
    /** @return List price as formatted text. Owned by the object; may be null. */
    const wchar_t* GetDisplayPriceString() const;
    /** @return Sale price (what a purchase costs). */
    double GetSalePrice() const;
    /** @return Sale price as shown. */
    double GetDisplaySalePrice() const;
    /** @return Sale price as formatted text. Owned by the object; may be null. */
    const wchar_t* GetDisplaySalePriceString() const;
    /** @return True while a discount applies. */
    bool IsDiscount() const;
    /** @return Kind of discount (DiscountType, TESSEL_DISCOUNT_TYPE_*). */
    DiscountType GetDiscountType();
    /** @return Amount of the discount, in the unit of its kind. */
    int GetDiscountTypeValue() const;
    /** @return Start of the discount, milliseconds since 1970 (UTC). */
    long long GetDiscountBeginDate() const;
    /** @return End of the discount, milliseconds since 1970 (UTC). */
    long long GetDiscountEndDate() const;
    /** @return Total quantity. */
    int GetTotalQuantity() const;
    /** @return Quantity per member account. */
    int GetMemberQuantity() const;
    /** @return Quantity per character. */
    int GetGuidQuantity() const;
    /** @return URL of the thumbnail image. Owned by the object; may be null. */
    const wchar_t* GetThumbnailUrl() const;
    /** @return True when a purchase of it can be withdrawn. */
    bool CanWithdraw() const;
    /** @return True when the player bought it before. */
    bool GetPurchasedAtLeastOnce() const;
    /** @return Kind of purchase limit (PurchaseLimitTypeCode, TESSEL_PURCHASE_LIMIT_TYPE_CODE_*). */
    PurchaseLimitTypeCode GetPurchaseLimitTypeCode();
    /** @return Purchases allowed under the limit. */
    int GetPurchaseLimitCount() const;
    /** @return Sales allowed in total. */
    int GetSaleLimitCount() const;
    /** @return Start of sale, milliseconds since 1970 (UTC). */
    long long GetSaleBeginDate() const;
    /** @return End of sale, milliseconds since 1970 (UTC). */
    long long GetSaleEndDate() const;
    /** @return Whether the player may buy it now, as the platform codes it (0 when unknown). */
    short GetPurchaseAvailabilityCode() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCProductEx& other);
    void DeepCopy(const TesselPCProductExCpp* record);

    long long productId_;
    wchar_t* gameItemId_;
    wchar_t* name_;
    wchar_t* description_;
    int quantity_;
    ProductTypeCode productTypeCode_;
    wchar_t* categoryId_;
    wchar_t* categoryName_;
    wchar_t* currencyCode_;
    double price_;
    double displayPrice_;
    wchar_t* displayPriceString_;
    double salePrice_;
    double displaySalePrice_;
    wchar_t* displaySalePriceString_;
    bool isDiscount_;
    DiscountType discountType_;
    int discountTypeValue_;
    long long discountBeginDate_;
    long long discountEndDate_;
    int totalQuantity_;
    int memberQuantity_;
    int guidQuantity_;
    wchar_t* thumbnailUrl_;
    bool canWithdraw_;
    bool purchasedAtLeastOnce_;
    PurchaseLimitTypeCode purchaseLimitTypeCode_;
    int purchaseLimitCount_;
    int saleLimitCount_;
    long long saleBeginDate_;
    long long saleEndDate_;
    short purchaseAvailabilityCode_;
};

/** One product to buy: id, expected sale price, quantity. Owns nothing: copies are plain field copies. */
struct VENDRA_API TesselPCOrderProduct {
public:
    /** The default object. */
    TesselPCOrderProduct();
    /** A deep copy of @p other. */
    TesselPCOrderProduct(const TesselPCOrderProduct& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCOrderProduct(const TesselPCOrderProductCpp* record);
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCOrderProduct& operator=(const TesselPCOrderProduct& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCOrderProduct& operator=(const TesselPCOrderProductCpp* record);

    /** @return The product's id. */
    long long GetProductId() const;
    /** @param productId The product's id. */
    void SetProductId(long long productId);
    /** @return Sale price (what a purchase costs). */
    double GetSalePrice() const;
    /** @param salePrice Sale price (what a purchase costs). */
    void SetSalePrice(double salePrice);
    /** @return Quantity of items. */
    int GetQuantity() const;
    /** @param quantity Quantity of items. */
    void SetQuantity(int quantity);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCOrderProduct& other);
    void DeepCopy(const TesselPCOrderProductCpp* record);

    long long productId_;
    double salePrice_;
    int quantity_;
};

/** How the purchase window is shown: operation, web view mode, rectangle. Default rectangle (0, 0, 420, 700). GetWebviewRect throws std::invalid_argument when any of its pointers is null, and writes nothing. */
struct VENDRA_API TesselPCPurchaseOption {
public:
    /** The default object. */
    TesselPCPurchaseOption();
    /** A deep copy of @p other. */
    TesselPCPurchaseOption(const TesselPCPurchaseOption& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCPurchaseOption(const TesselPCPurchaseOptionCpp* record);
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCPurchaseOption& operator=(const TesselPCPurchaseOption& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCPurchaseOption& operator=(const TesselPCPurchaseOptionCpp* record);

    /** @return What the window is asked to do, passed to the platform unchanged. */
    TesselPCPurchaseOperation GetOperation();
    /** @param operation What the window is asked to do, passed to the platform unchanged. */
    void SetOperation(TesselPCPurchaseOperation operation);
    /** @return Where the window is shown (a TesselWebViewMode value). */
    WebViewMode GetWebviewMode();
    /** @param webviewMode Where the window is shown (a TesselWebViewMode value). */
    void SetWebviewMode(WebViewMode webviewMode);
    /** Reads the window rectangle (see the class for null pointers). @param x Receives the left edge. @param y Receives the top edge. @param width Receives the width. @param height Receives the height. */
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
    /** Sets the window rectangle, in pixels. @param x Left edge. @param y Top edge. @param width Width. @param height Height. */
    void SetWebviewRect(int x, int y, int width, int height);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCPurchaseOption& other);
    void DeepCopy(const TesselPCPurchaseOptionCpp* record);

    TesselPCPurchaseOperation operation_;
    WebViewMode webviewMode_;
    int webviewX_;
    int webviewY_;
    int webviewWidth_;
    int webviewHeight_;
};

/** How the payment window is shown: operation, web view mode, rectangle. Default rectangle (0, 0, 420, 700). GetWebviewRect writes through the non-null pointers only. */
struct VENDRA_API TesselPCPaymentOption {
public:
    /** The default object. */
    TesselPCPaymentOption();
    /** A deep copy of @p other. */
    TesselPCPaymentOption(const TesselPCPaymentOption& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCPaymentOption(const TesselPCPaymentOptionCpp* record);
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCPaymentOption& operator=(const TesselPCPaymentOption& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCPaymentOption& operator=(const TesselPCPaymentOptionCpp* record);

    /** @return What the window is asked to do, passed to the platform unchanged. */
    TesselPCPaymentOperation GetOperation();
    /** @param operation What the window is asked to do, passed to the platform unchanged. */
    void SetOperation(TesselPCPaymentOperation operation);
    /** @return Where the window is shown (a TesselWebViewMode value). */
    WebViewMode GetWebviewMode();
    /** @param webviewMode Where the window is shown (a TesselWebViewMode value). */
    void SetWebviewMode(WebViewMode webviewMode);
    /** Reads the window rectangle (see the class for null pointers). @param x Receives the left edge. @param y Receives the top edge. @param width Receives the width. @param height Receives the height. */
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
    /** Sets the window rectangle, in pixels. @param x Left edge. @param y Top edge. @param width Width. @param height Height. */
    void SetWebviewRect(int x, int y, int width, int height);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCPaymentOption& other);
    void DeepCopy(const TesselPCPaymentOptionCpp* record);

    TesselPCPaymentOperation operation_;
    WebViewMode webviewMode_;
    int webviewX_;
    int webviewY_;
    int webviewWidth_;
    int webviewHeight_;
};

/** How the terms window is shown: operation, web view mode, rectangle. Default rectangle (0, 0, 800, 600). GetWebviewRect writes through the non-null pointers only. */
struct VENDRA_API TesselPCTermsOption {
public:
    /** The default object. */
    TesselPCTermsOption();
    /** A deep copy of @p other. */
    TesselPCTermsOption(const TesselPCTermsOption& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCTermsOption(const TesselPCTermsOptionCpp* record);
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCTermsOption& operator=(const TesselPCTermsOption& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCTermsOption& operator=(const TesselPCTermsOptionCpp* record);

    /** @return What the window is asked to do, passed to the platform unchanged. */
    TesselPCTermsOperation GetOperation();
    /** @param operation What the window is asked to do, passed to the platform unchanged. */
    void SetOperation(TesselPCTermsOperation operation);
    /** @return Where the window is shown (a TesselWebViewMode value). */
    WebViewMode GetWebviewMode();
    /** @param webviewMode Where the window is shown (a TesselWebViewMode value). */
    void SetWebviewMode(WebViewMode webviewMode);
    /** Reads the window rectangle (see the class for null pointers). @param x Receives the left edge. @param y Receives the top edge. @param width Receives the width. @param height Receives the height. */
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
    /** Sets the window rectangle, in pixels. @param x Left edge. @param y Top edge. @param width Width. @param height Height. */
    void SetWebviewRect(int x, int y, int width, int height);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCTermsOption& other);
    void DeepCopy(const TesselPCTermsOptionCpp* record);

    TesselPCTermsOperation operation_;
    WebViewMode webviewMode_;
    int webviewX_;
    int webviewY_;
    int webviewWidth_;
    int webviewHeight_;
};

/** How the withdrawal window is shown: web view mode and rectangle. Web view mode and rectangle, all 0 by default. Owns nothing. GetWebviewRect writes through the non-null pointers only. */
struct VENDRA_API TesselPCWithdrawGameOption {
public:
    /** The default object. */
    TesselPCWithdrawGameOption();
    /** A deep copy of @p other. */
    TesselPCWithdrawGameOption(const TesselPCWithdrawGameOption& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCWithdrawGameOption(const TesselPCWithdrawGameOptionCpp* record);
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCWithdrawGameOption& operator=(const TesselPCWithdrawGameOption& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCWithdrawGameOption& operator=(const TesselPCWithdrawGameOptionCpp* record);

    /** @return Where the window is shown (a TesselWebViewMode value). */
    WebViewMode GetWebviewMode();
    /** @param webviewMode Where the window is shown (a TesselWebViewMode value). */
    void SetWebviewMode(WebViewMode webviewMode);
    /** Reads the window rectangle (see the class for null pointers). @param x Receives the left edge. @param y Receives the top edge. @param width Receives the width. @param height Receives the height. */
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
    /** Sets the window rectangle, in pixels. @param x Left edge. @param y Top edge. @param width Width. @param height Height. */
    void SetWebviewRect(int x, int y, int width, int height);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCWithdrawGameOption& other);
    void DeepCopy(const TesselPCWithdrawGameOptionCpp* record);

    WebViewMode webviewMode_;
    int webviewX_;
    int webviewY_;
    int webviewWidth_;
    int webviewHeight_;
};

/** What to buy (the order products) and how the purchase window is shown. */
struct VENDRA_API TesselPCStartPurchaseParam {
public:
    /** The default object. */
    TesselPCStartPurchaseParam();
    /** A deep copy of @p other. */
    TesselPCStartPurchaseParam(const TesselPCStartPurchaseParam& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCStartPurchaseParam(const TesselPCStartPurchaseParamCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCStartPurchaseParam();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCStartPurchaseParam& operator=(const TesselPCStartPurchaseParam& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCStartPurchaseParam& operator=(const TesselPCStartPurchaseParamCpp* record);

    /** Replaces the order-product list by @p count new slots (zeros); the count stays 0 when the allocation fails or @p count exceeds #TESSEL_VENDRA_MAX_LIST_COUNT. Fill them with SetOrderProduct(). @param count Number of slots. */
    void CreateOrderProduct(unsigned int count);
    /** @param index Slot, from 0. @return The slot, owned by the object; null when @p index is negative or not below the count. */
    const TesselPCOrderProduct* GetOrderProduct(int index) const;
    /** Copies the product into a slot; out of range or null changes nothing. @param index Slot, from 0. @param product Read during the call only. */
    void SetOrderProduct(int index, const TesselPCOrderProduct* product);
    /** @return Length of the order-product list. */
    unsigned int GetOrderProductCount() const;

    /** @return A copy of the purchase option. */
    TesselPCPurchaseOption GetPurchaseOption();
    /** @param option Copied into the object. */
    void SetPurchaseOption(TesselPCPurchaseOption option);

    /** @return The game's own transaction number; null reads as empty. Owned by the object; may be null. */
    const wchar_t* GetServiceTxnNo() const;
    /** @param serviceTxnNo The game's own transaction number; null reads as empty. Copied; null stores null. */
    void SetServiceTxnNo(const wchar_t* serviceTxnNo);
    /** @return The game's extra data of the purchase, passed through unchanged. Owned by the object; may be null. */
    const wchar_t* GetExtraData() const;
    /** @param extraData The game's extra data of the purchase, passed through unchanged. Copied; null stores null. */
    void SetExtraData(const wchar_t* extraData);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCStartPurchaseParam& other);
    void DeepCopy(const TesselPCStartPurchaseParamCpp* record);

    TesselPCOrderProduct* orderProducts_;
    unsigned int orderProductCount_;
    TesselPCPurchaseOption purchaseOption_;
    wchar_t* serviceTxnNo_;
    wchar_t* extraData_;
};

/** One purchased product of a purchase. */
struct VENDRA_API TesselPCPurchasedProduct {
public:
    /** The default object. */
    TesselPCPurchasedProduct();
    /** A deep copy of @p other. */
    TesselPCPurchasedProduct(const TesselPCPurchasedProduct& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCPurchasedProduct(const TesselPCPurchasedProductCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCPurchasedProduct();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCPurchasedProduct& operator=(const TesselPCPurchasedProduct& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCPurchasedProduct& operator=(const TesselPCPurchasedProductCpp* record);

    /** @return Number of the purchase line (transaction detail). */
    long long GetTransactionDetailNumber() const;
    /** @param transactionDetailNumber Number of the purchase line (transaction detail). */
    void SetTransactionDetailNumber(long long transactionDetailNumber);
    /** @return The product's id. */
    long long GetProductId() const;
    /** @param productId The product's id. */
    void SetProductId(long long productId);
    /** @return The category's id. Owned by the object; may be null. */
    const wchar_t* GetCategoryId() const;
    /** @param categoryId The category's id. Copied; null stores null. */
    void SetCategoryId(const wchar_t* categoryId);
    /** @return Total quantity. */
    int GetTotalQuantity() const;
    /** @param totalQuantity Total quantity. */
    void SetTotalQuantity(int totalQuantity);
    /** @return Quantity per member account. */
    int GetMemberQuantity() const;
    /** @param memberQuantity Quantity per member account. */
    void SetMemberQuantity(int memberQuantity);
    /** @return Quantity per character. */
    int GetGuidQuantity() const;
    /** @param guidQuantity Quantity per character. */
    void SetGuidQuantity(int guidQuantity);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCPurchasedProduct& other);
    void DeepCopy(const TesselPCPurchasedProductCpp* record);

    long long transactionDetailNumber_;
    long long productId_;
    wchar_t* categoryId_;
    int totalQuantity_;
    int memberQuantity_;
    int guidQuantity_;
};

/** One charge of a purchase. */
struct VENDRA_API TesselPCChargeInfo {
public:
    /** The default object. */
    TesselPCChargeInfo();
    /** A deep copy of @p other. */
    TesselPCChargeInfo(const TesselPCChargeInfo& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCChargeInfo(const TesselPCChargeInfoCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCChargeInfo();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCChargeInfo& operator=(const TesselPCChargeInfo& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCChargeInfo& operator=(const TesselPCChargeInfoCpp* record);

    /** @return Amount charged. */
    double GetChargeDeductVal() const;
    /** @param chargeDeductVal Amount charged. */
    void SetChargeDeductVal(double chargeDeductVal);
    /** @return Amount charged, as shown. */
    double GetChargeDisplayDeductVal() const;
    /** @param chargeDisplayDeductVal Amount charged, as shown. */
    void SetChargeDisplayDeductVal(double chargeDisplayDeductVal);
    /** @return Kind of charge, as the platform codes it. */
    int GetChargeType() const;
    /** @param chargeType Kind of charge, as the platform codes it. */
    void SetChargeType(int chargeType);
    /** @return Name of the kind of charge. Owned by the object; may be null. */
    const wchar_t* GetChargeTypeName() const;
    /** @param chargeTypeName Name of the kind of charge. Copied; null stores null. */
    void SetChargeTypeName(const wchar_t* chargeTypeName);

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCChargeInfo& other);
    void DeepCopy(const TesselPCChargeInfoCpp* record);

    double chargeDeductVal_;
    double chargeDisplayDeductVal_;
    int chargeType_;
    wchar_t* chargeTypeName_;
};

/** The outcome of a purchase. */
struct VENDRA_API TesselPCPurchaseResult {
public:
    /** The default object. */
    TesselPCPurchaseResult();
    /** A deep copy of @p other. */
    TesselPCPurchaseResult(const TesselPCPurchaseResult& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCPurchaseResult(const TesselPCPurchaseResultCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCPurchaseResult();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCPurchaseResult& operator=(const TesselPCPurchaseResult& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCPurchaseResult& operator=(const TesselPCPurchaseResultCpp* record);

    /** @return Number of the purchase (transaction master). */
    long long GetTransactionMasterNumber() const;

    /** The list builders replace the list by count new elements (zeros, null texts); the count stays 0 when the allocation fails or the count exceeds #TESSEL_VENDRA_MAX_LIST_COUNT. Getters return 0 or null and setters do nothing for an index not below the count. Replaces the list by @p count zeros. @param count Length. */
    void CreateTransactionDetailNumberList(unsigned int count);
    /** @param index Position, from 0. @return The number there; 0 when @p index is not below the count. */
    long long GetTransactionDetailNumbers(unsigned int index) const;
    /** Sets one number; an index not below the count does nothing. @param index Position, from 0. @param number The number. */
    void SetTransactionDetailNumber(unsigned int index, long long number);
    /** @return Length of the transaction detail number list. */
    unsigned int GetTransactionDetailNumberCount() const;

    /** @return URL of the payment page of this purchase; empty when none is needed. Owned by the object; may be null. */
    const wchar_t* GetOneTimePaymentUrl() const;
    /** @return What the purchase needs next (PurchaseProgress, TESSEL_PURCHASE_PROGRESS_*). */
    PurchaseProgress GetPurchaseProgress();
    /** @return True once the purchase is complete. */
    bool IsPurchased() const;
    /** @return The game's extra data of the purchase, passed through unchanged. Owned by the object; may be null. */
    const wchar_t* GetExtraData() const;

    /** Replaces the list by @p count default products; the count stays 0 when the allocation fails or @p count exceeds #TESSEL_VENDRA_MAX_LIST_COUNT. @param count Length. */
    void CreatePurchasedProductList(unsigned int count);
    /** @param index Position, from 0. @return The product there, owned by the object; null when @p index is not below the count. */
    const TesselPCPurchasedProduct* GetPurchasedProduct(unsigned int index) const;
    /** Replaces a slot by a deep copy of @p product; null or an index not below the count changes nothing. @param index Position, from 0. @param product Read during the call only. */
    void SetPurchasedProduct(unsigned int index, const TesselPCPurchasedProduct* product);
    /** @return Length of the purchased product list. */
    unsigned int GetPurchasedProductCount() const;

    /** Replaces the list by @p count default charges; the count stays 0 when the allocation fails or @p count exceeds #TESSEL_VENDRA_MAX_LIST_COUNT. @param count Length. */
    void CreateChargeInfoList(unsigned int count);
    /** @param index Position, from 0. @return The charge there, owned by the object; null when @p index is not below the count. */
    const TesselPCChargeInfo* GetChargeInfo(unsigned int index) const;
    /** Replaces a slot by a deep copy of @p info; null or an index not below the count changes nothing. @param index Position, from 0. @param info Read during the call only. */
    void SetChargeInfo(unsigned int index, const TesselPCChargeInfo* info);
    /** @return Length of the charge list. */
    unsigned int GetChargeInfoCount() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCPurchaseResult& other);
    void DeepCopy(const TesselPCPurchaseResultCpp* record);

    long long transactionMasterNumber_;
    long long* transactionDetailNumbers_;
    unsigned int transactionDetailNumberCount_;
    wchar_t* oneTimePaymentUrl_;
    PurchaseProgress purchaseProgress_;
    bool isPurchased_;
    wchar_t* extraData_;
    TesselPCPurchasedProduct* purchasedProducts_;
    unsigned int purchasedProductCount_;
    TesselPCChargeInfo* chargeInfos_;
    unsigned int chargeInfoCount_;
};

/** An item of the player's inventory, as IAP_FetchInventory() delivers it. */
struct VENDRA_API TesselPCInventoryItem {
public:
    /** The default object. */
    TesselPCInventoryItem();
    /** A deep copy of @p other. */
    TesselPCInventoryItem(const TesselPCInventoryItem& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCInventoryItem(const TesselPCInventoryItemCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCInventoryItem();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCInventoryItem& operator=(const TesselPCInventoryItem& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCInventoryItem& operator=(const TesselPCInventoryItemCpp* record);

    /** @return Number of the purchase (transaction master). */
    long long GetTransactionMasterNumber() const;
    /** @return Number of the purchase line (transaction detail). */
    long long GetTransactionDetailNumber() const;
    /** @return The product's id. */
    long long GetProductId() const;
    /** @return The game's own id of the item. Owned by the object; may be null. */
    const wchar_t* GetGameItemId() const;
    /** @return The product's name. Owned by the object; may be null. */
    const wchar_t* GetProductName() const;
    /** @return Quantity of items. */
    int GetQuantity() const;
    /** @return URL of the thumbnail image. Owned by the object; may be null. */
    const wchar_t* GetThumbnailUrl() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCInventoryItem& other);
    void DeepCopy(const TesselPCInventoryItemCpp* record);

    long long transactionMasterNumber_;
    long long transactionDetailNumber_;
    long long productId_;
    wchar_t* gameItemId_;
    wchar_t* productName_;
    int quantity_;
    wchar_t* thumbnailUrl_;
};

/** A voided (refunded or cancelled) purchase, as IAP_FetchVoidedPurchases() delivers it. */
struct VENDRA_API TesselPCVoidedPurchase {
public:
    /** The default object. */
    TesselPCVoidedPurchase();
    /** A deep copy of @p other. */
    TesselPCVoidedPurchase(const TesselPCVoidedPurchase& other);
    /** From the intermediate record; null gives the default object. @param record Read during the call only. */
    explicit TesselPCVoidedPurchase(const TesselPCVoidedPurchaseCpp* record);
    /** Frees everything the object owns. */
    ~TesselPCVoidedPurchase();
    /** Replaces the contents by a deep copy of @p other; self-assignment is safe. @return This object. */
    TesselPCVoidedPurchase& operator=(const TesselPCVoidedPurchase& other);
    /** Replaces the contents from @p record; null leaves the object unchanged. @return This object. */
    TesselPCVoidedPurchase& operator=(const TesselPCVoidedPurchaseCpp* record);

    /** @return The voided transaction's id. */
    long long GetTid() const;
    /** @return Code of the market the purchase was made in. Owned by the object; may be null. */
    const wchar_t* GetMarketCode() const;
    /** @return The product's id. Owned by the object; may be null. */
    const wchar_t* GetProductId() const;
    /** @return The market's id of the product. Owned by the object; may be null. */
    const wchar_t* GetMarketProductId() const;
    /** @return The buyer's user id. Owned by the object; may be null. */
    const wchar_t* GetUserId() const;
    /** @return The buyer's character number. */
    long long GetCharacterNo() const;
    /** @return Time of the purchase, milliseconds since 1970 (UTC). */
    long long GetPurchaseMillis() const;
    /** @return Time it was voided, milliseconds since 1970 (UTC). */
    long long GetVoidedMillis() const;

private:
    friend struct VendraAccess;
    friend struct VendraLayout;
    void DeepCopy(const TesselPCVoidedPurchase& other);
    void DeepCopy(const TesselPCVoidedPurchaseCpp* record);

    long long tid_;
    wchar_t* marketCode_;
    wchar_t* productId_;
    wchar_t* marketProductId_;
    wchar_t* userId_;
    long long characterNo_;
    long long purchaseMillis_;
    long long voidedMillis_;
};

#pragma pack(pop)

/** @cond INTERNAL */
// Layouts of the public classes: 4-byte packing on a 64-bit target.
struct VendraLayout {
    static_assert(sizeof(TesselPCShopCategory) == 32, "TesselPCShopCategory");
    static_assert(offsetof(TesselPCShopCategory, displayNumber_) == 16, "TesselPCShopCategory");
    static_assert(offsetof(TesselPCShopCategory, name_) == 20, "TesselPCShopCategory");
    static_assert(offsetof(TesselPCShopCategory, depth_) == 28, "TesselPCShopCategory");

    static_assert(sizeof(TesselPCFetchProductParam) == 16, "TesselPCFetchProductParam");
    static_assert(offsetof(TesselPCFetchProductParam, pageSize_) == 12, "TesselPCFetchProductParam");

    static_assert(sizeof(TesselPCProduct) == 192, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, productTypeCode_) == 36, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, price_) == 64, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, isDiscount_) == 112, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, discountType_) == 116, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, discountBeginDate_) == 124, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, thumbnailUrl_) == 152, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, canWithdraw_) == 160, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, purchasedAtLeastOnce_) == 161, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, purchaseLimitTypeCode_) == 164, "TesselPCProduct");
    static_assert(offsetof(TesselPCProduct, saleBeginDate_) == 176, "TesselPCProduct");
    static_assert(sizeof(TesselPCProductEx) == 196, "TesselPCProductEx");
    static_assert(offsetof(TesselPCProductEx, saleEndDate_) == 184, "TesselPCProductEx");
    static_assert(offsetof(TesselPCProductEx, purchaseAvailabilityCode_) == 192, "TesselPCProductEx");

    static_assert(sizeof(TesselPCOrderProduct) == 20, "TesselPCOrderProduct");
    static_assert(offsetof(TesselPCOrderProduct, quantity_) == 16, "TesselPCOrderProduct");

    static_assert(sizeof(TesselPCPurchaseOption) == 24, "TesselPCPurchaseOption");
    static_assert(offsetof(TesselPCPurchaseOption, webviewHeight_) == 20, "TesselPCPurchaseOption");
    static_assert(sizeof(TesselPCPaymentOption) == 24, "TesselPCPaymentOption");
    static_assert(offsetof(TesselPCPaymentOption, webviewHeight_) == 20, "TesselPCPaymentOption");
    static_assert(sizeof(TesselPCTermsOption) == 24, "TesselPCTermsOption");
    static_assert(offsetof(TesselPCTermsOption, webviewHeight_) == 20, "TesselPCTermsOption");
    static_assert(sizeof(TesselPCWithdrawGameOption) == 20, "TesselPCWithdrawGameOption");
    static_assert(offsetof(TesselPCWithdrawGameOption, webviewHeight_) == 16, "TesselPCWithdrawGameOption");

    static_assert(sizeof(TesselPCStartPurchaseParam) == 52, "TesselPCStartPurchaseParam");
    static_assert(offsetof(TesselPCStartPurchaseParam, orderProductCount_) == 8, "TesselPCStartPurchaseParam");
    static_assert(offsetof(TesselPCStartPurchaseParam, purchaseOption_) == 12, "TesselPCStartPurchaseParam");
    static_assert(offsetof(TesselPCStartPurchaseParam, serviceTxnNo_) == 36, "TesselPCStartPurchaseParam");
    static_assert(offsetof(TesselPCStartPurchaseParam, extraData_) == 44, "TesselPCStartPurchaseParam");

    static_assert(sizeof(TesselPCPurchasedProduct) == 36, "TesselPCPurchasedProduct");
    static_assert(offsetof(TesselPCPurchasedProduct, categoryId_) == 16, "TesselPCPurchasedProduct");
    static_assert(offsetof(TesselPCPurchasedProduct, guidQuantity_) == 32, "TesselPCPurchasedProduct");

    static_assert(sizeof(TesselPCChargeInfo) == 28, "TesselPCChargeInfo");
    static_assert(offsetof(TesselPCChargeInfo, chargeTypeName_) == 20, "TesselPCChargeInfo");

    static_assert(sizeof(TesselPCPurchaseResult) == 68, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, transactionDetailNumbers_) == 8, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, oneTimePaymentUrl_) == 20, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, isPurchased_) == 32, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, extraData_) == 36, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, purchasedProducts_) == 44, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, chargeInfos_) == 56, "TesselPCPurchaseResult");
    static_assert(offsetof(TesselPCPurchaseResult, chargeInfoCount_) == 64, "TesselPCPurchaseResult");

    static_assert(sizeof(TesselPCInventoryItem) == 52, "TesselPCInventoryItem");
    static_assert(offsetof(TesselPCInventoryItem, quantity_) == 40, "TesselPCInventoryItem");
    static_assert(offsetof(TesselPCInventoryItem, thumbnailUrl_) == 44, "TesselPCInventoryItem");

    static_assert(sizeof(TesselPCVoidedPurchase) == 64, "TesselPCVoidedPurchase");
    static_assert(offsetof(TesselPCVoidedPurchase, characterNo_) == 40, "TesselPCVoidedPurchase");
    static_assert(offsetof(TesselPCVoidedPurchase, voidedMillis_) == 56, "TesselPCVoidedPurchase");

    // Converting between an option class and its record is a field copy.
    static_assert(sizeof(TesselPCOrderProductCpp) == sizeof(TesselPCOrderProduct), "order product record");
    static_assert(sizeof(TesselPCPurchaseOptionCpp) == sizeof(TesselPCPurchaseOption), "option record");
    static_assert(sizeof(TesselPCWithdrawGameOptionCpp) == sizeof(TesselPCWithdrawGameOption), "option record");
};

/** @endcond */

}  // namespace Tessel::PCSDK::IAP
