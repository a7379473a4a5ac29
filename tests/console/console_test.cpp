// The sandbox console end to end over HTTP, with the HTTP library's client:
// its views and actions after a real purchase, export and reload, the
// gate's refusals, and that the game never waits on the console's clients.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "tessel/base/TesselBase.h"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

#if !defined(_WIN32)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

using Json = nlohmann::json;

struct Answers {
    int purchases = 0;
    uint32_t code = 0;
    int64_t master = 0;
    int32_t progress = -1;
    bool urlEmpty = false;
    int destroys = 0;
    std::string heard;  // "R<code> D<code>": the callbacks in the order they ran
    int32_t destroyValue = -1;
    std::string text;   // a payment's or the terms' text, an identity value
    bool flag = false;  // agreed, withdrawn
};
Answers g_answers;

void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    ++g_answers.purchases;
    g_answers.code = result->result.resultCode;
    g_answers.heard += "R" + std::to_string(result->result.resultCode) + " ";
    g_answers.master = purchase != nullptr ? purchase->transactionMasterNumber : 0;
    if (purchase != nullptr) {
        g_answers.progress = purchase->purchaseProgress;
        g_answers.urlEmpty = purchase->oneTimePaymentUrl == nullptr || purchase->oneTimePaymentUrl[0] == L'\0';
    }
}

void OnDestroy(TesselAPICallbackResult* result)
{
    ++g_answers.destroys;
    g_answers.heard += "D" + std::to_string(result->result.resultCode) + " ";
    g_answers.destroyValue = result->value;
}

void OnPopup(const TesselAPICallbackResult* result)
{
    g_answers.heard += "R" + std::to_string(result->result.resultCode) + " ";
}
void OnPopupDestroy(const TesselAPICallbackResult* result) { OnDestroy(const_cast<TesselAPICallbackResult*>(result)); }

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text) {
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

void OnPayment(const TesselAPICallbackResult* result, const wchar_t* payment)
{
    OnPopup(result);
    g_answers.text = Narrow(payment);
}

void OnTerms(const TesselAPICallbackResult* result, bool agreed, const wchar_t* terms)
{
    OnPopup(result);
    g_answers.flag = agreed;
    g_answers.text = Narrow(terms);
}

void OnWithdraw(TesselAPICallbackResult* result, bool withdrawn)
{
    OnPopup(result);
    g_answers.flag = withdrawn;
}

void OnIdentityValue(const TesselAPICallbackResult* result, const wchar_t* value)
{
    g_answers.heard += "V" + std::to_string(result->result.resultCode) + " ";
    g_answers.text = Narrow(value);
}

class Console : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_answers = {};
        ASSERT_EQ(Tessel_Initialize(L"console-test").resultCode, TESSEL_RESULT_SUCCESS);
        ASSERT_EQ(TesselAPI_IAPInitialize(L"console-test").resultCode, TESSEL_RESULT_SUCCESS);
        ASSERT_EQ(TesselAPI_ViewInitialize().resultCode, TESSEL_RESULT_SUCCESS);
        char url[128];
        ASSERT_EQ(TesselSandbox_StartConsole(0, url, sizeof url), TESSEL_RESULT_SUCCESS);
        url_ = url;
        const std::size_t colon = url_.find(':', 7);
        port_ = std::stoi(url_.substr(colon + 1));
        token_ = url_.substr(url_.find("token=") + 6);
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
        client_->set_default_headers({{"X-Tessel-Token", token_}});
    }
    void TearDown() override
    {
        client_.reset();
        TesselAPI_ViewUnInitialize();
        TesselAPI_IAPUnInitialize();
        Tessel_UnInitialize();  // stops the console
    }

    Json Get(const std::string& path, int status = 200)
    {
        auto answer = client_->Get(path.c_str());
        EXPECT_TRUE(answer);
        if (!answer) {
            return {};
        }
        EXPECT_EQ(answer->status, status) << path << ": " << answer->body;
        return Json::parse(answer->body);
    }
    Json Post(const std::string& path, const Json& body, int status = 200)
    {
        auto answer = client_->Post(path.c_str(), body.dump(), "application/json");
        EXPECT_TRUE(answer);
        if (!answer) {
            return {};
        }
        EXPECT_EQ(answer->status, status) << path << ": " << answer->body;
        return Json::parse(answer->body);
    }

    void Buy(int64_t productId)
    {
        TesselOrderProduct order = {productId, 0, 1};
        TesselStartPurchaseParam purchase;
        std::memset(&purchase, 0, sizeof purchase);
        purchase.orderProducts = &order;
        purchase.orderProductCount = 1;
        TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, nullptr, nullptr);
        Tessel_RunCallbacks();
    }

    std::string url_;
    int port_ = 0;
    std::string token_;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(Console, StartsOnceOnLoopbackWithATokenAndStopsWithThePlatform)
{
    EXPECT_EQ(url_.rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_EQ(token_.size(), 32u);
    char again[128];
    EXPECT_EQ(TesselSandbox_StartConsole(0, again, sizeof again), TESSEL_RESULT_ALREADY_INITIALIZED);
    EXPECT_EQ(url_, again);
    char tiny[8];
    EXPECT_EQ(TesselSandbox_StartConsole(0, tiny, sizeof tiny), TESSEL_RESULT_BUFFER_TOO_SMALL);
    auto page = client_->Get("/");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("Tessel sandbox console"), std::string::npos);
    EXPECT_FALSE(page->has_header("Access-Control-Allow-Origin"));

    TesselSandbox_StopConsole();
    EXPECT_FALSE(client_->Get("/api/state"));
}

