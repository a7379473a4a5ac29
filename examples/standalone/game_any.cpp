// A small game written in C++ against the SDK's header-only C++ layer
// (Tessel::Cpp), which calls only the C interface: it builds with any C++17
// compiler and standard library, whatever compiler built the SDK. It
// initializes the platform and the four modules, buys the first product of a
// shop page, shows the automatic popup and hears it close, sends a log
// record and fetches a character, pumps the callbacks the way a game loop
// does, and shuts everything down. It exits 0 only when every callable ran
// exactly once with the answer the sandbox platform is expected to give.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"
#include "tessel/cpp/Scrivo.hpp"
#include "tessel/cpp/Vendra.hpp"

namespace {

// One request: how often its callable ran and whether it answered as expected.
struct Check {
    const char* name;
    int calls = 0;
    bool good = false;
};

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (const wchar_t c : text) {
        narrow += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return narrow;
}

}  // namespace

int main()
{
    using tessel::Result;
    namespace vendra = tessel::vendra;
    namespace panora = tessel::panora;

    Check products{"product page"}, purchase{"purchase"}, popup{"popup"}, closed{"popup closed"},
        log{"log sent"}, character{"character"};
    std::vector<Check*> checks{&products, &purchase, &popup, &closed, &log, &character};
    {
        // Declared in this order, they end in the reverse one; the platform
        // starts when the game is ready for it.
        tessel::Platform platform(L"standalone-game", tessel::Start::Later);
        platform.start();
        vendra::Vendra shop(L"standalone-store");
        panora::Panora popups;
        tessel::scrivo::Scrivo logs;
        tessel::ludex::Ludex services;
        if (!platform.IsOpen() || !shop.IsOpen() || !popups.IsOpen() || !logs.IsOpen() || !services.IsOpen()) {
            std::puts("initialization failed");
            return 1;
        }

        vendra::FetchProducts(L"", {1, 10}, [&](const Result& result, std::vector<vendra::Product> page) {
            ++products.calls;
            products.good = result.ok() && !page.empty();
            if (!products.good) {
                return;
            }
            const vendra::Product& first = page.front();
            std::printf("first product: %s (%s) at %s\n", Narrow(first.name).c_str(),
                        Narrow(vendra::to_string(first.productTypeCode)).c_str(),
                        Narrow(first.displaySalePriceString).c_str());
            vendra::PurchaseRequest order;
            order.orderProducts.push_back({first.productId, first.salePrice, 1});
            order.extraData = L"standalone";
            vendra::StartPurchase(order, [&](const Result& bought, vendra::PurchaseResult outcome) {
                ++purchase.calls;
                purchase.good = bought.ok() && outcome.extraData == L"standalone";
                std::printf("purchase: %s, %s\n", Narrow(tessel::to_string(bought.code)).c_str(),
                            Narrow(vendra::to_string(outcome.purchaseProgress)).c_str());
            });
        });
        panora::AutoPopup(
            tessel::WebViewMode::Embedded,
            [&](const Result& result) {
                ++popup.calls;
                popup.good = result.ok();
            },
            [&](const Result& result) {
                ++closed.calls;
                closed.good = result.ok();
            });
        tessel::scrivo::LogRecord record;
        record.contents = L"standalone game started";
        tessel::scrivo::Send(record, [&](const Result& result) {
            ++log.calls;
            log.good = result.ok();
        });
        // Cancellable: were the game to leave this screen, dropping the
        // handle would take the request back before its callable runs.
        const tessel::Request characterFetch =
            tessel::ludex::FetchCharacter(L"hero", L"eu", tessel::Cancellable([&](const Result& result, std::wstring text) {
                ++character.calls;
                character.good = result.ok() && text.find(L"hero") != std::wstring::npos;
            }));

        // The game loop: pump until everything answered (the popup is closed
        // as soon as it shows), or give up after five seconds.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        bool closing = false;
        while (std::chrono::steady_clock::now() < deadline) {
            tessel::RunCallbacks();
            if (popup.calls == 1 && !closing) {
                closing = panora::CloseAllPopups().ok();
            }
            bool done = true;
            for (const Check* check : checks) {
                done = done && check->calls > 0;
            }
            if (done) {
                break;
            }
        }
        tessel::RunCallbacks();  // nothing may run twice
    }

    int failures = 0;
    for (const Check* check : checks) {
        const bool ok = check->calls == 1 && check->good;
        std::printf("%-13s %s (%d call%s)\n", check->name, ok ? "ok" : "FAILED", check->calls,
                    check->calls == 1 ? "" : "s");
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
