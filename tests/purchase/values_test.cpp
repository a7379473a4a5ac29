// Vendra's public value classes, used through the module library as a game
// uses them: defaults, deep copies that share nothing with their source,
// self-assignment, list builders with their index rules, the web-view
// rectangle, and the converting members given null.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "tessel/vendra/VendraTypes.hpp"

namespace {

using namespace Tessel::PCSDK::IAP;

std::wstring Text(const wchar_t* text) { return text != nullptr ? std::wstring(text) : L"<null>"; }

TesselPCProductCpp SampleProduct()
{
    TesselPCProductCpp r;
    r.productId = 9000000001LL;
    r.gameItemId = L"item-1";
    r.name = L"Sword";
    r.description = L"Sharp";
    r.quantity = 2;
    r.productTypeCode = ProductTypeCode::PACKAGE_ITEM;
    r.categoryId = L"cat-7";
    r.categoryName = L"Weapons";
    r.currencyCode = L"EUR";
    r.price = 10.5;
    r.displayPrice = 11.5;
    r.displayPriceString = L"11.50";
    r.salePrice = 8.25;
    r.displaySalePrice = 9.25;
    r.displaySalePriceString = L"9.25";
    r.isDiscount = true;
    r.discountType = DiscountType::FLAT_RATE;
    r.discountTypeValue = 15;
    r.discountBeginDate = 1700000000001LL;
    r.discountEndDate = 1700000000002LL;
    r.totalQuantity = 100;
    r.memberQuantity = 3;
    r.guidQuantity = 4;
    r.thumbnailUrl = L"https://img/1";
    r.canWithdraw = false;
    r.purchasedAtLeastOnce = true;
    r.purchaseLimitTypeCode = PurchaseLimitTypeCode::CHARACTER;
    r.purchaseLimitCount = 5;
    r.saleLimitCount = 6;
    r.saleBeginDate = 1700000000003LL;
    r.saleEndDate = 1700000000004LL;
    return r;
}

// Every field of a product object against its record.
template <class Product>
void ExpectProduct(Product& p, const TesselPCProductCpp& r)
{
    EXPECT_EQ(p.GetProductId(), r.productId);
    EXPECT_EQ(Text(p.GetGameItemId()), r.gameItemId);
    EXPECT_EQ(Text(p.GetName()), r.name);
    EXPECT_EQ(Text(p.GetDescription()), r.description);
    EXPECT_EQ(p.GetQuantity(), r.quantity);
    EXPECT_EQ(p.GetProductTypeCode(), r.productTypeCode);
    EXPECT_EQ(Text(p.GetCategoryId()), r.categoryId);
    EXPECT_EQ(Text(p.GetCategoryName()), r.categoryName);
    EXPECT_EQ(Text(p.GetCurrencyCode()), r.currencyCode);
    EXPECT_EQ(p.GetPrice(), r.price);
    EXPECT_EQ(p.GetDisplayPrice(), r.displayPrice);
    EXPECT_EQ(Text(p.GetDisplayPriceString()), r.displayPriceString);
    EXPECT_EQ(p.GetSalePrice(), r.salePrice);
    EXPECT_EQ(p.GetDisplaySalePrice(), r.displaySalePrice);
    EXPECT_EQ(Text(p.GetDisplaySalePriceString()), r.displaySalePriceString);
    EXPECT_EQ(p.IsDiscount(), r.isDiscount);
    EXPECT_EQ(p.GetDiscountType(), r.discountType);
    EXPECT_EQ(p.GetDiscountTypeValue(), r.discountTypeValue);
    EXPECT_EQ(p.GetDiscountBeginDate(), r.discountBeginDate);
    EXPECT_EQ(p.GetDiscountEndDate(), r.discountEndDate);
    EXPECT_EQ(p.GetTotalQuantity(), r.totalQuantity);
    EXPECT_EQ(p.GetMemberQuantity(), r.memberQuantity);
    EXPECT_EQ(p.GetGuidQuantity(), r.guidQuantity);
    EXPECT_EQ(Text(p.GetThumbnailUrl()), r.thumbnailUrl);
    EXPECT_EQ(p.CanWithdraw(), r.canWithdraw);
    EXPECT_EQ(p.GetPurchasedAtLeastOnce(), r.purchasedAtLeastOnce);
    EXPECT_EQ(p.GetPurchaseLimitTypeCode(), r.purchaseLimitTypeCode);
    EXPECT_EQ(p.GetPurchaseLimitCount(), r.purchaseLimitCount);
    EXPECT_EQ(p.GetSaleLimitCount(), r.saleLimitCount);
    EXPECT_EQ(p.GetSaleBeginDate(), r.saleBeginDate);
    EXPECT_EQ(p.GetSaleEndDate(), r.saleEndDate);
}

TesselPCPurchaseResultCpp SampleResult()
{
    TesselPCPurchaseResultCpp r;
    r.transactionMasterNumber = 77;
    r.transactionDetailNumbers = {701, 702, 703};
    r.oneTimePaymentUrl = L"https://pay/1";
    r.purchaseProgress = PurchaseProgress::NOT_NEED_PAYMENT_WINDOW;
    r.isPurchased = true;
    r.extraData = L"extra";
    r.purchasedProducts = {{701, 11, L"cat-a", 1, 2, 3}, {702, 12, L"cat-b", 4, 5, 6}};
    r.chargeInfos = {{1.5, 2.5, 9, L"card"}};
    return r;
}

// --- Defaults -------------------------------------------------------------------

TEST(VendraDefaultsTest, TextsAreFreshEmptyStringsAndNumbersTakeTheirDefaults)
{
    TesselPCFetchProductParam page;
    ASSERT_NE(page.GetCategoryId(), nullptr);
    EXPECT_EQ(Text(page.GetCategoryId()), L"");
    EXPECT_EQ(page.GetPageNumber(), 1);
    EXPECT_EQ(page.GetPageSize(), 20);

    TesselPCProduct product;
    ExpectProduct(product, [] {
        TesselPCProductCpp r;
        r.productTypeCode = ProductTypeCode::INDIE_PACKAGE_GAME_ITEM;
        r.purchaseLimitTypeCode = PurchaseLimitTypeCode::UNLIMITED;
        return r;
    }());
    TesselPCProductEx productEx;
    EXPECT_EQ(productEx.GetProductTypeCode(), ProductTypeCode::INDIE_PACKAGE_GAME_ITEM);
    EXPECT_EQ(productEx.GetPurchaseLimitTypeCode(), PurchaseLimitTypeCode::UNLIMITED);
    EXPECT_EQ(productEx.GetPurchaseAvailabilityCode(), 0);
    EXPECT_EQ(Text(productEx.GetThumbnailUrl()), L"");

    // Two default objects never share a string.
    const TesselPCShopCategory a;
    const TesselPCShopCategory b;
    EXPECT_NE(a.GetName(), b.GetName());
    EXPECT_NE(a.GetCategoryId(), a.GetParentCategoryId());

    TesselPCPurchaseResult result;
    EXPECT_EQ(result.GetPurchaseProgress(), PurchaseProgress::NEED_PAYMENT_WINDOW);
    EXPECT_EQ(result.GetTransactionDetailNumberCount(), 0u);
    EXPECT_EQ(result.GetPurchasedProductCount(), 0u);
    EXPECT_EQ(result.GetChargeInfoCount(), 0u);
    EXPECT_EQ(Text(result.GetOneTimePaymentUrl()), L"");
    EXPECT_EQ(Text(result.GetExtraData()), L"");

    const TesselPCVoidedPurchase voided;
    EXPECT_EQ(Text(voided.GetProductId()), L"");
    EXPECT_EQ(Text(voided.GetUserId()), L"");
    const TesselPCInventoryItem inventory;
    EXPECT_EQ(Text(inventory.GetProductName()), L"");
    const TesselPCChargeInfo charge;
    EXPECT_EQ(Text(charge.GetChargeTypeName()), L"");
    const TesselPCPurchasedProduct purchased;
    EXPECT_EQ(Text(purchased.GetCategoryId()), L"");
}

struct Rect {
    int x = -1, y = -1, width = -1, height = -1;
    bool operator==(const Rect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};
template <class Option>
Rect RectOf(const Option& option)
{
    Rect r;
    option.GetWebviewRect(&r.x, &r.y, &r.width, &r.height);
    return r;
}

TEST(VendraDefaultsTest, OptionsStartWithOperationZeroAndTheirOwnRectangle)
{
    TesselPCPurchaseOption purchase;
    TesselPCPaymentOption payment;
    TesselPCTermsOption terms;
    TesselPCWithdrawGameOption withdraw;
    EXPECT_EQ(RectOf(purchase), (Rect{0, 0, 420, 700}));
    EXPECT_EQ(RectOf(payment), (Rect{0, 0, 420, 700}));
    EXPECT_EQ(RectOf(terms), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(RectOf(withdraw), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(static_cast<int>(purchase.GetOperation()), 0);
    EXPECT_EQ(static_cast<int>(terms.GetWebviewMode()), 0);
    EXPECT_EQ(static_cast<int>(withdraw.GetWebviewMode()), 0);

    TesselPCStartPurchaseParam start;
    EXPECT_EQ(RectOf(start.GetPurchaseOption()), (Rect{0, 0, 420, 700}));
    EXPECT_EQ(start.GetOrderProductCount(), 0u);
    EXPECT_EQ(Text(start.GetServiceTxnNo()), L"");
}

// --- The web-view rectangle ---------------------------------------------------------

TEST(VendraWebviewRectTest, PurchaseOptionRefusesAnyNullPointerAndWritesNothing)
{
    TesselPCPurchaseOption option;
    option.SetWebviewRect(1, 2, 3, 4);
    for (int missing = 0; missing < 4; ++missing) {
        int values[4] = {-9, -9, -9, -9};
        int* pointers[4] = {&values[0], &values[1], &values[2], &values[3]};
        pointers[missing] = nullptr;
        try {
            option.GetWebviewRect(pointers[0], pointers[1], pointers[2], pointers[3]);
            ADD_FAILURE() << "no exception with pointer " << missing << " null";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), "One or more arguments are nullptr in GetWebviewRect.");
        }
        for (int v : values) {
            EXPECT_EQ(v, -9) << "written despite pointer " << missing << " being null";
        }
    }
    EXPECT_EQ(RectOf(option), (Rect{1, 2, 3, 4}));
}

// The other options write through the pointers they are given and skip
// the null ones.
template <class Option>
void ExpectNullPointersSkipped()
{
    Option option;
    option.SetWebviewRect(5, 6, 7, 8);
    int x = 0;
    int height = 0;
    EXPECT_NO_THROW(option.GetWebviewRect(&x, nullptr, nullptr, &height));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(height, 8);
    EXPECT_NO_THROW(option.GetWebviewRect(nullptr, nullptr, nullptr, nullptr));
}

TEST(VendraWebviewRectTest, OtherOptionsWriteOnlyThroughNonNullPointers)
{
    ExpectNullPointersSkipped<TesselPCPaymentOption>();
    ExpectNullPointersSkipped<TesselPCTermsOption>();
    ExpectNullPointersSkipped<TesselPCWithdrawGameOption>();
}

// --- Converting from intermediate records ---------------------------------------------

TEST(VendraConversionTest, ProductsTakeEveryFieldOfTheirRecord)
{
    const TesselPCProductCpp record = SampleProduct();
    TesselPCProduct product(&record);
    ExpectProduct(product, record);

    TesselPCProductExCpp recordEx;
    recordEx.name = L"Shield";
    recordEx.saleEndDate = 42;
    recordEx.purchaseAvailabilityCode = -3;
    TesselPCProductEx productEx(&recordEx);
    EXPECT_EQ(Text(productEx.GetName()), L"Shield");
    EXPECT_EQ(productEx.GetSaleEndDate(), 42);
    EXPECT_EQ(productEx.GetPurchaseAvailabilityCode(), -3);
}

TEST(VendraConversionTest, NullRecordGivesTheDefaultObjectAndAssignsNothing)
{
    const TesselPCProductCpp* none = nullptr;
    TesselPCProduct product(none);
    EXPECT_EQ(product.GetProductTypeCode(), ProductTypeCode::INDIE_PACKAGE_GAME_ITEM);
    EXPECT_EQ(Text(product.GetName()), L"");

    const TesselPCProductCpp record = SampleProduct();
    product = &record;
    product = none;
    ExpectProduct(product, record);

    TesselPCPurchaseResultCpp resultRecord = SampleResult();
    TesselPCPurchaseResult result(&resultRecord);
    result = static_cast<const TesselPCPurchaseResultCpp*>(nullptr);
    EXPECT_EQ(result.GetPurchasedProductCount(), 2u);
    EXPECT_EQ(Text(result.GetExtraData()), L"extra");

    TesselPCTermsOption terms;
    terms.SetWebviewRect(1, 2, 3, 4);
    terms = static_cast<const TesselPCTermsOptionCpp*>(nullptr);
    EXPECT_EQ(RectOf(terms), (Rect{1, 2, 3, 4}));
    const TesselPCTermsOption fromNull(static_cast<const TesselPCTermsOptionCpp*>(nullptr));
    EXPECT_EQ(RectOf(fromNull), (Rect{0, 0, 800, 600}));

    TesselPCStartPurchaseParam start(static_cast<const TesselPCStartPurchaseParamCpp*>(nullptr));
    EXPECT_EQ(RectOf(start.GetPurchaseOption()), (Rect{0, 0, 420, 700}));
}

TEST(VendraConversionTest, PurchaseResultAndStartPurchaseTakeTheirLists)
{
    const TesselPCPurchaseResultCpp record = SampleResult();
    TesselPCPurchaseResult result(&record);
    EXPECT_EQ(result.GetTransactionMasterNumber(), 77);
    ASSERT_EQ(result.GetTransactionDetailNumberCount(), 3u);
    EXPECT_EQ(result.GetTransactionDetailNumbers(2), 703);
    EXPECT_EQ(result.GetPurchaseProgress(), PurchaseProgress::NOT_NEED_PAYMENT_WINDOW);
    EXPECT_TRUE(result.IsPurchased());
    ASSERT_EQ(result.GetPurchasedProductCount(), 2u);
    EXPECT_EQ(Text(result.GetPurchasedProduct(1)->GetCategoryId()), L"cat-b");
    EXPECT_EQ(result.GetPurchasedProduct(1)->GetGuidQuantity(), 6);
    ASSERT_EQ(result.GetChargeInfoCount(), 1u);
    EXPECT_EQ(Text(result.GetChargeInfo(0)->GetChargeTypeName()), L"card");
    EXPECT_EQ(result.GetChargeInfo(0)->GetChargeDisplayDeductVal(), 2.5);

    TesselPCStartPurchaseParamCpp startRecord;
    startRecord.orderProducts = {{1, 1.5, 1}, {2, 2.5, 2}};
    startRecord.purchaseOption = {TesselPCPurchaseOperation::OPERATION_2, WebViewMode::WINDOWED, 1, 2, 3, 4};
    startRecord.serviceTxnNo = L"txn";
    TesselPCStartPurchaseParam start(&startRecord);
    ASSERT_EQ(start.GetOrderProductCount(), 2u);
    EXPECT_EQ(start.GetOrderProduct(1)->GetSalePrice(), 2.5);
    EXPECT_EQ(start.GetPurchaseOption().GetOperation(), TesselPCPurchaseOperation::OPERATION_2);
    EXPECT_EQ(RectOf(start.GetPurchaseOption()), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(Text(start.GetServiceTxnNo()), L"txn");
    EXPECT_EQ(Text(start.GetExtraData()), L"");
}

// --- Deep copies -----------------------------------------------------------------------

TEST(VendraCopyTest, CopyOfAProductOutlivesItsSource)
{
    const TesselPCProductCpp record = SampleProduct();
    auto source = std::make_unique<TesselPCProduct>(&record);
    TesselPCProduct copy(*source);
    TesselPCProduct assigned;
    assigned = *source;
    EXPECT_NE(copy.GetName(), source->GetName());
    EXPECT_NE(assigned.GetThumbnailUrl(), source->GetThumbnailUrl());
    source.reset();
    ExpectProduct(copy, record);
    ExpectProduct(assigned, record);
}

TEST(VendraCopyTest, CopiedPurchaseResultsShareNoArrayOrString)
{
    const TesselPCPurchaseResultCpp record = SampleResult();
    auto source = std::make_unique<TesselPCPurchaseResult>(&record);
    TesselPCPurchaseResult copy(*source);
    EXPECT_NE(copy.GetPurchasedProduct(0), source->GetPurchasedProduct(0));
    EXPECT_NE(copy.GetPurchasedProduct(0)->GetCategoryId(), source->GetPurchasedProduct(0)->GetCategoryId());

    TesselPCPurchasedProduct changed;
    changed.SetCategoryId(L"changed");
    copy.SetPurchasedProduct(0, &changed);
    copy.SetTransactionDetailNumber(0, 1);
    EXPECT_EQ(Text(source->GetPurchasedProduct(0)->GetCategoryId()), L"cat-a");
    EXPECT_EQ(source->GetTransactionDetailNumbers(0), 701);

    source.reset();
    EXPECT_EQ(Text(copy.GetPurchasedProduct(0)->GetCategoryId()), L"changed");
    EXPECT_EQ(Text(copy.GetPurchasedProduct(1)->GetCategoryId()), L"cat-b");
    EXPECT_EQ(Text(copy.GetChargeInfo(0)->GetChargeTypeName()), L"card");
    EXPECT_EQ(copy.GetTransactionDetailNumbers(2), 703);
    EXPECT_EQ(Text(copy.GetOneTimePaymentUrl()), L"https://pay/1");

    // Assigning over a result with lists releases the old ones (the leak
    // checker watches) and takes the new ones.
    TesselPCPurchaseResult other(&record);
    other = copy;
    EXPECT_EQ(Text(other.GetPurchasedProduct(0)->GetCategoryId()), L"changed");
    EXPECT_EQ(other.GetTransactionDetailNumbers(0), 1);
}

TEST(VendraCopyTest, CopiedStartPurchaseParamOutlivesItsSource)
{
    auto source = std::make_unique<TesselPCStartPurchaseParam>();
    source->CreateOrderProduct(2);
    TesselPCOrderProduct product;
    product.SetProductId(5);
    product.SetQuantity(3);
    source->SetOrderProduct(1, &product);
    source->SetServiceTxnNo(L"txn-9");
    TesselPCPurchaseOption option;
    option.SetWebviewRect(9, 8, 7, 6);
    source->SetPurchaseOption(option);

    TesselPCStartPurchaseParam copy(*source);
    EXPECT_NE(copy.GetOrderProduct(0), source->GetOrderProduct(0));
    source.reset();
    ASSERT_EQ(copy.GetOrderProductCount(), 2u);
    EXPECT_EQ(copy.GetOrderProduct(1)->GetProductId(), 5);
    EXPECT_EQ(copy.GetOrderProduct(1)->GetQuantity(), 3);
    EXPECT_EQ(Text(copy.GetServiceTxnNo()), L"txn-9");
    EXPECT_EQ(RectOf(copy.GetPurchaseOption()), (Rect{9, 8, 7, 6}));
}

TEST(VendraCopyTest, SelfAssignmentKeepsEveryStringReadable)
{
    const TesselPCProductCpp record = SampleProduct();
    TesselPCProduct product(&record);
    TesselPCProduct& alias = product;
    product = alias;
    ExpectProduct(product, record);

    const TesselPCPurchaseResultCpp resultRecord = SampleResult();
    TesselPCPurchaseResult result(&resultRecord);
    TesselPCPurchaseResult& resultAlias = result;
    result = resultAlias;
    EXPECT_EQ(Text(result.GetPurchasedProduct(1)->GetCategoryId()), L"cat-b");
    result.SetPurchasedProduct(1, result.GetPurchasedProduct(1));
    EXPECT_EQ(Text(result.GetPurchasedProduct(1)->GetCategoryId()), L"cat-b");

    TesselPCStartPurchaseParam start;
    start.SetExtraData(L"keep");
    TesselPCStartPurchaseParam& startAlias = start;
    start = startAlias;
    start.SetExtraData(start.GetExtraData());
    EXPECT_EQ(Text(start.GetExtraData()), L"keep");
}

// --- Setters ---------------------------------------------------------------------------

TEST(VendraSetterTest, TextSettersCopyTheirArgumentAndStoreNullAsNull)
{
    TesselPCChargeInfo charge;
    wchar_t buffer[] = L"visa";
    charge.SetChargeTypeName(buffer);
    buffer[0] = L'X';
    EXPECT_EQ(Text(charge.GetChargeTypeName()), L"visa");
    charge.SetChargeTypeName(nullptr);
    EXPECT_EQ(charge.GetChargeTypeName(), nullptr);

    // A null text survives a copy as null.
    const TesselPCChargeInfo copy(charge);
    EXPECT_EQ(copy.GetChargeTypeName(), nullptr);

    TesselPCFetchProductParam page;
    page.SetCategoryId(L"cat");
    page.SetCategoryId(page.GetCategoryId());
    EXPECT_EQ(Text(page.GetCategoryId()), L"cat");
    page.SetPageNumber(-4);
    EXPECT_EQ(page.GetPageNumber(), -4);
}

// --- Lists and their index rules -----------------------------------------------------------

TEST(VendraListTest, OrderProductsFollowTheSignedIndexRules)
{
    TesselPCStartPurchaseParam start;
    start.CreateOrderProduct(0);
    EXPECT_EQ(start.GetOrderProductCount(), 0u);
    EXPECT_EQ(start.GetOrderProduct(0), nullptr);

    start.CreateOrderProduct(3);
    ASSERT_EQ(start.GetOrderProductCount(), 3u);
    EXPECT_EQ(start.GetOrderProduct(2)->GetProductId(), 0);
    EXPECT_EQ(start.GetOrderProduct(-1), nullptr);
    EXPECT_EQ(start.GetOrderProduct(3), nullptr);

    TesselPCOrderProduct product;
    product.SetProductId(8);
    start.SetOrderProduct(-1, &product);
    start.SetOrderProduct(3, &product);
    start.SetOrderProduct(0, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(start.GetOrderProduct(i)->GetProductId(), 0) << i;
    }
    start.SetOrderProduct(2, &product);
    product.SetProductId(9);
    EXPECT_EQ(start.GetOrderProduct(2)->GetProductId(), 8) << "the slot holds a copy";

    // Recreating the list replaces it.
    start.CreateOrderProduct(1);
    EXPECT_EQ(start.GetOrderProductCount(), 1u);
    EXPECT_EQ(start.GetOrderProduct(0)->GetProductId(), 0);
}

TEST(VendraListTest, AListLongerThanAnyThatCanBeMadeStaysEmptyAtOnce)
{
    TesselPCPurchaseResult result;
    result.CreatePurchasedProductList(0x10000000);
    result.CreateChargeInfoList(0xFFFFFFFFu);
    result.CreateTransactionDetailNumberList(0xFFFFFFFFu);
    TesselPCStartPurchaseParam start;
    start.CreateOrderProduct(0xFFFFFFFFu);
    EXPECT_EQ(result.GetPurchasedProductCount(), 0u);
    EXPECT_EQ(result.GetChargeInfoCount(), 0u);
    EXPECT_EQ(result.GetTransactionDetailNumberCount(), 0u);
    EXPECT_EQ(start.GetOrderProductCount(), 0u);
}

TEST(VendraListTest, PurchaseResultListsFollowTheUnsignedIndexRules)
{
    TesselPCPurchaseResult result;
    EXPECT_EQ(result.GetTransactionDetailNumbers(0), 0);
    EXPECT_EQ(result.GetPurchasedProduct(0), nullptr);

    result.CreateTransactionDetailNumberList(2);
    result.CreatePurchasedProductList(2);
    result.CreateChargeInfoList(1);
    ASSERT_EQ(result.GetPurchasedProductCount(), 2u);
    ASSERT_EQ(result.GetChargeInfoCount(), 1u);

    // New slots: zero numbers and null texts.
    EXPECT_EQ(result.GetTransactionDetailNumbers(1), 0);
    EXPECT_EQ(result.GetPurchasedProduct(1)->GetCategoryId(), nullptr);
    EXPECT_EQ(result.GetPurchasedProduct(1)->GetProductId(), 0);
    EXPECT_EQ(result.GetChargeInfo(0)->GetChargeTypeName(), nullptr);

    // Index equal to the count: nothing there, nothing changed.
    EXPECT_EQ(result.GetTransactionDetailNumbers(2), 0);
    EXPECT_EQ(result.GetPurchasedProduct(2), nullptr);
    EXPECT_EQ(result.GetChargeInfo(1), nullptr);
    result.SetTransactionDetailNumber(2, 5);
    TesselPCChargeInfo charge;
    charge.SetChargeTypeName(L"points");
    result.SetChargeInfo(1, &charge);
    result.SetChargeInfo(0, nullptr);
    EXPECT_EQ(result.GetChargeInfo(0)->GetChargeTypeName(), nullptr);

    result.SetTransactionDetailNumber(1, 55);
    result.SetChargeInfo(0, &charge);
    charge.SetChargeTypeName(L"later");
    EXPECT_EQ(result.GetTransactionDetailNumbers(1), 55);
    EXPECT_EQ(Text(result.GetChargeInfo(0)->GetChargeTypeName()), L"points");

    // Recreating a list releases the old elements' texts (leak checker).
    result.CreateChargeInfoList(0);
    EXPECT_EQ(result.GetChargeInfoCount(), 0u);
    EXPECT_EQ(result.GetChargeInfo(0), nullptr);
}

}  // namespace
