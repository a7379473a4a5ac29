// Panora: popup lists for C callers. The platform's fetch functions are
// recorded in scripted mode; the tests call the recorded function object as
// the platform would and look at what the C callback receives. Everything
// handed over is freed after the callback: the sanitizer preset reports
// whatever is not.
#include "PanoraTest.hpp"

namespace panora_test {
namespace {

using View::TesselPCPopupCpp;
using View::TesselPCPopupRequestDataCpp;
using View::TesselPCPopupStringPairCpp;

std::wstring Text(const wchar_t* text) { return text != nullptr ? text : L"<null>"; }

// A C popup read back into the platform's form.
TesselPCPopupCpp Back(const TesselPopup& c)
{
    TesselPCPopupCpp p;
    p.text1 = Text(c.text1);
    p.text2 = Text(c.text2);
    p.number1 = c.number1;
    p.text3 = Text(c.text3);
    p.byte1 = c.byte1;
    p.byte2 = c.byte2;
    p.byte3 = c.byte3;
    p.byte4 = c.byte4;
    p.byte5 = c.byte5;
    p.byte6 = c.byte6;
    p.byte7 = c.byte7;
    p.number2 = c.number2;
    p.pair1 = {Text(c.pair1.first), Text(c.pair1.second)};
    p.pair2 = {Text(c.pair2.first), Text(c.pair2.second)};
    p.number3 = c.number3;
    p.number4 = c.number4;
    p.number5 = c.number5;
    p.number6 = c.number6;
    return p;
}

auto Fields(const TesselPCPopupCpp& p)
{
    return std::make_tuple(p.text1, p.text2, p.number1, p.text3, p.byte1, p.byte2, p.byte3, p.byte4, p.byte5,
                           p.byte6, p.byte7, p.number2, p.pair1.first, p.pair1.second, p.pair2.first,
                           p.pair2.second, p.number3, p.number4, p.number5, p.number6);
}

std::vector<std::pair<std::wstring, std::wstring>> Pairs(const TesselPopupStringPair* pairs, uint32_t count)
{
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (uint32_t i = 0; i < count; ++i) {
        out.emplace_back(Text(pairs[i].first), Text(pairs[i].second));
    }
    return out;
}

struct Delivery {
    Outcome outcome;
    bool popupsNull = false;
    unsigned int count = 0;
    std::vector<TesselPCPopupCpp> popups;
    std::vector<const void*> textAddresses;
    bool requestDataNull = true;
    bool pairs1Null = false;
    bool pairs2Null = false;
    std::vector<std::pair<std::wstring, std::wstring>> pairs1;
    std::vector<std::pair<std::wstring, std::wstring>> pairs2;
};
std::vector<Delivery> g_deliveries;

void FetchCallback(const TesselAPICallbackResult* result, TesselPopup* popups, unsigned int count,
                   TesselPopupRequestData* data)
{
    Delivery d;
    d.outcome = OutcomeOf(result);
    d.popupsNull = popups == nullptr;
    d.count = count;
    for (unsigned int i = 0; i < count && popups != nullptr; ++i) {
        d.popups.push_back(Back(popups[i]));
        d.textAddresses.push_back(popups[i].text1);
    }
    d.requestDataNull = data == nullptr;
    if (data != nullptr) {
        d.pairs1Null = data->pairs1 == nullptr;
        d.pairs2Null = data->pairs2 == nullptr;
        d.pairs1 = Pairs(data->pairs1, data->pairCount1);
        d.pairs2 = Pairs(data->pairs2, data->pairCount2);
    }
    g_deliveries.push_back(std::move(d));
}

TesselPCPopupCpp Popup(int32_t id, const std::wstring& title)
{
    TesselPCPopupCpp p;
    p.text1 = title;
    p.text2 = L"https://example.invalid/" + std::to_wstring(id);
    p.number1 = id;
    p.byte3 = 1;
    p.pair1 = {L"primary", L"Open"};
    p.number5 = 7;
    return p;
}

Tessel::PCSDK::CallbackResultCpp PlatformResult(uint32_t code)
{
    Tessel::PCSDK::CallbackResultCpp result;
    result.result = Tessel::PCSDK::ResultCpp(L"", 80, code);
    result.message = L"listed";
    result.value = 3;
    return result;
}

class PopupListTest : public PanoraTest {
protected:
    void SetUp() override
    {
        PanoraTest::SetUp();
        g_deliveries.clear();
    }
};

TEST_F(PopupListTest, EachKindCallsItsPlatformFunctionWithTheKey)
{
    // No state is checked: the module is not even initialized.
    TesselAPI_FetchAutoPopup(&FetchCallback);
    TesselAPI_FetchManualPopup(L"event", &FetchCallback);
    TesselAPI_FetchManualPopup(nullptr, &FetchCallback);
    TesselAPI_FetchNewsPopup(&FetchCallback);
    TesselAPI_FetchCouponPopup(nullptr);
    const auto& requests = Sandbox::Script::Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].function, "TesselAPI_FetchAutoPopupCpp");
    EXPECT_EQ(requests[1].function, "TesselAPI_FetchManualPopupCpp");
    EXPECT_EQ(requests[1].key, L"event");
    EXPECT_EQ(requests[2].key, L"") << "a null key is sent as the empty key";
    EXPECT_EQ(requests[3].function, "TesselAPI_FetchNewsPopupCpp");
    EXPECT_EQ(requests[4].function, "TesselAPI_FetchCouponPopupCpp");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(static_cast<bool>(requests[i].fetchCallback));
    }
    EXPECT_FALSE(static_cast<bool>(requests[4].fetchCallback)) << "a null callback is an empty function";
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
}

