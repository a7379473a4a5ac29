// Panora's value types: TesselPCPopupDisallowed and the popup record
// conversions with their release functions.
//
// The conversions are linked into this program from the same object library
// the module is built from, so they are tested directly.
#include <cwchar>

#include "PanoraTest.hpp"
#include "PopupRecords.hpp"

namespace panora_test {
namespace {

using View::TesselPCPopupCpp;
using View::TesselPCPopupDisallowed;
using View::TesselPCPopupDisallowedCpp;
using View::TesselPCPopupRequestDataCpp;

TEST(PopupDisallowedTest, DefaultCopyAndAssignment)
{
    const TesselPCPopupDisallowed empty;
    EXPECT_EQ(empty.GetPopupId(), 0u);
    EXPECT_EQ(empty.GetDays(), 0u);

    TesselPCPopupDisallowed source;
    source.SetPopupId(4001);
    source.SetDays(3);
    const TesselPCPopupDisallowed copy(source);
    EXPECT_EQ(copy.GetPopupId(), 4001u);
    EXPECT_EQ(copy.GetDays(), 3u);

    TesselPCPopupDisallowed assigned;
    assigned = source;
    source.SetDays(9);
    EXPECT_EQ(assigned.GetPopupId(), 4001u);
    EXPECT_EQ(assigned.GetDays(), 3u);
}

TEST(PopupDisallowedTest, FromThePlatformsRecordAndFromNull)
{
    const TesselPCPopupDisallowedCpp record{77, 5};
    const TesselPCPopupDisallowed fromRecord(&record);
    EXPECT_EQ(fromRecord.GetPopupId(), 77u);
    EXPECT_EQ(fromRecord.GetDays(), 5u);

    const TesselPCPopupDisallowed fromNull(static_cast<const TesselPCPopupDisallowedCpp*>(nullptr));
    EXPECT_EQ(fromNull.GetPopupId(), 0u);
    EXPECT_EQ(fromNull.GetDays(), 0u);

    TesselPCPopupDisallowed object(&record);
    object = static_cast<const TesselPCPopupDisallowedCpp*>(nullptr);
    EXPECT_EQ(object.GetPopupId(), 77u) << "assignment from null leaves the object unchanged";
    EXPECT_EQ(object.GetDays(), 5u);
    const TesselPCPopupDisallowedCpp other{8, 1};
    object = &other;
    EXPECT_EQ(object.GetPopupId(), 8u);
    EXPECT_EQ(object.GetDays(), 1u);
}

TesselPCPopupCpp FullPopup()
{
    TesselPCPopupCpp p;
    p.text1 = L"title";
    p.text2 = std::wstring(300, L'x');
    p.number1 = -1;
    p.text3 = L"i";
    p.byte1 = 1;
    p.byte2 = 2;
    p.byte3 = 3;
    p.byte4 = 4;
    p.byte5 = 5;
    p.byte6 = 6;
    p.byte7 = 255;
    p.number2 = 2;
    p.pair1 = {L"a", L"b"};
    p.pair2 = {L"c", L""};
    p.number3 = 3;
    p.number4 = 4;
    p.number5 = 5;
    p.number6 = 2147483647;
    return p;
}

TEST(PopupRecordsTest, PopupToCCopiesEveryMemberIntoSeparateStrings)
{
    const TesselPCPopupCpp source = FullPopup();
    TesselPopup c = panora::PopupToC(source);
    EXPECT_STREQ(c.text1, L"title");
    EXPECT_EQ(std::wcslen(c.text2), 300u);
    EXPECT_NE(c.text2, source.text2.c_str());
    EXPECT_STREQ(c.text3, L"i");
    EXPECT_STREQ(c.pair1.first, L"a");
    EXPECT_STREQ(c.pair1.second, L"b");
    EXPECT_STREQ(c.pair2.first, L"c");
    EXPECT_STREQ(c.pair2.second, L"");
    EXPECT_EQ(c.number1, -1);
    const uint8_t bytes[] = {c.byte1, c.byte2, c.byte3, c.byte4, c.byte5, c.byte6, c.byte7};
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 7), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 255}));
    EXPECT_EQ(c.number2, 2);
    EXPECT_EQ(c.number3, 3);
    EXPECT_EQ(c.number4, 4);
    EXPECT_EQ(c.number5, 5);
    EXPECT_EQ(c.number6, 2147483647);
    panora::FreePopup(&c);
}

TEST(PopupRecordsTest, EmptyStringsGiveNonNullCopiesAndASecondFreeDoesNothing)
{
    TesselPopup c = panora::PopupToC(TesselPCPopupCpp{});
    wchar_t* const texts[] = {c.text1, c.text2, c.text3, c.pair1.first, c.pair1.second, c.pair2.first,
                              c.pair2.second};
    for (const wchar_t* text : texts) {
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text[0], L'\0');
    }
    c.number3 = 42;
    panora::FreePopup(&c);
    const wchar_t* const after[] = {c.text1, c.text2, c.text3, c.pair1.first, c.pair1.second, c.pair2.first,
                                    c.pair2.second};
    for (const wchar_t* text : after) {
        EXPECT_EQ(text, nullptr);
    }
    EXPECT_EQ(c.number3, 42) << "numbers are left as they are";
    panora::FreePopup(&c);  // a double free shows under the sanitizer preset
}

TEST(PopupRecordsTest, RequestDataListsAndTheirRelease)
{
    TesselPopupRequestData empty = panora::RequestDataToC(TesselPCPopupRequestDataCpp{});
    EXPECT_EQ(empty.pairs1, nullptr);
    EXPECT_EQ(empty.pairCount1, 0u);
    EXPECT_EQ(empty.pairs2, nullptr);
    EXPECT_EQ(empty.pairCount2, 0u);

    TesselPCPopupRequestDataCpp source;
    source.pairs1 = {{L"locale", L"en-US"}, {L"", L"empty key"}};
    source.pairs2 = {{L"key", L"event"}};
    TesselPopupRequestData c = panora::RequestDataToC(source);
    ASSERT_EQ(c.pairCount1, 2u);
    ASSERT_EQ(c.pairCount2, 1u);
    EXPECT_STREQ(c.pairs1[0].first, L"locale");
    EXPECT_STREQ(c.pairs1[0].second, L"en-US");
    ASSERT_NE(c.pairs1[1].first, nullptr);
    EXPECT_STREQ(c.pairs1[1].first, L"");
    EXPECT_STREQ(c.pairs1[1].second, L"empty key");
    EXPECT_STREQ(c.pairs2[0].second, L"event");

    panora::FreeRequestData(&c);
    EXPECT_EQ(c.pairs1, nullptr);
    EXPECT_EQ(c.pairCount1, 0u);
    EXPECT_EQ(c.pairs2, nullptr);
    EXPECT_EQ(c.pairCount2, 0u);
    panora::FreeRequestData(&c);

    TesselPopupRequestData countOnly{nullptr, 5, nullptr, 6};
    panora::FreeRequestData(&countOnly);
    EXPECT_EQ(countOnly.pairCount1, 0u) << "the count is reset even without a list";
    EXPECT_EQ(countOnly.pairCount2, 0u);
}

}  // namespace
}  // namespace panora_test
