// Vendra's records: reading the platform's data objects (the sandbox shop's
// concrete objects) into intermediate records, the C records built from
// them and their release, and the arrays handed to callbacks.
#include <cwchar>
#include <string>
#include <vector>

#include "TestSupport.hpp"
#include "records.hpp"
#include "tessel/sandbox/SandboxShop.hpp"

namespace {

using namespace tessel::test;
namespace IAP = Tessel::PCSDK::IAP;

std::wstring Text(const wchar_t* text) { return text != nullptr ? std::wstring(text) : L"<null>"; }

Sandbox::ProductFields SampleFields()
{
    Sandbox::ProductFields f;
    f.productId = 5000000000LL;
    f.gameItemId = std::wstring(L"gi");
    f.name = std::nullopt;
    f.description = std::wstring(L"desc");
    f.quantity = 3;
    f.productTypeCode = 2;
    f.categoryId = std::wstring(L"c1");
    f.categoryName = std::wstring(L"cn");
    f.currencyCode = std::nullopt;
    f.price = 1.25;
    f.displayPrice = 2.25;
    f.displayPriceString = std::wstring(L"2.25");
    f.salePrice = 3.25;
    f.displaySalePrice = 4.25;
    f.displaySalePriceString = std::wstring(L"4.25");
    f.isDiscount = 1;
    f.discountType = 2;
    f.discountTypeValue = 30;
    f.discountBeginDate = 11;
    f.discountEndDate = 12;
    f.totalQuantity = 13;
    f.memberQuantity = 14;
    f.guidQuantity = 15;
    f.thumbnailUrl = std::wstring(L"thumb");
    f.canWithdraw = 0;
    f.purchasedAtLeastOnce = 1;
    f.purchaseLimitTypeCode = 3;
    f.purchaseLimitCount = 16;
    f.saleLimitCount = 17;
    f.saleBeginDate = 18;
    f.saleEndDate = 19;
    return f;
}

// --- Reading data objects -------------------------------------------------------------

TEST(VendraReadTest, ProductTakesEveryGetterAndNullTextsReadAsEmpty)
{
    const Sandbox::ProductExItem item(SampleFields(), -7);
    const IAP::TesselPCProductExCpp r = vendra::ReadProductEx(&item);
    EXPECT_EQ(r.productId, 5000000000LL);
    EXPECT_EQ(r.gameItemId, L"gi");
    EXPECT_EQ(r.name, L"");
    EXPECT_EQ(r.description, L"desc");
    EXPECT_EQ(r.quantity, 3);
    EXPECT_EQ(r.productTypeCode, IAP::ProductTypeCode::IN_GAME_ITEM);
    EXPECT_EQ(r.categoryId, L"c1");
    EXPECT_EQ(r.categoryName, L"cn");
    EXPECT_EQ(r.currencyCode, L"");
    EXPECT_EQ(r.price, 1.25);
    EXPECT_EQ(r.displayPrice, 2.25);
    EXPECT_EQ(r.displayPriceString, L"2.25");
    EXPECT_EQ(r.salePrice, 3.25);
    EXPECT_EQ(r.displaySalePrice, 4.25);
    EXPECT_EQ(r.displaySalePriceString, L"4.25");
    EXPECT_TRUE(r.isDiscount);
    EXPECT_EQ(r.discountType, IAP::DiscountType::FLAT_RATE);
    EXPECT_EQ(r.discountTypeValue, 30);
    EXPECT_EQ(r.discountBeginDate, 11);
    EXPECT_EQ(r.discountEndDate, 12);
    EXPECT_EQ(r.totalQuantity, 13);
    EXPECT_EQ(r.memberQuantity, 14);
    EXPECT_EQ(r.guidQuantity, 15);
    EXPECT_EQ(r.thumbnailUrl, L"thumb");
    EXPECT_FALSE(r.canWithdraw);
    EXPECT_TRUE(r.purchasedAtLeastOnce);
    EXPECT_EQ(r.purchaseLimitTypeCode, IAP::PurchaseLimitTypeCode::CHARACTER);
    EXPECT_EQ(r.purchaseLimitCount, 16);
    EXPECT_EQ(r.saleLimitCount, 17);
    EXPECT_EQ(r.saleBeginDate, 18);
    EXPECT_EQ(r.saleEndDate, 19);
    EXPECT_EQ(r.purchaseAvailabilityCode, -7);

    const Sandbox::ProductItem plain(SampleFields());
    const IAP::TesselPCProductCpp p = vendra::ReadProduct(&plain);
    EXPECT_EQ(p.saleEndDate, 19);
    EXPECT_EQ(p.thumbnailUrl, L"thumb");
}

TEST(VendraReadTest, NullItemsGiveEmptyStringsAndZeros)
{
    const IAP::TesselPCProductCpp product = vendra::ReadProduct(nullptr);
    EXPECT_EQ(product.productTypeCode, IAP::ProductTypeCode::NONE);
    EXPECT_EQ(product.purchaseLimitTypeCode, IAP::PurchaseLimitTypeCode::NONE);
    EXPECT_EQ(product.name, L"");
    EXPECT_EQ(vendra::ReadVoidedPurchase(nullptr).tid, 0);
    EXPECT_EQ(vendra::ReadShopCategory(nullptr).depth, 0);

    const IAP::TesselPCPurchaseResultCpp result = vendra::ReadPurchaseResult(nullptr);
    EXPECT_EQ(result.purchaseProgress, IAP::PurchaseProgress::NONE);
    EXPECT_TRUE(result.purchasedProducts.empty());

    const vendra::ConfirmPurchaseCpp confirm = vendra::ReadConfirmPurchase(nullptr);
    EXPECT_FALSE(confirm.result);
    EXPECT_TRUE(confirm.purchasedProducts.empty());
    EXPECT_TRUE(confirm.chargeInfos.empty());
}

TEST(VendraReadTest, CategoriesInventoryAndVoidedPurchasesKeepTheirFieldOrder)
{
    Sandbox::ShopCategoryItem category;
    category.categoryId = std::wstring(L"id");
    category.parentCategoryId = std::nullopt;
    category.displayNumber = 4;
    category.name = std::wstring(L"Armour");
    category.depth = 2;
    const auto c = vendra::ReadShopCategory(&category);
    EXPECT_EQ(c.categoryId, L"id");
    EXPECT_EQ(c.parentCategoryId, L"");
    EXPECT_EQ(c.displayNumber, 4);
    EXPECT_EQ(c.name, L"Armour");
    EXPECT_EQ(c.depth, 2);

    Sandbox::InventoryItem inventory;
    inventory.transactionMasterNumber = 1;
    inventory.transactionDetailNumber = 2;
    inventory.productId = 3;
    inventory.gameItemId = std::wstring(L"g");
    inventory.productName = std::nullopt;
    inventory.quantity = 4;
    inventory.thumbnailUrl = std::wstring(L"t");
    const auto i = vendra::ReadInventoryItem(&inventory);
    EXPECT_EQ(std::vector<long long>({i.transactionMasterNumber, i.transactionDetailNumber, i.productId, i.quantity}),
              std::vector<long long>({1, 2, 3, 4}));
    EXPECT_EQ(i.gameItemId + L"|" + i.productName + L"|" + i.thumbnailUrl, L"g||t");

    Sandbox::VoidedPurchaseItem voided;
    voided.tid = 9;
    voided.marketCode = std::wstring(L"m");
    voided.productId = std::wstring(L"p");
    voided.marketProductId = std::nullopt;
    voided.userId = std::wstring(L"u");
    voided.characterNo = 10;
    voided.purchaseMillis = 11;
    voided.voidedMillis = 12;
    const auto v = vendra::ReadVoidedPurchase(&voided);
    EXPECT_EQ(v.marketCode + L"|" + v.productId + L"|" + v.marketProductId + L"|" + v.userId, L"m|p||u");
    EXPECT_EQ(std::vector<long long>({v.tid, v.characterNo, v.purchaseMillis, v.voidedMillis}),
              std::vector<long long>({9, 10, 11, 12}));
}

TEST(VendraReadTest, PurchaseResultListsAndDetailNumbers)
{
    Sandbox::PurchasedProductItem first;
    first.transactionDetailNumber = 71;
    first.productId = 72;
    first.categoryId = std::nullopt;
    first.totalQuantity = 73;
    first.memberQuantity = 74;
    first.guidQuantity = 75;
    Sandbox::ChargeInfoItem charge;
    charge.chargeDeductVal = 0.5;
    charge.chargeDisplayDeductVal = 0.75;
    charge.chargeType = 6;
    charge.chargeTypeName = std::wstring(L"coin");

    Sandbox::PurchaseResultData data;
    data.transactionMasterNumber = 70;
    data.transactionDetailNumbers = std::vector<int64_t>{71, 81};
    data.oneTimePaymentUrl = std::nullopt;
    data.purchaseProgress = 2;
    data.isPurchased = 1;
    data.extraData = std::wstring(L"e");
    data.purchasedProducts.items = {&first, nullptr};  // a null item reads as the empty record
    data.chargeInfos.items = {&charge};

    const auto r = vendra::ReadPurchaseResult(&data);
    EXPECT_EQ(r.transactionMasterNumber, 70);
    EXPECT_EQ(r.transactionDetailNumbers, (std::vector<long long>{71, 81}));
    EXPECT_EQ(r.oneTimePaymentUrl, L"");
    EXPECT_EQ(r.purchaseProgress, IAP::PurchaseProgress::NOT_NEED_PAYMENT_WINDOW);
    EXPECT_TRUE(r.isPurchased);
    EXPECT_EQ(r.extraData, L"e");
    ASSERT_EQ(r.purchasedProducts.size(), 2u);
    EXPECT_EQ(r.purchasedProducts[0].transactionDetailNumber, 71);
    EXPECT_EQ(r.purchasedProducts[0].productId, 72);
    EXPECT_EQ(r.purchasedProducts[0].categoryId, L"");
    EXPECT_EQ(r.purchasedProducts[0].guidQuantity, 75);
    EXPECT_EQ(r.purchasedProducts[1].productId, 0);
    ASSERT_EQ(r.chargeInfos.size(), 1u);
    EXPECT_EQ(r.chargeInfos[0].chargeDisplayDeductVal, 0.75);
    EXPECT_EQ(r.chargeInfos[0].chargeType, 6);
    EXPECT_EQ(r.chargeInfos[0].chargeTypeName, L"coin");

    // Detail numbers are taken only from a pointer with a count.
    data.transactionDetailNumbers = std::nullopt;
    data.transactionDetailNumberCount = 3;
    EXPECT_TRUE(vendra::ReadPurchaseResult(&data).transactionDetailNumbers.empty());
    data.transactionDetailNumbers = std::vector<int64_t>{1, 2};
    data.transactionDetailNumberCount = 0;
    EXPECT_TRUE(vendra::ReadPurchaseResult(&data).transactionDetailNumbers.empty());

    Sandbox::ConfirmPurchaseData confirm;
    confirm.result = true;
    confirm.purchasedProducts.items = {&first};
    confirm.chargeInfos.items = {&charge, &charge};
    const auto c = vendra::ReadConfirmPurchase(&confirm);
    EXPECT_TRUE(c.result);
    ASSERT_EQ(c.purchasedProducts.size(), 1u);
    EXPECT_EQ(c.purchasedProducts[0].memberQuantity, 74);
    EXPECT_EQ(c.chargeInfos.size(), 2u);
}

// --- C records ----------------------------------------------------------------------------

TEST(VendraCRecordTest, ProductRecordHasReservedZeroAndFreshNonNullTexts)
{
    const Sandbox::ProductExItem item(SampleFields(), 4);
    const IAP::TesselPCProductExCpp record = vendra::ReadProductEx(&item);
    TesselProductEx c = vendra::ToC(record);
    EXPECT_EQ(c.reserved, 0);
    EXPECT_EQ(c.productId, 5000000000LL);
    ASSERT_NE(c.name, nullptr) << "a null text from the platform is an empty string";
    EXPECT_EQ(Text(c.name), L"");
    EXPECT_EQ(Text(c.gameItemId), L"gi");
    EXPECT_NE(c.gameItemId, record.gameItemId.c_str());
    EXPECT_EQ(c.productTypeCode, 2);
    EXPECT_TRUE(c.isDiscount);
    EXPECT_EQ(c.discountType, 2);
    EXPECT_EQ(c.discountBeginDate, 11);
    EXPECT_FALSE(c.canWithdraw);
    EXPECT_TRUE(c.purchasedAtLeastOnce);
    EXPECT_EQ(c.purchaseLimitTypeCode, 3);
    EXPECT_EQ(c.saleEndDate, 19);
    EXPECT_EQ(c.purchaseAvailabilityCode, 4);
    vendra::FreeC(c);
    EXPECT_EQ(c.name, nullptr);
    EXPECT_EQ(c.thumbnailUrl, nullptr);
    vendra::FreeC(c);  // freed records can be freed again
}

TEST(VendraCRecordTest, EveryTextOfEveryKindIsNonNull)
{
    TesselShopCategory category = vendra::ToC(IAP::TesselPCShopCategoryCpp{});
    TesselInventoryItem inventory = vendra::ToC(IAP::TesselPCInventoryItemCpp{});
    TesselVoidedPurchase voided = vendra::ToC(IAP::TesselPCVoidedPurchaseCpp{});
    TesselProduct product = vendra::ToC(IAP::TesselPCProductCpp{});
    for (const wchar_t* text : {category.categoryId, category.parentCategoryId, category.name, inventory.gameItemId,
                                inventory.productName, inventory.thumbnailUrl, voided.marketCode, voided.productId,
                                voided.marketProductId, voided.userId, product.gameItemId, product.name,
                                product.description, product.categoryId, product.categoryName, product.currencyCode,
                                product.displayPriceString, product.displaySalePriceString, product.thumbnailUrl}) {
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text[0], L'\0');
    }
    EXPECT_EQ(category.reserved + inventory.reserved + voided.reserved + product.reserved, 0);
    vendra::FreeC(category);
    vendra::FreeC(inventory);
    vendra::FreeC(voided);
    vendra::FreeC(product);
}

