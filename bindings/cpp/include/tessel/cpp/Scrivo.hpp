/**
 * @file Scrivo.hpp
 * @brief Scrivo, the game log module, for a C++ game built with any
 * compiler. See Platform.hpp for how callables run.
 */
#ifndef TESSEL_CPP_SCRIVO_HPP
#define TESSEL_CPP_SCRIVO_HPP

#include <string>
#include <utility>

#include "tessel/cpp/detail/Bridge.hpp"
#include "tessel/scrivo/Scrivo.h"

/** Scrivo, the game log module. */
namespace tessel::scrivo {

/** One game log record; its fields mean what the platform's log service makes of them. */
struct LogRecord {
    long long auid = 0;       /**< First 64-bit identifier (e.g. the account). */
    long long cuid = 0;       /**< Second 64-bit identifier (e.g. the character). */
    std::wstring mktType1;    /**< First market type. */
    std::wstring mktId1;      /**< First market id. */
    std::wstring mktType2;    /**< Second market type. */
    std::wstring mktId2;      /**< Second market id. */
    std::wstring gameVersion; /**< The game's version. */
    std::wstring logGroupId;  /**< Log group id. */
    std::wstring serverCd;    /**< Server code. */
    std::wstring serverCdDet; /**< Server code detail. */
    std::wstring lvCd;        /**< Level code. */
    std::wstring lvCdDet;     /**< Level code detail. */
    std::wstring contents;    /**< The log's contents. */
};

/** @return The result of initializing Scrivo (after the platform). Prefer the Scrivo object. */
inline Result Initialize() { return ToResult(TesselAPI_LogInitialize()); }
/** @return The result of uninitializing Scrivo. */
inline Result UnInitialize() { return tessel::detail::Ending(tessel::detail::kScrivoKind, TesselAPI_LogUnInitialize()); }
/** @return The SDK's version text, e.g. "1.0.0" (empty on failure). */
inline std::wstring GetVersion() { return tessel::detail::Version(&TesselAPI_LogGetVersion); }

/** Keeps Scrivo initialized while it lives (declare it after the Platform). */
class Scrivo : public Lifetime {
public:
    /** @param when Whether the constructor initializes. */
    explicit Scrivo(Start when = Start::Now)
        : Lifetime(tessel::detail::kScrivoKind, [] { return Initialize(); }, &UnInitialize, "Scrivo", when)
    {
    }
};

/**
 * Sends one log record. Without a callable (an empty std::function or a null
 * pointer) the record is sent and nobody is told, or dropped when Scrivo is
 * not initialized.
 * @param record The record; read during the call only.
 * @param callback `(const Result&)`.
 */
template <class F>
tessel::detail::Returned<F> Send(const LogRecord& record, F&& callback)
{
    const TesselLogSendParam param{record.auid,           record.cuid,           record.mktType1.c_str(),
                                   record.mktId1.c_str(),   record.mktType2.c_str(), record.mktId2.c_str(),
                                   record.gameVersion.c_str(), record.logGroupId.c_str(), record.serverCd.c_str(),
                                   record.serverCdDet.c_str(), record.lvCd.c_str(),  record.lvCdDet.c_str(),
                                   record.contents.c_str()};
    return tessel::detail::Request<tessel::detail::NoValues, TesselLogSendCallback>(
        std::forward<F>(callback), [&param](TesselLogSendCallback c, void* context) { TesselAPI_LogSend(&param, c, context); });
}

}  // namespace tessel::scrivo

#endif
