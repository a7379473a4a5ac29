// Vendra, the purchase module: enumerations, intermediate records and the
// public value classes of its C++ interface.
//
// The value classes own private heap copies of their texts (made with the C
// runtime's wide-string duplicate, released with free) and keep their lists
// in malloc arrays. A getter returns the owned pointer itself, valid until the
// field is replaced or the object destroyed. Copies are deep: a copy shares
// nothing with its source.
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

struct TesselPCShopCategoryCpp {
    std::wstring categoryId;
    std::wstring parentCategoryId;
    int displayNumber = 0;
    std::wstring name;
    int depth = 0;
};

struct TesselPCFetchProductParamCpp {
    std::wstring categoryId;
    int pageNumber = 0;
    int pageSize = 0;
};

struct TesselPCProductCpp {
    long long productId = 0;
    std::wstring gameItemId;
    std::wstring name;
    std::wstring description;
    int quantity = 0;
    ProductTypeCode productTypeCode = ProductTypeCode::NONE;
    std::wstring categoryId;
    std::wstring categoryName;
    std::wstring currencyCode;
    double price = 0;
    double displayPrice = 0;
    std::wstring displayPriceString;
    double salePrice = 0;
    double displaySalePrice = 0;
    std::wstring displaySalePriceString;
    bool isDiscount = false;
    DiscountType discountType = DiscountType::NONE;
    int discountTypeValue = 0;
    long long discountBeginDate = 0;
    long long discountEndDate = 0;
    int totalQuantity = 0;
    int memberQuantity = 0;
    int guidQuantity = 0;
    std::wstring thumbnailUrl;
    bool canWithdraw = false;
    bool purchasedAtLeastOnce = false;
    PurchaseLimitTypeCode purchaseLimitTypeCode = PurchaseLimitTypeCode::NONE;
    int purchaseLimitCount = 0;
    int saleLimitCount = 0;
    long long saleBeginDate = 0;
    long long saleEndDate = 0;
};

struct TesselPCProductExCpp {
    long long productId = 0;
    std::wstring gameItemId;
    std::wstring name;
    std::wstring description;
    int quantity = 0;
    ProductTypeCode productTypeCode = ProductTypeCode::NONE;
    std::wstring categoryId;
    std::wstring categoryName;
    std::wstring currencyCode;
    double price = 0;
    double displayPrice = 0;
    std::wstring displayPriceString;
    double salePrice = 0;
    double displaySalePrice = 0;
    std::wstring displaySalePriceString;
    bool isDiscount = false;
    DiscountType discountType = DiscountType::NONE;
    int discountTypeValue = 0;
    long long discountBeginDate = 0;
    long long discountEndDate = 0;
    int totalQuantity = 0;
    int memberQuantity = 0;
    int guidQuantity = 0;
    std::wstring thumbnailUrl;
    bool canWithdraw = false;
    bool purchasedAtLeastOnce = false;
    PurchaseLimitTypeCode purchaseLimitTypeCode = PurchaseLimitTypeCode::NONE;
    int purchaseLimitCount = 0;
    int saleLimitCount = 0;
    long long saleBeginDate = 0;
    long long saleEndDate = 0;
    short purchaseAvailabilityCode = 0;
};

struct TesselPCOrderProductCpp {
    long long productId = 0;
    double salePrice = 0;
    int quantity = 0;
};

struct TesselPCPurchaseOptionCpp {
    TesselPCPurchaseOperation operation = TesselPCPurchaseOperation::OPERATION_0;
    WebViewMode webviewMode = WebViewMode::EMBEDDED;
    int webviewX = 0;
    int webviewY = 0;
    int webviewWidth = 0;
    int webviewHeight = 0;
};

struct TesselPCPaymentOptionCpp {
    TesselPCPaymentOperation operation = TesselPCPaymentOperation::OPERATION_0;
    WebViewMode webviewMode = WebViewMode::EMBEDDED;
    int webviewX = 0;
    int webviewY = 0;
    int webviewWidth = 0;
    int webviewHeight = 0;
};

struct TesselPCTermsOptionCpp {
    TesselPCTermsOperation operation = TesselPCTermsOperation::OPERATION_0;
    WebViewMode webviewMode = WebViewMode::EMBEDDED;
    int webviewX = 0;
    int webviewY = 0;
    int webviewWidth = 0;
    int webviewHeight = 0;
};

