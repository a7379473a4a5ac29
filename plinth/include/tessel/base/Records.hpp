/**
 * @file Records.hpp
 * @brief The platform's C++ records of log sends and popups: the intermediate
 * forms from which the modules' public classes are built
 * (Tessel::PCSDK::Log::TesselPCLogSendParam, Tessel::PCSDK::View::TesselPCPopupDisallowed)
 * and into which fetched popup lists are read.
 */
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Tessel::PCSDK {

/** Scrivo, the game log module. */
namespace Log {

/**
 * One game log record as the platform keeps it; an unset optional text is a
 * null text of TesselPCLogSendParam. The fields mean what the platform's log
 * service makes of them; the module passes them through unchanged.
 */
struct TesselPCLogSendParamCpp {
    int64_t auid = 0; ///< First 64-bit identifier (e.g. the account).
    int64_t cuid = 0; ///< Second 64-bit identifier (e.g. the character).
    std::optional<std::wstring> mktType1; ///< First market type.
    std::optional<std::wstring> mktId1; ///< First market id.
    std::optional<std::wstring> mktType2; ///< Second market type.
    std::optional<std::wstring> mktId2; ///< Second market id.
    std::optional<std::wstring> gameVersion; ///< The game's version.
    std::optional<std::wstring> logGroupId; ///< Log group id.
    std::optional<std::wstring> serverCd; ///< Server code.
    std::optional<std::wstring> serverCdDet; ///< Server code detail.
    std::optional<std::wstring> lvCd; ///< Level code.
    std::optional<std::wstring> lvCdDet; ///< Level code detail.
    std::optional<std::wstring> sessionId; /**< Kept by the platform only; TesselPCLogSendParam does not carry it. */
    std::optional<std::wstring> contents;  /**< The log's contents. */
};

}  // namespace Log

/** Panora, the popup view module. */
namespace View {

#pragma pack(push, 4)

/** Which popup to suppress, and for how many days (the record of TesselPCPopupDisallowed). */
struct TesselPCPopupDisallowedCpp {
    uint32_t popupId; /**< The popup's id. */
    uint32_t days;    /**< Days to suppress it. */
};

/** A pair of texts of a fetched popup (the owning form of TesselPopupStringPair). */
struct TesselPCPopupStringPairCpp {
    std::wstring first;  /**< First text. */
    std::wstring second; /**< Second text. */
};

/**
 * One popup of a fetched list, as the platform reports it (the owning form of
 * TesselPopup). The members are the platform's and passed through unchanged.
 */
struct TesselPCPopupCpp {
    /** @name Fields, in the order of TesselPopup */
    ///@{
    std::wstring text1; ///< A field of the platform's popup record, as in TesselPopup.
    std::wstring text2;
    int32_t number1 = 0;
    std::wstring text3;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    uint8_t byte4 = 0;
    uint8_t byte5 = 0;
    uint8_t byte6 = 0;
    uint8_t byte7 = 0;
    int32_t number2 = 0;
    TesselPCPopupStringPairCpp pair1;
    TesselPCPopupStringPairCpp pair2;
    int32_t number3 = 0;
    int32_t number4 = 0;
    int32_t number5 = 0;
    int32_t number6 = 0;
    ///@}
};

/** The data that comes with a fetched popup list (the owning form of TesselPopupRequestData). */
struct TesselPCPopupRequestDataCpp {
    std::vector<TesselPCPopupStringPairCpp> pairs1; /**< First list of text pairs. */
    std::vector<TesselPCPopupStringPairCpp> pairs2; /**< Second list of text pairs. */
};

#pragma pack(pop)

}  // namespace View
}  // namespace Tessel::PCSDK
