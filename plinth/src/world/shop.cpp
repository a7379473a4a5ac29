// The sandbox shop: the purchase requests of the platform, answered offline
// from a small catalog, with simulated popups and an inventory of what was
// bought. Also the popups of every feature and closing them.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <list>
#include <map>
#include <memory>
#include <mutex>

#include "tools/console/books.hpp"
#include "platform/core.hpp"
#include "tools/interactive.hpp"
#include "world/popups.hpp"
#include "world/profile.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "platform/text.hpp"
#include "tools/trace.hpp"

// --- Data objects -------------------------------------------------------------

namespace Tessel::PCSDK::Sandbox {

ShopCategoryItem::ShopCategoryItem() : Object(Base::kDataObject) {}
const wchar_t* ShopCategoryItem::GetCategoryId() const { return TextPointer(categoryId); }
const wchar_t* ShopCategoryItem::GetParentCategoryId() const { return TextPointer(parentCategoryId); }
int32_t ShopCategoryItem::GetDisplayNumber() const { return displayNumber; }
const wchar_t* ShopCategoryItem::GetName() const { return TextPointer(name); }
int32_t ShopCategoryItem::GetDepth() const { return depth; }

ProductItem::ProductItem(const ProductFields& fields) : ProductObject(fields) {}

ProductExItem::ProductExItem(const ProductFields& fields, int16_t availabilityCode)
    : ProductObject(fields), purchaseAvailabilityCode(availabilityCode)
{
}
int16_t ProductExItem::GetPurchaseAvailabilityCode() const { return purchaseAvailabilityCode; }

PurchasedProductItem::PurchasedProductItem() : Object(Base::kDataObject) {}
int64_t PurchasedProductItem::GetTransactionDetailNumber() const { return transactionDetailNumber; }
int64_t PurchasedProductItem::GetProductId() const { return productId; }
const wchar_t* PurchasedProductItem::GetCategoryId() const { return TextPointer(categoryId); }
int32_t PurchasedProductItem::GetTotalQuantity() const { return totalQuantity; }
int32_t PurchasedProductItem::GetMemberQuantity() const { return memberQuantity; }
int32_t PurchasedProductItem::GetGuidQuantity() const { return guidQuantity; }

ChargeInfoItem::ChargeInfoItem() : Object(Base::kDataObject) {}
double ChargeInfoItem::GetChargeDeductVal() const { return chargeDeductVal; }
double ChargeInfoItem::GetChargeDisplayDeductVal() const { return chargeDisplayDeductVal; }
int32_t ChargeInfoItem::GetChargeType() const { return chargeType; }
const wchar_t* ChargeInfoItem::GetChargeTypeName() const { return TextPointer(chargeTypeName); }

PurchaseResultData::PurchaseResultData() : Object(Base::kDataObject) {}
int64_t PurchaseResultData::GetTransactionMasterNumber() const { return transactionMasterNumber; }
const int64_t* PurchaseResultData::GetTransactionDetailNumbers() const
{
    return transactionDetailNumbers ? transactionDetailNumbers->data() : nullptr;
}
uint32_t PurchaseResultData::GetTransactionDetailNumberCount() const
{
    if (transactionDetailNumberCount) {
        return *transactionDetailNumberCount;
    }
    return transactionDetailNumbers ? static_cast<uint32_t>(transactionDetailNumbers->size()) : 0;
}
const wchar_t* PurchaseResultData::GetOneTimePaymentUrl() const { return TextPointer(oneTimePaymentUrl); }
int32_t PurchaseResultData::GetPurchaseProgress() const { return purchaseProgress; }
uint8_t PurchaseResultData::IsPurchased() const { return isPurchased; }
const wchar_t* PurchaseResultData::GetExtraData() const { return TextPointer(extraData); }
uint32_t PurchaseResultData::GetPurchasedProductCount() const { return purchasedProducts.Count(); }
Base::IPurchasedProductItem* PurchaseResultData::GetPurchasedProduct(uint32_t index) const
{
    return purchasedProducts.At(index);
}
uint32_t PurchaseResultData::GetChargeInfoCount() const { return chargeInfos.Count(); }
Base::IChargeInfoItem* PurchaseResultData::GetChargeInfo(uint32_t index) const { return chargeInfos.At(index); }
bool PurchaseResultData::IsPopupCreated() const { return popupCreated; }

ConfirmPurchaseData::ConfirmPurchaseData() : Object(Base::kDataObject) {}
bool ConfirmPurchaseData::GetResult() const { return result; }
uint32_t ConfirmPurchaseData::GetPurchasedProductCount() const { return purchasedProducts.Count(); }
Base::IPurchasedProductItem* ConfirmPurchaseData::GetPurchasedProduct(uint32_t index) const
{
    return purchasedProducts.At(index);
}
uint32_t ConfirmPurchaseData::GetChargeInfoCount() const { return chargeInfos.Count(); }
Base::IChargeInfoItem* ConfirmPurchaseData::GetChargeInfo(uint32_t index) const { return chargeInfos.At(index); }

InventoryItem::InventoryItem() : Object(Base::kDataObject) {}
int64_t InventoryItem::GetTransactionMasterNumber() const { return transactionMasterNumber; }
int64_t InventoryItem::GetTransactionDetailNumber() const { return transactionDetailNumber; }
int64_t InventoryItem::GetProductId() const { return productId; }
const wchar_t* InventoryItem::GetGameItemId() const { return TextPointer(gameItemId); }
const wchar_t* InventoryItem::GetProductName() const { return TextPointer(productName); }
int32_t InventoryItem::GetQuantity() const { return quantity; }
const wchar_t* InventoryItem::GetThumbnailUrl() const { return TextPointer(thumbnailUrl); }

VoidedPurchaseItem::VoidedPurchaseItem() : Object(Base::kDataObject) {}
int64_t VoidedPurchaseItem::GetTid() const { return tid; }
const wchar_t* VoidedPurchaseItem::GetMarketCode() const { return TextPointer(marketCode); }
const wchar_t* VoidedPurchaseItem::GetProductId() const { return TextPointer(productId); }
const wchar_t* VoidedPurchaseItem::GetMarketProductId() const { return TextPointer(marketProductId); }
const wchar_t* VoidedPurchaseItem::GetUserId() const { return TextPointer(userId); }
int64_t VoidedPurchaseItem::GetCharacterNo() const { return characterNo; }
int64_t VoidedPurchaseItem::GetPurchaseMillis() const { return purchaseMillis; }
int64_t VoidedPurchaseItem::GetVoidedMillis() const { return voidedMillis; }

TermsData::TermsData() : Object(Base::kDataObject) {}
bool TermsData::GetAgreed() const { return agreed; }
const wchar_t* TermsData::GetTermsText() const { return TextPointer(termsText); }
bool TermsData::IsPopupCreated() const { return popupCreated; }

WithdrawData::WithdrawData() : Object(Base::kDataObject) {}
bool WithdrawData::GetWithdrawn() const { return withdrawn; }
bool WithdrawData::IsPopupCreated() const { return popupCreated; }

}  // namespace Tessel::PCSDK::Sandbox

