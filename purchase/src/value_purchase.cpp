// The purchase classes: the start-purchase request with its order products,
// the purchased product, the charge info and the purchase result.
#include "access.hpp"
#include <new>

namespace Tessel::PCSDK::IAP {
namespace {

template <class E>
fields::List<E> CopyList(const E* items, unsigned int count) noexcept
{
    return fields::MakeList<E>(items != nullptr ? count : 0u,
                               [&](E* slot, unsigned int i) { new (slot) E(items[i]); });
}

template <class E, class Record>
fields::List<E> ListFromRecords(const std::vector<Record>& records) noexcept
{
    return fields::MakeList<E>(static_cast<unsigned int>(records.size()),
                               [&](E* slot, unsigned int i) { new (slot) E(&records[i]); });
}

// New purchased-product and charge-info slots: null texts, zero numbers.
template <class E>
fields::List<E> BlankList(unsigned int count) noexcept
{
    return fields::MakeList<E>(count, [](E* slot, unsigned int) {
        new (slot) E();
        fields::FreeTexts(*slot);
    });
}

template <class E>
const E* ElementAt(const E* items, unsigned int count, unsigned int index) noexcept
{
    return items != nullptr && index < count ? &items[index] : nullptr;
}

}  // namespace

// --- TesselPCStartPurchaseParam ---------------------------------------------------

TesselPCStartPurchaseParam::TesselPCStartPurchaseParam()
    : orderProducts_(nullptr), orderProductCount_(0), purchaseOption_(),
      serviceTxnNo_(fields::Duplicate(L"")), extraData_(fields::Duplicate(L""))
{
}

TesselPCStartPurchaseParam::TesselPCStartPurchaseParam(const TesselPCStartPurchaseParam& other)
    : orderProducts_(nullptr), orderProductCount_(0), purchaseOption_(), serviceTxnNo_(nullptr),
      extraData_(nullptr)
{
    DeepCopy(other);
}

TesselPCStartPurchaseParam::TesselPCStartPurchaseParam(const TesselPCStartPurchaseParamCpp* record)
    : TesselPCStartPurchaseParam()
{
    DeepCopy(record);
}

TesselPCStartPurchaseParam::~TesselPCStartPurchaseParam()
{
    fields::FreeList(*this, &TesselPCStartPurchaseParam::orderProducts_,
                     &TesselPCStartPurchaseParam::orderProductCount_);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::serviceTxnNo_, nullptr);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::extraData_, nullptr);
}

TesselPCStartPurchaseParam& TesselPCStartPurchaseParam::operator=(const TesselPCStartPurchaseParam& other)
{
    DeepCopy(other);
    return *this;
}

TesselPCStartPurchaseParam& TesselPCStartPurchaseParam::operator=(const TesselPCStartPurchaseParamCpp* record)
{
    DeepCopy(record);
    return *this;
}

void TesselPCStartPurchaseParam::DeepCopy(const TesselPCStartPurchaseParam& other)
{
    auto products = CopyList(other.orderProducts_, other.orderProductCount_);
    wchar_t* serviceTxnNo = fields::Duplicate(other.serviceTxnNo_);
    wchar_t* extraData = fields::Duplicate(other.extraData_);
    purchaseOption_ = other.purchaseOption_;
    fields::ReplaceList(*this, &TesselPCStartPurchaseParam::orderProducts_,
                        &TesselPCStartPurchaseParam::orderProductCount_, products);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::serviceTxnNo_, serviceTxnNo);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::extraData_, extraData);
}

void TesselPCStartPurchaseParam::DeepCopy(const TesselPCStartPurchaseParamCpp* record)
{
    if (record == nullptr) {
        return;
    }
    auto products = ListFromRecords<TesselPCOrderProduct>(record->orderProducts);
    wchar_t* serviceTxnNo = fields::Duplicate(record->serviceTxnNo.c_str());
    wchar_t* extraData = fields::Duplicate(record->extraData.c_str());
    purchaseOption_ = &record->purchaseOption;
    fields::ReplaceList(*this, &TesselPCStartPurchaseParam::orderProducts_,
                        &TesselPCStartPurchaseParam::orderProductCount_, products);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::serviceTxnNo_, serviceTxnNo);
    fields::ReplaceText(*this, &TesselPCStartPurchaseParam::extraData_, extraData);
}

void TesselPCStartPurchaseParam::CreateOrderProduct(unsigned int count)
{
    fields::FreeList(*this, &TesselPCStartPurchaseParam::orderProducts_,
                     &TesselPCStartPurchaseParam::orderProductCount_);
    auto products = fields::MakeList<TesselPCOrderProduct>(
        count, [](TesselPCOrderProduct* slot, unsigned int) { new (slot) TesselPCOrderProduct(); });
    fields::ReplaceList(*this, &TesselPCStartPurchaseParam::orderProducts_,
                        &TesselPCStartPurchaseParam::orderProductCount_, products);
}

