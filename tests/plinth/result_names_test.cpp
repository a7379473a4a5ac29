// Readable names of result codes.
#include <gtest/gtest.h>

#include <string>

#include "tessel/base/TesselBase.h"

namespace {

TEST(ResultCodeName, EveryReportedCodeHasItsOwnNameAndOthersAreUnknown)
{
    const struct {
        uint32_t code;
        const wchar_t* name;
    } cases[] = {
        {TESSEL_RESULT_SUCCESS, L"SUCCESS"},
        {TESSEL_RESULT_NOT_INITIALIZED, L"NOT_INITIALIZED"},
        {TESSEL_RESULT_ALREADY_INITIALIZED, L"ALREADY_INITIALIZED"},
        {TESSEL_RESULT_INVALID_ARGUMENT, L"INVALID_ARGUMENT"},
        {TESSEL_RESULT_BUFFER_TOO_SMALL, L"BUFFER_TOO_SMALL"},
        {TESSEL_RESULT_NOT_FOUND, L"NOT_FOUND"},
        {TESSEL_RESULT_OUT_OF_MEMORY, L"OUT_OF_MEMORY"},
        {TESSEL_RESULT_POPUP_NOT_CREATED, L"POPUP_NOT_CREATED"},
        {1u, L"UNKNOWN"},
        {0xFFFFFFFFu, L"UNKNOWN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(Tessel_ResultCodeName(c.code)), c.name) << c.code;
    }
}

}  // namespace
