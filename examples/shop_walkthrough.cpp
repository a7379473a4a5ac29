// Vendra through its C++ interface: the shop's categories, a page of
// products, a purchase with onDestroy, its confirmation, the inventory and
// closing the purchase popup.
#include <cstdio>

#include "sample.hpp"
#include "shop_walkthrough.h"
#include "tessel/vendra/Vendra.hpp"

namespace {

namespace IAP = Tessel::PCSDK::IAP;
using sample::Describe;
using sample::Narrow;

long long g_transaction = 0;

void OnCategories(Tessel::PCSDK::CallbackResult result, IAP::TesselPCShopCategory* categories, unsigned int count)
{
    std::printf("  [C++] categories: %s, %u\n", Describe(result).c_str(), count);
    for (unsigned int i = 0; i < count; ++i) {
        const IAP::TesselPCShopCategory& c = categories[i];
        std::printf("        %*s%s (%s)\n", 2 * c.GetDepth(), "", Narrow(c.GetName()).c_str(),
                    Narrow(c.GetCategoryId()).c_str());
    }
}

void OnProducts(Tessel::PCSDK::CallbackResult result, IAP::TesselPCProduct* products, unsigned int count)
{
    std::printf("  [C++] products: %s, %u on this page\n", Describe(result).c_str(), count);
    for (unsigned int i = 0; i < count; ++i) {
        IAP::TesselPCProduct& p = products[i];
        std::printf("        #%lld %-20s %s%s%s\n", p.GetProductId(), Narrow(p.GetName()).c_str(),
                    Narrow(p.GetDisplaySalePriceString()).c_str(), p.IsDiscount() ? " was " : "",
                    p.IsDiscount() ? Narrow(p.GetDisplayPriceString()).c_str() : "");
    }
}

void OnPurchase(Tessel::PCSDK::CallbackResult result, IAP::TesselPCPurchaseResult purchase)
{
    g_transaction = purchase.GetTransactionMasterNumber();
    std::printf("  [C++] purchase: %s | transaction %lld, purchased %s, %u product(s), %u charge(s)\n",
                Describe(result).c_str(), g_transaction, purchase.IsPurchased() ? "yes" : "no",
                purchase.GetPurchasedProductCount(), purchase.GetChargeInfoCount());
    for (unsigned int i = 0; i < purchase.GetChargeInfoCount(); ++i) {
        const IAP::TesselPCChargeInfo* charge = purchase.GetChargeInfo(i);
        std::printf("        paid %.2f by %s\n", charge->GetChargeDeductVal(), Narrow(charge->GetChargeTypeName()).c_str());
    }
}

void OnDestroy(Tessel::PCSDK::CallbackResult result)
{
    std::printf("  [C++] purchase popup destroyed: %s\n", Describe(result).c_str());
}

void OnConfirm(Tessel::PCSDK::CallbackResult result, bool confirmed, IAP::TesselPCPurchasedProduct* /*products*/,
               unsigned int productCount, IAP::TesselPCChargeInfo* /*charges*/, unsigned int chargeCount)
{
    std::printf("  [C++] confirm: %s | %s, %u product(s), %u charge(s)\n", Describe(result).c_str(),
                confirmed ? "confirmed" : "not confirmed", productCount, chargeCount);
}

void OnInventory(Tessel::PCSDK::CallbackResult result, IAP::TesselPCInventoryItem* items, unsigned int count)
{
    std::printf("  [C++] inventory: %s, %u item(s)\n", Describe(result).c_str(), count);
    for (unsigned int i = 0; i < count; ++i) {
        std::printf("        %d x %s\n", items[i].GetQuantity(), Narrow(items[i].GetProductName()).c_str());
    }
}

}  // namespace

void RunShopWalkthroughCpp(void)
{
    sample::Step("Vendra (C++): the shop");
    std::printf("  IAP_Initialize: %s\n", Describe(IAP::IAP_Initialize(L"sample-store")).c_str());

    IAP::IAP_FetchShopCategories(&OnCategories);
    IAP::TesselPCFetchProductParam page;
    page.SetCategoryId(L"weapons");
    page.SetPageSize(4);
    IAP::IAP_FetchProducts(&page, &OnProducts);
    sample::PumpCallbacks();

    sample::Step("Vendra (C++): buying a Flame Blade and two Health Potion packs");
    IAP::TesselPCStartPurchaseParam purchase;
    purchase.CreateOrderProduct(2);
    IAP::TesselPCOrderProduct blade;
    blade.SetProductId(102);
    blade.SetQuantity(1);
    purchase.SetOrderProduct(0, &blade);
    IAP::TesselPCOrderProduct potions;
    potions.SetProductId(106);
    potions.SetQuantity(2);
    purchase.SetOrderProduct(1, &potions);
    purchase.SetExtraData(L"sample order");
    IAP::IAP_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy);
    sample::PumpCallbacks();

    IAP::IAP_ConfirmPurchase(g_transaction, &OnConfirm);
    IAP::IAP_FetchInventory(&OnInventory);
    sample::PumpCallbacks();

    sample::Step("Vendra (C++): closing the purchase popup");
    std::printf("  IAP_CloseAllPopups: %s\n", Describe(IAP::IAP_CloseAllPopups()).c_str());
    sample::PumpCallbacks();
    std::printf("  IAP_UnInitialize: %s\n", Describe(IAP::IAP_UnInitialize()).c_str());
}