namespace plinth {
namespace {

// Operation codes of the platform's own results, one per shop request.
enum ShopOperation : uint32_t {
    kCategoriesOp = 80,
    kProductsOp = 81,
    kPurchaseOp = 82,
    kConfirmOp = 83,
    kInventoryOp = 84,
    kTermsOp = 85,
    kPaymentOp = 86,
    kVoidedOp = 87,
    kWithdrawOp = 89,
};

enum Limit : int32_t { kPerMember = 2, kPerCharacter = 3 };
enum Progress : int32_t { kProgressNone = 0, kNotNeedPaymentWindow = 2 };
constexpr int16_t kLimitReached = 1;  // purchase availability

// --- The catalog (the current world's) -----------------------------------------

bool InCategory(const World& world, const ProductRecord& product, const std::wstring& categoryId)
{
    if (categoryId.empty() || product.categoryId == categoryId) {
        return true;
    }
    const CategoryRecord* category = world.FindCategory(product.categoryId.value_or(std::wstring()));
    return category != nullptr && category->parentCategoryId == categoryId;
}

bool KnownCategory(const World& world, const std::wstring& categoryId)
{
    return categoryId.empty() || world.FindCategory(categoryId) != nullptr;
}

// --- Shop state -------------------------------------------------------------

// What a purchase keeps of its product, so that it outlives the world it
// was bought from.
struct Purchase {
    int64_t detailNumber;
    int64_t productId;
    Sandbox::Text categoryId;
    int32_t productQuantity;
    int32_t quantity;
    double paid;
};

struct Transaction {
    std::vector<Purchase> purchases;
    bool confirmed = false;
};

struct Shop {
    std::mutex mutex;
    bool popupsCreated = true;
    bool termsAgreed = false;
    uint64_t nextPopup = 1;
    int64_t nextTransaction = 900001;
    int64_t nextDetail = 1;
    int64_t nextPayment = 1;
    std::map<int64_t, Transaction> transactions;
    std::vector<Sandbox::InventoryItem> inventory;
    std::vector<VoidedRecord> refunds;  // transactions refunded from the console
    std::list<Popup> popups;
};

Shop& TheShop()
{
    static Shop shop;
    return shop;
}

// Takes the items that match out of the inventory (items are not
// assignable, so the kept ones are copied into a new vector).
template <class Match>
void DropHeld(std::vector<Sandbox::InventoryItem>& inventory, Match match)
{
    std::vector<Sandbox::InventoryItem> kept;
    for (const Sandbox::InventoryItem& item : inventory) {
        if (!match(item)) {
            kept.push_back(item);
        }
    }
    inventory.swap(kept);
}

// An item the player holds, as a profile (or the console) gives it.
Sandbox::InventoryItem ItemOf(const InventoryRecord& record)
{
    Sandbox::InventoryItem item;
    item.transactionMasterNumber = record.transactionMasterNumber;
    item.transactionDetailNumber = record.transactionDetailNumber;
    item.productId = record.productId;
    item.gameItemId = record.gameItemId;
    item.productName = record.productName;
    item.quantity = record.quantity;
    item.thumbnailUrl = record.thumbnailUrl;
    return item;
}

// The player's state the world sets: what they hold and whether they agreed
// to the terms; the shop's lock is held.
void SeedLocked(Shop& shop, const World& world)
{
    shop.termsAgreed = world.termsAgreed;
    // A new world starts the player's history over: what was bought under
    // the previous one no longer counts towards "purchased" or a limit.
    shop.transactions.clear();
    shop.refunds.clear();
    shop.inventory.clear();
    for (const InventoryRecord& record : world.inventory) {
        shop.inventory.push_back(ItemOf(record));
    }
}

void SeedShop(const World& world)
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    SeedLocked(shop, world);
}

const WorldSeed kSeedShop{&SeedShop};

// The platform's reset closes the popups still open (the popup rule,
// popups.hpp): one a request registered after the shutdown's close-all (a
// request on another thread) gets its destroy notice on the next pump, as
// its result does. Their numbering restarts once none is open.
void ResetShop()
{
    CloseEveryPopup();
    const std::shared_ptr<const World> world = CurrentWorld();
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    shop.popupsCreated = true;
    if (shop.popups.empty()) {
        shop.nextPopup = 1;
    }
    shop.nextTransaction = 900001;
    shop.nextDetail = 1;
    shop.nextPayment = 1;
    shop.transactions.clear();
    SeedLocked(shop, *world);
}

const FeatureReset kResetShop{&ResetShop};

int32_t TimesBought(const Shop& shop, int64_t productId)
{
    int32_t count = 0;
    for (const auto& entry : shop.transactions) {
        for (const Purchase& purchase : entry.second.purchases) {
            count += purchase.productId == productId ? 1 : 0;
        }
    }
    return count;
}

bool LimitReached(const Shop& shop, const ProductRecord& product)
{
    const bool limited = product.purchaseLimitTypeCode == kPerMember || product.purchaseLimitTypeCode == kPerCharacter;
    return limited && TimesBought(shop, product.productId) >= product.purchaseLimitCount;
}

// A product as the world gives it, marked once the player bought it.
Sandbox::ProductFields FieldsOf(const Shop& shop, const ProductRecord& product)
{
    Sandbox::ProductFields fields = product;
    if (TimesBought(shop, product.productId) > 0) {
        fields.purchasedAtLeastOnce = 1;
    }
    return fields;
}

// --- Answers ------------------------------------------------------------------

struct Outcome {
    uint32_t code = TESSEL_RESULT_SUCCESS;
    std::wstring message;
};

// Objects that a completion hands to a trampoline, kept alive by the job.
template <class Item>
struct Items {
    std::vector<Item> items;
    std::vector<Base::IObject*> pointers;

    // Built afresh on every run: a completion that ran out of memory half
    // way is run again.
    void Seal()
    {
        pointers.clear();
        pointers.reserve(items.size());
        for (Item& item : items) {
            pointers.push_back(&item);
        }
    }
};

template <class Item>
struct ListAnswer {
    Items<Item> items;
    Sandbox::ListObject list;

