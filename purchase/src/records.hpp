// Vendra's records: reading the platform's data objects into intermediate
// records, building the C records of the C interface from them (and freeing
// them), and handing arrays of C records or public objects to a callback.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "tessel/base/Objects.hpp"
#include "tessel/vendra/VendraTypes.hpp"

namespace vendra {

namespace Base = Tessel::PCSDK::Base;
namespace IAP = Tessel::PCSDK::IAP;

// --- Reading data objects ------------------------------------------------------
// A null item gives the default record (empty strings, zeros); a null text
// reads as the empty string.

IAP::TesselPCShopCategoryCpp ReadShopCategory(const Base::IShopCategoryItem* item);
IAP::TesselPCProductCpp ReadProduct(const Base::IProductItem* item);
IAP::TesselPCProductExCpp ReadProductEx(const Base::IProductExItem* item);
IAP::TesselPCPurchasedProductCpp ReadPurchasedProduct(const Base::IPurchasedProductItem* item);
IAP::TesselPCChargeInfoCpp ReadChargeInfo(const Base::IChargeInfoItem* item);
IAP::TesselPCPurchaseResultCpp ReadPurchaseResult(const Base::IPurchaseResultData* data);
IAP::TesselPCInventoryItemCpp ReadInventoryItem(const Base::IInventoryItem* item);
IAP::TesselPCVoidedPurchaseCpp ReadVoidedPurchase(const Base::IVoidedPurchaseItem* item);

// What a purchase confirmation delivers: the platform's answer and two lists.
struct ConfirmPurchaseCpp {
    bool result = false;
    std::vector<IAP::TesselPCPurchasedProductCpp> purchasedProducts;
    std::vector<IAP::TesselPCChargeInfoCpp> chargeInfos;
};
// A null data object gives false and two empty lists.
ConfirmPurchaseCpp ReadConfirmPurchase(const Base::IConfirmPurchaseData* data);

// --- C records -----------------------------------------------------------------
// ToC fills a zero-filled record: reserved 0, numbers copied, every text a
// fresh heap copy (never null), lists in malloc arrays of exactly their count
// (null for none). FreeC frees every text and array and nulls them.

TesselShopCategory ToC(const IAP::TesselPCShopCategoryCpp& record);
TesselProduct ToC(const IAP::TesselPCProductCpp& record);
TesselProductEx ToC(const IAP::TesselPCProductExCpp& record);
TesselPurchasedProduct ToC(const IAP::TesselPCPurchasedProductCpp& record);
TesselChargeInfo ToC(const IAP::TesselPCChargeInfoCpp& record);
TesselPurchaseResult ToC(const IAP::TesselPCPurchaseResultCpp& record);
TesselInventoryItem ToC(const IAP::TesselPCInventoryItemCpp& record);
TesselVoidedPurchase ToC(const IAP::TesselPCVoidedPurchaseCpp& record);

void FreeC(TesselShopCategory& record) noexcept;
void FreeC(TesselProduct& record) noexcept;
void FreeC(TesselProductEx& record) noexcept;
void FreeC(TesselPurchasedProduct& record) noexcept;
void FreeC(TesselChargeInfo& record) noexcept;
// Frees, in this order: the detail-number array, the payment url, the extra
// data, each purchased product's text then that array, each charge info's
// text then that array. Counts become 0.
void FreeC(TesselPurchaseResult& record) noexcept;
void FreeC(TesselInventoryItem& record) noexcept;
void FreeC(TesselVoidedPurchase& record) noexcept;

// --- Public objects --------------------------------------------------------------

// Fills a default-constructed public object from its intermediate record
// with the class's own deep copy; throws std::bad_alloc when the copy ran out
// of memory (the class's copy cannot say so itself), so that the callback
// hears code 22 with empty data instead of an object with holes.
void Fill(IAP::TesselPCShopCategory& object, const IAP::TesselPCShopCategoryCpp& record);
void Fill(IAP::TesselPCProduct& object, const IAP::TesselPCProductCpp& record);
void Fill(IAP::TesselPCProductEx& object, const IAP::TesselPCProductExCpp& record);
void Fill(IAP::TesselPCPurchasedProduct& object, const IAP::TesselPCPurchasedProductCpp& record);
void Fill(IAP::TesselPCChargeInfo& object, const IAP::TesselPCChargeInfoCpp& record);
void Fill(IAP::TesselPCInventoryItem& object, const IAP::TesselPCInventoryItemCpp& record);
void Fill(IAP::TesselPCVoidedPurchase& object, const IAP::TesselPCVoidedPurchaseCpp& record);

// --- Items handed to a trampoline ------------------------------------------------

// A list object or an array of item pointers, seen as count items by index.
class ItemSource {
public:
    // A null list has no items.
    static ItemSource FromList(const Base::IListObject* list) noexcept;
    // A null array has count null items.
    static ItemSource FromArray(Base::IObject* const* items, uint32_t count) noexcept;

