// The names of Vendra's data enumerations, registered with EnTT's meta system.
#include "enum_names.hpp"

#include "tessel/runtime/EnumNames.hpp"
#include "tessel/vendra/VendraEnums.hpp"

namespace vendra {

void RegisterEnumerationNames()
{
    using namespace Tessel::PCSDK::IAP;
    using tessel::rt::RegisterEnumNames;

    RegisterEnumNames<ProductTypeCode, ProductTypeCode::NONE, ProductTypeCode::INDIE_PACKAGE_GAME_ITEM,
                      ProductTypeCode::IN_GAME_ITEM, ProductTypeCode::PACKAGE_ITEM>(
        "Tessel::PCSDK::IAP::ProductTypeCode", {"NONE", "INDIE_PACKAGE_GAME_ITEM", "IN_GAME_ITEM", "PACKAGE_ITEM"});
    RegisterEnumNames<DiscountType, DiscountType::NONE, DiscountType::FIXED_RATE, DiscountType::FLAT_RATE>(
        "Tessel::PCSDK::IAP::DiscountType", {"NONE", "FIXED_RATE", "FLAT_RATE"});
    RegisterEnumNames<PurchaseLimitTypeCode, PurchaseLimitTypeCode::NONE, PurchaseLimitTypeCode::UNLIMITED,
                      PurchaseLimitTypeCode::MEMBER, PurchaseLimitTypeCode::CHARACTER>(
        "Tessel::PCSDK::IAP::PurchaseLimitTypeCode", {"NONE", "UNLIMITED", "MEMBER", "CHARACTER"});
    RegisterEnumNames<PurchaseProgress, PurchaseProgress::NONE, PurchaseProgress::NEED_PAYMENT_WINDOW,
                      PurchaseProgress::NOT_NEED_PAYMENT_WINDOW>(
        "Tessel::PCSDK::IAP::PurchaseProgress", {"NONE", "NEED_PAYMENT_WINDOW", "NOT_NEED_PAYMENT_WINDOW"});
}

}  // namespace vendra