    Base::IObject* Get()
    {
        items.Seal();
        list.items = items.pointers;
        return &list;
    }
};

// Queues trampoline(result, data()) for the game's next pump.
// The request's outcome rule applies its result code and message.
template <class Trampoline, class Make>
void Complete(Trampoline trampoline, void* context, uint32_t operation, Outcome outcome, Make make,
              int64_t listSize = -1)
{
    if (trampoline == nullptr) {
        return;
    }
    ApplyOutcome(outcome.code, outcome.message);
    PostCompletion(
        [trampoline, context, operation, outcome, made = make()]() mutable {
            Sandbox::CallbackResultObject result(context, operation, outcome.code, outcome.message);
            made(trampoline, &result);
        },
        {outcome.code, listSize});
}

// A request whose outcome asks for empty lists, or fails, answers with none.
bool ListsEmptied() noexcept
{
    const OutcomeRule* rule = CurrentOutcome();
    return OutcomeFails() || (rule != nullptr && rule->emptyList);
}

// A completion whose second argument is one data object.
template <class Data>
struct DataAnswer {
    std::shared_ptr<Data> data;
    void operator()(Base::Trampoline trampoline, Base::ICallbackResultObject* result) const
    {
        trampoline(result, data->Get());
    }
};

template <class Value>
struct Single {
    Value object;
    Base::IObject* Get() { return &object; }
};

// Empties the lists of an answer and tells their size.
template <class Item>
int64_t EmptyLists(ListAnswer<Item>& answer, bool empty)
{
    if (empty) {
        answer.items.items.clear();
    }
    return static_cast<int64_t>(answer.items.items.size());
}
template <class Value>
int64_t EmptyLists(Single<Value>&, bool) { return -1; }

template <class Data>
void CompleteWith(const Sandbox::RequestRecord& request, uint32_t operation, const Outcome& outcome,
                  std::shared_ptr<Data> data)
{
    const int64_t size = EmptyLists(*data, ListsEmptied());
    Complete(request.As<Base::Trampoline>(), request.context, operation, outcome,
             [data] { return DataAnswer<Data>{data}; }, size);
}

void FetchShopCategories(const Sandbox::RequestRecord& request)
{
    auto answer = std::make_shared<ListAnswer<Sandbox::ShopCategoryItem>>();
    for (const CategoryRecord& category : CurrentWorld()->categories) {
        Sandbox::ShopCategoryItem item;
        item.categoryId = category.categoryId;
        item.parentCategoryId = category.parentCategoryId;
        item.displayNumber = category.displayNumber;
        item.name = category.name;
        item.depth = category.depth;
        answer->items.items.push_back(item);
    }
    CompleteWith(request, kCategoriesOp, {}, answer);
}

// One page of the products of a category, read from a 2500 parameter object.
template <class Make>
Outcome ProductPage(const Sandbox::RequestRecord& request, Make make)
{
    std::wstring categoryId;
    int32_t page = 1;
    int32_t size = 20;
    if (auto* param = static_cast<Base::IProductPageParam*>(request.param)) {
        categoryId = TextOrEmpty(param->GetCategoryId());
        page = param->GetPageNumber();
        size = param->GetPageSize();
    }
    if (page < 1 || size < 1) {
        return {TESSEL_RESULT_INVALID_ARGUMENT, L"The page number and the page size must be at least 1."};
    }
    const std::shared_ptr<const World> world = CurrentWorld();
    if (!KnownCategory(*world, categoryId)) {
        return {TESSEL_RESULT_NOT_FOUND, L"No such category: " + categoryId};
    }
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    const int64_t first = static_cast<int64_t>(page - 1) * size;
    int64_t index = 0;
    for (const ProductRecord& product : world->products) {
        if (!InCategory(*world, product, categoryId)) {
            continue;
        }
        if (index >= first && index < first + size) {
            make(FieldsOf(shop, product), LimitReached(shop, product) ? kLimitReached : product.purchaseAvailabilityCode);
        }
        ++index;
    }
    return {};
}

void FetchProducts(const Sandbox::RequestRecord& request)
{
    auto answer = std::make_shared<ListAnswer<Sandbox::ProductItem>>();
    const Outcome outcome = ProductPage(request, [&](const Sandbox::ProductFields& fields, int16_t) {
        answer->items.items.emplace_back(fields);
    });
    CompleteWith(request, kProductsOp, outcome, answer);
}

// Completion with an item array and its count.
template <class Item>
struct ArrayAnswer {
    std::shared_ptr<Items<Item>> items;
    void operator()(Base::ArrayTrampoline trampoline, Base::ICallbackResultObject* result) const
    {
        items->Seal();
        trampoline(result, items->pointers.empty() ? nullptr : items->pointers.data(),
                   static_cast<uint32_t>(items->pointers.size()));
    }
};

template <class Item>
void CompleteWithArray(const Sandbox::RequestRecord& request, uint32_t operation, const Outcome& outcome,
                       std::shared_ptr<Items<Item>> items)
{
    if (ListsEmptied()) {
        items->items.clear();
    }
    const auto size = static_cast<int64_t>(items->items.size());
    Complete(request.As<Base::ArrayTrampoline>(), request.context, operation, outcome,
             [items] { return ArrayAnswer<Item>{items}; }, size);
}

void FetchProductsEx(const Sandbox::RequestRecord& request)
{
    auto items = std::make_shared<Items<Sandbox::ProductExItem>>();
    const Outcome outcome = ProductPage(request, [&](const Sandbox::ProductFields& fields, int16_t availability) {
        items->items.emplace_back(fields, availability);
    });
    CompleteWithArray(request, kProductsOp, outcome, items);
}

// --- Popups -------------------------------------------------------------------

bool PopupsCanBeCreated()
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    return PopupOpens(shop.popupsCreated);
}

// Prepares the popup of a request when it opens; empty when it does not.
PendingPopup RequestPopup(const Sandbox::RequestRecord& request, const wchar_t* kind, uint32_t operation)
{
    if (!PopupsCanBeCreated()) {
        return {};
    }
    return PreparePopup(kind, operation, request.SecondAs<Base::Trampoline>(), request.secondContext);
}

const Outcome kPopupFailed{TESSEL_RESULT_POPUP_NOT_CREATED, L"The window could not be opened."};

// --- Purchases ----------------------------------------------------------------

struct OrderLine {
    int64_t productId;
    double salePrice;
    int32_t quantity;
};

std::vector<OrderLine> OrderOf(Base::IStartPurchaseParam* param)
{
    std::vector<OrderLine> order;
    if (param == nullptr) {
        return order;
    }
    for (uint64_t i = 0; i < param->GetOrderProductCount(); ++i) {
        if (auto* product = static_cast<Base::IOrderProductParam*>(param->GetOrderProduct(i))) {
            order.push_back({product->GetProductId(), product->GetSalePrice(), product->GetQuantity()});
        }
    }
    return order;
}

// Checks an order against the catalog; the shop's lock is held.
Outcome CheckOrder(const Shop& shop, const World& world, const std::vector<OrderLine>& order)
{
    if (order.empty()) {
        return {TESSEL_RESULT_INVALID_ARGUMENT, L"The order holds no products."};
    }
    for (const OrderLine& line : order) {
        const ProductRecord* entry = world.FindProduct(line.productId);
        if (entry == nullptr) {
            return {TESSEL_RESULT_NOT_FOUND, L"No such product: " + std::to_wstring(line.productId)};
        }
        if (line.quantity < 1) {
            return {TESSEL_RESULT_INVALID_ARGUMENT, L"A quantity must be at least 1."};
        }
        if (LimitReached(shop, *entry)) {
            return {TESSEL_RESULT_INVALID_ARGUMENT, L"Purchase limit reached: " + entry->name.value_or(std::wstring())};
        }
    }
    return {};
}

// The purchased products and charge infos of a transaction, for the
// purchase result and the confirm data.
struct TransactionLists {
    std::vector<Sandbox::PurchasedProductItem> products;
    std::vector<Sandbox::ChargeInfoItem> charges;