    uint32_t Count() const noexcept { return count_; }
    // The item at index, or null.
    const Base::IObject* At(uint32_t index) const;

private:
    const Base::IListObject* list_ = nullptr;
    Base::IObject* const* array_ = nullptr;
    uint32_t count_ = 0;
};

namespace detail {

template <class Reader>
struct ReaderTraits;
template <class Record, class Item>
struct ReaderTraits<Record (*)(const Item*)> {
    using RecordType = Record;
    using ItemType = Item;
};

// Runs release when it goes.
template <class Release>
struct Finally {
    Release release;
    ~Finally() { release(); }
};
template <class Release>
Finally(Release) -> Finally<Release>;

}  // namespace detail

// Frees every record of a C array built by BuildCArray, then the array.
// Takes the pointer and the count by value: they may be fields of a packed
// record, which are not bound to references.
template <class CRecord>
void FreeCArray(CRecord* array, uint32_t count) noexcept
{
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        FreeC(array[i]);
    }
    std::free(array);
}

// A zero-filled malloc array of exactly count C records, record i built by
// ToC from recordAt(i): null for none. Throws std::bad_alloc, having freed
// what it made, when the array or a record cannot be made.
template <class CRecord, class RecordAt>
CRecord* BuildCArray(uint32_t& count, RecordAt&& recordAt)
{
    if (count == 0) {
        return nullptr;
    }
    auto* array = static_cast<CRecord*>(std::calloc(count, sizeof(CRecord)));
    if (array == nullptr) {
        count = 0;
        throw std::bad_alloc();
    }
    try {
        for (uint32_t i = 0; i < count; ++i) {
            array[i] = ToC(recordAt(i));
        }
    } catch (...) {
        FreeCArray(array, count);
        count = 0;
        throw;
    }
    return array;
}

// Calls fn(const CRecord* records, unsigned count) with the array that
// BuildCArray makes, and frees it when fn returns.
template <class CRecord, class RecordAt, class Fn>
void DeliverCArray(uint32_t count, RecordAt&& recordAt, Fn&& fn)
{
    CRecord* array = BuildCArray<CRecord>(count, recordAt);
    detail::Finally release{[&]() noexcept { FreeCArray(array, count); }};
    fn(static_cast<const CRecord*>(array), count);
}

// Calls fn(Public* objects, unsigned count) with count public objects,
// default-constructed in one array of exactly count objects (null for none;
// std::bad_alloc when it cannot be allocated), object i filled from
// recordAt(i); destroys them when fn returns.
template <class Public, class RecordAt, class Fn>
void DeliverObjectArray(uint32_t count, RecordAt&& recordAt, Fn&& fn)
{
    Public* array = nullptr;
    if (count != 0) {
        array = new Public[count];
    }
    detail::Finally release{[&]() noexcept { delete[] array; }};
    for (uint32_t i = 0; i < count; ++i) {
        Fill(array[i], recordAt(i));
    }
    fn(array, count);
}

// One C record per item, each read by read (ReadProduct, ...); each item's
// intermediate record lives only while its C record is built.
template <class Reader, class Fn>
void DeliverCRecords(const ItemSource& items, Reader read, Fn&& fn)
{
    using Item = typename detail::ReaderTraits<Reader>::ItemType;
    using CRecord = decltype(ToC(read(nullptr)));
    DeliverCArray<CRecord>(
        items.Count(), [&](uint32_t i) { return read(static_cast<const Item*>(items.At(i))); },
        std::forward<Fn>(fn));
}

// One public object per item, each read by read.
template <class Public, class Reader, class Fn>
void DeliverObjects(const ItemSource& items, Reader read, Fn&& fn)
{
    using Item = typename detail::ReaderTraits<Reader>::ItemType;
    DeliverObjectArray<Public>(
        items.Count(), [&](uint32_t i) { return read(static_cast<const Item*>(items.At(i))); },
        std::forward<Fn>(fn));
}

// The same for lists already read into intermediate records (the
// purchase-confirmation lists).
template <class Record, class Fn>
void DeliverCRecords(const std::vector<Record>& records, Fn&& fn)
{
    using CRecord = decltype(ToC(std::declval<const Record&>()));
    DeliverCArray<CRecord>(
        static_cast<uint32_t>(records.size()), [&](uint32_t i) -> const Record& { return records[i]; },
        std::forward<Fn>(fn));
}

template <class Public, class Record, class Fn>
void DeliverObjects(const std::vector<Record>& records, Fn&& fn)
{
    DeliverObjectArray<Public>(
        static_cast<uint32_t>(records.size()), [&](uint32_t i) -> const Record& { return records[i]; },
        std::forward<Fn>(fn));
}

}  // namespace vendra
