// Scrivo, the game log module: C++ interface.
#pragma once

#include <cstdint>

#include "tessel/base/Records.hpp"
#include "tessel/base/TesselBase.hpp"
#include "tessel/scrivo/Scrivo.h"

namespace Tessel::PCSDK::Log {

#pragma pack(push, 4)

// One game log record, owning private copies of its texts (null allowed).
struct SCRIVO_API TesselPCLogSendParam {
public:
    TesselPCLogSendParam();
    TesselPCLogSendParam(const TesselPCLogSendParam& other);
    // From null: the default record.
    explicit TesselPCLogSendParam(const TesselPCLogSendParamCpp* record);
    ~TesselPCLogSendParam();
    TesselPCLogSendParam& operator=(const TesselPCLogSendParam& other);
    // From null: the record is left unchanged.
    TesselPCLogSendParam& operator=(const TesselPCLogSendParamCpp* record);

    long long GetAuid() const;
    void SetAuid(long long auid);
    long long GetCuid() const;
    void SetCuid(long long cuid);
    const wchar_t* GetMktType1() const;
    void SetMktType1(const wchar_t* value);
    const wchar_t* GetMktId1() const;
    void SetMktId1(const wchar_t* value);
    const wchar_t* GetMktType2() const;
    void SetMktType2(const wchar_t* value);
    const wchar_t* GetMktId2() const;
    void SetMktId2(const wchar_t* value);
    const wchar_t* GetGameVersion() const;
    void SetGameVersion(const wchar_t* value);
    const wchar_t* GetLogGroupId() const;
    void SetLogGroupId(const wchar_t* value);
    const wchar_t* GetServerCd() const;
    void SetServerCd(const wchar_t* value);
    const wchar_t* GetServerCdDet() const;
    void SetServerCdDet(const wchar_t* value);
    const wchar_t* GetLvCd() const;
    void SetLvCd(const wchar_t* value);
    const wchar_t* GetLvCdDet() const;
    void SetLvCdDet(const wchar_t* value);
    const wchar_t* GetContents() const;
    void SetContents(const wchar_t* value);

private:
    friend struct TextFields;

    void DeepCopy(const TesselPCLogSendParam& other);
    void DeepCopy(const TesselPCLogSendParamCpp* record);

    long long auid_;
    long long cuid_;
    wchar_t* mktType1_;
    wchar_t* mktId1_;
    wchar_t* mktType2_;
    wchar_t* mktId2_;
    wchar_t* gameVersion_;
    wchar_t* logGroupId_;
    wchar_t* serverCd_;
    wchar_t* serverCdDet_;
    wchar_t* lvCd_;
    wchar_t* lvCdDet_;
    wchar_t* contents_;
};

#pragma pack(pop)

using LogSendCallback = void (*)(CallbackResult result);

extern "C" {
SCRIVO_API Result Log_Initialize();
SCRIVO_API Result Log_UnInitialize();
SCRIVO_API Result Log_GetVersion(wchar_t* buffer, int32_t capacity);
SCRIVO_API void Log_Send(const TesselPCLogSendParam* param, LogSendCallback callback);
}

}  // namespace Tessel::PCSDK::Log
