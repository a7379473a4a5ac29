// A small game written in C++ against the SDK's C++ interface. It
// initializes the platform and the four modules, buys the first product of a
// shop page, shows the automatic popup, sends a log record and fetches a
// character, pumps the callbacks the way a game loop does, and shuts
// everything down. It exits 0 only when every callback ran exactly once with
// the answer the sandbox platform is expected to give.
#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "tessel/ludex/Ludex.hpp"
#include "tessel/panora/Panora.hpp"
#include "tessel/scrivo/Scrivo.hpp"
#include "tessel/vendra/Vendra.hpp"

namespace {

namespace IAP = Tessel::PCSDK::IAP;
namespace View = Tessel::PCSDK::View;
namespace Log = Tessel::PCSDK::Log;
namespace GS = Tessel::PCSDK::GamingServices;
using Tessel::PCSDK::CallbackResult;

// One request: how often its callback ran and whether it answered as expected.
struct Request {
    const char* name;
    int calls = 0;
    bool good = false;
};

enum Which { PRODUCTS, PURCHASE, POPUP, LOG_SENT, CHARACTER, REQUEST_COUNT };

std::array<Request, REQUEST_COUNT> g_requests{
    {{"product page"}, {"purchase"}, {"popup"}, {"log sent"}, {"character"}}};
int g_failures = 0;

// An ASCII copy of a wide text for the console.
std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; text != nullptr && *text != L'\0'; ++text) {
        out += (*text >= 0x20 && *text < 0x7F) ? static_cast<char>(*text) : '?';
    }
    return out;
}

void Answered(Which which, const CallbackResult& result, bool good, const std::string& detail)
{
    Request& request = g_requests[which];
    ++request.calls;
    request.good = request.calls == 1 && good && result.IsSuccess();
    const std::string message = Narrow(result.GetMessageText());
    std::printf("  %-12s code %u (%s) %s%s%s\n", request.name, result.GetResultCode(),
                Narrow(Tessel_ResultCodeName(result.GetResultCode())).c_str(), detail.c_str(),
                message.empty() ? "" : " | ", message.c_str());
}

void OnPurchase(CallbackResult result, IAP::TesselPCPurchaseResult purchase)
{
    Answered(PURCHASE, result, purchase.IsPurchased() && purchase.GetTransactionMasterNumber() != 0,
             "transaction " + std::to_string(purchase.GetTransactionMasterNumber()) + ", purchased " +
                 (purchase.IsPurchased() ? "yes" : "no"));
}

// The first product of the page is bought from inside the callback: the
// request goes out now and its answer comes with a later frame.
void OnProducts(CallbackResult result, IAP::TesselPCProductEx* products, unsigned int count)
{
    Answered(PRODUCTS, result, count > 0,
             std::to_string(count) + " product(s)" +
                 (count > 0 ? ", first \"" + Narrow(products[0].GetName()) + "\" " +
                                  Narrow(products[0].GetDisplaySalePriceString())
                            : std::string()));
    if (count == 0) {
        return;
    }
    IAP::TesselPCOrderProduct order;
    order.SetProductId(products[0].GetProductId());
    order.SetSalePrice(products[0].GetSalePrice());
    order.SetQuantity(1);
    IAP::TesselPCStartPurchaseParam purchase;
    purchase.CreateOrderProduct(1);
    purchase.SetOrderProduct(0, &order);
    purchase.SetExtraData(L"standalone C++ game");
    IAP::IAP_StartPurchase(&purchase, &OnPurchase);
}

void OnPopup(CallbackResult result) { Answered(POPUP, result, true, "shown"); }

void OnLogSent(CallbackResult result) { Answered(LOG_SENT, result, true, "accepted"); }

void OnCharacter(CallbackResult result, const wchar_t* character)
{
    Answered(CHARACTER, result, character != nullptr && *character != L'\0', Narrow(character));
}

bool AllAnswered()
{
    for (const Request& request : g_requests) {
        if (request.calls == 0) {
            return false;
        }
    }
    return true;
}

template <typename Outcome>
void ExpectSuccess(const Outcome& result, const char* call)
{
    std::printf("  %-30s code %u (%s)\n", call, result.GetResultCode(),
                Narrow(Tessel_ResultCodeName(result.GetResultCode())).c_str());
    if (!result.IsSuccess()) {
        std::printf("  FAILED: %s\n", call);
        ++g_failures;
    }
}

}  // namespace

int main()
{
    std::printf("== C++ game: start\n");
    const TesselAPIResult platform = Tessel_Initialize(L"standalone-game");
    std::printf("  %-30s code %u\n", "Tessel_Initialize", platform.resultCode);
    g_failures += platform.resultCode == TESSEL_RESULT_SUCCESS ? 0 : 1;
    ExpectSuccess(IAP::IAP_Initialize(L"standalone-store"), "IAP_Initialize");
    ExpectSuccess(View::View_Initialize(), "View_Initialize");
    ExpectSuccess(Log::Log_Initialize(), "Log_Initialize");
    ExpectSuccess(GS::GamingServices_Initialize(), "GamingServices_Initialize");

    IAP::TesselPCFetchProductParam page;
    page.SetCategoryId(L"bundles");
    page.SetPageNumber(1);
    page.SetPageSize(10);
    IAP::IAP_FetchProductsEx(&page, &OnProducts);
    View::View_AutoPopup(Tessel::PCSDK::Base::WebViewMode::EMBEDDED, &OnPopup);
    Log::TesselPCLogSendParam record;
    record.SetAuid(1001);
    record.SetLogGroupId(L"standalone");
    record.SetContents(L"{\"event\":\"session_start\"}");
    Log::Log_Send(&record, &OnLogSent);
    GS::GamingServices_FetchCharacter(L"hero", L"eu", &OnCharacter);

    std::printf("== C++ game: pumping callbacks\n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int frames = 0;
    while (!AllAnswered() && std::chrono::steady_clock::now() < deadline) {
        Tessel_RunCallbacks();
        ++frames;
    }
    for (int i = 0; i < 10; ++i) {  // a callback that runs twice shows up here
        Tessel_RunCallbacks();
    }
    std::printf("  (%d frames)\n", frames);

    std::printf("== C++ game: shutdown\n");
    ExpectSuccess(View::View_CloseAllPopups(), "View_CloseAllPopups");
    ExpectSuccess(IAP::IAP_CloseAllPopups(), "IAP_CloseAllPopups");
    Tessel_RunCallbacks();
    ExpectSuccess(GS::GamingServices_UnInitialize(), "GamingServices_UnInitialize");
    ExpectSuccess(Log::Log_UnInitialize(), "Log_UnInitialize");
    ExpectSuccess(View::View_UnInitialize(), "View_UnInitialize");
    ExpectSuccess(IAP::IAP_UnInitialize(), "IAP_UnInitialize");
    const TesselAPIResult down = Tessel_UnInitialize();
    std::printf("  %-30s code %u\n", "Tessel_UnInitialize", down.resultCode);
    g_failures += down.resultCode == TESSEL_RESULT_SUCCESS ? 0 : 1;

    for (const Request& request : g_requests) {
        if (request.calls != 1 || !request.good) {
            std::printf("  FAILED: %s: %d callback(s), %s\n", request.name, request.calls,
                        request.good ? "as expected" : "not as expected");
            ++g_failures;
        }
    }
    std::printf("== C++ game: %s\n", g_failures == 0 ? "every callback answered once, as expected" : "FAILED");
    return g_failures == 0 ? 0 : 1;
}
