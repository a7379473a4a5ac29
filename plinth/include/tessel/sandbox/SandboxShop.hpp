// The sandbox shop: the data objects of the purchase requests, and what a
// game or a test can see and do in the simulated shop.
//
// The data objects are what the platform hands to the purchase module's
// trampolines. The sandbox answers with them, and tests build them (usually
// on the stack) to complete scripted requests. Texts are Sandbox::Text, so
// that a null text can be represented; lists hold item pointers (null items
// allowed) and an optional reported count that may differ from the number
// of items, like Sandbox::ListObject.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tessel/sandbox/Sandbox.hpp"

namespace Tessel::PCSDK::Sandbox {

class PLINTH_API ShopCategoryItem final : public Object<Base::IShopCategoryItem> {
public:
    ShopCategoryItem();
    const wchar_t* GetCategoryId() const override;
    const wchar_t* GetParentCategoryId() const override;
    int32_t GetDisplayNumber() const override;
    const wchar_t* GetName() const override;
    int32_t GetDepth() const override;

    Text categoryId = std::wstring();
    Text parentCategoryId = std::wstring();
    int32_t displayNumber = 0;
    Text name = std::wstring();
    int32_t depth = 0;
};

// The 31 fields of a product, shared by the plain and the extended form.
struct ProductFields {
    int64_t productId = 0;
    Text gameItemId = std::wstring();
    Text name = std::wstring();
    Text description = std::wstring();
    int32_t quantity = 0;
    int32_t productTypeCode = 1;
    Text categoryId = std::wstring();
    Text categoryName = std::wstring();
    Text currencyCode = std::wstring();
    double price = 0;
    double displayPrice = 0;
    Text displayPriceString = std::wstring();
    double salePrice = 0;
    double displaySalePrice = 0;
    Text displaySalePriceString = std::wstring();
    uint8_t isDiscount = 0;
    int32_t discountType = 0;
    int32_t discountTypeValue = 0;
    int64_t discountBeginDate = 0;
    int64_t discountEndDate = 0;
    int32_t totalQuantity = 0;
    int32_t memberQuantity = 0;
    int32_t guidQuantity = 0;
    Text thumbnailUrl = std::wstring();
    uint8_t canWithdraw = 0;
    uint8_t purchasedAtLeastOnce = 0;
    int32_t purchaseLimitTypeCode = 1;
    int32_t purchaseLimitCount = 0;
    int32_t saleLimitCount = 0;
    int64_t saleBeginDate = 0;
    int64_t saleEndDate = 0;
};

// The product getters over ProductFields, for both product interfaces.
template <class Interface>
class ProductObject : public Object<Interface>, public ProductFields {
public:
    int64_t GetProductId() const override { return productId; }
    const wchar_t* GetGameItemId() const override { return TextPointer(gameItemId); }
    const wchar_t* GetName() const override { return TextPointer(name); }
    const wchar_t* GetDescription() const override { return TextPointer(description); }
    int32_t GetQuantity() const override { return quantity; }
    int32_t GetProductTypeCode() const override { return productTypeCode; }
    const wchar_t* GetCategoryId() const override { return TextPointer(categoryId); }
    const wchar_t* GetCategoryName() const override { return TextPointer(categoryName); }
    const wchar_t* GetCurrencyCode() const override { return TextPointer(currencyCode); }
    double GetPrice() const override { return price; }
    double GetDisplayPrice() const override { return displayPrice; }
    const wchar_t* GetDisplayPriceString() const override { return TextPointer(displayPriceString); }
    double GetSalePrice() const override { return salePrice; }
    double GetDisplaySalePrice() const override { return displaySalePrice; }
    const wchar_t* GetDisplaySalePriceString() const override { return TextPointer(displaySalePriceString); }
    uint8_t IsDiscount() const override { return isDiscount; }
    int32_t GetDiscountType() const override { return discountType; }
    int32_t GetDiscountTypeValue() const override { return discountTypeValue; }
    int64_t GetDiscountBeginDate() const override { return discountBeginDate; }
    int64_t GetDiscountEndDate() const override { return discountEndDate; }
    int32_t GetTotalQuantity() const override { return totalQuantity; }
    int32_t GetMemberQuantity() const override { return memberQuantity; }
    int32_t GetGuidQuantity() const override { return guidQuantity; }
    const wchar_t* GetThumbnailUrl() const override { return TextPointer(thumbnailUrl); }
    uint8_t CanWithdraw() const override { return canWithdraw; }
    uint8_t GetPurchasedAtLeastOnce() const override { return purchasedAtLeastOnce; }
    int32_t GetPurchaseLimitTypeCode() const override { return purchaseLimitTypeCode; }
    int32_t GetPurchaseLimitCount() const override { return purchaseLimitCount; }
    int32_t GetSaleLimitCount() const override { return saleLimitCount; }
    int64_t GetSaleBeginDate() const override { return saleBeginDate; }
    int64_t GetSaleEndDate() const override { return saleEndDate; }

protected:
    explicit ProductObject(const ProductFields& fields) : Object<Interface>(Base::kDataObject), ProductFields(fields)
    {
    }
};

class PLINTH_API ProductItem final : public ProductObject<Base::IProductItem> {
public:
    explicit ProductItem(const ProductFields& fields = {});
};

class PLINTH_API ProductExItem final : public ProductObject<Base::IProductExItem> {
public:
    explicit ProductExItem(const ProductFields& fields = {}, int16_t availabilityCode = 0);
    int16_t GetPurchaseAvailabilityCode() const override;