TEST(VendraCRecordTest, PurchaseResultListsAndTheirRelease)
{
    IAP::TesselPCPurchaseResultCpp record;
    record.transactionMasterNumber = 5;
    record.transactionDetailNumbers = {51, 52};
    record.purchaseProgress = IAP::PurchaseProgress::NEED_PAYMENT_WINDOW;
    record.isPurchased = true;
    record.purchasedProducts = {{51, 1, L"a", 1, 2, 3}, {52, 2, L"b", 4, 5, 6}};

    TesselPurchaseResult c = vendra::ToC(record);
    EXPECT_EQ(c.reserved, 0);
    EXPECT_EQ(c.transactionMasterNumber, 5);
    ASSERT_EQ(c.transactionDetailNumberCount, 2u);
    EXPECT_EQ(c.transactionDetailNumbers[1], 52);
    EXPECT_EQ(Text(c.oneTimePaymentUrl), L"");
    EXPECT_EQ(c.purchaseProgress, 1);
    EXPECT_TRUE(c.isPurchased);
    ASSERT_EQ(c.purchasedProductCount, 2u);
    EXPECT_EQ(c.purchasedProducts[0].reserved, 0);
    EXPECT_EQ(c.purchasedProducts[1].reserved, 0);
    EXPECT_EQ(Text(c.purchasedProducts[1].categoryId), L"b");
    EXPECT_EQ(c.purchasedProducts[1].guidQuantity, 6);
    EXPECT_EQ(c.chargeInfos, nullptr) << "no charge infos: a null array";
    EXPECT_EQ(c.chargeInfoCount, 0u);

    vendra::FreeC(c);
    EXPECT_EQ(c.transactionDetailNumbers, nullptr);
    EXPECT_EQ(c.transactionDetailNumberCount, 0u);
    EXPECT_EQ(c.purchasedProducts, nullptr);
    EXPECT_EQ(c.purchasedProductCount, 0u);
    EXPECT_EQ(c.extraData, nullptr);

    TesselPurchaseResult empty = vendra::ToC(IAP::TesselPCPurchaseResultCpp{});
    EXPECT_EQ(empty.transactionDetailNumbers, nullptr);
    EXPECT_EQ(empty.purchasedProducts, nullptr);
    vendra::FreeC(empty);
}