struct TesselPCWithdrawGameOptionCpp {
    WebViewMode webviewMode = WebViewMode::EMBEDDED;
    int webviewX = 0;
    int webviewY = 0;
    int webviewWidth = 0;
    int webviewHeight = 0;
};

struct TesselPCStartPurchaseParamCpp {
    std::vector<TesselPCOrderProductCpp> orderProducts;
    TesselPCPurchaseOptionCpp purchaseOption;
    std::wstring serviceTxnNo;
    std::wstring extraData;
};

struct TesselPCPurchasedProductCpp {
    long long transactionDetailNumber = 0;
    long long productId = 0;
    std::wstring categoryId;
    int totalQuantity = 0;
    int memberQuantity = 0;
    int guidQuantity = 0;
};

struct TesselPCChargeInfoCpp {
    double chargeDeductVal = 0;
    double chargeDisplayDeductVal = 0;
    int chargeType = 0;
    std::wstring chargeTypeName;
};

struct TesselPCPurchaseResultCpp {
    long long transactionMasterNumber = 0;
    std::vector<long long> transactionDetailNumbers;
    std::wstring oneTimePaymentUrl;
    PurchaseProgress purchaseProgress = PurchaseProgress::NONE;
    bool isPurchased = false;
    std::wstring extraData;
    std::vector<TesselPCPurchasedProductCpp> purchasedProducts;
    std::vector<TesselPCChargeInfoCpp> chargeInfos;
};

struct TesselPCInventoryItemCpp {
    long long transactionMasterNumber = 0;
    long long transactionDetailNumber = 0;
    long long productId = 0;
    std::wstring gameItemId;
    std::wstring productName;
    int quantity = 0;
    std::wstring thumbnailUrl;
};

struct TesselPCVoidedPurchaseCpp {
    long long tid = 0;
    std::wstring marketCode;
    std::wstring productId;
    std::wstring marketProductId;
    std::wstring userId;
    long long characterNo = 0;
    long long purchaseMillis = 0;
    long long voidedMillis = 0;
};

// --- Public value classes ----------------------------------------------------
// Each has a default constructor, a copy constructor, a converting
// constructor from a pointer to its intermediate record (null gives the
// default object), a copy assignment and an assignment from a record pointer
// (null leaves the object unchanged). Self-assignment is safe.

struct VENDRA_API TesselPCShopCategory {
public:
    TesselPCShopCategory();
    TesselPCShopCategory(const TesselPCShopCategory& other);
    explicit TesselPCShopCategory(const TesselPCShopCategoryCpp* record);
    ~TesselPCShopCategory();
    TesselPCShopCategory& operator=(const TesselPCShopCategory& other);
    TesselPCShopCategory& operator=(const TesselPCShopCategoryCpp* record);

    const wchar_t* GetCategoryId() const;
    const wchar_t* GetParentCategoryId() const;
    int GetDisplayNumber() const;
    const wchar_t* GetName() const;
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

struct VENDRA_API TesselPCFetchProductParam {
public:
    TesselPCFetchProductParam();
    TesselPCFetchProductParam(const TesselPCFetchProductParam& other);
    explicit TesselPCFetchProductParam(const TesselPCFetchProductParamCpp* record);
    ~TesselPCFetchProductParam();
    TesselPCFetchProductParam& operator=(const TesselPCFetchProductParam& other);
    TesselPCFetchProductParam& operator=(const TesselPCFetchProductParamCpp* record);

    const wchar_t* GetCategoryId() const;
    void SetCategoryId(const wchar_t* categoryId);
    int GetPageNumber() const;
    void SetPageNumber(int pageNumber);
    int GetPageSize() const;
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


struct VENDRA_API TesselPCProduct {
public:
    TesselPCProduct();
    TesselPCProduct(const TesselPCProduct& other);
    explicit TesselPCProduct(const TesselPCProductCpp* record);
    ~TesselPCProduct();
    TesselPCProduct& operator=(const TesselPCProduct& other);
    TesselPCProduct& operator=(const TesselPCProductCpp* record);

