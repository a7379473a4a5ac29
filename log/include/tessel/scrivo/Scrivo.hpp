/**
 * @file Scrivo.hpp
 * @brief Scrivo, the game log module: C++ interface.
 *
 * The same send as Scrivo.h, with the record built as a TesselPCLogSendParam
 * and the outcome as a CallbackResult. Callbacks run inside
 * Tessel_RunCallbacks() on the thread that calls it.
 */
#pragma once

#include <cstdint>

#include "tessel/base/Records.hpp"
#include "tessel/base/TesselBase.hpp"
#include "tessel/scrivo/Scrivo.h"

namespace Tessel::PCSDK::Log {

#pragma pack(push, 4)

/**
 * One game log record (the fields of TesselLogSendParam), owning private
 * copies of its texts (null allowed). A getter returns the owned text itself,
 * valid until the field is set again or the object destroyed; a setter
 * copies its argument (null stores null). Copies are deep. Not thread-safe:
 * one thread at a time per object.
 */
struct SCRIVO_API TesselPCLogSendParam {
public:
    /** Both identifiers 0, every text null. */
    TesselPCLogSendParam();
    /** A deep copy of @p other. */
    TesselPCLogSendParam(const TesselPCLogSendParam& other);
    /** From the platform's record (unset texts stay null); null gives the default record. @param record Read during the call only. */
    explicit TesselPCLogSendParam(const TesselPCLogSendParamCpp* record);
    /** Frees every text. */
    ~TesselPCLogSendParam();
    /** Replaces every field by a deep copy of @p other's; self-assignment is safe. @return This object. */
    TesselPCLogSendParam& operator=(const TesselPCLogSendParam& other);
    /** Replaces every field from @p record; null leaves the object unchanged. @return This object. */
    TesselPCLogSendParam& operator=(const TesselPCLogSendParamCpp* record);

    /** @name Fields (see TesselLogSendParam for each field's meaning) */
    ///@{

    long long GetAuid() const; ///< Getter or setter of the field of the same name.
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
    ///@}

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

/** Receives the outcome of Log_Send(), by value (the callback's own copy). */
using LogSendCallback = void (*)(CallbackResult result);

TESSEL_CXX_EXPORTS_BEGIN
extern "C" {
/** Initializes Scrivo; as TesselAPI_LogInitialize(). @return The outcome. */
SCRIVO_API Result Log_Initialize();
/** Uninitializes Scrivo; as TesselAPI_LogUnInitialize(). @return The outcome. */
SCRIVO_API Result Log_UnInitialize();
/**
 * Writes the version text; as TesselAPI_LogGetVersion().
 * @param buffer Receives the text. @param capacity In wide characters, the zero included.
 * @return The outcome.
 */
SCRIVO_API Result Log_GetVersion(wchar_t* buffer, int32_t capacity);
/**
 * Sends one log record; as TesselAPI_LogSend() (exactly one callback; when not
 * initialized code 17 with a callback, dropped without one).
 * @param param Read during the call only; null sends an empty record.
 * @param callback Receives the outcome; may be null.
 */
SCRIVO_API void Log_Send(const TesselPCLogSendParam* param, LogSendCallback callback);
}
TESSEL_CXX_EXPORTS_END

}  // namespace Tessel::PCSDK::Log
