// The base library's objects, as the modules see them: abstract interfaces
// whose virtual operations sit at fixed positions (slots counted from 0 in
// declaration order). The positions are the binary contract with the
// platform, so these interfaces have no virtual destructor and no overloaded
// virtual names: either would shift or regroup slots on some compilers.
// Every interface derives in a single line from IObject, so a new operation
// always lands in the slot after its base's last one.
#pragma once

#include <cstdint>

namespace Tessel::PCSDK::Base {

// Positions 0 to 3, common to every object.
struct IObject {
    virtual int32_t GetTypeId() const = 0;       // 0
    virtual uint32_t Retain() = 0;               // 1
    virtual void Release() = 0;                  // 2
    virtual uint32_t GetRetainCount() const = 0; // 3

protected:
    IObject() = default;
    IObject(const IObject&) = default;
    IObject& operator=(const IObject&) = default;
    ~IObject() = default;
};

// Type ids of the objects that are not parameter objects.
enum ObjectTypeId : int32_t {
    kResultObject = 1,
    kCallbackResultObject = 2,
    kDataObject = 3,
    kListObject = 4,
};

// Base result object: returned by the initialization family, version and
// close-all-popups calls (the caller releases it), and borrowed from a
// callback-result object. Modules read it through Tessel_Internal_GetResultRawCodes.
struct IResultObject : IObject {
    virtual uint32_t GetOperationCode() const = 0; // 4
    virtual uint32_t GetResultCode() const = 0;    // 5
};

// Base callback-result object, handed to every trampoline and owned by the
// platform.
struct ICallbackResultObject : IObject {
    virtual IResultObject* GetResult() const = 0;     // 4 (borrowed)
    virtual const wchar_t* GetMessageText() const = 0; // 5 (may be null)
    virtual int32_t GetValue() const = 0;             // 6
    virtual void* GetUserContext() const = 0;         // 7
};

// A list handed to a trampoline: element count and items by index.
struct IListObject : IObject {
    virtual uint32_t GetCount() const = 0;             // 4
    virtual IObject* GetItem(uint32_t index) const = 0; // 5 (may be null)
};

// ---------------------------------------------------------------------------
// Parameter objects, created with Tessel_CreateParam(type id) and released by
// their creator (position 2) right after the request call that took them.
// Position 4 clears every value; the setters follow, each paired with a
// getter in the next slot.

struct IParam : IObject {
    virtual void Clear() = 0; // 4
};

enum ParamTypeId : int32_t {
    kPopupDisallowParam = 1500,
    kPopupParam = 1501,
    kManualPopupParam = 1502,
    kIdentityPopupParam = 1503,
    kProductPageParam = 2500,
    kOrderProductParam = 2501,
    kPurchaseOptionParam = 2502,
    kStartPurchaseParam = 2503,
    kTermsOptionParam = 2504,
    kPaymentOptionParam = 2505,
    kWithdrawOptionParam = 2506,
    kConfirmPurchaseParam = 2507,
    kLogSendParam = 6500,
    kCharacterFetchParam = 7500,
};

// 7500: character fetch.
struct ICharacterFetchParam : IParam {
    virtual void SetCharacterId(const wchar_t* value) = 0;  // 5
    virtual const wchar_t* GetCharacterId() const = 0;      // 6
    virtual void SetServerId(const wchar_t* value) = 0;     // 7
    virtual const wchar_t* GetServerId() const = 0;         // 8
};

// 6500: one game log record.
struct ILogSendParam : IParam {
    virtual void SetAuid(int64_t value) = 0;                 // 5
    virtual int64_t GetAuid() const = 0;                     // 6
    virtual void SetCuid(int64_t value) = 0;                 // 7
    virtual int64_t GetCuid() const = 0;                     // 8
    virtual void SetMktType1(const wchar_t* value) = 0;      // 9
    virtual const wchar_t* GetMktType1() const = 0;          // 10
    virtual void SetMktId1(const wchar_t* value) = 0;        // 11
    virtual const wchar_t* GetMktId1() const = 0;            // 12
    virtual void SetMktType2(const wchar_t* value) = 0;      // 13
    virtual const wchar_t* GetMktType2() const = 0;          // 14
    virtual void SetMktId2(const wchar_t* value) = 0;        // 15
    virtual const wchar_t* GetMktId2() const = 0;            // 16
    virtual void SetGameVersion(const wchar_t* value) = 0;   // 17
    virtual const wchar_t* GetGameVersion() const = 0;       // 18
    virtual void SetLogGroupId(const wchar_t* value) = 0;    // 19
    virtual const wchar_t* GetLogGroupId() const = 0;        // 20
    virtual void SetServerCd(const wchar_t* value) = 0;      // 21
    virtual const wchar_t* GetServerCd() const = 0;          // 22
    virtual void SetServerCdDet(const wchar_t* value) = 0;   // 23
    virtual const wchar_t* GetServerCdDet() const = 0;       // 24
    virtual void SetLvCd(const wchar_t* value) = 0;          // 25
    virtual const wchar_t* GetLvCd() const = 0;              // 26
    virtual void SetLvCdDet(const wchar_t* value) = 0;       // 27
    virtual const wchar_t* GetLvCdDet() const = 0;           // 28
    virtual void SetSessionId(const wchar_t* value) = 0;     // 29
    virtual const wchar_t* GetSessionId() const = 0;         // 30
    virtual void SetContents(const wchar_t* value) = 0;      // 31
    virtual const wchar_t* GetContents() const = 0;          // 32
};

// 2500: one page of products.
struct IProductPageParam : IParam {
    virtual void SetCategoryId(const wchar_t* value) = 0; // 5
    virtual const wchar_t* GetCategoryId() const = 0;     // 6
    virtual void SetPageNumber(int32_t value) = 0;        // 7
    virtual int32_t GetPageNumber() const = 0;            // 8
    virtual void SetPageSize(int32_t value) = 0;          // 9
    virtual int32_t GetPageSize() const = 0;              // 10
};

// 2501: one product of an order.
struct IOrderProductParam : IParam {
    virtual void SetProductId(int64_t value) = 0;  // 5
    virtual int64_t GetProductId() const = 0;      // 6
    virtual void SetSalePrice(double value) = 0;   // 7
    virtual double GetSalePrice() const = 0;       // 8
    virtual void SetQuantity(int32_t value) = 0;   // 9
    virtual int32_t GetQuantity() const = 0;       // 10
};

// 2502 (purchase option) and 2504 (terms option): web view first, operation last.
struct IWebviewOptionParam : IParam {
    virtual void SetWebviewMode(int32_t value) = 0; // 5
    virtual int32_t GetWebviewMode() const = 0;     // 6
    virtual void SetX(int32_t value) = 0;           // 7
    virtual int32_t GetX() const = 0;               // 8
    virtual void SetY(int32_t value) = 0;           // 9
    virtual int32_t GetY() const = 0;               // 10
    virtual void SetWidth(int32_t value) = 0;       // 11
    virtual int32_t GetWidth() const = 0;           // 12
    virtual void SetHeight(int32_t value) = 0;      // 13
    virtual int32_t GetHeight() const = 0;          // 14
    virtual void SetOperation(int32_t value) = 0;   // 15
    virtual int32_t GetOperation() const = 0;       // 16
};

// 2503: start purchase. Its setters sit one slot later than the others'.
struct IStartPurchaseParam : IParam {
    virtual uint64_t GetOrderProductCount() const = 0;                            // 5
    virtual void SetOrderProducts(IParam* const* products, uint64_t count) = 0;   // 6
    virtual IParam* GetOrderProduct(uint64_t index) const = 0;                    // 7
    virtual void SetPurchaseOption(IParam* option) = 0;                           // 8
    virtual IParam* GetPurchaseOption() const = 0;                                // 9
    virtual void SetServiceTxnNo(const wchar_t* value) = 0;                       // 10
    virtual const wchar_t* GetServiceTxnNo() const = 0;                           // 11
    virtual void SetExtraData(const wchar_t* value) = 0;                          // 12
    virtual const wchar_t* GetExtraData() const = 0;                              // 13
};

// 2505: payment option: operation first.
struct IPaymentOptionParam : IParam {
    virtual void SetOperation(int32_t value) = 0;   // 5
    virtual int32_t GetOperation() const = 0;       // 6
    virtual void SetWebviewMode(int32_t value) = 0; // 7
    virtual int32_t GetWebviewMode() const = 0;     // 8
    virtual void SetX(int32_t value) = 0;           // 9
    virtual int32_t GetX() const = 0;               // 10
    virtual void SetY(int32_t value) = 0;           // 11
    virtual int32_t GetY() const = 0;               // 12
    virtual void SetWidth(int32_t value) = 0;       // 13
    virtual int32_t GetWidth() const = 0;           // 14
    virtual void SetHeight(int32_t value) = 0;      // 15
    virtual int32_t GetHeight() const = 0;          // 16
};

// 2506: withdraw-game option: no operation.
struct IWithdrawOptionParam : IParam {
    virtual void SetWebviewMode(int32_t value) = 0; // 5
    virtual int32_t GetWebviewMode() const = 0;     // 6
    virtual void SetX(int32_t value) = 0;           // 7
    virtual int32_t GetX() const = 0;               // 8
    virtual void SetY(int32_t value) = 0;           // 9
    virtual int32_t GetY() const = 0;               // 10
    virtual void SetWidth(int32_t value) = 0;       // 11
    virtual int32_t GetWidth() const = 0;           // 12
    virtual void SetHeight(int32_t value) = 0;      // 13
    virtual int32_t GetHeight() const = 0;          // 14
};

// 2507: confirm purchase.
struct IConfirmPurchaseParam : IParam {
    virtual void SetTransactionMasterNumber(int64_t value) = 0; // 5
    virtual int64_t GetTransactionMasterNumber() const = 0;     // 6
};

// 1500: popup suppression.
struct IPopupDisallowParam : IParam {
    virtual void SetPopupId(uint32_t value) = 0; // 5
    virtual uint32_t GetPopupId() const = 0;     // 6
    virtual void SetDays(uint32_t value) = 0;    // 7
    virtual uint32_t GetDays() const = 0;        // 8
};

// 1501: automatic, news and coupon popups.
struct IPopupParam : IParam {
    virtual void SetWebviewMode(int32_t value) = 0; // 5
    virtual int32_t GetWebviewMode() const = 0;     // 6
};

// 1502: manual popup.
struct IManualPopupParam : IParam {
    virtual void SetWebviewMode(int32_t value) = 0; // 5
    virtual int32_t GetWebviewMode() const = 0;     // 6
    virtual void SetKey(const wchar_t* value) = 0;  // 7
    virtual const wchar_t* GetKey() const = 0;      // 8
};

// 1503: identity-verification popup.
struct IIdentityPopupParam : IParam {
    virtual void SetWebviewMode(int32_t value) = 0; // 5
    virtual int32_t GetWebviewMode() const = 0;     // 6
    virtual void SetFlag(bool value) = 0;           // 7
    virtual bool GetFlag() const = 0;               // 8
};

// ---------------------------------------------------------------------------
// Data objects handed to trampolines (owned by the platform, never released
// by a module). Getters start at position 4 in field order.

// Character fetch: the character text.
struct ICharacterData : IObject {
    virtual const wchar_t* GetCharacterText() const = 0; // 4
};

struct IShopCategoryItem : IObject {
    virtual const wchar_t* GetCategoryId() const = 0;       // 4
    virtual const wchar_t* GetParentCategoryId() const = 0; // 5
    virtual int32_t GetDisplayNumber() const = 0;           // 6
    virtual const wchar_t* GetName() const = 0;             // 7
    virtual int32_t GetDepth() const = 0;                   // 8
};

struct IProductItem : IObject {
    virtual int64_t GetProductId() const = 0;                  // 4
    virtual const wchar_t* GetGameItemId() const = 0;          // 5
    virtual const wchar_t* GetName() const = 0;                // 6
    virtual const wchar_t* GetDescription() const = 0;         // 7
    virtual int32_t GetQuantity() const = 0;                   // 8
    virtual int32_t GetProductTypeCode() const = 0;            // 9
    virtual const wchar_t* GetCategoryId() const = 0;          // 10
    virtual const wchar_t* GetCategoryName() const = 0;        // 11
    virtual const wchar_t* GetCurrencyCode() const = 0;        // 12
    virtual double GetPrice() const = 0;                       // 13
    virtual double GetDisplayPrice() const = 0;                // 14
    virtual const wchar_t* GetDisplayPriceString() const = 0;  // 15
    virtual double GetSalePrice() const = 0;                   // 16
    virtual double GetDisplaySalePrice() const = 0;            // 17
    virtual const wchar_t* GetDisplaySalePriceString() const = 0; // 18
    virtual uint8_t IsDiscount() const = 0;                    // 19
    virtual int32_t GetDiscountType() const = 0;               // 20
    virtual int32_t GetDiscountTypeValue() const = 0;          // 21
    virtual int64_t GetDiscountBeginDate() const = 0;          // 22
    virtual int64_t GetDiscountEndDate() const = 0;            // 23
    virtual int32_t GetTotalQuantity() const = 0;              // 24
    virtual int32_t GetMemberQuantity() const = 0;             // 25
    virtual int32_t GetGuidQuantity() const = 0;               // 26
    virtual const wchar_t* GetThumbnailUrl() const = 0;        // 27
    virtual uint8_t CanWithdraw() const = 0;                   // 28
    virtual uint8_t GetPurchasedAtLeastOnce() const = 0;       // 29
    virtual int32_t GetPurchaseLimitTypeCode() const = 0;      // 30
    virtual int32_t GetPurchaseLimitCount() const = 0;         // 31
    virtual int32_t GetSaleLimitCount() const = 0;             // 32
    virtual int64_t GetSaleBeginDate() const = 0;              // 33
    virtual int64_t GetSaleEndDate() const = 0;                // 34
};

struct IProductExItem : IProductItem {
    virtual int16_t GetPurchaseAvailabilityCode() const = 0; // 35
};

struct IPurchasedProductItem : IObject {
    virtual int64_t GetTransactionDetailNumber() const = 0; // 4
    virtual int64_t GetProductId() const = 0;               // 5
    virtual const wchar_t* GetCategoryId() const = 0;       // 6
    virtual int32_t GetTotalQuantity() const = 0;           // 7
    virtual int32_t GetMemberQuantity() const = 0;          // 8
    virtual int32_t GetGuidQuantity() const = 0;            // 9
};

struct IChargeInfoItem : IObject {
    virtual double GetChargeDeductVal() const = 0;        // 4
    virtual double GetChargeDisplayDeductVal() const = 0; // 5
    virtual int32_t GetChargeType() const = 0;            // 6
    virtual const wchar_t* GetChargeTypeName() const = 0; // 7
};

struct IPurchaseResultData : IObject {
    virtual int64_t GetTransactionMasterNumber() const = 0;                // 4
    virtual const int64_t* GetTransactionDetailNumbers() const = 0;         // 5
    virtual uint32_t GetTransactionDetailNumberCount() const = 0;           // 6
    virtual const wchar_t* GetOneTimePaymentUrl() const = 0;                // 7
    virtual int32_t GetPurchaseProgress() const = 0;                        // 8
    virtual uint8_t IsPurchased() const = 0;                                // 9
    virtual const wchar_t* GetExtraData() const = 0;                        // 10
    virtual uint32_t GetPurchasedProductCount() const = 0;                  // 11
    virtual IPurchasedProductItem* GetPurchasedProduct(uint32_t index) const = 0; // 12
    virtual uint32_t GetChargeInfoCount() const = 0;                        // 13
    virtual IChargeInfoItem* GetChargeInfo(uint32_t index) const = 0;       // 14
    virtual bool IsPopupCreated() const = 0;                                // 15
};

struct IConfirmPurchaseData : IObject {
    virtual bool GetResult() const = 0;                                     // 4
    virtual uint32_t GetPurchasedProductCount() const = 0;                  // 5
    virtual IPurchasedProductItem* GetPurchasedProduct(uint32_t index) const = 0; // 6
    virtual uint32_t GetChargeInfoCount() const = 0;                        // 7
    virtual IChargeInfoItem* GetChargeInfo(uint32_t index) const = 0;       // 8
};

struct IInventoryItem : IObject {
    virtual int64_t GetTransactionMasterNumber() const = 0; // 4
    virtual int64_t GetTransactionDetailNumber() const = 0; // 5
    virtual int64_t GetProductId() const = 0;               // 6
    virtual const wchar_t* GetGameItemId() const = 0;       // 7
    virtual const wchar_t* GetProductName() const = 0;      // 8
    virtual int32_t GetQuantity() const = 0;                // 9
    virtual const wchar_t* GetThumbnailUrl() const = 0;     // 10
};

struct IVoidedPurchaseItem : IObject {
    virtual int64_t GetTid() const = 0;                     // 4
    virtual const wchar_t* GetMarketCode() const = 0;       // 5
    virtual const wchar_t* GetProductId() const = 0;        // 6
    virtual const wchar_t* GetMarketProductId() const = 0;  // 7
    virtual const wchar_t* GetUserId() const = 0;           // 8
    virtual int64_t GetCharacterNo() const = 0;             // 9
    virtual int64_t GetPurchaseMillis() const = 0;          // 10
    virtual int64_t GetVoidedMillis() const = 0;            // 11
};

struct ITermsData : IObject {
    virtual bool GetAgreed() const = 0;               // 4
    virtual const wchar_t* GetTermsText() const = 0;  // 5
    virtual bool IsPopupCreated() const = 0;          // 6
};

struct IWithdrawData : IObject {
    virtual bool GetWithdrawn() const = 0;    // 4
    virtual bool IsPopupCreated() const = 0;  // 5
};

// Result of a popup display request: whether the popup was created.
struct IPopupResultData : IObject {
    virtual bool IsPopupCreated() const = 0; // 4
};

// Value reported by the identity-verification popup.
struct IIdentityValueData : IObject {
    virtual const wchar_t* GetValueText() const = 0; // 4
};

// ---------------------------------------------------------------------------
// Trampolines: the module functions the platform calls to complete a request.

// (callback result, data object or null)
using Trampoline = void (*)(ICallbackResultObject* result, IObject* data);
// (callback result, array of item objects or null, element count)
using ArrayTrampoline = void (*)(ICallbackResultObject* result, IObject* const* items, uint32_t count);
// (callback result, text or null)
using TextTrampoline = void (*)(ICallbackResultObject* result, const wchar_t* text);

}  // namespace Tessel::PCSDK::Base
