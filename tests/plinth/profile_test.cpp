// Sandbox profiles: the loader's refusals and defaults, and a profile taken
// into use by Tessel_Initialize.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Environment.hpp"
#include "world/profile.hpp"
#include "tessel/sandbox/SandboxPopups.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

namespace Sandbox = Tessel::PCSDK::Sandbox;
using plinth::ParseProfile;

const std::string kProfiles = TESSEL_PROFILES_DIR;

TEST(ProfileLoader, ShippedProfilesAreRead)
{
    for (const char* name : {"default.json", "example-shop.json", "example-declined.json"}) {
        const plinth::ProfileResult result = plinth::ReadProfileFile(kProfiles + "/" + name);
        EXPECT_EQ(result.code, TESSEL_RESULT_SUCCESS) << result.message;
    }
    EXPECT_FALSE(plinth::DefaultWorld()->products.empty());
}

TEST(ProfileLoader, RefusesBadInputNamingWhereAndWhat)
{
    struct Case {
        const char* text;
        const char* expected;  // in the message, after "test.json"
    };
    const Case cases[] = {
        {"{\n  \"shop\": {\n    \"products\": [}\n}", "test.json:3:18: not valid JSON"},
        {"[]", "test.json: the profile: expected an object, found array"},
        {R"({"latencyMs": "200"})", "test.json: latencyMs: expected an integer, found string"},
        {R"({"shops": {}})", "test.json: shops: unknown top-level key"},
        {R"({"shop": {"categories": [{"categoryId": "a"}], "products": [{"productId": "7", "categoryId": "a"}]}})",
         "test.json: shop.products[0].productId: expected an integer, found string"},
        {R"({"shop": {"categories": [{"categoryId": "a"}],
             "products": [{"productId": 7, "categoryId": "a"}, {"productId": 7, "categoryId": "a"}]}})",
         "test.json: shop.products[1].productId: duplicate product id 7 (also shop.products[0])"},
        {R"({"shop": {"categories": [{"categoryId": "a"}], "products": [{"productId": 7, "categoryId": "b"}]}})",
         "test.json: shop.products[0].categoryId: no category \"b\""},
        {R"({"shop": {"categories": [{"categoryId": "a", "parentCategoryId": "z"}]}})",
         "test.json: shop.categories[0].parentCategoryId: no category \"z\""},
        {R"({"shop": {"categories": [{"categoryId": "a"}], "products": [{"productId": 7, "categoryId": "a",
             "prize": 1}]}})",
         "test.json: shop.products[0].prize: unknown field"},
        {R"({"popups": {"auto": [{"byte1": 256}]}})", "test.json: popups.auto[0].byte1: the integer 256 is out of range"},
        {R"({"outcomes": [{"module": "Vendor", "operationCode": 82}]})", "test.json: outcomes[0].module: expected"},
        {R"({"shop": {"categories": [{"categoryId": "a", "name": "A", "name": "B"}]}})",
         "test.json: shop.categories[0].name: key repeated in one object"},
    };
    for (const Case& c : cases) {
        const plinth::ProfileResult result = ParseProfile(c.text, "test.json");
        EXPECT_EQ(result.code, TESSEL_RESULT_INVALID_ARGUMENT) << c.text;
        EXPECT_EQ(result.world, nullptr) << c.text;
        EXPECT_NE(result.message.find(c.expected), std::string::npos) << result.message;
    }
}

TEST(ProfileLoader, MissingFileIsNotFoundAndNamesThePath)
{
    const plinth::ProfileResult result = plinth::ReadProfileFile("no/such/profile.json");
    EXPECT_EQ(result.code, TESSEL_RESULT_NOT_FOUND);
    EXPECT_NE(result.message.find("no/such/profile.json"), std::string::npos) << result.message;
}