// --- Arrays handed to callbacks -----------------------------------------------------------

TEST(VendraDeliveryTest, CArrayHasOneRecordPerItemAndNullForNone)
{
    Sandbox::InventoryItem a;
    a.productId = 1;
    a.productName = std::wstring(L"first");
    Sandbox::InventoryItem b;
    b.productId = 2;
    b.productName = std::nullopt;
    Sandbox::ListObject list({&a, nullptr, &b});

    int calls = 0;
    vendra::DeliverCRecords(vendra::ItemSource::FromList(&list), &vendra::ReadInventoryItem,
                            [&](const TesselInventoryItem* items, unsigned count) {
                                ++calls;
                                ASSERT_EQ(count, 3u);
                                EXPECT_EQ(Text(items[0].productName), L"first");
                                EXPECT_EQ(items[1].productId, 0) << "a null item is the empty record";
                                EXPECT_EQ(Text(items[1].productName), L"");
                                EXPECT_EQ(items[2].productId, 2);
                                EXPECT_EQ(Text(items[2].productName), L"");
                            });
    EXPECT_EQ(calls, 1);

    vendra::DeliverCRecords(vendra::ItemSource::FromList(nullptr), &vendra::ReadInventoryItem,
                            [&](const TesselInventoryItem* items, unsigned count) {
                                ++calls;
                                EXPECT_EQ(items, nullptr);
                                EXPECT_EQ(count, 0u);
                            });
    // A null item array keeps its count: each item reads as the empty record.
    vendra::DeliverCRecords(vendra::ItemSource::FromArray(nullptr, 2), &vendra::ReadVoidedPurchase,
                            [&](const TesselVoidedPurchase* items, unsigned count) {
                                ++calls;
                                ASSERT_EQ(count, 2u);
                                EXPECT_EQ(items[1].tid, 0);
                                EXPECT_EQ(Text(items[1].userId), L"");
                            });
    EXPECT_EQ(calls, 3);
}