    long long GetProductId() const;
    const wchar_t* GetGameItemId() const;
    const wchar_t* GetName() const;
    const wchar_t* GetDescription() const;
    int GetQuantity() const;
    ProductTypeCode GetProductTypeCode();
    const wchar_t* GetCategoryId() const;
    const wchar_t* GetCategoryName() const;
    const wchar_t* GetCurrencyCode() const;
    double GetPrice() const;
    double GetDisplayPrice() const;
    const wchar_t* GetDisplayPriceString() const;
    double GetSalePrice() const;
    double GetDisplaySalePrice() const;
    const wchar_t* GetDisplaySalePriceString() const;
    bool IsDiscount() const;
    DiscountType GetDiscountType();
    int GetDiscountTypeValue() const;
    long long GetDiscountBeginDate() const;
    long long GetDiscountEndDate() const;
    int GetTotalQuantity() const;
    int GetMemberQuantity() const;
    int GetGuidQuantity() const;
    const wchar_t* GetThumbnailUrl() const;
    bool CanWithdraw() const;
    bool GetPurchasedAtLeastOnce() const;
    PurchaseLimitTypeCode GetPurchaseLimitTypeCode();
    int GetPurchaseLimitCount() const;
    int GetSaleLimitCount() const;
    long long GetSaleBeginDate() const;
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

struct VENDRA_API TesselPCProductEx {
public:
    TesselPCProductEx();
    TesselPCProductEx(const TesselPCProductEx& other);
    explicit TesselPCProductEx(const TesselPCProductExCpp* record);
    ~TesselPCProductEx();
    TesselPCProductEx& operator=(const TesselPCProductEx& other);
    TesselPCProductEx& operator=(const TesselPCProductExCpp* record);

    long long GetProductId() const;
    const wchar_t* GetGameItemId() const;
    const wchar_t* GetName() const;
    const wchar_t* GetDescription() const;
    int GetQuantity() const;
    ProductTypeCode GetProductTypeCode();
    const wchar_t* GetCategoryId() const;
    const wchar_t* GetCategoryName() const;
    const wchar_t* GetCurrencyCode() const;
    double GetPrice() const;
    double GetDisplayPrice() const;
    const wchar_t* GetDisplayPriceString() const;
    double GetSalePrice() const;
    double GetDisplaySalePrice() const;
    const wchar_t* GetDisplaySalePriceString() const;
    bool IsDiscount() const;
    DiscountType GetDiscountType();
    int GetDiscountTypeValue() const;
    long long GetDiscountBeginDate() const;
    long long GetDiscountEndDate() const;
    int GetTotalQuantity() const;
    int GetMemberQuantity() const;
    int GetGuidQuantity() const;
    const wchar_t* GetThumbnailUrl() const;
    bool CanWithdraw() const;
    bool GetPurchasedAtLeastOnce() const;
    PurchaseLimitTypeCode GetPurchaseLimitTypeCode();
    int GetPurchaseLimitCount() const;
    int GetSaleLimitCount() const;
    long long GetSaleBeginDate() const;
    long long GetSaleEndDate() const;
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

// Owns nothing: copies are plain field copies.
struct VENDRA_API TesselPCOrderProduct {
public:
    TesselPCOrderProduct();
    TesselPCOrderProduct(const TesselPCOrderProduct& other);
    explicit TesselPCOrderProduct(const TesselPCOrderProductCpp* record);
    TesselPCOrderProduct& operator=(const TesselPCOrderProduct& other);
    TesselPCOrderProduct& operator=(const TesselPCOrderProductCpp* record);

    long long GetProductId() const;
    void SetProductId(long long productId);
    double GetSalePrice() const;
    void SetSalePrice(double salePrice);
    int GetQuantity() const;
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

// The three web-view option classes: operation, web view mode and window
// rectangle. They own nothing.

// Default rectangle (0, 0, 420, 700). GetWebviewRect throws
// std::invalid_argument when any of its pointers is null, and writes nothing.
struct VENDRA_API TesselPCPurchaseOption {
public:
    TesselPCPurchaseOption();
    TesselPCPurchaseOption(const TesselPCPurchaseOption& other);
    explicit TesselPCPurchaseOption(const TesselPCPurchaseOptionCpp* record);
    TesselPCPurchaseOption& operator=(const TesselPCPurchaseOption& other);
    TesselPCPurchaseOption& operator=(const TesselPCPurchaseOptionCpp* record);

    TesselPCPurchaseOperation GetOperation();
    void SetOperation(TesselPCPurchaseOperation operation);
    WebViewMode GetWebviewMode();
    void SetWebviewMode(WebViewMode webviewMode);
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
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

// Default rectangle (0, 0, 420, 700). GetWebviewRect writes through the
// non-null pointers only.
struct VENDRA_API TesselPCPaymentOption {
public:
    TesselPCPaymentOption();
    TesselPCPaymentOption(const TesselPCPaymentOption& other);
    explicit TesselPCPaymentOption(const TesselPCPaymentOptionCpp* record);
    TesselPCPaymentOption& operator=(const TesselPCPaymentOption& other);
    TesselPCPaymentOption& operator=(const TesselPCPaymentOptionCpp* record);