    explicit TransactionLists(const Transaction& transaction)
    {
        double total = 0;
        for (const Purchase& purchase : transaction.purchases) {
            Sandbox::PurchasedProductItem item;
            item.transactionDetailNumber = purchase.detailNumber;
            item.productId = purchase.productId;
            item.categoryId = purchase.categoryId;
            item.totalQuantity = purchase.productQuantity * purchase.quantity;
            item.memberQuantity = item.totalQuantity;
            item.guidQuantity = item.totalQuantity;
            products.push_back(item);
            total += purchase.paid;
        }
        // The sandbox wallet pays the first 1.00 with bonus credit.
        const double bonus = std::min(total, 1.0);
        Sandbox::ChargeInfoItem cash;
        cash.chargeDeductVal = total - bonus;
        cash.chargeDisplayDeductVal = cash.chargeDeductVal;
        cash.chargeType = 1;
        cash.chargeTypeName = L"Wallet";
        charges.push_back(cash);
        Sandbox::ChargeInfoItem credit;
        credit.chargeDeductVal = bonus;
        credit.chargeDisplayDeductVal = bonus;
        credit.chargeType = 2;
        credit.chargeTypeName = L"Bonus credit";
        charges.push_back(credit);
    }

    // Built afresh on every run, like Items::Seal.
    template <class Data>
    void PointTo(Data& data)
    {
        data.purchasedProducts.items.clear();
        data.chargeInfos.items.clear();
        data.purchasedProducts.items.reserve(products.size());
        data.chargeInfos.items.reserve(charges.size());
        for (auto& product : products) {
            data.purchasedProducts.items.push_back(&product);
        }
        for (auto& charge : charges) {
            data.chargeInfos.items.push_back(&charge);
        }
    }
};

template <class Data>
struct TransactionAnswer {
    std::optional<TransactionLists> lists;
    Data data;

    Base::IObject* Get()
    {
        if (lists) {
            lists->PointTo(data);
        }
        return &data;
    }
};

template <class Data>
int64_t EmptyLists(TransactionAnswer<Data>& answer, bool empty)
{
    if (empty) {
        answer.lists.reset();
    }
    return answer.lists ? static_cast<int64_t>(answer.lists->products.size()) : 0;
}

// Records the order as a transaction and fills the inventory; the shop's
// lock is held.
int64_t Buy(Shop& shop, const World& world, const std::vector<OrderLine>& order)
{
    const int64_t master = shop.nextTransaction++;
    Transaction& transaction = shop.transactions[master];
    for (const OrderLine& line : order) {
        const ProductRecord* found = world.FindProduct(line.productId);
        if (found == nullptr) {
            continue;  // CheckOrder let no unknown product through
        }
        const ProductRecord& entry = *found;
        const Purchase purchase{shop.nextDetail++, entry.productId,   entry.categoryId,
                                entry.quantity,    line.quantity, entry.salePrice * line.quantity};
        transaction.purchases.push_back(purchase);
        Sandbox::InventoryItem item;
        item.transactionMasterNumber = master;
        item.transactionDetailNumber = purchase.detailNumber;
        item.productId = entry.productId;
        item.gameItemId = entry.gameItemId;
        item.productName = entry.name;
        item.quantity = entry.quantity * line.quantity;
        item.thumbnailUrl = entry.thumbnailUrl;
        shop.inventory.push_back(item);
    }
    return master;
}

// --- Interactive windows (interactive.hpp) --------------------------------------

// A shop window waits for the player (interactive.hpp) only when it opens.
bool ShopWindowWaits(const Sandbox::RequestRecord& request)
{
    return WaitsForPlayer(request) && PopupsCanBeCreated();
}

// What a held window keeps of its request's callbacks.
template <class Trampoline>
struct Held {
    Trampoline result = nullptr;
    void* context = nullptr;
    Base::Trampoline destroy = nullptr;
    void* destroyContext = nullptr;

    void Keep(const Sandbox::RequestRecord& request)
    {
        result = request.As<Trampoline>();
        context = request.context;
        destroy = request.SecondAs<Base::Trampoline>();
        destroyContext = request.secondContext;
    }
};

// The answers to a choice: its result, then the destroy notice, since the
// window closes with every choice.
template <class Trampoline>
WindowAnswers Closing(const Held<Trampoline>& held, uint32_t operation, const wchar_t* window, JobPtr result,
                      uint32_t code)
{
    WindowAnswers answers;
    answers.resultCode = code;
    answers.result = std::move(result);
    answers.noticeCode = TESSEL_RESULT_SUCCESS;
    answers.notice = DestroyNoticeJob(held.destroy, held.destroyContext, operation, TESSEL_RESULT_SUCCESS,
                                      std::wstring(L"The ") + window + L" window was closed.", 0);
    return answers;
}

// The sandbox wallet's ways to pay, as the charge infos name them.
std::vector<std::wstring> PaymentMethods() { return {L"Wallet", L"Bonus credit"}; }

// --- Interactive purchases ----------------------------------------------------

using PurchaseAnswer = TransactionAnswer<Sandbox::PurchaseResultData>;

// What a held purchase keeps of its request, to answer the player's choice.
struct HeldPurchase : Held<Base::Trampoline> {
    std::vector<OrderLine> order;
    std::wstring extraData;
};

// The window was shown: every answer to a choice says so, then the destroy
// notice follows.
WindowAnswers PurchaseAnswers(const HeldPurchase& held, Outcome outcome, std::shared_ptr<PurchaseAnswer> answer)
{
    answer->data.popupCreated = true;
    const uint32_t code = outcome.code;
    return Closing(held, kPurchaseOp, L"purchase",
                   DataAnswerJob(held.result, held.context, kPurchaseOp, code, std::move(outcome.message),
                                 [answer] { return answer->Get(); }),
                   code);
}

std::shared_ptr<PurchaseAnswer> UnpaidAnswer(const HeldPurchase& held)
{
    auto answer = std::make_shared<PurchaseAnswer>();
    answer->data.extraData = held.extraData;
    answer->data.purchaseProgress = kProgressNone;
    return answer;
}

// Pay: the order is checked again (the world may have changed while the
// window waited) and bought.
WindowAnswers Pay(const HeldPurchase& held)
{
    auto answer = UnpaidAnswer(held);
    Sandbox::PurchaseResultData& data = answer->data;
    const std::shared_ptr<const World> world = CurrentWorld();
    Shop& shop = TheShop();
    Outcome outcome;
    {
        std::lock_guard<std::mutex> lock(shop.mutex);
        outcome = CheckOrder(shop, *world, held.order);
        if (outcome.code == TESSEL_RESULT_SUCCESS) {
            const int64_t master = Buy(shop, *world, held.order);
            const Transaction& transaction = shop.transactions[master];
            data.transactionMasterNumber = master;
            data.transactionDetailNumbers.emplace();
            for (const Purchase& purchase : transaction.purchases) {
                data.transactionDetailNumbers->push_back(purchase.detailNumber);
            }
            data.purchaseProgress = kNotNeedPaymentWindow;
            data.isPurchased = 1;
            answer->lists.emplace(transaction);
        }
    }
    return PurchaseAnswers(held, outcome, answer);
}