const TesselPCOrderProduct* TesselPCStartPurchaseParam::GetOrderProduct(int index) const
{
    return index >= 0 ? ElementAt(orderProducts_, orderProductCount_, static_cast<unsigned int>(index))
                      : nullptr;
}

void TesselPCStartPurchaseParam::SetOrderProduct(int index, const TesselPCOrderProduct* product)
{
    const TesselPCOrderProduct* slot = GetOrderProduct(index);
    if (slot != nullptr && product != nullptr) {
        orderProducts_[index] = *product;
    }
}

unsigned int TesselPCStartPurchaseParam::GetOrderProductCount() const { return orderProductCount_; }

TesselPCPurchaseOption TesselPCStartPurchaseParam::GetPurchaseOption() { return purchaseOption_; }

void TesselPCStartPurchaseParam::SetPurchaseOption(TesselPCPurchaseOption option) { purchaseOption_ = option; }

const wchar_t* TesselPCStartPurchaseParam::GetServiceTxnNo() const { return serviceTxnNo_; }
void TesselPCStartPurchaseParam::SetServiceTxnNo(const wchar_t* serviceTxnNo)
{
    fields::StoreText(*this, &TesselPCStartPurchaseParam::serviceTxnNo_, serviceTxnNo);
}
const wchar_t* TesselPCStartPurchaseParam::GetExtraData() const { return extraData_; }
void TesselPCStartPurchaseParam::SetExtraData(const wchar_t* extraData)
{
    fields::StoreText(*this, &TesselPCStartPurchaseParam::extraData_, extraData);
}

// --- TesselPCPurchasedProduct -------------------------------------------------------

TesselPCPurchasedProduct::TesselPCPurchasedProduct()
    : transactionDetailNumber_(0), productId_(0), totalQuantity_(0), memberQuantity_(0), guidQuantity_(0)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCPurchasedProduct)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCPurchasedProduct, field, Getter)
VENDRA_PURCHASED_PRODUCT_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

void TesselPCPurchasedProduct::SetTransactionDetailNumber(long long transactionDetailNumber)
{
    transactionDetailNumber_ = transactionDetailNumber;
}
void TesselPCPurchasedProduct::SetProductId(long long productId) { productId_ = productId; }
void TesselPCPurchasedProduct::SetCategoryId(const wchar_t* categoryId)
{
    fields::StoreText(*this, &TesselPCPurchasedProduct::categoryId_, categoryId);
}
void TesselPCPurchasedProduct::SetTotalQuantity(int totalQuantity) { totalQuantity_ = totalQuantity; }
void TesselPCPurchasedProduct::SetMemberQuantity(int memberQuantity) { memberQuantity_ = memberQuantity; }
void TesselPCPurchasedProduct::SetGuidQuantity(int guidQuantity) { guidQuantity_ = guidQuantity; }

// --- TesselPCChargeInfo ------------------------------------------------------------------

TesselPCChargeInfo::TesselPCChargeInfo() : chargeDeductVal_(0), chargeDisplayDeductVal_(0), chargeType_(0)
{
    fields::EmptyTexts(*this);
}

VENDRA_OWNING_MEMBERS(TesselPCChargeInfo)

#define VENDRA_GETTER(KIND, field, Getter) VENDRA_GETTER_##KIND(TesselPCChargeInfo, field, Getter)
VENDRA_CHARGE_INFO_FIELDS(VENDRA_GETTER)
#undef VENDRA_GETTER

void TesselPCChargeInfo::SetChargeDeductVal(double chargeDeductVal) { chargeDeductVal_ = chargeDeductVal; }
void TesselPCChargeInfo::SetChargeDisplayDeductVal(double chargeDisplayDeductVal)
{
    chargeDisplayDeductVal_ = chargeDisplayDeductVal;
}
void TesselPCChargeInfo::SetChargeType(int chargeType) { chargeType_ = chargeType; }
void TesselPCChargeInfo::SetChargeTypeName(const wchar_t* chargeTypeName)
{
    fields::StoreText(*this, &TesselPCChargeInfo::chargeTypeName_, chargeTypeName);
}

// --- TesselPCPurchaseResult ---------------------------------------------------------------

TesselPCPurchaseResult::TesselPCPurchaseResult()
    : transactionMasterNumber_(0), transactionDetailNumbers_(nullptr), transactionDetailNumberCount_(0),
      oneTimePaymentUrl_(fields::Duplicate(L"")), purchaseProgress_(PurchaseProgress::NEED_PAYMENT_WINDOW),
      isPurchased_(false), extraData_(fields::Duplicate(L"")), purchasedProducts_(nullptr),
      purchasedProductCount_(0), chargeInfos_(nullptr), chargeInfoCount_(0)
{
}