TEST_F(Console, ViewsShowAPurchaseAndActionsRefundAndEditTheInventory)
{
    Buy(101);
    ASSERT_EQ(g_answers.purchases, 1);
    ASSERT_EQ(g_answers.code, TESSEL_RESULT_SUCCESS);

    const Json requests = Get("/api/requests");
    ASSERT_FALSE(requests.empty());
    const Json& last = requests.back();
    EXPECT_EQ(last["module"], "Vendra");
    EXPECT_EQ(last["state"], "delivered");
    EXPECT_EQ(last["resultCode"], 0);
    EXPECT_TRUE(last["latencyMs"].is_number());
    EXPECT_NE(last["parameters"].get<std::string>().find("101"), std::string::npos);

    const Json transactions = Get("/api/transactions");
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0]["transactionMasterNumber"], g_answers.master);
    const Json popups = Get("/api/popups");
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0]["kind"], "purchase");
    EXPECT_EQ(Get("/api/inventory").size(), 1u);
    EXPECT_TRUE(Get("/api/terms").contains("agreed"));
    EXPECT_TRUE(Get("/api/logs").is_array());
    EXPECT_TRUE(Get("/api/characters").is_array());

    // Refunded: out of the inventory, into the voided purchases, as the game reads them too.
    Post("/api/refund", {{"transactionMasterNumber", g_answers.master}});
    EXPECT_TRUE(Get("/api/inventory").empty());
    const Json voided = Get("/api/voidedPurchases");
    ASSERT_FALSE(voided.empty());
    EXPECT_EQ(voided.back()["tid"], g_answers.master);
    EXPECT_EQ(Get("/api/transactions").back()["state"], "refunded");
    Post("/api/refund", {{"transactionMasterNumber", g_answers.master}}, 404);

    const Json granted = Post("/api/inventory/grant", {{"productId", 120}, {"productName", "Gift"}, {"quantity", 3}});
    const Json inventory = Get("/api/inventory");
    ASSERT_EQ(inventory.size(), 1u);
    EXPECT_EQ(inventory[0]["productName"], "Gift");
    Post("/api/inventory/remove", {{"transactionDetailNumber", granted["transactionDetailNumber"]}});
    EXPECT_TRUE(Get("/api/inventory").empty());
    Post("/api/inventory/remove", {{"transactionDetailNumber", 424242}}, 404);

    Post("/api/popups/close", {{"id", popups[0]["id"]}});
    Tessel_RunCallbacks();
    EXPECT_EQ(g_answers.destroys, 1);
    EXPECT_TRUE(Get("/api/popups").empty());
}