WindowAnswers ChoosePurchase(const HeldPurchase& held, Choice choice)
{
    switch (choice) {
    case Choice::Pay: return Pay(held);
    case Choice::Decline:
        return PurchaseAnswers(held, {TESSEL_SANDBOX_RESULT_PAYMENT_DECLINED, L"The payment was declined."},
                               UnpaidAnswer(held));
    case Choice::Cancel:
        return PurchaseAnswers(held, {TESSEL_SANDBOX_RESULT_USER_CANCELLED, L"The player cancelled the purchase."},
                               UnpaidAnswer(held));
    default: break;  // close: the window offers nothing else
    }
    return PurchaseAnswers(held, {TESSEL_SANDBOX_RESULT_WINDOW_CLOSED, L"The purchase window was closed."},
                           UnpaidAnswer(held));
}

std::wstring Amount(double value, const std::wstring& currency)
{
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"%.2f", value);
    return currency.empty() ? std::wstring(text) : currency + L" " + text;
}

// Holds a purchase whose window would open for the player's choice. False
// when it answers at once as outside interactive mode: nobody would hear
// the choice, the window does not open, the order is refused or an outcome
// rule decides it.
bool HoldPurchase(const Sandbox::RequestRecord& request, const std::vector<OrderLine>& order)
{
    if (!ShopWindowWaits(request)) {
        return false;
    }
    const std::shared_ptr<const World> world = CurrentWorld();
    WindowView view;
    {
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        if (CheckOrder(shop, *world, order).code != TESSEL_RESULT_SUCCESS) {
            return false;
        }
    }
    view.kind = L"purchase";
    view.module = TESSEL_SANDBOX_MODULE_VENDRA;
    view.operation = kPurchaseOp;
    view.choices = {Choice::Pay, Choice::Decline, Choice::Cancel, Choice::Close};
    double total = 0;
    std::wstring currency;
    for (const OrderLine& line : order) {
        const ProductRecord* product = world->FindProduct(line.productId);  // CheckOrder found each
        const std::wstring sale = product->displaySalePriceString.value_or(std::wstring());
        view.lines.push_back({line.productId, product->name.value_or(std::wstring()), line.quantity,
                              sale.empty() ? product->displayPriceString.value_or(std::wstring()) : sale});
        total += product->salePrice * line.quantity;
        if (currency.empty()) {
            currency = product->currencyCode.value_or(std::wstring());
        }
    }
    view.total = Amount(total, currency);
    view.paymentMethods = PaymentMethods();

    HeldPurchase held;
    held.Keep(request);
    held.order = order;
    auto* param = static_cast<Base::IStartPurchaseParam*>(request.param);
    held.extraData = param != nullptr ? TextOrEmpty(param->GetExtraData()) : std::wstring();
    HoldWindow(std::move(view), [held](Choice choice, int32_t) { return ChoosePurchase(held, choice); });
    return true;
}

void StartPurchase(const Sandbox::RequestRecord& request)
{
    auto* param = static_cast<Base::IStartPurchaseParam*>(request.param);
    const std::vector<OrderLine> order = OrderOf(param);
    if (HoldPurchase(request, order)) {
        return;
    }
    auto answer = std::make_shared<TransactionAnswer<Sandbox::PurchaseResultData>>();
    Sandbox::PurchaseResultData& data = answer->data;
    data.extraData = param != nullptr ? TextOrEmpty(param->GetExtraData()) : std::wstring();
    data.purchaseProgress = kProgressNone;
    data.popupCreated = false;

    Outcome outcome;
    // Allocated first: registered only once the result is queued.
    PendingPopup popup = RequestPopup(request, L"purchase", kPurchaseOp);
    const std::shared_ptr<const World> world = CurrentWorld();
    Shop& shop = TheShop();
    {
        std::lock_guard<std::mutex> lock(shop.mutex);
        // A window that does not open answers 33 whatever the order.
        outcome = popup.empty() ? kPopupFailed : CheckOrder(shop, *world, order);
        if (OutcomeFails()) {
            outcome = {};
        } else if (outcome.code == TESSEL_RESULT_SUCCESS) {
            const int64_t master = Buy(shop, *world, order);
            const Transaction& transaction = shop.transactions[master];
            data.transactionMasterNumber = master;
            data.transactionDetailNumbers.emplace();
            for (const Purchase& purchase : transaction.purchases) {
                data.transactionDetailNumbers->push_back(purchase.detailNumber);
            }
            if (ListsEmptied()) {
                data.transactionDetailNumbers->clear();  // the detail numbers are a list too
            }
            // No payment window is needed, so there is no payment page either.
            data.purchaseProgress = kNotNeedPaymentWindow;
            data.isPurchased = 1;
            data.popupCreated = true;
            answer->lists.emplace(transaction);
        }
    }
    if (!data.popupCreated) {
        SoleAnswer();
    }
    CompleteWith(request, kPurchaseOp, outcome, answer);
    if (data.popupCreated) {
        RegisterPopup(popup);
    }
}

void ConfirmPurchase(const Sandbox::RequestRecord& request)
{
    int64_t master = 0;
    if (auto* param = static_cast<Base::IConfirmPurchaseParam*>(request.param)) {
        master = param->GetTransactionMasterNumber();
    }
    auto answer = std::make_shared<TransactionAnswer<Sandbox::ConfirmPurchaseData>>();
    Outcome outcome;
    Shop& shop = TheShop();
    if (!OutcomeFails()) {  // a failed confirmation confirms nothing
        std::lock_guard<std::mutex> lock(shop.mutex);
        auto found = shop.transactions.find(master);
        if (found == shop.transactions.end()) {
            outcome = {TESSEL_RESULT_NOT_FOUND, L"No such transaction: " + std::to_wstring(master)};
        } else {
            found->second.confirmed = true;
            answer->data.result = true;
            answer->lists.emplace(found->second);
        }
    }
    if (const OutcomeRule* rule = CurrentOutcome();
        rule != nullptr && rule->flag && outcome.code == TESSEL_RESULT_SUCCESS && !OutcomeFails()) {
        answer->data.result = *rule->flag;
    }
    CompleteWith(request, kConfirmOp, outcome, answer);
}

// Completion with a text.
struct TextAnswer {
    Sandbox::Text text;
    void operator()(Base::TextTrampoline trampoline, Base::ICallbackResultObject* result) const
    {
        trampoline(result, Sandbox::TextPointer(text));
    }
};

// The payment the sandbox's wallet approves; the shop's lock is held.
std::wstring ApprovedPayment(Shop& shop, int32_t operation)
{
    return L"{\"paymentId\":\"P-" + std::to_wstring(shop.nextPayment++) + L"\",\"operation\":" +
           std::to_wstring(operation) + L",\"status\":\"approved\"}";
}

struct HeldPayment : Held<Base::TextTrampoline> {
    int32_t operation = 0;
};

