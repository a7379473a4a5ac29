#include "VendraTestSupport.hpp"

namespace vendra_test {

std::vector<Event> g_events;
int g_context = 0;
int g_destroyContext = 0;

namespace {

using Tessel::PCSDK::CallbackResult;

// An array handed to a callback is null exactly when it is empty.
template <class T>
void CheckArray(const T* array, unsigned count)
{
    EXPECT_EQ(array == nullptr, count == 0) << "array " << static_cast<const void*>(array) << ", count " << count;
}

void CheckReserved(long long reserved)
{
    EXPECT_EQ(reserved, 0) << "reserved field of a produced C record";
}

Event& Add(std::string what, Outcome outcome)
{
    Event event;
    event.what = std::move(what);
    event.outcome = std::move(outcome);
    g_events.push_back(std::move(event));
    return g_events.back();
}

template <class Item, class Flatten>
void AddList(std::string what, Outcome outcome, const Item* items, unsigned count, Flatten flatten)
{
    CheckArray(items, count);
    Event& event = Add(std::move(what), std::move(outcome));
    event.arrayWasNull = items == nullptr;
    event.count = count;
    for (unsigned i = 0; items != nullptr && i < count; ++i) {
        flatten(event, items[i]);
    }
}

void Texts(Event& event, std::initializer_list<const wchar_t*> texts)
{
    for (const wchar_t* text : texts) {
        event.texts.push_back(CopyText(text));
    }
}

void Numbers(Event& event, std::initializer_list<long long> numbers)
{
    event.numbers.insert(event.numbers.end(), numbers);
}

template <class P>
void FlattenProduct(Event& event, const P& p)
{
    Texts(event, {p.gameItemId, p.name, p.description, p.categoryId, p.categoryName, p.currencyCode,
                  p.displayPriceString, p.displaySalePriceString, p.thumbnailUrl});
    Numbers(event, {p.productId, p.quantity, p.productTypeCode, static_cast<long long>(p.salePrice * 100),
                    p.isDiscount, p.discountType, p.canWithdraw, p.purchasedAtLeastOnce, p.purchaseLimitTypeCode,
                    p.saleEndDate});
}

template <class P>
void FlattenPublicProduct(Event& event, const P& p)
{
    Texts(event, {p.GetGameItemId(), p.GetName(), p.GetDescription(), p.GetCategoryId(), p.GetCategoryName(),
                  p.GetCurrencyCode(), p.GetDisplayPriceString(), p.GetDisplaySalePriceString(), p.GetThumbnailUrl()});
    P& m = const_cast<P&>(p);  // the enumeration getters are not const
    Numbers(event, {p.GetProductId(), p.GetQuantity(), static_cast<long long>(m.GetProductTypeCode()),
                    static_cast<long long>(p.GetSalePrice() * 100), p.IsDiscount(),
                    static_cast<long long>(m.GetDiscountType()), p.CanWithdraw(), p.GetPurchasedAtLeastOnce(),
                    static_cast<long long>(m.GetPurchaseLimitTypeCode()), p.GetSaleEndDate()});
}

void FlattenPurchased(Event& event, const TesselPurchasedProduct& p)
{
    CheckReserved(p.reserved);
    Texts(event, {p.categoryId});
    Numbers(event, {p.transactionDetailNumber, p.productId, p.totalQuantity, p.memberQuantity, p.guidQuantity});
}

void FlattenPurchased(Event& event, const IAP::TesselPCPurchasedProduct& p)
{
    Texts(event, {p.GetCategoryId()});
    Numbers(event, {p.GetTransactionDetailNumber(), p.GetProductId(), p.GetTotalQuantity(), p.GetMemberQuantity(),
                    p.GetGuidQuantity()});
}

void FlattenCharge(Event& event, const TesselChargeInfo& c)
{
    CheckReserved(c.reserved);
    Texts(event, {c.chargeTypeName});
    Numbers(event, {static_cast<long long>(c.chargeDeductVal * 100), static_cast<long long>(c.chargeDisplayDeductVal * 100),
                    c.chargeType});
}

void FlattenCharge(Event& event, const IAP::TesselPCChargeInfo& c)
{
    Texts(event, {c.GetChargeTypeName()});
    Numbers(event, {static_cast<long long>(c.GetChargeDeductVal() * 100),
                    static_cast<long long>(c.GetChargeDisplayDeductVal() * 100), c.GetChargeType()});
}

}  // namespace

// --- C ---------------------------------------------------------------------------

void CCategories(const TesselAPICallbackResult* r, const TesselShopCategory* items, unsigned count)
{
    AddList("categories", OutcomeOf(r), items, count, [](Event& e, const TesselShopCategory& c) {
        CheckReserved(c.reserved);
        Texts(e, {c.categoryId, c.parentCategoryId, c.name});
        Numbers(e, {c.displayNumber, c.depth});
    });
}

void CProducts(const TesselAPICallbackResult* r, const TesselProduct* items, unsigned count)
{
    AddList("products", OutcomeOf(r), items, count, [](Event& e, const TesselProduct& p) {
        CheckReserved(p.reserved);
        FlattenProduct(e, p);
    });
}

void CProductsEx(const TesselAPICallbackResult* r, const TesselProductEx* items, unsigned count)
{
    AddList("productsEx", OutcomeOf(r), items, count, [](Event& e, const TesselProductEx& p) {
        CheckReserved(p.reserved);
        FlattenProduct(e, p);
        Numbers(e, {p.purchaseAvailabilityCode});
    });
}

void CPurchase(const TesselAPICallbackResult* r, const TesselPurchaseResult* p)
{
    Event& e = Add("purchase", OutcomeOf(r));
    ASSERT_NE(p, nullptr);
    CheckReserved(p->reserved);
    CheckArray(p->transactionDetailNumbers, p->transactionDetailNumberCount);
    CheckArray(p->purchasedProducts, p->purchasedProductCount);
    CheckArray(p->chargeInfos, p->chargeInfoCount);
    Texts(e, {p->oneTimePaymentUrl, p->extraData});
    Numbers(e, {p->transactionMasterNumber, p->purchaseProgress, p->isPurchased, p->transactionDetailNumberCount,
                p->purchasedProductCount, p->chargeInfoCount});
    for (unsigned i = 0; i < p->transactionDetailNumberCount; ++i) {
        Numbers(e, {p->transactionDetailNumbers[i]});
    }
    for (unsigned i = 0; i < p->purchasedProductCount; ++i) {
        FlattenPurchased(e, p->purchasedProducts[i]);
    }
    for (unsigned i = 0; i < p->chargeInfoCount; ++i) {
        FlattenCharge(e, p->chargeInfos[i]);
    }
}

void CConfirm(const TesselAPICallbackResult* r, bool ok, const TesselPurchasedProduct* products, unsigned np,
              const TesselChargeInfo* charges, unsigned nc)
{
    CheckArray(products, np);
    CheckArray(charges, nc);
    Event& e = Add("confirm", OutcomeOf(r));
    e.flag = ok;
    Numbers(e, {np, nc});
    for (unsigned i = 0; products != nullptr && i < np; ++i) {
        FlattenPurchased(e, products[i]);
    }
    for (unsigned i = 0; charges != nullptr && i < nc; ++i) {
        FlattenCharge(e, charges[i]);
    }
}

void CPayment(const TesselAPICallbackResult* r, const wchar_t* text)
{
    Texts(Add("payment", OutcomeOf(r)), {text});
}

void CInventory(const TesselAPICallbackResult* r, const TesselInventoryItem* items, unsigned count)
{
    AddList("inventory", OutcomeOf(r), items, count, [](Event& e, const TesselInventoryItem& i) {
        CheckReserved(i.reserved);
        Texts(e, {i.gameItemId, i.productName, i.thumbnailUrl});
        Numbers(e, {i.transactionMasterNumber, i.transactionDetailNumber, i.productId, i.quantity});
    });
}

void CTerms(const TesselAPICallbackResult* r, bool agreed, const wchar_t* text)
{
    Event& e = Add("terms", OutcomeOf(r));
    e.flag = agreed;
    Texts(e, {text});
}

void CVoided(const TesselAPICallbackResult* r, const TesselVoidedPurchase* items, unsigned count)
{
    AddList("voided", OutcomeOf(r), items, count, [](Event& e, const TesselVoidedPurchase& v) {
        CheckReserved(v.reserved);
        Texts(e, {v.marketCode, v.productId, v.marketProductId, v.userId});
        Numbers(e, {v.tid, v.characterNo, v.purchaseMillis, v.voidedMillis});
    });
}

void CWithdraw(TesselAPICallbackResult* r, bool withdrawn) { Add("withdraw", OutcomeOf(r)).flag = withdrawn; }

void COnDestroy(TesselAPICallbackResult* r) { Add("onDestroy", OutcomeOf(r)); }

// --- C++ -------------------------------------------------------------------------

void CppCategories(CallbackResult r, IAP::TesselPCShopCategory* items, unsigned count)
{
    AddList("categories", OutcomeOf(r), items, count, [](Event& e, const IAP::TesselPCShopCategory& c) {
        Texts(e, {c.GetCategoryId(), c.GetParentCategoryId(), c.GetName()});
        Numbers(e, {c.GetDisplayNumber(), c.GetDepth()});
    });
}

void CppProducts(CallbackResult r, IAP::TesselPCProduct* items, unsigned count)
{
    AddList("products", OutcomeOf(r), items, count,
            [](Event& e, const IAP::TesselPCProduct& p) { FlattenPublicProduct(e, p); });
}

void CppProductsEx(CallbackResult r, IAP::TesselPCProductEx* items, unsigned count)
{
    AddList("productsEx", OutcomeOf(r), items, count, [](Event& e, const IAP::TesselPCProductEx& p) {
        FlattenPublicProduct(e, p);
        Numbers(e, {p.GetPurchaseAvailabilityCode()});
    });
}

void CppPurchase(CallbackResult r, IAP::TesselPCPurchaseResult p)
{
    Event& e = Add("purchase", OutcomeOf(r));
    Texts(e, {p.GetOneTimePaymentUrl(), p.GetExtraData()});
    Numbers(e, {p.GetTransactionMasterNumber(), static_cast<long long>(p.GetPurchaseProgress()), p.IsPurchased(),
                p.GetTransactionDetailNumberCount(), p.GetPurchasedProductCount(), p.GetChargeInfoCount()});
    for (unsigned i = 0; i < p.GetTransactionDetailNumberCount(); ++i) {
        Numbers(e, {p.GetTransactionDetailNumbers(i)});
    }
    for (unsigned i = 0; i < p.GetPurchasedProductCount(); ++i) {
        FlattenPurchased(e, *p.GetPurchasedProduct(i));
    }
    for (unsigned i = 0; i < p.GetChargeInfoCount(); ++i) {
        FlattenCharge(e, *p.GetChargeInfo(i));
    }
}

void CppConfirm(CallbackResult r, bool ok, IAP::TesselPCPurchasedProduct* products, unsigned np,
                IAP::TesselPCChargeInfo* charges, unsigned nc)
{
    CheckArray(products, np);
    CheckArray(charges, nc);
    Event& e = Add("confirm", OutcomeOf(r));
    e.flag = ok;
    Numbers(e, {np, nc});
    for (unsigned i = 0; products != nullptr && i < np; ++i) {
        FlattenPurchased(e, products[i]);
    }
    for (unsigned i = 0; charges != nullptr && i < nc; ++i) {
        FlattenCharge(e, charges[i]);
    }
}

void CppPayment(CallbackResult r, const wchar_t* text) { Texts(Add("payment", OutcomeOf(r)), {text}); }

void CppInventory(CallbackResult r, IAP::TesselPCInventoryItem* items, unsigned count)
{
    AddList("inventory", OutcomeOf(r), items, count, [](Event& e, const IAP::TesselPCInventoryItem& i) {
        Texts(e, {i.GetGameItemId(), i.GetProductName(), i.GetThumbnailUrl()});
        Numbers(e, {i.GetTransactionMasterNumber(), i.GetTransactionDetailNumber(), i.GetProductId(), i.GetQuantity()});
    });
}

void CppTerms(CallbackResult r, bool agreed, const wchar_t* text)
{
    Event& e = Add("terms", OutcomeOf(r));
    e.flag = agreed;
    Texts(e, {text});
}

void CppVoided(CallbackResult r, IAP::TesselPCVoidedPurchase* items, unsigned count)
{
    AddList("voided", OutcomeOf(r), items, count, [](Event& e, const IAP::TesselPCVoidedPurchase& v) {
        Texts(e, {v.GetMarketCode(), v.GetProductId(), v.GetMarketProductId(), v.GetUserId()});
        Numbers(e, {v.GetTid(), v.GetCharacterNo(), v.GetPurchaseMillis(), v.GetVoidedMillis()});
    });
}

void CppWithdraw(CallbackResult r, bool withdrawn) { Add("withdraw", OutcomeOf(r)).flag = withdrawn; }

void CppOnDestroy(CallbackResult r) { Add("onDestroy", OutcomeOf(r)); }

std::vector<std::string> EventNames()
{
    std::vector<std::string> names;
    for (const Event& event : g_events) {
        names.push_back(event.what);
    }
    return names;
}

// --- Fixture -----------------------------------------------------------------------

void VendraTest::SetUp()
{
    ScriptedTest::SetUp();
    g_events.clear();
    finished_.clear();
    destroyed_.clear();
    Sandbox::Script::SetBaseInitialized(true);
}

void VendraTest::TearDown()
{
    Sandbox::Script::SetDiscarding(true);
    const std::vector<Sandbox::RequestRecord> requests = Sandbox::Script::Requests();
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const Sandbox::RequestRecord& request = requests[i];
        const bool payment = request.function == "Tessel_Internal_IAP_StartPayment";
        if (finished_.count(i) == 0 && request.trampoline != nullptr) {
            Sandbox::PurchaseResultData purchase;
            purchase.popupCreated = false;
            Sandbox::TermsData terms;
            terms.popupCreated = false;
            Sandbox::WithdrawData withdraw;
            withdraw.popupCreated = false;
            Base::IObject* data = request.function == "Tessel_StartPurchase"        ? static_cast<Base::IObject*>(&purchase)
                                  : request.function == "Tessel_FetchTermsAgreement" ? static_cast<Base::IObject*>(&terms)
                                  : request.function == "Tessel_WithdrawGame"        ? static_cast<Base::IObject*>(&withdraw)
                                                                                     : nullptr;
            if (payment) {
                FinishText(i, nullptr);
            } else if (request.function == "Tessel_Internal_IAP_FetchProductsEx" ||
                       request.function == "Tessel_Internal_IAP_FetchVoidedPurchases") {
                FinishArray(i, nullptr, 0);
            } else {
                Finish(i, data);
            }
        }
        if (payment && destroyed_.count(i) == 0 && request.secondTrampoline != nullptr) {
            Destroy(i);
        }
    }
    Sandbox::Script::SetDiscarding(false);
    Sandbox::Script::SetResult(Sandbox::Call::IAPUnInitialize, Sandbox::ScriptedResult{0, 0});
    TesselAPI_IAPUnInitialize();
    Pump();  // queued not-initialized jobs hold pins only, but run them anyway
    ScriptedTest::TearDown();
}