TEST_F(Console, OutcomesLatencyProfileAndResetTakeEffectOnTheGame)
{
    // A pushed outcome follows the control surface's rules: a failing code buys nothing.
    Post("/api/outcomes", {{"module", "Vendra"}, {"operationCode", TESSEL_VENDRA_OP_START_PURCHASE}, {"count", 1}, {"resultCode", 1001}});
    Post("/api/outcomes", {{"module", "Nowhere"}, {"operationCode", TESSEL_VENDRA_OP_START_PURCHASE}}, 400);
    Buy(101);
    EXPECT_EQ(g_answers.code, 1001u);
    EXPECT_TRUE(Get("/api/transactions").empty());
    Post("/api/outcomes", {{"module", "Vendra"}, {"operationCode", TESSEL_VENDRA_OP_START_PURCHASE}, {"resultCode", 1002}});
    Post("/api/outcomes/clear", Json::object());
    Buy(101);
    EXPECT_EQ(g_answers.code, TESSEL_RESULT_SUCCESS);

    // A minute's latency on the manual clock: due only once the console advances it.
    Post("/api/clock", {{"manual", true}});
    Post("/api/latency", {{"milliseconds", 60000}});
    EXPECT_EQ(Get("/api/latencyMs"), 60000);
    Buy(101);
    EXPECT_EQ(g_answers.purchases, 2);
    Post("/api/clock/advance", {{"milliseconds", 60000}});
    Tessel_RunCallbacks();
    EXPECT_EQ(g_answers.purchases, 3);
    Post("/api/clock", {{"manual", false}});
    Post("/api/clock/advance", {{"milliseconds", -1}}, 400);
    Post("/api/latency", {{"milliseconds", 0}});

    Post("/api/profile", {{"terms", {{"agreed", true}, {"termsText", "T"}}}});
    EXPECT_EQ(Get("/api/terms")["agreed"], true);
    Post("/api/profile", {{"latencyMs", "soon"}}, 400);
    Post("/api/reset", Json::object());
    EXPECT_TRUE(Get("/api/transactions").empty());
    EXPECT_TRUE(Get("/api/requests").empty());
}

TEST_F(Console, AnExportedSessionLoadsBackAsAProfile)
{
    Buy(101);
    const Json session = Get("/api/session");
    EXPECT_EQ(session["inventory"].size(), 1u);
    EXPECT_FALSE(session["session"]["requests"].empty());
    Post("/api/reset", Json::object());
    const std::string text = session.dump();
    ASSERT_EQ(TesselSandbox_LoadProfileText(text.data(), text.size()), TESSEL_RESULT_SUCCESS)
        << TesselSandbox_LastProfileError();
    const Json inventory = Get("/api/inventory");
    ASSERT_EQ(inventory.size(), 1u);
    EXPECT_EQ(inventory[0]["productId"], 101);
}

TEST_F(Console, TheGateRefusesWhatALoopbackClientWithTheTokenWouldNotSend)
{
    httplib::Client bare("127.0.0.1", port_);
    EXPECT_EQ(bare.Get("/api/state")->status, 401);
    EXPECT_EQ(bare.Get("/api/state", {{"X-Tessel-Token", std::string(32, 'a')}})->status, 403);
    EXPECT_EQ(bare.Get(("/api/state?token=" + token_).c_str())->status, 200);
    EXPECT_EQ(bare.Get("/api/state", {{"X-Tessel-Token", token_}, {"Host", "attacker.example:" + std::to_string(port_)}})
                  ->status,
              421);
    EXPECT_EQ(bare.Post("/api/reset", {{"X-Tessel-Token", token_}, {"Origin", "http://attacker.example"}}, "{}",
                        "application/json")
                  ->status,
              403);
    EXPECT_EQ(bare.Post("/api/reset", {{"X-Tessel-Token", token_}, {"Origin", "http://localhost:" + std::to_string(port_)}},
                        "{}", "application/json")
                  ->status,
              200);
    const auto big = client_->Post("/api/profile", std::string(1024 * 1024 + 1, ' '), "application/json");
    EXPECT_EQ(big->status, 413);
    const auto bad = client_->Post("/api/latency", "{\"milliseconds\": ", "application/json");
    EXPECT_EQ(bad->status, 400);
    EXPECT_NE(Json::parse(bad->body)["error"].get<std::string>().find("not valid JSON"), std::string::npos);
    Post("/api/popups/close", {{"id", 99999}}, 404);
    Get("/api/nothing", 404);
}