// Only pay pays; every other choice answers an empty payment text.
WindowAnswers ChoosePayment(const HeldPayment& held, Choice choice)
{
    Outcome outcome;
    std::wstring text;
    switch (choice) {
    case Choice::Pay: {
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        text = ApprovedPayment(shop, held.operation);
        break;
    }
    case Choice::Decline: outcome = {TESSEL_SANDBOX_RESULT_PAYMENT_DECLINED, L"The payment was declined."}; break;
    case Choice::Cancel: outcome = {TESSEL_SANDBOX_RESULT_USER_CANCELLED, L"The player cancelled the payment."}; break;
    default: outcome = {TESSEL_SANDBOX_RESULT_WINDOW_CLOSED, L"The payment window was closed."}; break;
    }
    const uint32_t code = outcome.code;
    return Closing(held, kPaymentOp, L"payment",
                   TextAnswerJob(held.result, held.context, kPaymentOp, code, std::move(outcome.message),
                                 std::move(text)),
                   code);
}

bool HoldPayment(const Sandbox::RequestRecord& request, int32_t operation)
{
    if (!ShopWindowWaits(request)) {
        return false;
    }
    WindowView view;
    view.kind = L"payment";
    view.module = TESSEL_SANDBOX_MODULE_VENDRA;
    view.operation = kPaymentOp;
    view.choices = {Choice::Pay, Choice::Decline, Choice::Cancel, Choice::Close};
    view.asked = operation;
    view.paymentMethods = PaymentMethods();
    HeldPayment held;
    held.Keep(request);
    held.operation = operation;
    HoldWindow(std::move(view), [held](Choice choice, int32_t) { return ChoosePayment(held, choice); });
    return true;
}

void StartPayment(const Sandbox::RequestRecord& request)
{
    int32_t operation = 0;
    if (auto* param = static_cast<Base::IPaymentOptionParam*>(request.param)) {
        operation = param->GetOperation();
    }
    if (HoldPayment(request, operation)) {
        return;
    }
    Outcome outcome = kPopupFailed;
    Sandbox::Text text = std::wstring();
    PendingPopup popup = RequestPopup(request, L"payment", kPaymentOp);
    if (!popup.empty()) {
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        outcome = {};
        text = ApprovedPayment(shop, operation);
    }
    const auto trampoline = request.As<Base::TextTrampoline>();
    const auto destroy = request.SecondAs<Base::Trampoline>();
    ApplyOutcome(outcome.code, outcome.message);
    if (popup.empty() && destroy != nullptr) {
        // A payment keeps its destroy context apart, so a window that never
        // opened is still reported to the destroy trampoline, with code 33,
        // after the result: both are queued together.
        void* context = request.context;
        void* destroyContext = request.secondContext;
        PostCompletions(
            [trampoline, context, outcome]() {
                if (trampoline != nullptr) {
                    Sandbox::CallbackResultObject result(context, kPaymentOp, outcome.code, outcome.message);
                    trampoline(&result, L"");
                }
            },
            {outcome.code},
            [destroy, destroyContext]() {
                Sandbox::CallbackResultObject result(destroyContext, kPaymentOp, TESSEL_RESULT_POPUP_NOT_CREATED,
                                                     kPopupFailed.message);
                destroy(&result, nullptr);
            },
            {TESSEL_RESULT_POPUP_NOT_CREATED});
        return;
    }
    Complete(trampoline, request.context, kPaymentOp, outcome, [text] { return TextAnswer{text}; });
    RegisterPopup(popup);
}

// --- Inventory, voided purchases, terms, withdrawal ---------------------------

void FetchInventory(const Sandbox::RequestRecord& request)
{
    auto answer = std::make_shared<ListAnswer<Sandbox::InventoryItem>>();
    answer->items.items = Sandbox::ShopInventory();
    CompleteWith(request, kInventoryOp, {}, answer);
}

void FetchVoidedPurchases(const Sandbox::RequestRecord& request)
{
    auto items = std::make_shared<Items<Sandbox::VoidedPurchaseItem>>();
    std::vector<VoidedRecord> voidedPurchases = CurrentWorld()->voidedPurchases;
    {
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        voidedPurchases.insert(voidedPurchases.end(), shop.refunds.begin(), shop.refunds.end());
    }
    for (const VoidedRecord& voided : voidedPurchases) {
        Sandbox::VoidedPurchaseItem item;
        item.tid = voided.tid;
        item.marketCode = voided.marketCode;
        item.productId = voided.productId;
        item.marketProductId = voided.marketProductId;
        item.userId = voided.userId;
        item.characterNo = voided.characterNo;
        item.purchaseMillis = voided.purchaseMillis;
        item.voidedMillis = voided.voidedMillis;
        items->items.push_back(item);
    }
    CompleteWithArray(request, kVoidedOp, {}, items);
}

// Agree records the agreement; decline and close leave it as it was and
// answer not agreed, without the terms (only an answer that succeeds
// carries them).
WindowAnswers ChooseTerms(const Held<Base::Trampoline>& held, Choice choice)
{
    auto answer = std::make_shared<Single<Sandbox::TermsData>>();
    Sandbox::TermsData& data = answer->object;
    data.popupCreated = true;
    Outcome outcome{TESSEL_SANDBOX_RESULT_WINDOW_CLOSED, L"The terms window was closed."};
    if (choice == Choice::Agree) {
        outcome = {};
        data.termsText = CurrentWorld()->termsText;
    } else if (choice == Choice::Decline) {
        outcome = {TESSEL_SANDBOX_RESULT_TERMS_DECLINED, L"The player declined the terms."};
    }
    const uint32_t code = outcome.code;
    WindowAnswers answers = Closing(held, kTermsOp, L"terms",
                                    DataAnswerJob(held.result, held.context, kTermsOp, code,
                                                  std::move(outcome.message), [answer] { return answer->Get(); }),
                                    code);
    if (choice == Choice::Agree) {  // last: nothing can fail any more
        data.agreed = true;
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        shop.termsAgreed = true;
    }
    return answers;
}

bool HoldTerms(const Sandbox::RequestRecord& request, int32_t operation)
{
    if (!ShopWindowWaits(request)) {
        return false;
    }
    WindowView view;
    view.kind = L"terms";
    view.module = TESSEL_SANDBOX_MODULE_VENDRA;
    view.operation = kTermsOp;
    view.choices = {Choice::Agree, Choice::Decline, Choice::Close};
    view.asked = operation;
    view.termsText = CurrentWorld()->termsText.value_or(std::wstring());
    Held<Base::Trampoline> held;
    held.Keep(request);
    HoldWindow(std::move(view), [held](Choice choice, int32_t) { return ChooseTerms(held, choice); });
    return true;
}