void VendraTest::Initialize()
{
    Sandbox::Script::SetResult(Sandbox::Call::IAPInitialize, Sandbox::ScriptedResult{0, 0});
    ASSERT_EQ(TesselAPI_IAPInitialize(L"store").resultCode, 0u);
}

const Sandbox::RequestRecord& VendraTest::Request(std::size_t index)
{
    const auto& requests = Sandbox::Script::Requests();
    if (index >= requests.size()) {
        ADD_FAILURE() << "no request " << index;
        static const Sandbox::RequestRecord none;
        return none;
    }
    return requests[index];
}

void VendraTest::Finish(std::size_t index, Base::IObject* data, uint32_t resultCode)
{
    const Sandbox::RequestRecord request = Request(index);
    finished_.insert(index);
    Sandbox::CallbackResultObject result(request.context, 0, resultCode);
    request.As<Base::Trampoline>()(&result, data);
}

void VendraTest::FinishArray(std::size_t index, Base::IObject* const* items, uint32_t count)
{
    const Sandbox::RequestRecord request = Request(index);
    finished_.insert(index);
    Sandbox::CallbackResultObject result(request.context, 0, 0);
    request.As<Base::ArrayTrampoline>()(&result, items, count);
}

void VendraTest::FinishText(std::size_t index, const wchar_t* text, uint32_t resultCode)
{
    const Sandbox::RequestRecord request = Request(index);
    finished_.insert(index);
    Sandbox::CallbackResultObject result(request.context, 0, resultCode);
    request.As<Base::TextTrampoline>()(&result, text);
}

void VendraTest::Destroy(std::size_t index, uint32_t resultCode)
{
    const Sandbox::RequestRecord request = Request(index);
    destroyed_.insert(index);
    Sandbox::CallbackResultObject result(request.secondContext, 0, resultCode);
    request.SecondAs<Base::Trampoline>()(&result, nullptr);
}

}  // namespace vendra_test
