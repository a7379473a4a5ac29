// Vendra's initialization family, in both interfaces.
#include "requests.hpp"

namespace {

namespace rt = tessel::rt;

Tessel::PCSDK::ResultCpp Initialize(const wchar_t* storeId)
{
    return rt::FinishInitialize(vendra::kVendra, Tessel_Internal_IAP_Initialize(storeId));
}

Tessel::PCSDK::ResultCpp InitializeWithWndInfo(const wchar_t* storeId, const TesselWindowInfo* windowInfo)
{
    return rt::FinishInitialize(vendra::kVendra, Tessel_Internal_IAP_InitializeWithWndInfo(storeId, windowInfo));
}

Tessel::PCSDK::ResultCpp UnInitialize() { return rt::FinishUnInitialize(vendra::kVendra, Tessel_Internal_IAP_UnInitialize()); }

Tessel::PCSDK::ResultCpp GetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::FinishPlainCall(vendra::kVendra, Tessel_GetVersion(buffer, capacity));
}

}  // namespace

extern "C" {

TesselAPIResult TesselAPI_IAPInitialize(const wchar_t* storeId)
{
    return rt::CallC(vendra::kVendra, [&] { return Initialize(storeId); });
}

TesselAPIResult TesselAPI_IAPInitializeWithWndInfo(const wchar_t* storeId, const TesselWindowInfo* windowInfo)
{
    return rt::CallC(vendra::kVendra, [&] { return InitializeWithWndInfo(storeId, windowInfo); });
}

TesselAPIResult TesselAPI_IAPUnInitialize(void) { return rt::CallC(vendra::kVendra, &UnInitialize); }

TesselAPIResult TesselAPI_IAPGetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallC(vendra::kVendra, [&] { return GetVersion(buffer, capacity); });
}

}  // extern "C"

namespace Tessel::PCSDK::IAP {

Result IAP_Initialize(const wchar_t* storeId)
{
    return rt::CallCpp(vendra::kVendra, [&] { return ::Initialize(storeId); });
}

Result IAP_InitializeWithWndInfo(const wchar_t* storeId, const TesselWindowInfo* windowInfo)
{
    return rt::CallCpp(vendra::kVendra, [&] { return ::InitializeWithWndInfo(storeId, windowInfo); });
}

Result IAP_UnInitialize() { return rt::CallCpp(vendra::kVendra, &::UnInitialize); }

Result IAP_GetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallCpp(vendra::kVendra, [&] { return ::GetVersion(buffer, capacity); });
}

}  // namespace Tessel::PCSDK::IAP