// Faults of the sandbox's world found while driving it from the console;
// each of these failed before its fix.

// Product 110 may be bought once per member: after a new profile is loaded
// the player's earlier purchase no longer counts.
TEST_F(Console, LoadingAProfileStartsThePurchaseHistoryOver)
{
    Buy(110);
    ASSERT_EQ(g_answers.code, TESSEL_RESULT_SUCCESS);
    Buy(110);
    ASSERT_NE(g_answers.code, TESSEL_RESULT_SUCCESS);  // the limit is reached
    ASSERT_EQ(TesselSandbox_LoadProfileText("{}", 2), TESSEL_RESULT_SUCCESS);
    Buy(110);
    EXPECT_EQ(g_answers.code, TESSEL_RESULT_SUCCESS);
}

TEST_F(Console, APurchaseThatNeedsNoPaymentWindowCarriesNoPaymentUrl)
{
    Buy(101);
    ASSERT_EQ(g_answers.code, TESSEL_RESULT_SUCCESS);
    EXPECT_EQ(g_answers.progress, TESSEL_PURCHASE_PROGRESS_NOT_NEED_PAYMENT_WINDOW);
    EXPECT_TRUE(g_answers.urlEmpty);
}

// Interactive windows: the request waits in the console until the player
// chooses, and the choice answers the game through the pump, the result
// before the destroy notice, each once.
class Interactive : public Console {
protected:
    void SetUp() override
    {
        Console::SetUp();
        Post("/api/interactive", {{"interactive", true}});
    }
    // The one waiting window, after the request's pump heard nothing.
    Json Waiting()
    {
        EXPECT_EQ(g_answers.heard, "");
        const Json waiting = Get("/api/waiting");
        EXPECT_EQ(waiting.size(), 1u);
        EXPECT_EQ(TesselSandbox_WaitingWindowCount(), 1u);
        return waiting.empty() ? Json::object() : waiting[0];
    }
    void Choose(const Json& choice)
    {
        Post("/api/waiting/choose", choice);
        Tessel_RunCallbacks();
        Tessel_RunCallbacks();  // nothing more comes
        EXPECT_TRUE(Get("/api/waiting").empty());
        EXPECT_EQ(TesselSandbox_WaitingWindowCount(), 0u);
    }
};

TEST_F(Interactive, PayShowsTheOrderAndBuysIt)
{
    EXPECT_EQ(Get("/api/interactive")["interactive"], true);
    Buy(101);
    const Json window = Waiting();
    EXPECT_EQ(window["kind"], "purchase");
    ASSERT_EQ(window["products"].size(), 1u);
    EXPECT_EQ(window["products"][0]["name"], "Iron Sword");
    EXPECT_EQ(window["products"][0]["quantity"], 1);
    EXPECT_EQ(window["products"][0]["displayPrice"], "$3.00");
    EXPECT_EQ(window["total"], "USD 3.00");
    EXPECT_EQ(window["paymentMethods"], Json({"Wallet", "Bonus credit"}));
    EXPECT_TRUE(Get("/api/state")["waiting"].is_array());

    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "open-link"}}, 400);
    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "shrug"}}, 400);
    const Json unknown = Post("/api/waiting/choose", {{"id", 4242}, {"choice", "pay"}}, 404);
    EXPECT_NE(unknown["error"].get<std::string>().find("no waiting window 4242"), std::string::npos);
    Choose({{"id", window["id"]}, {"choice", "pay"}});
    EXPECT_EQ(g_answers.heard, "R0 D0 ");
    EXPECT_NE(g_answers.master, 0);
    EXPECT_EQ(Get("/api/transactions").size(), 1u);
}