TEST_F(PopupListTest, AnEmptyListArrivesAsNullPointersAndZeroCounts)
{
    TesselAPI_FetchAutoPopup(&FetchCallback);
    OnlyRequest().fetchCallback(PlatformResult(0), {}, {});
    ASSERT_EQ(g_deliveries.size(), 1u);
    const Delivery& d = g_deliveries[0];
    EXPECT_TRUE(d.popupsNull);
    EXPECT_EQ(d.count, 0u);
    ASSERT_FALSE(d.requestDataNull);
    EXPECT_TRUE(d.pairs1Null);
    EXPECT_TRUE(d.pairs2Null);
    EXPECT_EQ(d.outcome.userContext, nullptr);
    EXPECT_EQ(d.outcome.resultCode, 0u);
    EXPECT_EQ(d.outcome.message, L"listed");
    EXPECT_EQ(d.outcome.value, 3);
}

TEST_F(PopupListTest, SeveralPopupsArriveInOrderWithTheirOwnCopies)
{
    TesselAPI_FetchManualPopup(L"event", &FetchCallback);
    std::vector<TesselPCPopupCpp> popups = {Popup(1, L"same"), Popup(2, L"same"), Popup(3, L"third")};
    TesselPCPopupRequestDataCpp data;
    data.pairs1 = {{L"locale", L"en-US"}};
    data.pairs2 = {{L"key", L"event"}, {L"page", L"1"}};
    OnlyRequest().fetchCallback(PlatformResult(0), popups, data);

    ASSERT_EQ(g_deliveries.size(), 1u);
    const Delivery& d = g_deliveries[0];
    ASSERT_EQ(d.count, 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Fields(d.popups[i]), Fields(popups[i])) << "popup " << i;
    }
    EXPECT_NE(d.textAddresses[0], d.textAddresses[1]) << "equal texts are still separate copies";
    using Pair = std::pair<std::wstring, std::wstring>;
    EXPECT_EQ(d.pairs1, (std::vector<Pair>{{L"locale", L"en-US"}}));
    EXPECT_EQ(d.pairs2, (std::vector<Pair>{{L"key", L"event"}, {L"page", L"1"}}));
}

TEST_F(PopupListTest, EveryKindSharesTheConversion)
{
    TesselAPI_FetchNewsPopup(&FetchCallback);
    TesselAPI_FetchCouponPopup(&FetchCallback);
    const std::vector<TesselPCPopupCpp> popups = {Popup(9, L"nine"), Popup(10, L"")};
    TesselPCPopupRequestDataCpp data;
    data.pairs1 = {{L"a", L"b"}};
    for (const auto& request : Sandbox::Script::Requests()) {
        request.fetchCallback(PlatformResult(17), popups, data);
    }
    ASSERT_EQ(g_deliveries.size(), 2u);
    ASSERT_EQ(g_deliveries[0].count, 2u);
    ASSERT_EQ(g_deliveries[1].count, 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Fields(g_deliveries[0].popups[i]), Fields(g_deliveries[1].popups[i]));
    }
    EXPECT_EQ(g_deliveries[0].pairs1, g_deliveries[1].pairs1);
    EXPECT_EQ(g_deliveries[1].outcome.resultCode, 17u) << "the platform's outcome is passed on";
}

TEST_F(PopupListTest, TheFunctionObjectCanBeCalledAgainAfterACopy)
{
    // The platform owns the function object and may copy it; each call
    // converts and frees on its own.
    TesselAPI_FetchAutoPopup(&FetchCallback);
    const View::PopupFetchCallback copy = OnlyRequest().fetchCallback;
    copy(PlatformResult(0), {Popup(1, L"one")}, {});
    OnlyRequest().fetchCallback(PlatformResult(0), {Popup(2, L"two")}, {});
    ASSERT_EQ(g_deliveries.size(), 2u);
    EXPECT_EQ(g_deliveries[0].popups.at(0).text1, L"one");
    EXPECT_EQ(g_deliveries[1].popups.at(0).text1, L"two");
}

}  // namespace
}  // namespace panora_test
