// Reading the platform's data objects into intermediate records and building
// (and freeing) the C records of the C interface.
#include "records.hpp"

#include <cstring>
#include <new>

#include "access.hpp"
#include "tessel/runtime/Marshal.hpp"

namespace vendra {
namespace {

using tessel::rt::CopyText;

// A text getter is asked once to test for null and once more for the value.
#define VENDRA_READ_TEXT(field, Getter) \
    record.field = item->Getter() != nullptr ? std::wstring(item->Getter()) : std::wstring();
#define VENDRA_READ_VALUE(field, Getter) record.field = static_cast<decltype(record.field)>(item->Getter());
#define VENDRA_READ_ENUM VENDRA_READ_VALUE
#define VENDRA_READ(KIND, field, Getter) VENDRA_READ_##KIND(field, Getter)

#define VENDRA_TO_C_TEXT(field) c.field = CopyText(record.field.c_str());
#define VENDRA_TO_C_VALUE(field) c.field = static_cast<decltype(c.field)>(record.field);
#define VENDRA_TO_C_ENUM VENDRA_TO_C_VALUE
#define VENDRA_TO_C(KIND, field, Getter) VENDRA_TO_C_##KIND(field)

#define VENDRA_FREE_TEXT(field)                   \
    std::free(const_cast<wchar_t*>(c.field));     \
    c.field = nullptr;
#define VENDRA_FREE_VALUE(field)
#define VENDRA_FREE_ENUM(field)
#define VENDRA_FREE(KIND, field, Getter) VENDRA_FREE_##KIND(field)

// Reader, C-record builder and release of one record kind described by its
// field list. A C record that cannot be built whole is freed and the
// failure (std::bad_alloc) passed on.
#define VENDRA_RECORD_KIND(Read, Item, Record, CRecord, LIST) \
    IAP::Record Read(const Base::Item* item)                  \
    {                                                         \
        IAP::Record record;                                   \
        if (item != nullptr) {                                \
            LIST(VENDRA_READ)                                 \
        }                                                     \
        return record;                                        \
    }                                                         \
    void FreeC(CRecord& c) noexcept                           \
    {                                                         \
        LIST(VENDRA_FREE)                                     \
        (void)c;                                              \
    }                                                         \
    CRecord ToC(const IAP::Record& record)                    \
    {                                                         \
        CRecord c;                                            \
        std::memset(&c, 0, sizeof c);                         \
        try {                                                 \
            LIST(VENDRA_TO_C)                                 \
        } catch (...) {                                       \
            FreeC(c);                                         \
            throw;                                            \
        }                                                     \
        return c;                                             \
    }

}  // namespace

VENDRA_RECORD_KIND(ReadShopCategory, IShopCategoryItem, TesselPCShopCategoryCpp, TesselShopCategory,
                   VENDRA_SHOP_CATEGORY_FIELDS)
VENDRA_RECORD_KIND(ReadProduct, IProductItem, TesselPCProductCpp, TesselProduct, VENDRA_PRODUCT_FIELDS)
VENDRA_RECORD_KIND(ReadProductEx, IProductExItem, TesselPCProductExCpp, TesselProductEx, VENDRA_PRODUCT_EX_FIELDS)
VENDRA_RECORD_KIND(ReadPurchasedProduct, IPurchasedProductItem, TesselPCPurchasedProductCpp,
                   TesselPurchasedProduct, VENDRA_PURCHASED_PRODUCT_FIELDS)
VENDRA_RECORD_KIND(ReadChargeInfo, IChargeInfoItem, TesselPCChargeInfoCpp, TesselChargeInfo,
                   VENDRA_CHARGE_INFO_FIELDS)
VENDRA_RECORD_KIND(ReadInventoryItem, IInventoryItem, TesselPCInventoryItemCpp, TesselInventoryItem,
                   VENDRA_INVENTORY_ITEM_FIELDS)
VENDRA_RECORD_KIND(ReadVoidedPurchase, IVoidedPurchaseItem, TesselPCVoidedPurchaseCpp, TesselVoidedPurchase,
                   VENDRA_VOIDED_PURCHASE_FIELDS)

// --- The purchase result and the confirmation ------------------------------------

namespace {

// The purchased products and charge infos of a purchase result or a
// confirmation: each count, then each item by index.
template <class Data>
void ReadPurchaseLists(const Data& data, std::vector<IAP::TesselPCPurchasedProductCpp>& products,
                       std::vector<IAP::TesselPCChargeInfoCpp>& infos)
{
    const uint32_t productCount = data.GetPurchasedProductCount();
    products.reserve(productCount);
    for (uint32_t i = 0; i < productCount; ++i) {
        products.push_back(ReadPurchasedProduct(data.GetPurchasedProduct(i)));
    }
    const uint32_t infoCount = data.GetChargeInfoCount();
    infos.reserve(infoCount);
    for (uint32_t i = 0; i < infoCount; ++i) {
        infos.push_back(ReadChargeInfo(data.GetChargeInfo(i)));
    }
}

// A C array of exactly the vector's size (see BuildCArray).
template <class CRecord, class Record>
CRecord* CArrayOf(const std::vector<Record>& records, uint32_t& count)
{
    count = static_cast<uint32_t>(records.size());
    return BuildCArray<CRecord>(count, [&](uint32_t i) -> const Record& { return records[i]; });
}

}  // namespace

IAP::TesselPCPurchaseResultCpp ReadPurchaseResult(const Base::IPurchaseResultData* data)
{
    IAP::TesselPCPurchaseResultCpp record;
    if (data == nullptr) {
        return record;
    }
    record.transactionMasterNumber = data->GetTransactionMasterNumber();
    const int64_t* numbers = data->GetTransactionDetailNumbers();
    const uint32_t numberCount = data->GetTransactionDetailNumberCount();
    if (numbers != nullptr && numberCount != 0) {
        record.transactionDetailNumbers.assign(numbers, numbers + numberCount);
    }
    record.oneTimePaymentUrl =
        data->GetOneTimePaymentUrl() != nullptr ? std::wstring(data->GetOneTimePaymentUrl()) : std::wstring();
    record.purchaseProgress = static_cast<IAP::PurchaseProgress>(data->GetPurchaseProgress());
    record.isPurchased = data->IsPurchased() != 0;
    record.extraData = data->GetExtraData() != nullptr ? std::wstring(data->GetExtraData()) : std::wstring();
    ReadPurchaseLists(*data, record.purchasedProducts, record.chargeInfos);
    return record;
}

ConfirmPurchaseCpp ReadConfirmPurchase(const Base::IConfirmPurchaseData* data)
{
    ConfirmPurchaseCpp confirm;
    if (data == nullptr) {
        return confirm;
    }
    confirm.result = data->GetResult();
    ReadPurchaseLists(*data, confirm.purchasedProducts, confirm.chargeInfos);
    return confirm;
}

TesselPurchaseResult ToC(const IAP::TesselPCPurchaseResultCpp& record)
{
    TesselPurchaseResult c;
    std::memset(&c, 0, sizeof c);
    c.transactionMasterNumber = record.transactionMasterNumber;
    c.purchaseProgress = static_cast<int32_t>(record.purchaseProgress);
    c.isPurchased = record.isPurchased;
    try {
        const std::size_t numberCount = record.transactionDetailNumbers.size();
        if (numberCount != 0) {
            c.transactionDetailNumbers = static_cast<long long*>(std::malloc(numberCount * sizeof(long long)));
            if (c.transactionDetailNumbers == nullptr) {
                throw std::bad_alloc();
            }
            std::memcpy(c.transactionDetailNumbers, record.transactionDetailNumbers.data(),
                        numberCount * sizeof(long long));
            c.transactionDetailNumberCount = static_cast<uint32_t>(numberCount);
        }
        c.oneTimePaymentUrl = CopyText(record.oneTimePaymentUrl.c_str());
        c.extraData = CopyText(record.extraData.c_str());
        c.purchasedProducts = CArrayOf<TesselPurchasedProduct>(record.purchasedProducts, c.purchasedProductCount);
        c.chargeInfos = CArrayOf<TesselChargeInfo>(record.chargeInfos, c.chargeInfoCount);
    } catch (...) {
        FreeC(c);
        throw;
    }
    return c;
}

void FreeC(TesselPurchaseResult& c) noexcept
{
    std::free(c.transactionDetailNumbers);
    c.transactionDetailNumbers = nullptr;
    c.transactionDetailNumberCount = 0;
    std::free(const_cast<wchar_t*>(c.oneTimePaymentUrl));
    c.oneTimePaymentUrl = nullptr;
    std::free(const_cast<wchar_t*>(c.extraData));
    c.extraData = nullptr;
    FreeCArray(c.purchasedProducts, c.purchasedProductCount);
    c.purchasedProducts = nullptr;
    c.purchasedProductCount = 0;
    FreeCArray(c.chargeInfos, c.chargeInfoCount);
    c.chargeInfos = nullptr;
    c.chargeInfoCount = 0;
}

// --- Public objects --------------------------------------------------------------

#define VENDRA_FILL(Class)                                                   \
    void Fill(IAP::Class& object, const IAP::Class##Cpp& record)             \
    {                                                                        \
        IAP::VendraAccess::DeepCopy(object, &record);                        \
        if (!IAP::fields::HasEveryText(object)) {                            \
            throw std::bad_alloc();                                          \
        }                                                                    \
    }

VENDRA_FILL(TesselPCShopCategory)
VENDRA_FILL(TesselPCProduct)
VENDRA_FILL(TesselPCProductEx)
VENDRA_FILL(TesselPCPurchasedProduct)
VENDRA_FILL(TesselPCChargeInfo)
VENDRA_FILL(TesselPCInventoryItem)
VENDRA_FILL(TesselPCVoidedPurchase)

// --- Items --------------------------------------------------------------------------

ItemSource ItemSource::FromList(const Base::IListObject* list) noexcept
{
    ItemSource source;
    if (list != nullptr) {
        source.list_ = list;
        source.count_ = list->GetCount();
    }
    return source;
}

ItemSource ItemSource::FromArray(Base::IObject* const* items, uint32_t count) noexcept
{
    ItemSource source;
    source.array_ = items;
    source.count_ = count;  // a null array still has count (null) items
    return source;
}

const Base::IObject* ItemSource::At(uint32_t index) const
{
    if (index >= count_) {
        return nullptr;
    }
    if (list_ != nullptr) {
        return list_->GetItem(index);
    }
    return array_ != nullptr ? array_[index] : nullptr;
}

}  // namespace vendra