TEST_F(Interactive, DeclineCancelAndCloseBuyNothing)
{
    const std::pair<const char*, uint32_t> choices[] = {{"decline", TESSEL_SANDBOX_RESULT_PAYMENT_DECLINED},
                                                        {"cancel", TESSEL_SANDBOX_RESULT_USER_CANCELLED},
                                                        {"close", TESSEL_SANDBOX_RESULT_WINDOW_CLOSED}};
    for (const auto& [choice, code] : choices) {
        g_answers = {};
        Buy(101);
        Choose({{"id", Waiting()["id"]}, {"choice", choice}});
        EXPECT_EQ(g_answers.heard, "R" + std::to_string(code) + " D0 ") << choice;
    }
    EXPECT_TRUE(Get("/api/transactions").empty());
    EXPECT_TRUE(Get("/api/inventory").empty());
}

TEST_F(Interactive, APopupClosesWithTheChosenCloseButtonOrOpensItsLink)
{
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &OnPopup, &OnPopupDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    Json window = Waiting();
    EXPECT_EQ(window["kind"], "auto");
    ASSERT_FALSE(window["popups"].empty());
    EXPECT_EQ(window["popups"][0]["title"], "Welcome back, adventurer!");
    EXPECT_EQ(window["popups"][0]["closeButton"], 7);
    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "pay"}}, 400);
    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "close"}, {"closeButton", 8}}, 400);
    Choose({{"id", window["id"]}, {"choice", "close"}, {"closeButton", 3}});
    EXPECT_EQ(g_answers.heard, "R0 D0 ");
    EXPECT_EQ(g_answers.destroyValue, 3);

    g_answers = {};
    TesselAPI_AutoPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, &OnPopup, &OnPopupDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    window = Waiting();
    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "open-link"}, {"popup", 99}}, 400);
    Choose({{"id", window["id"]}, {"choice", "open-link"}});
    EXPECT_EQ(g_answers.heard, "R0 D" + std::to_string(TESSEL_SANDBOX_RESULT_LINK_OPENED) + " ");
}

// Only pay pays: the first payment id goes to the payment paid after a
// decline, a cancel and a close.
TEST_F(Interactive, APaymentPaysOnlyOnPay)
{
    TesselPaymentOption option = {0, 1, TESSEL_WEBVIEW_MODE_EMBEDDED, 0, 0, 0, 0};
    const std::pair<const char*, uint32_t> choices[] = {{"decline", TESSEL_SANDBOX_RESULT_PAYMENT_DECLINED},
                                                        {"cancel", TESSEL_SANDBOX_RESULT_USER_CANCELLED},
                                                        {"close", TESSEL_SANDBOX_RESULT_WINDOW_CLOSED},
                                                        {"pay", TESSEL_RESULT_SUCCESS}};
    for (const auto& [choice, code] : choices) {
        g_answers = {};
        TesselAPI_StartPaymentEx(&option, &OnPayment, &OnDestroy, nullptr, nullptr);
        Tessel_RunCallbacks();
        const Json window = Waiting();
        EXPECT_EQ(window["kind"], "payment");
        EXPECT_EQ(window["operation"], 1);
        EXPECT_EQ(window["paymentMethods"], Json({"Wallet", "Bonus credit"}));
        EXPECT_EQ(window["choices"], Json({"pay", "decline", "cancel", "close"}));
        Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "agree"}}, 400);
        Choose({{"id", window["id"]}, {"choice", choice}});
        EXPECT_EQ(g_answers.heard, "R" + std::to_string(code) + " D0 ") << choice;
        const char* paid = "{\"paymentId\":\"P-1\",\"operation\":1,\"status\":\"approved\"}";
        EXPECT_EQ(g_answers.text, code == TESSEL_RESULT_SUCCESS ? paid : "") << choice;
    }
}