TEST(VendraDeliveryTest, ObjectArrayIsFilledByDeepCopy)
{
    Sandbox::ProductFields fields = SampleFields();
    Sandbox::ProductExItem first(fields, 1);
    fields.name = std::wstring(L"second");
    Sandbox::ProductExItem second(fields, 2);
    Base::IObject* items[] = {&first, &second};

    int calls = 0;
    vendra::DeliverObjects<IAP::TesselPCProductEx>(
        vendra::ItemSource::FromArray(items, 2), &vendra::ReadProductEx,
        [&](IAP::TesselPCProductEx* objects, unsigned count) {
            ++calls;
            ASSERT_EQ(count, 2u);
            EXPECT_EQ(Text(objects[0].GetName()), L"");
            EXPECT_EQ(Text(objects[1].GetName()), L"second");
            EXPECT_EQ(objects[1].GetPurchaseAvailabilityCode(), 2);
            EXPECT_EQ(objects[0].GetProductTypeCode(), IAP::ProductTypeCode::IN_GAME_ITEM);
        });
    vendra::DeliverObjects<IAP::TesselPCProductEx>(vendra::ItemSource::FromArray(items, 0), &vendra::ReadProductEx,
                                                   [&](IAP::TesselPCProductEx* objects, unsigned count) {
                                                       ++calls;
                                                       EXPECT_EQ(objects, nullptr);
                                                       EXPECT_EQ(count, 0u);
                                                   });
    EXPECT_EQ(calls, 2);
}

