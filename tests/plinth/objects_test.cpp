// The platform's binary contract: every operation sits at its fixed vtable
// position. Each case calls positions through the raw vtable and checks what
// the object recorded or answers.
#include <cstring>
#include <vector>

#include "TestSupport.hpp"

namespace {

using namespace tessel::test;
using Sandbox::NullText;
using Sandbox::ParamValue;
using Sandbox::SetterCall;

enum class Kind { Text, I32, U32, I64, F64, Bool };

struct Slot {
    int position;
    Kind kind;
};

// Calls the setter at slot.position with a value derived from the position,
// then the getter right after it, and returns the value sent.
ParamValue SetAndCheckGetter(Base::IParam* param, const Slot& slot)
{
    const int p = slot.position;
    const auto at = static_cast<std::size_t>(p);
    switch (slot.kind) {
    case Kind::Text: {
        const std::wstring text = L"text@" + std::to_wstring(p);
        CallSlot<void, const wchar_t*>(param, at, text.c_str());
        const wchar_t* read = CallSlot<const wchar_t*>(param, at + 1);
        EXPECT_NE(read, nullptr);
        EXPECT_EQ(std::wstring(read != nullptr ? read : L""), text) << "getter after " << p;
        return text;
    }
    case Kind::I32: {
        const int32_t value = 1000 + p;
        CallSlot<void, int32_t>(param, at, value);
        EXPECT_EQ(CallSlot<int32_t>(param, at + 1), value) << "getter after " << p;
        return value;
    }
    case Kind::U32: {
        const uint32_t value = 2000u + static_cast<uint32_t>(p);
        CallSlot<void, uint32_t>(param, at, value);
        EXPECT_EQ(CallSlot<uint32_t>(param, at + 1), value) << "getter after " << p;
        return value;
    }
    case Kind::I64: {
        const int64_t value = 0x100000000LL + p;
        CallSlot<void, int64_t>(param, at, value);
        EXPECT_EQ(CallSlot<int64_t>(param, at + 1), value) << "getter after " << p;
        return value;
    }
    case Kind::F64: {
        const double value = 0.5 + p;
        CallSlot<void, double>(param, at, value);
        EXPECT_EQ(CallSlot<double>(param, at + 1), value) << "getter after " << p;
        return value;
    }
    case Kind::Bool:
        CallSlot<void, bool>(param, at, true);
        EXPECT_TRUE(CallSlot<bool>(param, at + 1)) << "getter after " << p;
        return true;
    }
    return NullText{};
}

struct ParamLayout {
    int32_t typeId;
    std::vector<Slot> setters;
};

std::vector<ParamLayout> AllParamLayouts()
{
    const std::vector<Slot> webviewOption = {{5, Kind::I32}, {7, Kind::I32},  {9, Kind::I32},
                                             {11, Kind::I32}, {13, Kind::I32}, {15, Kind::I32}};
    std::vector<Slot> log = {{5, Kind::I64}, {7, Kind::I64}};
    for (int p = 9; p <= 31; p += 2) {
        log.push_back({p, Kind::Text});
    }
    return {
        {Base::kCharacterFetchParam, {{5, Kind::Text}, {7, Kind::Text}}},
        {Base::kLogSendParam, log},
        {Base::kProductPageParam, {{5, Kind::Text}, {7, Kind::I32}, {9, Kind::I32}}},
        {Base::kOrderProductParam, {{5, Kind::I64}, {7, Kind::F64}, {9, Kind::I32}}},
        {Base::kPurchaseOptionParam, webviewOption},
        {Base::kTermsOptionParam, webviewOption},
        {Base::kPaymentOptionParam, webviewOption},
        {Base::kWithdrawOptionParam, {{5, Kind::I32}, {7, Kind::I32}, {9, Kind::I32}, {11, Kind::I32}, {13, Kind::I32}}},
        {Base::kConfirmPurchaseParam, {{5, Kind::I64}}},
        {Base::kPopupDisallowParam, {{5, Kind::U32}, {7, Kind::U32}}},
        {Base::kPopupParam, {{5, Kind::I32}}},
        {Base::kManualPopupParam, {{5, Kind::I32}, {7, Kind::Text}}},
        {Base::kIdentityPopupParam, {{5, Kind::I32}, {7, Kind::Bool}}},
        {Base::kStartPurchaseParam, {{10, Kind::Text}, {12, Kind::Text}}},
    };
}

void PrintTo(const ParamLayout& layout, std::ostream* out) { *out << "type " << layout.typeId; }

class ParamSlotsTest : public ScriptedTest, public ::testing::WithParamInterface<ParamLayout> {};

TEST_P(ParamSlotsTest, EverySetterAndGetterSitsAtItsPosition)
{
    const ParamLayout& layout = GetParam();
    Base::IParam* param = Tessel_CreateParam(layout.typeId);
    ASSERT_NE(param, nullptr);
    EXPECT_EQ(CallSlot<int32_t>(param, 0), layout.typeId);

    std::vector<SetterCall> expected;
    for (const Slot& slot : layout.setters) {
        expected.push_back({slot.position, SetAndCheckGetter(param, slot)});
    }
    CallSlot<void>(param, 2);  // release

    const Sandbox::ParamRecord* record = Sandbox::Script::FindParam(param);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->calls, expected);
    EXPECT_EQ(record->releaseCalls, 1u);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ParamSlotsTest, ::testing::ValuesIn(AllParamLayouts()),
                         [](const ::testing::TestParamInfo<ParamLayout>& layout) {
                             return "Type" + std::to_string(layout.param.typeId);
                         });

