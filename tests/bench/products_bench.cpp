// A page of products completed: the platform hands the trampoline a list
// (plain products) or an item array (extended products); the module reads
// each item into its intermediate record and builds the C records or the
// public objects for the game's callback. Baselines, written by hand for
// the same output:
//   rec     C: one zero-filled array, each item read into an intermediate
//           record (text getters asked twice, as required), one duplicate
//           per text;
//   direct  C: the same without the intermediate record, each getter once;
//   least   C++: the least the public classes allow: one array of
//           default-constructed objects, each assigned from an intermediate
//           record.
// And the request side: the page parameter built and handed to the platform.
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "Baselines.hpp"
#include "VendraBench.hpp"

namespace {

using namespace tessel::bench;

constexpr uint32_t kOperation = TESSEL_VENDRA_OP_FETCH_PRODUCTS;

// --- The page ----------------------------------------------------------------------

// A product as a shop sends it: ids, a name, a two-sentence description,
// price texts and a thumbnail address.
Sandbox::ProductFields ProductAt(int64_t index)
{
    const std::wstring n = std::to_wstring(index);
    Sandbox::ProductFields p;
    p.productId = 100000 + index;
    p.gameItemId = L"item.weapon.ember_blade_" + n;
    p.name = L"Ember Blade of the Ninth Forge " + n;
    p.description = L"A blade quenched in dragonfire that never cools. Adds 12% fire damage and glows "
                    L"faintly in the dark; bound to the character who buys it.";
    p.quantity = 1;
    p.productTypeCode = 2;
    p.categoryId = L"weapons";
    p.categoryName = L"Weapons and Armour";
    p.currencyCode = L"USD";
    p.price = 9.99;
    p.displayPrice = 9.99;
    p.displayPriceString = L"$9.99";
    p.salePrice = 7.99;
    p.displaySalePrice = 7.99;
    p.displaySalePriceString = L"$7.99";
    p.isDiscount = 1;
    p.discountType = 1;
    p.discountTypeValue = 20;
    p.discountBeginDate = 1764547200000;
    p.discountEndDate = 1767225600000;
    p.totalQuantity = 1;
    p.memberQuantity = 1;
    p.thumbnailUrl = L"https://cdn.shop.example/items/ember_blade_" + n + L"/thumb_256.png";
    p.canWithdraw = 1;
    p.purchaseLimitTypeCode = 2;
    p.purchaseLimitCount = 5;
    p.saleBeginDate = 1764547200000;
    p.saleEndDate = 1798761600000;
    return p;
}

// Items of one page, owned here; the list object and the item array point
// at them.
template <class Item>
struct Page {
    explicit Page(uint32_t count)
    {
        for (uint32_t i = 0; i < count; ++i) {
            owned.push_back(std::make_unique<Item>(ProductAt(i)));
            items.push_back(owned.back().get());
        }
        list.items = items;
    }
    uint32_t Count() const { return static_cast<uint32_t>(items.size()); }

