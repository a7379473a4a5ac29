// TesselPCLogSendParam: owned texts, copies and assignments.
#include <cstddef>
#include <cwchar>

#include "TestSupport.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace {

using Tessel::PCSDK::Log::TesselPCLogSendParam;
using Tessel::PCSDK::Log::TesselPCLogSendParamCpp;

static_assert(sizeof(TesselPCLogSendParam) == 16 + 11 * sizeof(void*), "13 fields, packed to 4 bytes");
static_assert(sizeof(TesselLogSendParam) == 16 + 11 * sizeof(void*), "the C record has the same fields");
static_assert(offsetof(TesselLogSendParam, mktType1) == 16, "texts follow the two identifiers");
static_assert(offsetof(TesselLogSendParam, contents) == 16 + 10 * sizeof(void*), "contents is last");

TesselPCLogSendParam Filled()
{
    TesselPCLogSendParam p;
    p.SetAuid(1);
    p.SetCuid(-2);
    p.SetMktType1(L"m1");
    p.SetMktId1(L"i1");
    p.SetMktType2(L"m2");
    p.SetMktId2(L"i2");
    p.SetGameVersion(L"1.2.3");
    p.SetLogGroupId(L"group");
    p.SetServerCd(L"srv");
    p.SetServerCdDet(L"srv-d");
    p.SetLvCd(L"lv");
    p.SetLvCdDet(L"lv-d");
    p.SetContents(L"contents");
    return p;
}

void ExpectFilled(const TesselPCLogSendParam& p)
{
    EXPECT_EQ(p.GetAuid(), 1);
    EXPECT_EQ(p.GetCuid(), -2);
    EXPECT_STREQ(p.GetMktType1(), L"m1");
    EXPECT_STREQ(p.GetMktId1(), L"i1");
    EXPECT_STREQ(p.GetMktType2(), L"m2");
    EXPECT_STREQ(p.GetMktId2(), L"i2");
    EXPECT_STREQ(p.GetGameVersion(), L"1.2.3");
    EXPECT_STREQ(p.GetLogGroupId(), L"group");
    EXPECT_STREQ(p.GetServerCd(), L"srv");
    EXPECT_STREQ(p.GetServerCdDet(), L"srv-d");
    EXPECT_STREQ(p.GetLvCd(), L"lv");
    EXPECT_STREQ(p.GetLvCdDet(), L"lv-d");
    EXPECT_STREQ(p.GetContents(), L"contents");
}

TEST(LogSendParamTest, DefaultHasZeroIdentifiersAndNullTexts)
{
    const TesselPCLogSendParam p;
    EXPECT_EQ(p.GetAuid(), 0);
    EXPECT_EQ(p.GetCuid(), 0);
    EXPECT_EQ(p.GetMktType1(), nullptr);
    EXPECT_EQ(p.GetContents(), nullptr);
    EXPECT_EQ(p.GetLvCdDet(), nullptr);
}

TEST(LogSendParamTest, SettersStoreTheirOwnCopies)
{
    TesselPCLogSendParam p;
    wchar_t buffer[] = L"first";
    p.SetContents(buffer);
    buffer[0] = L'X';
    EXPECT_STREQ(p.GetContents(), L"first");
    EXPECT_NE(p.GetContents(), buffer);
    p.SetContents(L"second");
    EXPECT_STREQ(p.GetContents(), L"second");
    p.SetContents(p.GetContents());  // its own text back in
    EXPECT_STREQ(p.GetContents(), L"second");
    p.SetContents(nullptr);
    EXPECT_EQ(p.GetContents(), nullptr);
}

TEST(LogSendParamTest, CopiesAreIndependentOfTheirSource)
{
    auto* source = new TesselPCLogSendParam(Filled());
    TesselPCLogSendParam copied(*source);
    TesselPCLogSendParam assigned;
    assigned.SetMktId1(L"old");
    assigned = *source;
    EXPECT_NE(copied.GetContents(), source->GetContents());
    source->SetContents(L"changed");
    delete source;
    ExpectFilled(copied);
    ExpectFilled(assigned);
}

TEST(LogSendParamTest, SelfAssignmentKeepsEverything)
{
    TesselPCLogSendParam p = Filled();
    TesselPCLogSendParam& alias = p;
    p = alias;
    ExpectFilled(p);
}

TEST(LogSendParamTest, FromThePlatformRecordUnsetTextsAreNullAndEmptyOnesEmpty)
{
    TesselPCLogSendParamCpp record;
    record.auid = 10;
    record.cuid = 20;
    record.mktType1 = L"";
    record.sessionId = L"not carried";
    record.contents = L"c";
    const TesselPCLogSendParam p(&record);
    EXPECT_EQ(p.GetAuid(), 10);
    EXPECT_EQ(p.GetCuid(), 20);
    ASSERT_NE(p.GetMktType1(), nullptr);
    EXPECT_STREQ(p.GetMktType1(), L"");
    EXPECT_EQ(p.GetMktId1(), nullptr);
    EXPECT_EQ(p.GetLvCdDet(), nullptr);
    EXPECT_STREQ(p.GetContents(), L"c");

    TesselPCLogSendParam assigned = Filled();
    assigned = &record;
    EXPECT_EQ(assigned.GetAuid(), 10);
    EXPECT_EQ(assigned.GetMktId1(), nullptr);
    EXPECT_STREQ(assigned.GetContents(), L"c");
}

TEST(LogSendParamTest, FromThePlatformRecordEveryTextLandsInItsOwnField)
{
    TesselPCLogSendParamCpp record;
    record.auid = 1;
    record.cuid = -2;
    record.mktType1 = L"m1";
    record.mktId1 = L"i1";
    record.mktType2 = L"m2";
    record.mktId2 = L"i2";
    record.gameVersion = L"1.2.3";
    record.logGroupId = L"group";
    record.serverCd = L"srv";
    record.serverCdDet = L"srv-d";
    record.lvCd = L"lv";
    record.lvCdDet = L"lv-d";
    record.contents = L"contents";
    ExpectFilled(TesselPCLogSendParam(&record));
}

TEST(LogSendParamTest, ANullRecordGivesTheDefaultOrLeavesTheObjectUnchanged)
{
    const TesselPCLogSendParam constructed(static_cast<const TesselPCLogSendParamCpp*>(nullptr));
    EXPECT_EQ(constructed.GetAuid(), 0);
    EXPECT_EQ(constructed.GetContents(), nullptr);

    TesselPCLogSendParam assigned = Filled();
    assigned = static_cast<const TesselPCLogSendParamCpp*>(nullptr);
    ExpectFilled(assigned);
}

}  // namespace