using ParamObjectsTest = ScriptedTest;

TEST_F(ParamObjectsTest, StartPurchaseTakesAnObjectListAndAnOptionAtSixAndEight)
{
    Base::IParam* purchase = Tessel_CreateParam(Base::kStartPurchaseParam);
    Base::IParam* first = Tessel_CreateParam(Base::kOrderProductParam);
    Base::IParam* second = Tessel_CreateParam(Base::kOrderProductParam);
    Base::IParam* option = Tessel_CreateParam(Base::kPurchaseOptionParam);
    Base::IParam* list[] = {first, second};

    CallSlot<void, Base::IParam* const*, uint64_t>(purchase, 6, list, 2);
    CallSlot<void, Base::IParam*>(purchase, 8, option);
    EXPECT_EQ(CallSlot<uint64_t>(purchase, 5), 2u);
    EXPECT_EQ(CallSlot<Base::IParam*>(purchase, 7, uint64_t{1}), second);
    EXPECT_EQ(CallSlot<Base::IParam*>(purchase, 9), option);

    const auto* record = Sandbox::Script::FindParam(purchase);
    ASSERT_NE(record, nullptr);
    const std::vector<const Base::IParam*> sent = {first, second};
    EXPECT_EQ(record->calls, (std::vector<SetterCall>{{6, sent}, {8, static_cast<const Base::IParam*>(option)}}));
    for (Base::IParam* p : {purchase, first, second, option}) {
        p->Release();
    }
}

TEST_F(ParamObjectsTest, NullTextsAreRecordedAsNullAndReadBackAsNull)
{
    Base::IParam* param = Tessel_CreateParam(Base::kLogSendParam);
    CallSlot<void, const wchar_t*>(param, 9, nullptr);
    EXPECT_EQ(CallSlot<const wchar_t*>(param, 10), nullptr);
    EXPECT_EQ(Sandbox::Script::FindParam(param)->calls, (std::vector<SetterCall>{{9, NullText{}}}));
    param->Release();
}

TEST_F(ParamObjectsTest, UnknownTypeIdsAndScriptedFailuresGiveNull)
{
    EXPECT_EQ(Tessel_CreateParam(4242), nullptr);
    Sandbox::Script::FailParamCreation(Base::kPopupParam);
    EXPECT_EQ(Tessel_CreateParam(Base::kPopupParam), nullptr);
    Sandbox::Script::FailParamCreation(Base::kPopupParam, false);
    Base::IParam* param = Tessel_CreateParam(Base::kPopupParam);
    ASSERT_NE(param, nullptr);
    param->Release();
}

TEST(ResultObjectsTest, CallbackResultPositionsFourToSeven)
{
    int context = 0;
    Sandbox::CallbackResultObject result(&context, 81, 17, std::wstring(L"message"), -3);
    auto* borrowed = CallSlot<Base::IResultObject*>(&result, 4);
    ASSERT_NE(borrowed, nullptr);
    EXPECT_EQ(CallSlot<uint32_t>(borrowed, 4), 81u);
    EXPECT_EQ(CallSlot<uint32_t>(borrowed, 5), 17u);
    EXPECT_STREQ(CallSlot<const wchar_t*>(&result, 5), L"message");
    EXPECT_EQ(CallSlot<int32_t>(&result, 6), -3);
    EXPECT_EQ(CallSlot<void*>(&result, 7), &context);

    result.hasResult = false;
    result.message.reset();
    EXPECT_EQ(CallSlot<Base::IResultObject*>(&result, 4), nullptr);
    EXPECT_EQ(CallSlot<const wchar_t*>(&result, 5), nullptr);
}

TEST(ResultObjectsTest, ReleaseAtPositionTwoDeletesAHeapObjectOnce)
{
    auto* result = Sandbox::NewObject<Sandbox::ResultObject>(1u, 2u);
    EXPECT_EQ(CallSlot<uint32_t>(result, 1), 2u);  // retain
    EXPECT_EQ(CallSlot<uint32_t>(result, 3), 2u);  // retain count
    CallSlot<void>(result, 2);
    EXPECT_EQ(result->GetRetainCount(), 1u);
    CallSlot<void>(result, 2);  // the last release frees it (the sanitizer preset checks)
}