    std::vector<std::unique_ptr<Item>> owned;
    std::vector<Base::IObject*> items;
    Sandbox::ListObject list;
};

// --- The game's callbacks ----------------------------------------------------------

long long g_sink = 0;

template <class CProduct>
void OnProductsC(const TesselAPICallbackResult*, const CProduct* products, unsigned int count)
{
    g_sink += count != 0 ? products[count - 1].productId : 0;
}

template <class Product>
void OnProductsCpp(Tessel::PCSDK::CallbackResult, Product* products, unsigned int count)
{
    g_sink += count != 0 ? products[count - 1].GetProductId() : 0;
}

// --- Baselines ---------------------------------------------------------------------

std::wstring TwiceRead(const wchar_t* (Base::IProductItem::*getter)() const, const Base::IProductItem& item)
{
    return (item.*getter)() != nullptr ? std::wstring((item.*getter)()) : std::wstring();
}

// The 31 fields into an intermediate record.
template <class Record>
void ReadInto(Record& r, const Base::IProductItem& item)
{
    using P = Base::IProductItem;
    r.productId = item.GetProductId();
    r.gameItemId = TwiceRead(&P::GetGameItemId, item);
    r.name = TwiceRead(&P::GetName, item);
    r.description = TwiceRead(&P::GetDescription, item);
    r.quantity = item.GetQuantity();
    r.productTypeCode = static_cast<IAP::ProductTypeCode>(item.GetProductTypeCode());
    r.categoryId = TwiceRead(&P::GetCategoryId, item);
    r.categoryName = TwiceRead(&P::GetCategoryName, item);
    r.currencyCode = TwiceRead(&P::GetCurrencyCode, item);
    r.price = item.GetPrice();
    r.displayPrice = item.GetDisplayPrice();
    r.displayPriceString = TwiceRead(&P::GetDisplayPriceString, item);
    r.salePrice = item.GetSalePrice();
    r.displaySalePrice = item.GetDisplaySalePrice();
    r.displaySalePriceString = TwiceRead(&P::GetDisplaySalePriceString, item);
    r.isDiscount = item.IsDiscount() != 0;
    r.discountType = static_cast<IAP::DiscountType>(item.GetDiscountType());
    r.discountTypeValue = item.GetDiscountTypeValue();
    r.discountBeginDate = item.GetDiscountBeginDate();
    r.discountEndDate = item.GetDiscountEndDate();
    r.totalQuantity = item.GetTotalQuantity();
    r.memberQuantity = item.GetMemberQuantity();
    r.guidQuantity = item.GetGuidQuantity();
    r.thumbnailUrl = TwiceRead(&P::GetThumbnailUrl, item);
    r.canWithdraw = item.CanWithdraw() != 0;
    r.purchasedAtLeastOnce = item.GetPurchasedAtLeastOnce() != 0;
    r.purchaseLimitTypeCode = static_cast<IAP::PurchaseLimitTypeCode>(item.GetPurchaseLimitTypeCode());
    r.purchaseLimitCount = item.GetPurchaseLimitCount();
    r.saleLimitCount = item.GetSaleLimitCount();
    r.saleBeginDate = item.GetSaleBeginDate();
    r.saleEndDate = item.GetSaleEndDate();
}

void ReadInto(IAP::TesselPCProductExCpp& r, const Base::IProductExItem& item)
{
    ReadInto<IAP::TesselPCProductExCpp>(r, static_cast<const Base::IProductItem&>(item));
    r.purchaseAvailabilityCode = item.GetPurchaseAvailabilityCode();
}

// The C record from an intermediate record.
template <class CProduct, class Record>
void FillC(CProduct& c, const Record& r)
{
    c.productId = r.productId;
    c.gameItemId = Duplicate(r.gameItemId.c_str());
    c.name = Duplicate(r.name.c_str());
    c.description = Duplicate(r.description.c_str());
    c.quantity = r.quantity;
    c.productTypeCode = static_cast<int32_t>(r.productTypeCode);
    c.categoryId = Duplicate(r.categoryId.c_str());
    c.categoryName = Duplicate(r.categoryName.c_str());
    c.currencyCode = Duplicate(r.currencyCode.c_str());
    c.price = r.price;
    c.displayPrice = r.displayPrice;
    c.displayPriceString = Duplicate(r.displayPriceString.c_str());
    c.salePrice = r.salePrice;
    c.displaySalePrice = r.displaySalePrice;
    c.displaySalePriceString = Duplicate(r.displaySalePriceString.c_str());
    c.isDiscount = r.isDiscount;
    c.discountType = static_cast<int32_t>(r.discountType);
    c.discountTypeValue = r.discountTypeValue;
    c.discountBeginDate = r.discountBeginDate;
    c.discountEndDate = r.discountEndDate;
    c.totalQuantity = r.totalQuantity;
    c.memberQuantity = r.memberQuantity;
    c.guidQuantity = r.guidQuantity;
    c.thumbnailUrl = Duplicate(r.thumbnailUrl.c_str());
    c.canWithdraw = r.canWithdraw;
    c.purchasedAtLeastOnce = r.purchasedAtLeastOnce;
    c.purchaseLimitTypeCode = static_cast<int32_t>(r.purchaseLimitTypeCode);
    c.purchaseLimitCount = r.purchaseLimitCount;
    c.saleLimitCount = r.saleLimitCount;
    c.saleBeginDate = r.saleBeginDate;
    c.saleEndDate = r.saleEndDate;
}

// The C record straight from the item, each getter once.
template <class CProduct>
void FillDirect(CProduct& c, const Base::IProductItem& item)
{
    c.productId = item.GetProductId();
    c.gameItemId = Duplicate(item.GetGameItemId());
    c.name = Duplicate(item.GetName());
    c.description = Duplicate(item.GetDescription());
    c.quantity = item.GetQuantity();
    c.productTypeCode = item.GetProductTypeCode();
    c.categoryId = Duplicate(item.GetCategoryId());
    c.categoryName = Duplicate(item.GetCategoryName());
    c.currencyCode = Duplicate(item.GetCurrencyCode());
    c.price = item.GetPrice();
    c.displayPrice = item.GetDisplayPrice();
    c.displayPriceString = Duplicate(item.GetDisplayPriceString());
    c.salePrice = item.GetSalePrice();
    c.displaySalePrice = item.GetDisplaySalePrice();
    c.displaySalePriceString = Duplicate(item.GetDisplaySalePriceString());
    c.isDiscount = item.IsDiscount() != 0;
    c.discountType = item.GetDiscountType();
    c.discountTypeValue = item.GetDiscountTypeValue();
    c.discountBeginDate = item.GetDiscountBeginDate();
    c.discountEndDate = item.GetDiscountEndDate();
    c.totalQuantity = item.GetTotalQuantity();
    c.memberQuantity = item.GetMemberQuantity();
    c.guidQuantity = item.GetGuidQuantity();
    c.thumbnailUrl = Duplicate(item.GetThumbnailUrl());
    c.canWithdraw = item.CanWithdraw() != 0;
    c.purchasedAtLeastOnce = item.GetPurchasedAtLeastOnce() != 0;
    c.purchaseLimitTypeCode = item.GetPurchaseLimitTypeCode();
    c.purchaseLimitCount = item.GetPurchaseLimitCount();
    c.saleLimitCount = item.GetSaleLimitCount();
    c.saleBeginDate = item.GetSaleBeginDate();
    c.saleEndDate = item.GetSaleEndDate();
}

void FillDirect(TesselProductEx& c, const Base::IProductExItem& item)
{
    FillDirect<TesselProductEx>(c, static_cast<const Base::IProductItem&>(item));
    c.purchaseAvailabilityCode = item.GetPurchaseAvailabilityCode();
}

template <class CProduct>
void FreeTexts(CProduct& c)
{
    for (const wchar_t* text : {c.gameItemId, c.name, c.description, c.categoryId, c.categoryName, c.currencyCode,
                                c.displayPriceString, c.displaySalePriceString, c.thumbnailUrl}) {
        FreeText(text);
    }
}

// The types of one product form.
template <class Item>
struct Form;
template <>
struct Form<Sandbox::ProductItem> {
    using Interface = Base::IProductItem;
    using Record = IAP::TesselPCProductCpp;
    using CProduct = TesselProduct;
    using Product = IAP::TesselPCProduct;
};
template <>
struct Form<Sandbox::ProductExItem> {
    using Interface = Base::IProductExItem;
    using Record = IAP::TesselPCProductExCpp;
    using CProduct = TesselProductEx;
    using Product = IAP::TesselPCProductEx;
};

// C: the outcome, one zero-filled array, each record built (through an
// intermediate record when withRecord), the callback, then all of it freed.
template <class Item>
void BaselineC(const Page<Item>& page, bool withRecord)
{
    using F = Form<Item>;
    Sandbox::CallbackResultObject object(nullptr, kOperation, 0);
    TesselAPICallbackResult outcome = OutcomeC(object, nullptr);
    const uint32_t count = page.Count();
    auto* array = count != 0 ? static_cast<typename F::CProduct*>(std::calloc(count, sizeof(typename F::CProduct)))
                             : nullptr;
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        const auto& item = static_cast<const typename F::Interface&>(*page.items[i]);
        if (withRecord) {
            typename F::Record record;
            ReadInto(record, item);
            FillC(array[i], record);
            if constexpr (std::is_same_v<typename F::CProduct, TesselProductEx>) {
                array[i].purchaseAvailabilityCode = record.purchaseAvailabilityCode;
            }
        } else {
            FillDirect(array[i], item);
        }
    }
    OnProductsC(&outcome, array, array != nullptr ? count : 0);
    for (uint32_t i = 0; array != nullptr && i < count; ++i) {
        FreeTexts(array[i]);
    }
    std::free(array);
    Base::BaseStructUtils::FreeCStruct(&outcome);
}