// A section left out keeps the default world's; a field left out takes the
// record's default.
TEST(ProfileLoader, LeftOutSectionsAndFieldsTakeTheirDefaults)
{
    const plinth::ProfileResult result = ParseProfile(
        R"({"shop": {"categories": [{"categoryId": "c"}], "products": [{"productId": 5, "categoryId": "c",
            "isDiscount": true, "name": null}]}})",
        "test.json");
    ASSERT_EQ(result.code, TESSEL_RESULT_SUCCESS) << result.message;
    const plinth::World& world = *result.world;
    ASSERT_EQ(world.products.size(), 1u);
    const plinth::ProductRecord& product = world.products[0];
    EXPECT_EQ(product.isDiscount, 1);
    EXPECT_FALSE(product.name.has_value());
    EXPECT_EQ(product.description, std::wstring());
    EXPECT_EQ(product.productTypeCode, Sandbox::ProductFields{}.productTypeCode);
    EXPECT_EQ(world.voidedPurchases.size(), plinth::DefaultWorld()->voidedPurchases.size());
    EXPECT_EQ(world.webOpenKey, plinth::DefaultWorld()->webOpenKey);
}

TEST(ProfileLoader, TextsAreExpandedOncePerPlaceholder)
{
    EXPECT_EQ(plinth::ExpandText(L"{a}-{b}-{c}", {{L"a", L"{b}"}, {L"b", L"2"}}), L"{b}-2-{c}");
}

// Through the platform: the environment's profile is taken by Initialize, and
// one that is refused leaves the platform uninitialized and the world as it was.
TEST(ProfileEnvironment, InitializeTakesTheProfileOrKeepsThePreviousWorld)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string good = (dir / "tessel_profile_good.json").string();
    const std::string bad = (dir / "tessel_profile_bad.json").string();
    std::ofstream(good) << R"({"popups": {"auto": [{"text1": "From the profile", "number1": 77}]},
                                "inventory": [{"productId": 101, "quantity": 3}]})";
    std::ofstream(bad) << R"({"popups": {"auto": [{"text1": "Half", "number1": 78}]}, "inventory": 5})";

    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", good.c_str());
    ASSERT_EQ(Tessel_Initialize(L"game").resultCode, TESSEL_RESULT_SUCCESS);
    Tessel_UnInitialize();
    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", bad.c_str());
    EXPECT_EQ(Tessel_Initialize(L"game").resultCode, TESSEL_RESULT_INVALID_ARGUMENT);
    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", (dir / "tessel_no_such_profile.json").string().c_str());
    EXPECT_EQ(Tessel_Initialize(L"game").resultCode, TESSEL_RESULT_NOT_FOUND);
    EXPECT_EQ(Tessel_UnInitialize().resultCode, TESSEL_RESULT_NOT_INITIALIZED);

    const auto popups = Sandbox::AvailablePopups(Sandbox::PopupList::Auto);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].number1, 77);
    const auto inventory = Sandbox::ShopInventory();
    ASSERT_EQ(inventory.size(), 1u);
    EXPECT_EQ(inventory[0].quantity, 3);

    // Back to the default world for the other tests.
    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", (kProfiles + "/default.json").c_str());
    EXPECT_EQ(Tessel_Initialize(L"game").resultCode, TESSEL_RESULT_SUCCESS);
    Tessel_UnInitialize();
    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", nullptr);
    EXPECT_TRUE(Sandbox::ShopInventory().empty());
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

// A path is UTF-8 on every system, given to the loader or in the
// environment. On Windows a narrow path would be read in the ANSI code page,
// which has no Ω and reads the UTF-8 bytes of ö as two other letters.
TEST(ProfileEnvironment, AProfileUnderAFolderWithANonAsciiNameIsFound)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / std::filesystem::u8path("J\xC3\xB6rg-\xCE\xA9-tessel");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "profile.json") << R"({"latencyMs": 5})";
    const std::string path = (folder / "profile.json").u8string();

    EXPECT_EQ(TesselSandbox_LoadProfileFile(path.c_str()), TESSEL_RESULT_SUCCESS) << TesselSandbox_LastProfileError();
    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", path.c_str());
    EXPECT_EQ(Tessel_Initialize(L"game").resultCode, TESSEL_RESULT_SUCCESS) << TesselSandbox_LastProfileError();
    Tessel_UnInitialize();

    tessel::test::SetEnvironment("TESSEL_SANDBOX_PROFILE", nullptr);
    EXPECT_EQ(TesselSandbox_LoadProfileFile((kProfiles + "/default.json").c_str()), TESSEL_RESULT_SUCCESS);
    std::filesystem::remove_all(folder);
}

}  // namespace