void FetchTermsAgreement(const Sandbox::RequestRecord& request)
{
    int32_t operation = 0;
    if (auto* param = static_cast<Base::IWebviewOptionParam*>(request.param)) {
        operation = param->GetOperation();
    }
    if (HoldTerms(request, operation)) {
        return;
    }
    auto answer = std::make_shared<Single<Sandbox::TermsData>>();
    Sandbox::TermsData& data = answer->object;
    PendingPopup popup = RequestPopup(request, L"terms", kTermsOp);
    data.popupCreated = !popup.empty();
    const OutcomeRule* rule = CurrentOutcome();
    Shop& shop = TheShop();
    {
        std::lock_guard<std::mutex> lock(shop.mutex);
        // Operation 1 asks for agreement, and the simulated player agrees
        // (or answers as the outcome rule says).
        if (data.popupCreated && operation == 1 && !OutcomeFails()) {
            shop.termsAgreed = rule != nullptr && rule->flag ? *rule->flag : true;
        }
        data.agreed = data.popupCreated && shop.termsAgreed;
    }
    // Only an answer that succeeds carries the terms.
    if (data.popupCreated) {
        data.termsText = CurrentWorld()->termsText;
    }
    if (!data.popupCreated) {
        SoleAnswer();
    }
    CompleteWith(request, kTermsOp, data.popupCreated ? Outcome{} : kPopupFailed, answer);
    RegisterPopup(popup);
}

bool Withdrawable(const World& world, const Sandbox::InventoryItem& item)
{
    const ProductRecord* entry = world.FindProduct(item.productId);
    return entry != nullptr && entry->canWithdraw != 0;
}

// Withdrawing from the game gives back what can be withdrawn; true when
// something was.
bool WithdrawItems()
{
    const std::shared_ptr<const World> world = CurrentWorld();
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    const std::size_t held = shop.inventory.size();
    DropHeld(shop.inventory, [&world](const Sandbox::InventoryItem& item) { return Withdrawable(*world, item); });
    return shop.inventory.size() != held;
}

// Only withdraw withdraws; cancel and close answer not withdrawn.
WindowAnswers ChooseWithdrawal(const Held<Base::Trampoline>& held, Choice choice)
{
    auto answer = std::make_shared<Single<Sandbox::WithdrawData>>();
    answer->object.popupCreated = true;
    Outcome outcome{TESSEL_SANDBOX_RESULT_WINDOW_CLOSED, L"The withdrawal window was closed."};
    if (choice == Choice::Withdraw) {
        outcome = {};
    } else if (choice == Choice::Cancel) {
        outcome = {TESSEL_SANDBOX_RESULT_USER_CANCELLED, L"The player cancelled the withdrawal."};
    }
    const uint32_t code = outcome.code;
    WindowAnswers answers = Closing(held, kWithdrawOp, L"withdrawal",
                                    DataAnswerJob(held.result, held.context, kWithdrawOp, code,
                                                  std::move(outcome.message), [answer] { return answer->Get(); }),
                                    code);
    if (choice == Choice::Withdraw) {  // last: nothing is withdrawn when the answers could not be made
        answer->object.withdrawn = WithdrawItems();
    }
    return answers;
}

// The window shows what withdrawing would give back.
bool HoldWithdrawal(const Sandbox::RequestRecord& request)
{
    if (!ShopWindowWaits(request)) {
        return false;
    }
    WindowView view;
    view.kind = L"withdraw";
    view.module = TESSEL_SANDBOX_MODULE_VENDRA;
    view.operation = kWithdrawOp;
    view.choices = {Choice::Withdraw, Choice::Cancel, Choice::Close};
    {
        const std::shared_ptr<const World> world = CurrentWorld();
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        for (const Sandbox::InventoryItem& item : shop.inventory) {
            if (Withdrawable(*world, item)) {
                view.lines.push_back({item.productId, item.productName.value_or(std::wstring()), item.quantity, {}});
            }
        }
    }
    Held<Base::Trampoline> held;
    held.Keep(request);
    HoldWindow(std::move(view), [held](Choice choice, int32_t) { return ChooseWithdrawal(held, choice); });
    return true;
}

void WithdrawGame(const Sandbox::RequestRecord& request)
{
    if (HoldWithdrawal(request)) {
        return;
    }
    auto answer = std::make_shared<Single<Sandbox::WithdrawData>>();
    Sandbox::WithdrawData& data = answer->object;
    PendingPopup popup = RequestPopup(request, L"withdraw", kWithdrawOp);
    data.popupCreated = !popup.empty();
    const OutcomeRule* rule = CurrentOutcome();
    if (rule != nullptr && rule->flag) {
        // The player's answer is scripted: nothing changes in the inventory.
        // A failure opens no popup, so it withdraws nothing.
        data.withdrawn = data.popupCreated && *rule->flag;
    } else if (data.popupCreated && !OutcomeFails()) {
        data.withdrawn = WithdrawItems();
    }
    if (!data.popupCreated) {
        SoleAnswer();
    }
    CompleteWith(request, kWithdrawOp, data.popupCreated ? Outcome{} : kPopupFailed, answer);
    RegisterPopup(popup);
}

}  // namespace

// --- Popups of every feature ---------------------------------------------------

PendingPopup PreparePopup(const wchar_t* kind, uint32_t operationCode, Base::Trampoline destroy,
                          void* destroyContext)
{
    PendingPopup popup;
    popup.push_back({0, kind, operationCode, TESSEL_SANDBOX_MODULE_VENDRA, destroy, destroyContext, CurrentDue(), {}});
    popup.front().notice = DestroyNoticeJob(destroy, destroyContext, operationCode, TESSEL_RESULT_SUCCESS, {}, 0);
    return popup;
}

void RegisterPopup(PendingPopup& popup) noexcept
{
    if (popup.empty()) {
        return;
    }
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    popup.front().id = shop.nextPopup++;
    if (TraceOn()) {
        TracePopup("opened", popup.front().id, popup.front().kind, popup.front().operationCode);
    }
    shop.popups.splice(shop.popups.end(), popup);
}

bool PopupOpens(bool moduleSetting) noexcept
{
    // A failure opens nothing, whatever else its outcome says.
    if (OutcomeFails()) {
        return false;
    }
    const OutcomeRule* rule = CurrentOutcome();
    if (rule != nullptr && rule->popupCreated) {
        return *rule->popupCreated;
    }
    return moduleSetting;
}

namespace {

void QueueDestroy(Popup& popup) noexcept
{
    if (popup.notice) {
        QueueCompletion(std::move(popup.notice), popup.notBefore,
                        {TESSEL_RESULT_SUCCESS, -1, popup.module, popup.operationCode});
    }
}

// Takes the popups that match out of the shop, then queues their destroy
// notifications in the order they were opened.
template <class Match>
std::size_t ClosePopupsWhere(Match match) noexcept
{
    std::list<Popup> closed;
    {
        Shop& shop = TheShop();
        std::lock_guard<std::mutex> lock(shop.mutex);
        for (auto popup = shop.popups.begin(); popup != shop.popups.end();) {
            auto next = std::next(popup);
            if (match(*popup)) {
                closed.splice(closed.end(), shop.popups, popup);
            }
            popup = next;
        }
    }
    std::size_t count = 0;
    for (Popup& popup : closed) {
        if (TraceOn()) {
            TracePopup("closed", popup.id, popup.kind, popup.operationCode);
        }
        QueueDestroy(popup);
        ++count;
    }
    return count;
}

}  // namespace

bool ClosePopupById(uint64_t id) noexcept
{
    return ClosePopupsWhere([id](const Popup& popup) { return popup.id == id; }) != 0;
}