TEST(DataObjectsTest, ListAndCharacterPositions)
{
    Sandbox::CharacterData a(std::wstring(L"a"));
    Sandbox::CharacterData b(std::nullopt);
    Sandbox::ListObject list({&a, &b});
    EXPECT_EQ(CallSlot<uint32_t>(&list, 4), 2u);
    EXPECT_EQ(CallSlot<Base::IObject*>(&list, 5, uint32_t{1}), &b);
    EXPECT_EQ(CallSlot<Base::IObject*>(&list, 5, uint32_t{2}), nullptr);
    EXPECT_STREQ(CallSlot<const wchar_t*>(&a, 4), L"a");
    EXPECT_EQ(CallSlot<const wchar_t*>(&b, 4), nullptr);

    list.count = 5;  // a list may claim more items than it holds
    EXPECT_EQ(CallSlot<uint32_t>(&list, 4), 5u);
    EXPECT_EQ(CallSlot<Base::IObject*>(&list, 5, uint32_t{4}), nullptr);
}

TEST(ResultRecordsTest, CallbackResultRecordCopiesTextsAndFreesThemOnce)
{
    Tessel::PCSDK::CallbackResultCpp source;
    source.result = Tessel::PCSDK::ResultCpp(L"AVeryLongModuleNameThatDoesNotFitTheRecordAtAll", 7, 9);
    source.message = L"hello";
    source.value = 11;
    source.request = Tessel::PCSDK::HttpRequest(L"GET", L"https://example.invalid/x", 200);

    TesselAPICallbackResult record = Base::BaseStructUtils::ToCStruct(source);
    EXPECT_EQ(record.result.operationCode, 7u);
    EXPECT_EQ(record.result.resultCode, 9u);
    EXPECT_EQ(std::wcslen(record.result.moduleName), std::size_t{TESSEL_MODULE_NAME_CAPACITY - 1});
    EXPECT_STREQ(record.message, L"hello");
    EXPECT_EQ(record.value, 11);
    EXPECT_STREQ(record.requestUrl, L"https://example.invalid/x");
    EXPECT_EQ(record.httpStatus, 200);
    EXPECT_EQ(record.userContext, nullptr);

    Base::BaseStructUtils::FreeCStruct(&record);
    EXPECT_EQ(record.message, nullptr);
    Base::BaseStructUtils::FreeCStruct(&record);  // nothing left to free
    Base::BaseStructUtils::FreeCStruct(nullptr);
}

}  // namespace

namespace {

TEST_F(ParamObjectsTest, ScriptedModeRecordsKeptTextsReleaseOrderRecordFreesAndStateQueries)
{
    Sandbox::Script::KeepTextPointers();
    wchar_t text[] = L"before";
    Base::IParam* param = Tessel_CreateParam(Base::kLogSendParam);
    Base::IParam* other = Tessel_CreateParam(Base::kLogSendParam);
    static_cast<Base::ILogSendParam*>(param)->SetContents(text);
    text[0] = L'B';  // still the caller's until the request call
    Tessel_SendLog(param, nullptr, nullptr);
    text[0] = L'X';  // read at the request call, not later
    EXPECT_EQ(Sandbox::Script::FindParam(param)->calls, (std::vector<SetterCall>{{31, std::wstring(L"Before")}}));
    other->Release();
    param->Release();
    EXPECT_EQ(Sandbox::Script::ReleaseOrder(), (std::vector<const Base::IParam*>{other, param}));

    TesselAPICallbackResult record = Base::BaseStructUtils::ToCStruct(Tessel::PCSDK::CallbackResultCpp());
    Base::BaseStructUtils::FreeCStruct(&record);
    Base::BaseStructUtils::FreeCStruct(&record);
    TesselAPICallbackResult original = Base::BaseStructUtils::ToCStruct(Tessel::PCSDK::CallbackResultCpp());
    TesselAPICallbackResult copy = original;
    Base::BaseStructUtils::FreeCStruct(&original);
    Base::BaseStructUtils::FreeCStruct(&copy);  // the same texts again, counted and not freed twice
    EXPECT_EQ(Sandbox::Script::CRecordFreeCalls(), (std::vector<uint32_t>{2u, 2u}));

    Tessel_Internal_BaseInitialized();
    EXPECT_EQ(Sandbox::Script::BaseInitializedCalls(), 1u);
    Sandbox::Script::End();  // a record freed twice is what the fixture fails on: not here
    Sandbox::Script::Begin();
}

}  // namespace