TesselPCPurchaseResult::TesselPCPurchaseResult(const TesselPCPurchaseResult& other)
    : transactionMasterNumber_(0), transactionDetailNumbers_(nullptr), transactionDetailNumberCount_(0),
      oneTimePaymentUrl_(nullptr), purchaseProgress_(PurchaseProgress::NEED_PAYMENT_WINDOW),
      isPurchased_(false), extraData_(nullptr), purchasedProducts_(nullptr), purchasedProductCount_(0),
      chargeInfos_(nullptr), chargeInfoCount_(0)
{
    DeepCopy(other);
}

TesselPCPurchaseResult::TesselPCPurchaseResult(const TesselPCPurchaseResultCpp* record)
    : TesselPCPurchaseResult()
{
    DeepCopy(record);
}

TesselPCPurchaseResult::~TesselPCPurchaseResult()
{
    fields::FreeList(*this, &TesselPCPurchaseResult::transactionDetailNumbers_,
                     &TesselPCPurchaseResult::transactionDetailNumberCount_);
    fields::ReplaceText(*this, &TesselPCPurchaseResult::oneTimePaymentUrl_, nullptr);
    fields::ReplaceText(*this, &TesselPCPurchaseResult::extraData_, nullptr);
    fields::FreeList(*this, &TesselPCPurchaseResult::purchasedProducts_,
                     &TesselPCPurchaseResult::purchasedProductCount_);
    fields::FreeList(*this, &TesselPCPurchaseResult::chargeInfos_, &TesselPCPurchaseResult::chargeInfoCount_);
}

TesselPCPurchaseResult& TesselPCPurchaseResult::operator=(const TesselPCPurchaseResult& other)
{
    DeepCopy(other);
    return *this;
}

TesselPCPurchaseResult& TesselPCPurchaseResult::operator=(const TesselPCPurchaseResultCpp* record)
{
    DeepCopy(record);
    return *this;
}

namespace {

// The new contents of a purchase result, all made before the old ones are
// released.
struct PurchaseResultParts {
    long long transactionMasterNumber;
    PurchaseProgress purchaseProgress;
    bool isPurchased;
    fields::List<long long> numbers;
    wchar_t* url;
    wchar_t* extraData;
    fields::List<TesselPCPurchasedProduct> products;
    fields::List<TesselPCChargeInfo> infos;
};

}  // namespace

template <class Parts>
void VendraAccess::Replace(TesselPCPurchaseResult& result, const Parts& parts) noexcept
{
    using R = TesselPCPurchaseResult;
    result.transactionMasterNumber_ = parts.transactionMasterNumber;
    result.purchaseProgress_ = parts.purchaseProgress;
    result.isPurchased_ = parts.isPurchased;
    fields::ReplaceList(result, &R::transactionDetailNumbers_, &R::transactionDetailNumberCount_, parts.numbers);
    fields::ReplaceText(result, &R::oneTimePaymentUrl_, parts.url);
    fields::ReplaceText(result, &R::extraData_, parts.extraData);
    fields::ReplaceList(result, &R::purchasedProducts_, &R::purchasedProductCount_, parts.products);
    fields::ReplaceList(result, &R::chargeInfos_, &R::chargeInfoCount_, parts.infos);
}

void TesselPCPurchaseResult::DeepCopy(const TesselPCPurchaseResult& other)
{
    VendraAccess::Replace(*this, PurchaseResultParts{
                                     other.transactionMasterNumber_,
                                     other.purchaseProgress_,
                                     other.isPurchased_,
                                     CopyList(other.transactionDetailNumbers_, other.transactionDetailNumberCount_),
                                     fields::Duplicate(other.oneTimePaymentUrl_),
                                     fields::Duplicate(other.extraData_),
                                     CopyList(other.purchasedProducts_, other.purchasedProductCount_),
                                     CopyList(other.chargeInfos_, other.chargeInfoCount_),
                                 });
}

void TesselPCPurchaseResult::DeepCopy(const TesselPCPurchaseResultCpp* record)
{
    if (record == nullptr) {
        return;
    }
    const auto& detailNumbers = record->transactionDetailNumbers;
    VendraAccess::Replace(*this, PurchaseResultParts{
                                     record->transactionMasterNumber,
                                     record->purchaseProgress,
                                     record->isPurchased,
                                     CopyList(detailNumbers.data(), static_cast<unsigned int>(detailNumbers.size())),
                                     fields::Duplicate(record->oneTimePaymentUrl.c_str()),
                                     fields::Duplicate(record->extraData.c_str()),
                                     ListFromRecords<TesselPCPurchasedProduct>(record->purchasedProducts),
                                     ListFromRecords<TesselPCChargeInfo>(record->chargeInfos),
                                 });
}