    int16_t purchaseAvailabilityCode;
};

class PLINTH_API PurchasedProductItem final : public Object<Base::IPurchasedProductItem> {
public:
    PurchasedProductItem();
    int64_t GetTransactionDetailNumber() const override;
    int64_t GetProductId() const override;
    const wchar_t* GetCategoryId() const override;
    int32_t GetTotalQuantity() const override;
    int32_t GetMemberQuantity() const override;
    int32_t GetGuidQuantity() const override;

    int64_t transactionDetailNumber = 0;
    int64_t productId = 0;
    Text categoryId = std::wstring();
    int32_t totalQuantity = 0;
    int32_t memberQuantity = 0;
    int32_t guidQuantity = 0;
};

class PLINTH_API ChargeInfoItem final : public Object<Base::IChargeInfoItem> {
public:
    ChargeInfoItem();
    double GetChargeDeductVal() const override;
    double GetChargeDisplayDeductVal() const override;
    int32_t GetChargeType() const override;
    const wchar_t* GetChargeTypeName() const override;

    double chargeDeductVal = 0;
    double chargeDisplayDeductVal = 0;
    int32_t chargeType = 0;
    Text chargeTypeName = std::wstring();
};

// A list of item pointers with a reported count (by default the number of
// items; past the end of the items the list answers null).
template <class Item>
struct ItemList {
    std::vector<Item*> items;
    std::optional<uint32_t> count;

    uint32_t Count() const { return count ? *count : static_cast<uint32_t>(items.size()); }
    Item* At(uint32_t index) const { return index < items.size() ? items[index] : nullptr; }
};

class PLINTH_API PurchaseResultData final : public Object<Base::IPurchaseResultData> {
public:
    PurchaseResultData();
    int64_t GetTransactionMasterNumber() const override;
    const int64_t* GetTransactionDetailNumbers() const override;
    uint32_t GetTransactionDetailNumberCount() const override;
    const wchar_t* GetOneTimePaymentUrl() const override;
    int32_t GetPurchaseProgress() const override;
    uint8_t IsPurchased() const override;
    const wchar_t* GetExtraData() const override;
    uint32_t GetPurchasedProductCount() const override;
    Base::IPurchasedProductItem* GetPurchasedProduct(uint32_t index) const override;
    uint32_t GetChargeInfoCount() const override;
    Base::IChargeInfoItem* GetChargeInfo(uint32_t index) const override;
    bool IsPopupCreated() const override;