TEST_F(Interactive, TermsAgreeRecordsTheAgreementAndDeclineLeavesIt)
{
    TesselTermsOption option = {0, 1, TESSEL_WEBVIEW_MODE_EMBEDDED, 0, 0, 0, 0};
    const Json terms = Get("/api/terms");
    ASSERT_EQ(terms["agreed"], false);
    TesselAPI_FetchTermsAgreementEx(&option, &OnTerms, &OnDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    Json window = Waiting();
    EXPECT_EQ(window["kind"], "terms");
    EXPECT_EQ(window["termsText"], terms["termsText"]);
    EXPECT_EQ(window["choices"], Json({"agree", "decline", "close"}));
    Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "pay"}}, 400);
    Choose({{"id", window["id"]}, {"choice", "decline"}});
    EXPECT_EQ(g_answers.heard, "R" + std::to_string(TESSEL_SANDBOX_RESULT_TERMS_DECLINED) + " D0 ");
    EXPECT_FALSE(g_answers.flag);
    EXPECT_EQ(Get("/api/terms")["agreed"], false);

    // Closing all popups ends a waiting window with its closed answers.
    g_answers = {};
    TesselAPI_FetchTermsAgreementEx(&option, &OnTerms, &OnDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    Waiting();
    EXPECT_EQ(Post("/api/popups/close-all", Json::object())["closed"], 1);
    Tessel_RunCallbacks();
    EXPECT_EQ(g_answers.heard, "R" + std::to_string(TESSEL_SANDBOX_RESULT_WINDOW_CLOSED) + " D0 ");

    g_answers = {};
    TesselAPI_FetchTermsAgreementEx(&option, &OnTerms, &OnDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    Choose({{"id", Waiting()["id"]}, {"choice", "agree"}});
    EXPECT_EQ(g_answers.heard, "R0 D0 ");
    EXPECT_TRUE(g_answers.flag);
    EXPECT_EQ(g_answers.text, terms["termsText"]);
    EXPECT_EQ(Get("/api/terms")["agreed"], true);
}

// Product 112 can be withdrawn, 101 cannot.
TEST_F(Interactive, AWithdrawalShowsWhatItGivesBackAndOnlyWithdrawTakesIt)
{
    Post("/api/inventory/grant", {{"productId", 112}, {"productName", "Expansion: Frozen North"}, {"quantity", 1}});
    Post("/api/inventory/grant", {{"productId", 101}, {"productName", "Iron Sword"}, {"quantity", 1}});
    TesselWithdrawGameOptionParams option = {TESSEL_WEBVIEW_MODE_EMBEDDED, 0, 0, 0, 0};
    const std::pair<const char*, uint32_t> choices[] = {{"cancel", TESSEL_SANDBOX_RESULT_USER_CANCELLED},
                                                        {"close", TESSEL_SANDBOX_RESULT_WINDOW_CLOSED},
                                                        {"withdraw", TESSEL_RESULT_SUCCESS}};
    for (const auto& [choice, code] : choices) {
        g_answers = {};
        TesselAPI_WithdrawGame(&option, &OnWithdraw, &OnDestroy, nullptr, nullptr);
        Tessel_RunCallbacks();
        const Json window = Waiting();
        EXPECT_EQ(window["kind"], "withdraw");
        ASSERT_EQ(window["items"].size(), 1u);
        EXPECT_EQ(window["items"][0]["productId"], 112);
        EXPECT_EQ(window["choices"], Json({"withdraw", "cancel", "close"}));
        Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "decline"}}, 400);
        EXPECT_EQ(Get("/api/inventory").size(), 2u);
        Choose({{"id", window["id"]}, {"choice", choice}});
        EXPECT_EQ(g_answers.heard, "R" + std::to_string(code) + " D0 ") << choice;
        EXPECT_EQ(g_answers.flag, code == TESSEL_RESULT_SUCCESS) << choice;
    }
    const Json inventory = Get("/api/inventory");
    ASSERT_EQ(inventory.size(), 1u);
    EXPECT_EQ(inventory[0]["productId"], 101);
}