TEST(VendraDeliveryTest, ConfirmationListsAsCRecordsAndObjects)
{
    const std::vector<IAP::TesselPCChargeInfoCpp> infos = {{1.0, 2.0, 3, L"x"}, {4.0, 5.0, 6, L""}};
    vendra::DeliverCRecords(infos, [](const TesselChargeInfo* records, unsigned count) {
        ASSERT_EQ(count, 2u);
        EXPECT_EQ(records[1].reserved, 0);
        EXPECT_EQ(records[1].chargeType, 6);
        EXPECT_EQ(Text(records[0].chargeTypeName), L"x");
    });
    vendra::DeliverObjects<IAP::TesselPCChargeInfo>(infos, [](IAP::TesselPCChargeInfo* objects, unsigned count) {
        ASSERT_EQ(count, 2u);
        EXPECT_EQ(objects[0].GetChargeDeductVal(), 1.0);
        EXPECT_EQ(Text(objects[1].GetChargeTypeName()), L"");
    });
    vendra::DeliverCRecords(std::vector<IAP::TesselPCPurchasedProductCpp>{},
                            [](const TesselPurchasedProduct* records, unsigned count) {
                                EXPECT_EQ(records, nullptr);
                                EXPECT_EQ(count, 0u);
                            });
}

}  // namespace
