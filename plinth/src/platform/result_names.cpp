// Readable names of the result codes the SDK reports itself.
#include "tessel/base/TesselBase.h"

extern "C" PLINTH_API const wchar_t* Tessel_ResultCodeName(uint32_t resultCode)
{
    switch (resultCode) {
    case TESSEL_RESULT_SUCCESS: return L"SUCCESS";
    case TESSEL_RESULT_NOT_INITIALIZED: return L"NOT_INITIALIZED";
    case TESSEL_RESULT_ALREADY_INITIALIZED: return L"ALREADY_INITIALIZED";
    case TESSEL_RESULT_INVALID_ARGUMENT: return L"INVALID_ARGUMENT";
    case TESSEL_RESULT_BUFFER_TOO_SMALL: return L"BUFFER_TOO_SMALL";
    case TESSEL_RESULT_NOT_FOUND: return L"NOT_FOUND";
    case TESSEL_RESULT_OUT_OF_MEMORY: return L"OUT_OF_MEMORY";
    case TESSEL_RESULT_POPUP_NOT_CREATED: return L"POPUP_NOT_CREATED";
    default: return L"UNKNOWN";
    }
}