// Waiting windows of interactive mode end with the open popups.
std::size_t CloseEveryPopup() noexcept
{
    return ClosePopupsWhere([](const Popup&) { return true; }) + EndWaitingWindows();
}

std::size_t OpenPopupCount()
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    return shop.popups.size();
}

}  // namespace plinth

using namespace plinth;

// --- The platform's shop requests ---------------------------------------------

void Tessel_FetchShopCategories(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchShopCategories,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kCategoriesOp, Shape::Data});
}

void Tessel_FetchProducts(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchProducts,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kProductsOp, Shape::Data});
}

void Tessel_Internal_IAP_FetchProductsEx(Base::IParam* param, Base::ArrayTrampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchProductsEx,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kProductsOp, Shape::Array});
}

void Tessel_StartPurchase(Base::IParam* param, Base::Trampoline resultTrampoline,
                          Base::Trampoline destroyTrampoline, void* resultContext, void* destroyContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, destroyTrampoline, destroyContext),
                  &StartPurchase,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kPurchaseOp, Shape::Data});
}

void Tessel_ConfirmPurchase(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &ConfirmPurchase,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kConfirmOp, Shape::Data});
}

void Tessel_Internal_IAP_StartPayment(Base::IParam* param, Base::TextTrampoline resultTrampoline,
                                      Base::Trampoline destroyTrampoline, void* resultContext,
                                      void* destroyContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, destroyTrampoline, destroyContext),
                  &StartPayment,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kPaymentOp, Shape::Text});
}

void Tessel_FetchInventory(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchInventory,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kInventoryOp, Shape::Data});
}

void Tessel_FetchTermsAgreement(Base::IParam* param, Base::Trampoline resultTrampoline,
                                Base::Trampoline destroyTrampoline, void* resultContext, void* destroyContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, destroyTrampoline, destroyContext),
                  &FetchTermsAgreement,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kTermsOp, Shape::Data});
}

void Tessel_Internal_IAP_FetchVoidedPurchases(Base::IParam* param, Base::ArrayTrampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchVoidedPurchases,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kVoidedOp, Shape::Array});
}

void Tessel_WithdrawGame(Base::IParam* param, Base::Trampoline resultTrampoline, Base::Trampoline destroyTrampoline,
                         void* resultContext, void* destroyContext)
{
    SubmitRequest(MakeRequest(__func__, param, resultTrampoline, resultContext, destroyTrampoline, destroyContext),
                  &WithdrawGame,
                  {TESSEL_SANDBOX_MODULE_VENDRA, kWithdrawOp, Shape::Data});
}

namespace {

// The answer of a close that ran out of memory: made without allocating, and
// shared, so nothing in it changes (Retain and Release count nothing).
class OutOfMemoryResult final : public Base::IResultObject {
public:
    int32_t GetTypeId() const override { return Base::kResultObject; }
    uint32_t Retain() override { return 1; }
    void Release() override {}
    uint32_t GetRetainCount() const override { return 1; }
    uint32_t GetOperationCode() const override { return 0; }
    uint32_t GetResultCode() const override { return TESSEL_RESULT_OUT_OF_MEMORY; }
};

}  // namespace

// Closes the popups of every feature. The result can be scripted; in
// scripted mode no popups are open. Out of memory answers code 22 (the
// popups whose notice could not be queued stay open), never a null object,
// which would read as success.
Base::IResultObject* Tessel_CloseAllPopups()
{
    const uint32_t code = IsBaseInitialized() ? TESSEL_RESULT_SUCCESS : TESSEL_RESULT_NOT_INITIALIZED;
    try {
        if (code == TESSEL_RESULT_SUCCESS) {
            CloseEveryPopup();
        }
        return AnswerCall(Sandbox::Call::CloseAllPopups, 0, code);
    } catch (...) {
        static OutOfMemoryResult outOfMemory;
        return &outOfMemory;
    }
}

// --- Shop inspection ----------------------------------------------------------

namespace Tessel::PCSDK::Sandbox {

std::vector<ShownPopup> OpenPopups()
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    std::vector<ShownPopup> shown;
    for (const Popup& popup : shop.popups) {
        shown.push_back({popup.id, popup.kind});
    }
    return shown;
}

bool ClosePopup(uint64_t id) { return ClosePopupById(id); }

std::size_t ClosePopups() { return CloseEveryPopup(); }

void SetShopPopupsCreated(bool created)
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    shop.popupsCreated = created;
}

std::vector<InventoryItem> ShopInventory()
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    return shop.inventory;
}

}  // namespace Tessel::PCSDK::Sandbox

// --- The books, for the console (console/books.hpp) ---------------------------

namespace plinth {

ShopBooks ReadShopBooks()
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    ShopBooks books;
    for (const auto& [master, transaction] : shop.transactions) {
        BookTransaction entry{master, transaction.confirmed, {}};
        for (const Purchase& purchase : transaction.purchases) {
            entry.lines.push_back({purchase.detailNumber, purchase.productId, purchase.quantity, purchase.paid});
        }
        books.transactions.push_back(std::move(entry));
    }
    std::vector<Sandbox::InventoryItem> inventory(shop.inventory);
    books.inventory.swap(inventory);
    for (const VoidedRecord& voided : shop.refunds) {
        books.refunds.push_back({voided.tid, voided.productId ? std::wcstoll(voided.productId->c_str(), nullptr, 10) : 0, voided.voidedMillis});
    }
    books.termsAgreed = shop.termsAgreed;
    return books;
}

bool RefundTransaction(int64_t masterNumber, int64_t voidedMillis)
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    const auto found = shop.transactions.find(masterNumber);
    if (found == shop.transactions.end()) {
        return false;
    }
    std::vector<VoidedRecord> refunds;
    for (const Purchase& purchase : found->second.purchases) {
        VoidedRecord voided;
        voided.tid = masterNumber;
        voided.productId = std::to_wstring(purchase.productId);
        voided.voidedMillis = voidedMillis;
        refunds.push_back(voided);
    }
    shop.refunds.insert(shop.refunds.end(), refunds.begin(), refunds.end());
    shop.transactions.erase(found);
    DropHeld(shop.inventory, [masterNumber](const Sandbox::InventoryItem& item) {
        return item.transactionMasterNumber == masterNumber;
    });
    return true;
}

int64_t GrantItem(const InventoryRecord& record)
{
    Sandbox::InventoryItem item = ItemOf(record);
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    if (item.transactionDetailNumber == 0) {
        item.transactionDetailNumber = shop.nextDetail++;
    }
    shop.inventory.push_back(item);
    return item.transactionDetailNumber;
}

bool RemoveItem(int64_t detailNumber)
{
    Shop& shop = TheShop();
    std::lock_guard<std::mutex> lock(shop.mutex);
    const std::size_t held = shop.inventory.size();
    DropHeld(shop.inventory, [detailNumber](const Sandbox::InventoryItem& item) {
        return item.transactionDetailNumber == detailNumber;
    });
    return shop.inventory.size() != held;
}

}  // namespace plinth