// C++: default-constructed objects, each assigned from its intermediate record.
template <class Item>
void BaselineCpp(const Page<Item>& page)
{
    using F = Form<Item>;
    Sandbox::CallbackResultObject object(nullptr, kOperation, 0);
    const CallbackResultCpp outcome = Outcome(object);
    const uint32_t count = page.Count();
    typename F::Product* array = count != 0 ? new typename F::Product[count] : nullptr;
    for (uint32_t i = 0; i < count; ++i) {
        typename F::Record record;
        ReadInto(record, static_cast<const typename F::Interface&>(*page.items[i]));
        array[i] = &record;
    }
    OnProductsCpp(CallbackResult(&outcome), array, count);
    delete[] array;
}

// --- Completions -------------------------------------------------------------------

const TesselFetchProductParam kPageC{L"weapons", 1, 20};

void Deliver(const Sandbox::RequestRecord& request, const Page<Sandbox::ProductItem>& page)
{
    Sandbox::CallbackResultObject result(request.context, kOperation, 0);
    request.As<Base::Trampoline>()(&result, const_cast<Sandbox::ListObject*>(&page.list));
}

void Deliver(const Sandbox::RequestRecord& request, const Page<Sandbox::ProductExItem>& page)
{
    Sandbox::CallbackResultObject result(request.context, kOperation, 0);
    request.As<Base::ArrayTrampoline>()(&result, page.items.data(), page.Count());
}

