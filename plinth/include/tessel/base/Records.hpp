// Records the base library hands to modules in its C++ form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Tessel::PCSDK {

namespace Log {

// One game log record as the platform keeps it.
struct TesselPCLogSendParamCpp {
    int64_t auid = 0;
    int64_t cuid = 0;
    std::optional<std::wstring> mktType1;
    std::optional<std::wstring> mktId1;
    std::optional<std::wstring> mktType2;
    std::optional<std::wstring> mktId2;
    std::optional<std::wstring> gameVersion;
    std::optional<std::wstring> logGroupId;
    std::optional<std::wstring> serverCd;
    std::optional<std::wstring> serverCdDet;
    std::optional<std::wstring> lvCd;
    std::optional<std::wstring> lvCdDet;
    std::optional<std::wstring> sessionId;  // kept by the platform only
    std::optional<std::wstring> contents;
};

}  // namespace Log

namespace View {

#pragma pack(push, 4)

struct TesselPCPopupDisallowedCpp {
    uint32_t popupId;
    uint32_t days;
};

struct TesselPCPopupStringPairCpp {
    std::wstring first;
    std::wstring second;
};

struct TesselPCPopupCpp {
    std::wstring text1;
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
};

struct TesselPCPopupRequestDataCpp {
    std::vector<TesselPCPopupStringPairCpp> pairs1;
    std::vector<TesselPCPopupStringPairCpp> pairs2;
};

#pragma pack(pop)

}  // namespace View
}  // namespace Tessel::PCSDK