    TesselPCPaymentOperation GetOperation();
    void SetOperation(TesselPCPaymentOperation operation);
    WebViewMode GetWebviewMode();
    void SetWebviewMode(WebViewMode webviewMode);
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
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

// Default rectangle (0, 0, 800, 600). GetWebviewRect writes through the
// non-null pointers only.
struct VENDRA_API TesselPCTermsOption {
public:
    TesselPCTermsOption();
    TesselPCTermsOption(const TesselPCTermsOption& other);
    explicit TesselPCTermsOption(const TesselPCTermsOptionCpp* record);
    TesselPCTermsOption& operator=(const TesselPCTermsOption& other);
    TesselPCTermsOption& operator=(const TesselPCTermsOptionCpp* record);

    TesselPCTermsOperation GetOperation();
    void SetOperation(TesselPCTermsOperation operation);
    WebViewMode GetWebviewMode();
    void SetWebviewMode(WebViewMode webviewMode);
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
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

// Web view mode and rectangle, all 0 by default. Owns nothing.
// GetWebviewRect writes through the non-null pointers only.
struct VENDRA_API TesselPCWithdrawGameOption {
public:
    TesselPCWithdrawGameOption();
    TesselPCWithdrawGameOption(const TesselPCWithdrawGameOption& other);
    explicit TesselPCWithdrawGameOption(const TesselPCWithdrawGameOptionCpp* record);
    TesselPCWithdrawGameOption& operator=(const TesselPCWithdrawGameOption& other);
    TesselPCWithdrawGameOption& operator=(const TesselPCWithdrawGameOptionCpp* record);

    WebViewMode GetWebviewMode();
    void SetWebviewMode(WebViewMode webviewMode);
    void GetWebviewRect(int* x, int* y, int* width, int* height) const;
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

struct VENDRA_API TesselPCStartPurchaseParam {
public:
    TesselPCStartPurchaseParam();
    TesselPCStartPurchaseParam(const TesselPCStartPurchaseParam& other);
    explicit TesselPCStartPurchaseParam(const TesselPCStartPurchaseParamCpp* record);
    ~TesselPCStartPurchaseParam();
    TesselPCStartPurchaseParam& operator=(const TesselPCStartPurchaseParam& other);
    TesselPCStartPurchaseParam& operator=(const TesselPCStartPurchaseParamCpp* record);

    // Replaces the order-product list by count new slots (zeros); the count
    // stays 0 when the allocation fails. Fill the slots with SetOrderProduct.
    void CreateOrderProduct(unsigned int count);
    // Null when index is negative or not below the count.
    const TesselPCOrderProduct* GetOrderProduct(int index) const;
    // Copies the product into the slot; out of range or null changes nothing.
    void SetOrderProduct(int index, const TesselPCOrderProduct* product);
    unsigned int GetOrderProductCount() const;

    TesselPCPurchaseOption GetPurchaseOption();
    void SetPurchaseOption(TesselPCPurchaseOption option);

    const wchar_t* GetServiceTxnNo() const;
    void SetServiceTxnNo(const wchar_t* serviceTxnNo);
    const wchar_t* GetExtraData() const;
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

struct VENDRA_API TesselPCPurchasedProduct {
public:
    TesselPCPurchasedProduct();
    TesselPCPurchasedProduct(const TesselPCPurchasedProduct& other);
    explicit TesselPCPurchasedProduct(const TesselPCPurchasedProductCpp* record);
    ~TesselPCPurchasedProduct();
    TesselPCPurchasedProduct& operator=(const TesselPCPurchasedProduct& other);
    TesselPCPurchasedProduct& operator=(const TesselPCPurchasedProductCpp* record);