TesselPCPurchaseResult VendraAccess::MakeWhole(const TesselPCPurchaseResultCpp& record)
{
    TesselPCPurchaseResult made(&record);
    bool whole = made.oneTimePaymentUrl_ != nullptr && made.extraData_ != nullptr &&
                 made.transactionDetailNumberCount_ == record.transactionDetailNumbers.size() &&
                 made.purchasedProductCount_ == record.purchasedProducts.size() &&
                 made.chargeInfoCount_ == record.chargeInfos.size();
    for (unsigned int i = 0; whole && i < made.purchasedProductCount_; ++i) {
        whole = fields::HasEveryText(made.purchasedProducts_[i]);
    }
    for (unsigned int i = 0; whole && i < made.chargeInfoCount_; ++i) {
        whole = fields::HasEveryText(made.chargeInfos_[i]);
    }
    if (!whole) {
        throw std::bad_alloc();
    }
    return made;
}

long long TesselPCPurchaseResult::GetTransactionMasterNumber() const { return transactionMasterNumber_; }

void TesselPCPurchaseResult::CreateTransactionDetailNumberList(unsigned int count)
{
    fields::FreeList(*this, &TesselPCPurchaseResult::transactionDetailNumbers_,
                     &TesselPCPurchaseResult::transactionDetailNumberCount_);
    auto numbers = fields::MakeList<long long>(count, [](long long* slot, unsigned int) { *slot = 0; });
    fields::ReplaceList(*this, &TesselPCPurchaseResult::transactionDetailNumbers_,
                        &TesselPCPurchaseResult::transactionDetailNumberCount_, numbers);
}

long long TesselPCPurchaseResult::GetTransactionDetailNumbers(unsigned int index) const
{
    const long long* number = ElementAt(transactionDetailNumbers_, transactionDetailNumberCount_, index);
    return number != nullptr ? *number : 0;
}

void TesselPCPurchaseResult::SetTransactionDetailNumber(unsigned int index, long long number)
{
    if (ElementAt(transactionDetailNumbers_, transactionDetailNumberCount_, index) != nullptr) {
        transactionDetailNumbers_[index] = number;
    }
}

unsigned int TesselPCPurchaseResult::GetTransactionDetailNumberCount() const
{
    return transactionDetailNumberCount_;
}

const wchar_t* TesselPCPurchaseResult::GetOneTimePaymentUrl() const { return oneTimePaymentUrl_; }
PurchaseProgress TesselPCPurchaseResult::GetPurchaseProgress() { return purchaseProgress_; }
bool TesselPCPurchaseResult::IsPurchased() const { return isPurchased_; }
const wchar_t* TesselPCPurchaseResult::GetExtraData() const { return extraData_; }

void TesselPCPurchaseResult::CreatePurchasedProductList(unsigned int count)
{
    fields::FreeList(*this, &TesselPCPurchaseResult::purchasedProducts_,
                     &TesselPCPurchaseResult::purchasedProductCount_);
    fields::ReplaceList(*this, &TesselPCPurchaseResult::purchasedProducts_,
                        &TesselPCPurchaseResult::purchasedProductCount_, BlankList<TesselPCPurchasedProduct>(count));
}

const TesselPCPurchasedProduct* TesselPCPurchaseResult::GetPurchasedProduct(unsigned int index) const
{
    return ElementAt(purchasedProducts_, purchasedProductCount_, index);
}

void TesselPCPurchaseResult::SetPurchasedProduct(unsigned int index, const TesselPCPurchasedProduct* product)
{
    if (GetPurchasedProduct(index) != nullptr && product != nullptr) {
        purchasedProducts_[index] = *product;
    }
}

unsigned int TesselPCPurchaseResult::GetPurchasedProductCount() const { return purchasedProductCount_; }

void TesselPCPurchaseResult::CreateChargeInfoList(unsigned int count)
{
    fields::FreeList(*this, &TesselPCPurchaseResult::chargeInfos_, &TesselPCPurchaseResult::chargeInfoCount_);
    fields::ReplaceList(*this, &TesselPCPurchaseResult::chargeInfos_, &TesselPCPurchaseResult::chargeInfoCount_,
                        BlankList<TesselPCChargeInfo>(count));
}

const TesselPCChargeInfo* TesselPCPurchaseResult::GetChargeInfo(unsigned int index) const
{
    return ElementAt(chargeInfos_, chargeInfoCount_, index);
}

void TesselPCPurchaseResult::SetChargeInfo(unsigned int index, const TesselPCChargeInfo* info)
{
    if (GetChargeInfo(index) != nullptr && info != nullptr) {
        chargeInfos_[index] = *info;
    }
}

unsigned int TesselPCPurchaseResult::GetChargeInfoCount() const { return chargeInfoCount_; }

}  // namespace Tessel::PCSDK::IAP