// The popup was shown whatever the choice; the value callback hears how it went.
TEST_F(Interactive, AnIdentityVerificationVerifiesFailsOrCloses)
{
    const std::pair<const char*, std::string> choices[] = {
        {"verify", "V0 {\"verified\":true,\"adultCheck\":true,\"ci\":\"sandbox-ci-0001\"}"},
        {"fail",
         "V" + std::to_string(TESSEL_SANDBOX_RESULT_NOT_VERIFIED) + " {\"verified\":false,\"adultCheck\":true}"},
        {"close", "V" + std::to_string(TESSEL_SANDBOX_RESULT_WINDOW_CLOSED) + " "}};
    for (const auto& [choice, value] : choices) {
        g_answers = {};
        TesselAPI_VerifyIdentificationPopup(true, TESSEL_WEBVIEW_MODE_EMBEDDED, &OnPopup, &OnIdentityValue, nullptr,
                                            nullptr);
        Tessel_RunCallbacks();
        const Json window = Waiting();
        EXPECT_EQ(window["kind"], "identity");
        EXPECT_EQ(window["adultCheck"], true);
        EXPECT_EQ(window["choices"], Json({"verify", "fail", "close"}));
        Post("/api/waiting/choose", {{"id", window["id"]}, {"choice", "open-link"}}, 400);
        Choose({{"id", window["id"]}, {"choice", choice}});
        EXPECT_EQ(g_answers.heard + g_answers.text, "R0 " + value) << choice;
    }
}

// Shutdown ends a waiting window like an open one: its contexts are freed
// (the leak checker would say otherwise) and nothing reaches the game, then
// or later. Interactive mode goes back to the profile's word.
TEST_F(Interactive, AWindowStillWaitingAtShutdownEndsOnce)
{
    Buy(101);
    Waiting();
    client_.reset();
    Tessel_UnInitialize();
    ASSERT_EQ(Tessel_Initialize(L"console-test").resultCode, TESSEL_RESULT_SUCCESS);
    Tessel_RunCallbacks();
    EXPECT_EQ(g_answers.heard, "");
    EXPECT_EQ(TesselSandbox_CloseAllPopups(), 0u);  // neither open nor waiting
    Buy(101);
    EXPECT_EQ(g_answers.heard, "R0 ");  // no longer interactive
}

TEST_F(Interactive, TheSwitchAndExportedSessionsKeepTheMode)
{
    Post("/api/interactive", {{"interactive", "yes"}}, 400);
    EXPECT_EQ(Get("/api/session")["interactive"], true);
    Post("/api/interactive", {{"interactive", false}});
    Buy(101);
    EXPECT_EQ(g_answers.heard, "R0 ");
    EXPECT_EQ(TesselSandbox_LoadProfileText("{\"interactive\": true}", 21), TESSEL_RESULT_SUCCESS);
    EXPECT_EQ(Get("/api/interactive")["interactive"], true);
}

#if !defined(_WIN32)
// 200 connections that never send a byte hold the console's workers; the
// game's requests and pump go on as fast as without them.
// The game's thread leaves raw events in a bounded ring that a reader takes
// in: more round trips than it holds, with nobody reading meanwhile, leave
// the latest requests in the timeline, each with its answer.
TEST_F(Console, ARingThatOverflowedStillMatchesEveryAnswer)
{
    for (int i = 0; i < 2000; ++i) {
        TesselAPI_FetchInventory([](const TesselAPICallbackResult*, const TesselInventoryItem*, unsigned int) {},
                                 nullptr);
        Tessel_RunCallbacks();
    }
    const Json requests = Get("/api/requests");
    ASSERT_GT(requests.size(), 100u);
    for (const Json& request : requests) {
        EXPECT_EQ(request["state"], "delivered") << request.dump();
    }
    EXPECT_EQ(requests.back()["function"], "Tessel_FetchInventory");
}

TEST_F(Console, TwoHundredIdleConnectionsNeverStallTheGame)
{
    std::vector<int> sockets;
    for (int i = 0; i < 200; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port_));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        sockets.push_back(fd);
    }
    using Clock = std::chrono::steady_clock;
    double worst = 0;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        Buy(101);
        worst = std::max(worst, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    EXPECT_EQ(g_answers.purchases, 200);
    EXPECT_LT(worst, 50.0) << "a round trip waited on the console";
    std::printf("200 idle connections: worst round trip %.3f ms\n", worst);
    for (int fd : sockets) {
        ::close(fd);
    }
}
#endif

}  // namespace