template <class Item, class Issue>
Tally RunPage(benchmark::State& state, const Page<Item>& page, Issue&& issue)
{
    return RunCompletions(state, BatchFor(page.Count()), issue,
                          [&page](const Sandbox::RequestRecord& request) { Deliver(request, page); });
}

template <class Item>
void PageC(benchmark::State& state)
{
    VendraSession session;
    const Page<Item> page(static_cast<uint32_t>(state.range(0)));
    const Tally module = RunPage(state, page, [] {
        if constexpr (std::is_same_v<Item, Sandbox::ProductItem>) {
            TesselAPI_FetchProducts(&kPageC, &OnProductsC<TesselProduct>, nullptr);
        } else {
            TesselAPI_FetchProductsEx(&kPageC, &OnProductsC<TesselProductEx>, nullptr);
        }
    });
    const auto operations = module.operations;
    const Tally withRecord = RunBaseline(operations, [&page] { BaselineC(page, true); });
    const Tally direct = RunBaseline(operations, [&page] { BaselineC(page, false); });
    Report(state, module, {{"rec", withRecord}, {"direct", direct}});
}

template <class Item>
void PageCpp(benchmark::State& state)
{
    VendraSession session;
    const Page<Item> page(static_cast<uint32_t>(state.range(0)));
    IAP::TesselPCFetchProductParam param;
    param.SetCategoryId(L"weapons");
    const Tally module = RunPage(state, page, [&param] {
        if constexpr (std::is_same_v<Item, Sandbox::ProductItem>) {
            IAP::IAP_FetchProducts(&param, &OnProductsCpp<IAP::TesselPCProduct>);
        } else {
            IAP::IAP_FetchProductsEx(&param, &OnProductsCpp<IAP::TesselPCProductEx>);
        }
    });
    const Tally least = RunBaseline(module.operations, [&page] { BaselineCpp(page); });
    Report(state, module, {{"least", least}});
}