    int64_t transactionMasterNumber = 0;
    // nullopt answers a null pointer; the count may be set apart from it.
    std::optional<std::vector<int64_t>> transactionDetailNumbers = std::vector<int64_t>();
    std::optional<uint32_t> transactionDetailNumberCount;
    Text oneTimePaymentUrl = std::wstring();
    int32_t purchaseProgress = 1;
    uint8_t isPurchased = 0;
    Text extraData = std::wstring();
    ItemList<Base::IPurchasedProductItem> purchasedProducts;
    ItemList<Base::IChargeInfoItem> chargeInfos;
    bool popupCreated = true;
};

class PLINTH_API ConfirmPurchaseData final : public Object<Base::IConfirmPurchaseData> {
public:
    ConfirmPurchaseData();
    bool GetResult() const override;
    uint32_t GetPurchasedProductCount() const override;
    Base::IPurchasedProductItem* GetPurchasedProduct(uint32_t index) const override;
    uint32_t GetChargeInfoCount() const override;
    Base::IChargeInfoItem* GetChargeInfo(uint32_t index) const override;

    bool result = false;
    ItemList<Base::IPurchasedProductItem> purchasedProducts;
    ItemList<Base::IChargeInfoItem> chargeInfos;
};

class PLINTH_API InventoryItem final : public Object<Base::IInventoryItem> {
public:
    InventoryItem();
    int64_t GetTransactionMasterNumber() const override;
    int64_t GetTransactionDetailNumber() const override;
    int64_t GetProductId() const override;
    const wchar_t* GetGameItemId() const override;
    const wchar_t* GetProductName() const override;
    int32_t GetQuantity() const override;
    const wchar_t* GetThumbnailUrl() const override;

    int64_t transactionMasterNumber = 0;
    int64_t transactionDetailNumber = 0;
    int64_t productId = 0;
    Text gameItemId = std::wstring();
    Text productName = std::wstring();
    int32_t quantity = 0;
    Text thumbnailUrl = std::wstring();
};

class PLINTH_API VoidedPurchaseItem final : public Object<Base::IVoidedPurchaseItem> {
public:
    VoidedPurchaseItem();
    int64_t GetTid() const override;
    const wchar_t* GetMarketCode() const override;
    const wchar_t* GetProductId() const override;
    const wchar_t* GetMarketProductId() const override;
    const wchar_t* GetUserId() const override;
    int64_t GetCharacterNo() const override;
    int64_t GetPurchaseMillis() const override;
    int64_t GetVoidedMillis() const override;

    int64_t tid = 0;
    Text marketCode = std::wstring();
    Text productId = std::wstring();
    Text marketProductId = std::wstring();
    Text userId = std::wstring();
    int64_t characterNo = 0;
    int64_t purchaseMillis = 0;
    int64_t voidedMillis = 0;
};

class PLINTH_API TermsData final : public Object<Base::ITermsData> {
public:
    TermsData();
    bool GetAgreed() const override;
    const wchar_t* GetTermsText() const override;
    bool IsPopupCreated() const override;

    bool agreed = false;
    Text termsText = std::wstring();
    bool popupCreated = true;
};

class PLINTH_API WithdrawData final : public Object<Base::IWithdrawData> {
public:
    WithdrawData();
    bool GetWithdrawn() const override;
    bool IsPopupCreated() const override;

    bool withdrawn = false;
    bool popupCreated = true;
};

// ---------------------------------------------------------------------------
// The simulated shop, for games and tests alike (outside scripted mode).

// A popup the sandbox shows: the purchase, payment, terms and withdrawal
// windows of the shop, and the popups of other features.
struct ShownPopup {
    uint64_t id = 0;
    std::wstring kind;  // L"purchase", L"payment", L"terms", L"withdraw", ...
};

PLINTH_API std::vector<ShownPopup> OpenPopups();
// Closes one popup as its user would; its destroy notification is queued.
// False when no popup has that id.
PLINTH_API bool ClosePopup(uint64_t id);
// Closes every popup of every feature; returns how many were open.
PLINTH_API std::size_t ClosePopups();
// Whether the shop's next popups can be created (true by default; reset
// with the platform). A popup that is not created completes its request at
// once, reports it in the data object, and is never destroyed.
PLINTH_API void SetShopPopupsCreated(bool created);

// What the player bought and still holds, oldest first.
PLINTH_API std::vector<InventoryItem> ShopInventory();

}  // namespace Tessel::PCSDK::Sandbox