    long long GetTransactionDetailNumber() const;
    void SetTransactionDetailNumber(long long transactionDetailNumber);
    long long GetProductId() const;
    void SetProductId(long long productId);
    const wchar_t* GetCategoryId() const;
    void SetCategoryId(const wchar_t* categoryId);
    int GetTotalQuantity() const;
    void SetTotalQuantity(int totalQuantity);
    int GetMemberQuantity() const;
    void SetMemberQuantity(int memberQuantity);
    int GetGuidQuantity() const;
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

struct VENDRA_API TesselPCChargeInfo {
public:
    TesselPCChargeInfo();
    TesselPCChargeInfo(const TesselPCChargeInfo& other);
    explicit TesselPCChargeInfo(const TesselPCChargeInfoCpp* record);
    ~TesselPCChargeInfo();
    TesselPCChargeInfo& operator=(const TesselPCChargeInfo& other);
    TesselPCChargeInfo& operator=(const TesselPCChargeInfoCpp* record);

    double GetChargeDeductVal() const;
    void SetChargeDeductVal(double chargeDeductVal);
    double GetChargeDisplayDeductVal() const;
    void SetChargeDisplayDeductVal(double chargeDisplayDeductVal);
    int GetChargeType() const;
    void SetChargeType(int chargeType);
    const wchar_t* GetChargeTypeName() const;
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

struct VENDRA_API TesselPCPurchaseResult {
public:
    TesselPCPurchaseResult();
    TesselPCPurchaseResult(const TesselPCPurchaseResult& other);
    explicit TesselPCPurchaseResult(const TesselPCPurchaseResultCpp* record);
    ~TesselPCPurchaseResult();
    TesselPCPurchaseResult& operator=(const TesselPCPurchaseResult& other);
    TesselPCPurchaseResult& operator=(const TesselPCPurchaseResultCpp* record);

    long long GetTransactionMasterNumber() const;

    // The list builders replace the list by count new elements (zeros, null
    // texts); the count stays 0 when the allocation fails. Getters return
    // 0 or null and setters do nothing for an index not below the count.
    void CreateTransactionDetailNumberList(unsigned int count);
    long long GetTransactionDetailNumbers(unsigned int index) const;
    void SetTransactionDetailNumber(unsigned int index, long long number);
    unsigned int GetTransactionDetailNumberCount() const;

    const wchar_t* GetOneTimePaymentUrl() const;
    PurchaseProgress GetPurchaseProgress();
    bool IsPurchased() const;
    const wchar_t* GetExtraData() const;

    void CreatePurchasedProductList(unsigned int count);
    const TesselPCPurchasedProduct* GetPurchasedProduct(unsigned int index) const;
    // Replaces the slot by a deep copy of product (null changes nothing).
    void SetPurchasedProduct(unsigned int index, const TesselPCPurchasedProduct* product);
    unsigned int GetPurchasedProductCount() const;

    void CreateChargeInfoList(unsigned int count);
    const TesselPCChargeInfo* GetChargeInfo(unsigned int index) const;
    // Replaces the slot by a deep copy of info (null changes nothing).
    void SetChargeInfo(unsigned int index, const TesselPCChargeInfo* info);
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

struct VENDRA_API TesselPCInventoryItem {
public:
    TesselPCInventoryItem();
    TesselPCInventoryItem(const TesselPCInventoryItem& other);
    explicit TesselPCInventoryItem(const TesselPCInventoryItemCpp* record);
    ~TesselPCInventoryItem();
    TesselPCInventoryItem& operator=(const TesselPCInventoryItem& other);
    TesselPCInventoryItem& operator=(const TesselPCInventoryItemCpp* record);

    long long GetTransactionMasterNumber() const;
    long long GetTransactionDetailNumber() const;
    long long GetProductId() const;
    const wchar_t* GetGameItemId() const;
    const wchar_t* GetProductName() const;
    int GetQuantity() const;
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

struct VENDRA_API TesselPCVoidedPurchase {
public:
    TesselPCVoidedPurchase();
    TesselPCVoidedPurchase(const TesselPCVoidedPurchase& other);
    explicit TesselPCVoidedPurchase(const TesselPCVoidedPurchaseCpp* record);
    ~TesselPCVoidedPurchase();
    TesselPCVoidedPurchase& operator=(const TesselPCVoidedPurchase& other);
    TesselPCVoidedPurchase& operator=(const TesselPCVoidedPurchaseCpp* record);

    long long GetTid() const;
    const wchar_t* GetMarketCode() const;
    const wchar_t* GetProductId() const;
    const wchar_t* GetMarketProductId() const;
    const wchar_t* GetUserId() const;
    long long GetCharacterNo() const;
    long long GetPurchaseMillis() const;
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

}  // namespace Tessel::PCSDK::IAP