void ProductPage_C(benchmark::State& state) { PageC<Sandbox::ProductItem>(state); }
void ProductPageEx_C(benchmark::State& state) { PageC<Sandbox::ProductExItem>(state); }
void ProductPage_Cpp(benchmark::State& state) { PageCpp<Sandbox::ProductItem>(state); }
void ProductPageEx_Cpp(benchmark::State& state) { PageCpp<Sandbox::ProductExItem>(state); }
BENCHMARK(ProductPage_C)->Arg(1)->Arg(100)->Arg(10000);
BENCHMARK(ProductPageEx_C)->Arg(1)->Arg(100)->Arg(10000);
BENCHMARK(ProductPage_Cpp)->Arg(1)->Arg(100)->Arg(10000);
BENCHMARK(ProductPageEx_Cpp)->Arg(1)->Arg(100)->Arg(10000);

// --- Requests ----------------------------------------------------------------------

namespace request {

using Callback = TesselProductsCallback;

// The page parameter from the caller's record, through an intermediate
// record when withRecord, handed to the platform with a new context.
void BaselineC(const TesselFetchProductParam& page, bool withRecord)
{
    if (!Tessel_Internal_BaseInitialized()) {
        return;
    }
    auto* param = static_cast<Base::IProductPageParam*>(Tessel_CreateParam(Base::kProductPageParam));
    if (param == nullptr) {
        return;
    }
    if (withRecord) {
        IAP::TesselPCFetchProductParamCpp record;
        record.categoryId = page.categoryId != nullptr ? page.categoryId : L"";
        record.pageNumber = page.pageNumber;
        record.pageSize = page.pageSize;
        param->SetCategoryId(record.categoryId.c_str());
        param->SetPageNumber(record.pageNumber);
        param->SetPageSize(record.pageSize);
    } else {
        param->SetCategoryId(page.categoryId != nullptr ? page.categoryId : L"");
        param->SetPageNumber(page.pageNumber);
        param->SetPageSize(page.pageSize);
    }
    Tessel_FetchProducts(param, &FreeBaselineContext, NewBaselineContext<Callback>(&OnProductsC<TesselProduct>, nullptr));
    param->Release();
}

void BaselineCpp(const IAP::TesselPCFetchProductParam& page)
{
    if (!Tessel_Internal_BaseInitialized()) {
        return;
    }
    auto* param = static_cast<Base::IProductPageParam*>(Tessel_CreateParam(Base::kProductPageParam));
    if (param == nullptr) {
        return;
    }
    param->SetCategoryId(page.GetCategoryId() != nullptr ? page.GetCategoryId() : L"");
    param->SetPageNumber(page.GetPageNumber());
    param->SetPageSize(page.GetPageSize());
    auto callback = &OnProductsCpp<IAP::TesselPCProduct>;
    Tessel_FetchProducts(param, &FreeBaselineContext, NewBaselineContext<decltype(callback)>(callback, nullptr));
    param->Release();
}

constexpr uint64_t kBatch = 4096;

void ProductPageRequest_C(benchmark::State& state)
{
    VendraSession session;
    const Tally module = RunRequests(
        state, kBatch, [] { TesselAPI_FetchProducts(&kPageC, &OnProductsC<TesselProduct>, nullptr); }, &CompleteEmpty);
    const Tally withRecord =
        RunBaselineRequests(module.operations, kBatch, [] { BaselineC(kPageC, true); }, &CompleteEmpty);
    const Tally direct =
        RunBaselineRequests(module.operations, kBatch, [] { BaselineC(kPageC, false); }, &CompleteEmpty);
    Report(state, module, {{"rec", withRecord}, {"direct", direct}});
}
BENCHMARK(ProductPageRequest_C);

void ProductPageRequest_Cpp(benchmark::State& state)
{
    VendraSession session;
    IAP::TesselPCFetchProductParam page;
    page.SetCategoryId(L"weapons");
    page.SetPageNumber(1);
    page.SetPageSize(20);
    const Tally module = RunRequests(
        state, kBatch, [&page] { IAP::IAP_FetchProducts(&page, &OnProductsCpp<IAP::TesselPCProduct>); },
        &CompleteEmpty);
    const Tally least =
        RunBaselineRequests(module.operations, kBatch, [&page] { BaselineCpp(page); }, &CompleteEmpty);
    Report(state, module, {{"least", least}});
}
BENCHMARK(ProductPageRequest_Cpp);

}  // namespace request

}  // namespace
