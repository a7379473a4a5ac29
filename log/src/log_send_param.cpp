// TesselPCLogSendParam: a log record owning private copies of its texts.
#include <cstdlib>

#include "tessel/runtime/Platform.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace Tessel::PCSDK::Log {
namespace {

using tessel::rt::platform::DuplicateWide;
using Texts = wchar_t* TesselPCLogSendParam::*;
constexpr std::size_t kTextCount = 11;

}  // namespace

// The carried texts in field order; the record's extra text (kept by the
// platform only) is not among them.
struct TextFields {
    static constexpr wchar_t* TesselPCLogSendParam::*kObject[kTextCount] = {
        &TesselPCLogSendParam::mktType1_,   &TesselPCLogSendParam::mktId1_,
        &TesselPCLogSendParam::mktType2_,   &TesselPCLogSendParam::mktId2_,
        &TesselPCLogSendParam::gameVersion_, &TesselPCLogSendParam::logGroupId_,
        &TesselPCLogSendParam::serverCd_,   &TesselPCLogSendParam::serverCdDet_,
        &TesselPCLogSendParam::lvCd_,       &TesselPCLogSendParam::lvCdDet_,
        &TesselPCLogSendParam::contents_,
    };
    static constexpr std::optional<std::wstring> TesselPCLogSendParamCpp::*kRecord[kTextCount] = {
        &TesselPCLogSendParamCpp::mktType1,   &TesselPCLogSendParamCpp::mktId1,
        &TesselPCLogSendParamCpp::mktType2,   &TesselPCLogSendParamCpp::mktId2,
        &TesselPCLogSendParamCpp::gameVersion, &TesselPCLogSendParamCpp::logGroupId,
        &TesselPCLogSendParamCpp::serverCd,   &TesselPCLogSendParamCpp::serverCdDet,
        &TesselPCLogSendParamCpp::lvCd,       &TesselPCLogSendParamCpp::lvCdDet,
        &TesselPCLogSendParamCpp::contents,
    };
};

namespace {

// Replaces the text held in field by a copy of value, copying first so that
// the object's own text can be passed back in.
void StoreText(wchar_t*& field, const wchar_t* value)
{
    wchar_t* copy = DuplicateWide(value);
    std::free(field);
    field = copy;
}

}  // namespace

TesselPCLogSendParam::TesselPCLogSendParam()
    : auid_(0), cuid_(0), mktType1_(nullptr), mktId1_(nullptr), mktType2_(nullptr), mktId2_(nullptr),
      gameVersion_(nullptr), logGroupId_(nullptr), serverCd_(nullptr), serverCdDet_(nullptr),
      lvCd_(nullptr), lvCdDet_(nullptr), contents_(nullptr)
{
}

TesselPCLogSendParam::TesselPCLogSendParam(const TesselPCLogSendParam& other) : TesselPCLogSendParam()
{
    DeepCopy(other);
}

TesselPCLogSendParam::TesselPCLogSendParam(const TesselPCLogSendParamCpp* record) : TesselPCLogSendParam()
{
    DeepCopy(record);
}

TesselPCLogSendParam::~TesselPCLogSendParam()
{
    for (auto field : TextFields::kObject) {
        std::free(this->*field);
        this->*field = nullptr;
    }
}

TesselPCLogSendParam& TesselPCLogSendParam::operator=(const TesselPCLogSendParam& other)
{
    DeepCopy(other);
    return *this;
}

TesselPCLogSendParam& TesselPCLogSendParam::operator=(const TesselPCLogSendParamCpp* record)
{
    DeepCopy(record);
    return *this;
}

void TesselPCLogSendParam::DeepCopy(const TesselPCLogSendParam& other)
{
    wchar_t* copies[kTextCount];
    for (std::size_t i = 0; i < kTextCount; ++i) {
        copies[i] = DuplicateWide(other.*TextFields::kObject[i]);
    }
    auid_ = other.auid_;
    cuid_ = other.cuid_;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        std::free(this->*TextFields::kObject[i]);
        this->*TextFields::kObject[i] = copies[i];
    }
}

void TesselPCLogSendParam::DeepCopy(const TesselPCLogSendParamCpp* record)
{
    if (record == nullptr) {
        return;
    }
    wchar_t* copies[kTextCount];
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const std::optional<std::wstring>& text = record->*TextFields::kRecord[i];
        copies[i] = text ? DuplicateWide(text->c_str()) : nullptr;
    }
    auid_ = record->auid;
    cuid_ = record->cuid;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        std::free(this->*TextFields::kObject[i]);
        this->*TextFields::kObject[i] = copies[i];
    }
}

long long TesselPCLogSendParam::GetAuid() const { return auid_; }
void TesselPCLogSendParam::SetAuid(long long auid) { auid_ = auid; }
long long TesselPCLogSendParam::GetCuid() const { return cuid_; }
void TesselPCLogSendParam::SetCuid(long long cuid) { cuid_ = cuid; }

#define SCRIVO_TEXT_ACCESSORS(Name, field)                                                  \
    const wchar_t* TesselPCLogSendParam::Get##Name() const { return field; }               \
    void TesselPCLogSendParam::Set##Name(const wchar_t* value) { StoreText(field, value); }

SCRIVO_TEXT_ACCESSORS(MktType1, mktType1_)
SCRIVO_TEXT_ACCESSORS(MktId1, mktId1_)
SCRIVO_TEXT_ACCESSORS(MktType2, mktType2_)
SCRIVO_TEXT_ACCESSORS(MktId2, mktId2_)
SCRIVO_TEXT_ACCESSORS(GameVersion, gameVersion_)
SCRIVO_TEXT_ACCESSORS(LogGroupId, logGroupId_)
SCRIVO_TEXT_ACCESSORS(ServerCd, serverCd_)
SCRIVO_TEXT_ACCESSORS(ServerCdDet, serverCdDet_)
SCRIVO_TEXT_ACCESSORS(LvCd, lvCd_)
SCRIVO_TEXT_ACCESSORS(LvCdDet, lvCdDet_)
SCRIVO_TEXT_ACCESSORS(Contents, contents_)

#undef SCRIVO_TEXT_ACCESSORS

}  // namespace Tessel::PCSDK::Log
