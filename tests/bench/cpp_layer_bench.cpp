// The header-only C++ layer (tessel/cpp) against the raw C interface doing
// the same work in the same run: a round trip (character fetch, the text
// kept by the game) and a page of 1,000 products (every product kept). A
// game on the raw C interface must copy what it keeps before its callback
// returns, so the baseline copies each text once into the same owned
// values; the layer should cost little more (x_rawc) and allocate no more
// than one copy per text besides its request context (allocs, rawc_allocs).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.hpp"
#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Vendra.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

using namespace tessel::bench;

constexpr int32_t kPageSize = 1000;

// What the game keeps of each answer.
std::wstring g_character;
std::vector<tessel::vendra::Product> g_page;

// --- The raw C interface, as a game writes it ----------------------------------------

void OnCharacter(const TesselAPICallbackResult* result, const wchar_t* character)
{
    if (result->result.resultCode == TESSEL_RESULT_SUCCESS) {
        g_character = std::wstring(character);  // an owned copy the game can hand on
    }
}

void OnProducts(const TesselAPICallbackResult* result, const TesselProduct* products, unsigned int count)
{
    std::vector<tessel::vendra::Product> page;
    if (result->result.resultCode == TESSEL_RESULT_SUCCESS && products != nullptr) {
        page.reserve(count);
        for (unsigned int i = 0; i < count; ++i) {
            page.emplace_back();
            tessel::vendra::detail::FillProduct(page.back(), products[i]);
        }
    }
    g_page = std::move(page);
}

struct Session {
    explicit Session(bool shop)
    {
        Tessel_Initialize(L"bench");
        TesselAPI_GamingServicesInitialize();
        if (shop) {
            LoadShop();
            TesselAPI_IAPInitialize(L"bench-store");
        }
    }
    ~Session() { Tessel_UnInitialize(); }

    // A shop of 1,000 products in one category, each with the texts a shop sends.
    static void LoadShop()
    {
        std::string profile = R"({"shop":{"categories":[{"categoryId":"weapons","name":"Weapons"}],"products":[)";
        for (int i = 0; i < kPageSize; ++i) {
            const std::string n = std::to_string(i);
            profile += (i == 0 ? "" : ",");
            profile += R"({"productId":)" + std::to_string(100000 + i) + R"(,"categoryId":"weapons",)" +
                       R"("gameItemId":"item.weapon.ember_blade_)" + n + R"(","name":"Ember Blade of the Ninth Forge )" +
                       n + R"(","description":"A blade quenched in dragonfire that never cools. Adds 12% fire damage.",)" +
                       R"("categoryName":"Weapons and Armour","currencyCode":"USD","price":9.99,"displayPriceString":"$9.99",)" +
                       R"("salePrice":7.99,"displaySalePriceString":"$7.99",)" +
                       R"("thumbnailUrl":"https://cdn.shop.example/items/ember_blade_)" + n + R"(/thumb_256.png"})";
        }
        profile += "]}}";
        if (TesselSandbox_LoadProfileText(profile.data(), profile.size()) != TESSEL_RESULT_SUCCESS) {
            std::fprintf(stderr, "profile refused: %s\n", TesselSandbox_LastProfileError());
            std::abort();
        }
    }
};

const TesselFetchProductParam kPage{L"weapons", 1, kPageSize};

void RawRoundTrip()
{
    TesselAPI_FetchCharacter(L"hero", L"eu-west", &OnCharacter, nullptr);
    Tessel_RunCallbacks();
}

void RawPage()
{
    TesselAPI_FetchProducts(&kPage, &OnProducts, nullptr);
    Tessel_RunCallbacks();
}

// --- The same through the layer ------------------------------------------------------

void CppLayer_RoundTrip(benchmark::State& state)
{
    Session session(false);
    const Tally layer = RunModule(state, [] {
        tessel::ludex::FetchCharacter(L"hero", L"eu-west", [](const tessel::Result& result, std::wstring text) {
            if (result.ok()) {
                g_character = std::move(text);
            }
        });
        tessel::RunCallbacks();
    });
    const Tally raw = RunBaseline(static_cast<uint64_t>(state.iterations()), &RawRoundTrip);
    Report(state, layer, {{"rawc", raw}});
}
BENCHMARK(CppLayer_RoundTrip);

void CppLayer_Page1000(benchmark::State& state)
{
    Session session(true);
    const Tally layer = RunModule(state, [] {
        tessel::vendra::FetchProducts(L"weapons", {1, kPageSize},
                                      [](const tessel::Result&, std::vector<tessel::vendra::Product> page) {
                                          g_page = std::move(page);
                                      });
        tessel::RunCallbacks();
    });
    if (g_page.size() != static_cast<std::size_t>(kPageSize)) {
        state.SkipWithError("the page did not have 1,000 products");
        return;
    }
    const Tally raw = RunBaseline(static_cast<uint64_t>(state.iterations()), &RawPage);
    Report(state, layer, {{"rawc", raw}});
}
BENCHMARK(CppLayer_Page1000);

}  // namespace
