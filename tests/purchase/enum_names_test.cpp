// The names of Vendra's data enumerations in EnTT's meta system.
//
// Every binary has its own EnTT meta context, and the module exports nothing
// beyond its interface, so this program cannot look into the module's
// context. It is linked with the module's own object library instead: the
// runtime's load-time hook ran the very same registration in this program's
// default meta context when the program was loaded, exactly as it does in
// the module. A game that wants the names does the same with its own copy of
// the enumerations, or reads the values documented in the headers.
#include <gtest/gtest.h>

#include "tessel/vendra/VendraEnums.hpp"

#if defined(TESSEL_HAVE_ENTT)
#include <map>
#include <string>
#include <vector>

#include <entt/core/hashed_string.hpp>
#include <entt/meta/meta.hpp>
#include <entt/meta/resolve.hpp>
#endif

namespace {

namespace IAP = Tessel::PCSDK::IAP;

#if defined(TESSEL_HAVE_ENTT)

// The enumeration resolves in the default meta context with exactly these
// names, value i named names[i], each under its hashed qualified name.
template <class Enum>
void ExpectNames(const std::string& qualifiedType, const std::vector<std::string>& names)
{
    const entt::meta_type type = entt::resolve<Enum>();
    ASSERT_TRUE(static_cast<bool>(type)) << qualifiedType;
    std::size_t count = 0;
    for (auto entry : type.data()) {
        (void)entry;
        ++count;
    }
    EXPECT_EQ(count, names.size()) << qualifiedType;
    for (std::size_t value = 0; value < names.size(); ++value) {
        const std::string qualified = qualifiedType + "::" + names[value];
        const entt::meta_data data = type.data(entt::hashed_string::value(qualified.c_str()));
        ASSERT_TRUE(static_cast<bool>(data)) << qualified;
        EXPECT_EQ(data.get({}).cast<Enum>(), static_cast<Enum>(value)) << qualified;
        const std::map<std::string, std::string>* custom = data.custom();
        ASSERT_NE(custom, nullptr) << qualified;
        EXPECT_EQ(*custom, (std::map<std::string, std::string>{{"name", names[value]}})) << qualified;
    }
}

TEST(VendraEnumNamesTest, DataEnumerationsAreRegisteredAtLoad)
{
    ExpectNames<IAP::ProductTypeCode>("Tessel::PCSDK::IAP::ProductTypeCode",
                                      {"NONE", "INDIE_PACKAGE_GAME_ITEM", "IN_GAME_ITEM", "PACKAGE_ITEM"});
    ExpectNames<IAP::DiscountType>("Tessel::PCSDK::IAP::DiscountType", {"NONE", "FIXED_RATE", "FLAT_RATE"});
    ExpectNames<IAP::PurchaseLimitTypeCode>("Tessel::PCSDK::IAP::PurchaseLimitTypeCode",
                                            {"NONE", "UNLIMITED", "MEMBER", "CHARACTER"});
    ExpectNames<IAP::PurchaseProgress>("Tessel::PCSDK::IAP::PurchaseProgress",
                                       {"NONE", "NEED_PAYMENT_WINDOW", "NOT_NEED_PAYMENT_WINDOW"});
}

TEST(VendraEnumNamesTest, OptionEnumerationsCarryNoNames)
{
    // Resolving a type that was never registered yields a type without data.
    for (const entt::meta_type& type :
         {entt::resolve<IAP::TesselPCPurchaseOperation>(), entt::resolve<IAP::TesselPCPaymentOperation>(),
          entt::resolve<IAP::TesselPCTermsOperation>()}) {
        EXPECT_EQ(type.data().begin(), type.data().end());
    }
}

#else

TEST(VendraEnumNamesTest, DataEnumerationsAreRegisteredAtLoad)
{
    GTEST_SKIP() << "EnTT 3.15 was not found at configure time: the names are not registered in this build";
}

#endif

}  // namespace
