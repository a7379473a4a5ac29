// The names of Vendra's data enumerations as the module registered them when
// it was loaded, read from the module's own meta context (this program links
// the test-only build of Vendra, see ModuleMetaContext.hpp).
#include <gtest/gtest.h>

#if defined(TESSEL_HAVE_ENTT)
#include "ModuleMetaContext.hpp"
#include "tessel/vendra/VendraEnums.hpp"
#endif

namespace {

#if defined(TESSEL_HAVE_ENTT)

namespace IAP = Tessel::PCSDK::IAP;

TEST(VendraEnumNamesTest, DataEnumerationsAreRegisteredAtLoadInDeclarationOrder)
{
    using tessel::test::ExpectRegisteredAtLoad;
    ExpectRegisteredAtLoad<IAP::ProductTypeCode>("Tessel::PCSDK::IAP::ProductTypeCode",
                                                 {"NONE", "INDIE_PACKAGE_GAME_ITEM", "IN_GAME_ITEM", "PACKAGE_ITEM"});
    ExpectRegisteredAtLoad<IAP::DiscountType>("Tessel::PCSDK::IAP::DiscountType", {"NONE", "FIXED_RATE", "FLAT_RATE"});
    ExpectRegisteredAtLoad<IAP::PurchaseLimitTypeCode>("Tessel::PCSDK::IAP::PurchaseLimitTypeCode",
                                                       {"NONE", "UNLIMITED", "MEMBER", "CHARACTER"});
    ExpectRegisteredAtLoad<IAP::PurchaseProgress>("Tessel::PCSDK::IAP::PurchaseProgress",
                                                  {"NONE", "NEED_PAYMENT_WINDOW", "NOT_NEED_PAYMENT_WINDOW"});
}

TEST(VendraEnumNamesTest, OptionEnumerationsAreNotRegistered)
{
    tessel::test::ExpectNotRegistered<IAP::TesselPCPurchaseOperation>();
    tessel::test::ExpectNotRegistered<IAP::TesselPCPaymentOperation>();
    tessel::test::ExpectNotRegistered<IAP::TesselPCTermsOperation>();
}

#else

TEST(VendraEnumNamesTest, DataEnumerationsAreRegisteredAtLoadInDeclarationOrder)
{
    GTEST_SKIP() << "EnTT 3.15 was not found at configure time: the names are not registered in this build";
}

#endif

}  // namespace
