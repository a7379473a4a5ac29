// Ludex: character fetch.
#include "tessel/ludex/Ludex.hpp"
#include "tessel/runtime/Dispatch.hpp"

namespace Base = Tessel::PCSDK::Base;
namespace rt = tessel::rt;
using Tessel::PCSDK::CallbackResultCpp;
using Tessel::PCSDK::Result;

namespace {

constexpr rt::ModuleIdentity kLudex{L"Ludex", L"Ludex is not Initialized.", nullptr};
constexpr uint32_t kFetchCharacter = TESSEL_LUDEX_OP_FETCH_CHARACTER;

using CReply = rt::CReply<TesselFetchCharacterCallback>;
using CppReply = rt::CppReply<Tessel::PCSDK::GamingServices::FetchCharacterCallback>;

rt::ParamPtr<Base::ICharacterFetchParam> BuildFetchParam(const wchar_t* characterId, const wchar_t* serverId)
{
    auto param = rt::CreateParam<Base::ICharacterFetchParam>(Base::kCharacterFetchParam);
    if (param) {
        param->SetCharacterId(characterId != nullptr ? characterId : L"");
        param->SetServerId(serverId != nullptr ? serverId : L"");
    }
    return param;
}

// The platform's text is passed on as it is (null included); without a data
// object the text is empty.
const wchar_t* CharacterText(Base::IObject* data)
{
    return data != nullptr ? static_cast<Base::ICharacterData*>(data)->GetCharacterText() : L"";
}

// An answer the module makes itself: no character text.
template <class Reply>
void ReportNoCharacter(const Reply& reply, const CallbackResultCpp& answer)
{
    reply(answer, L"");
}

template <class Reply>
void FetchTrampoline(Base::ICallbackResultObject* result, Base::IObject* data)
{
    rt::Complete<Reply>(
        kLudex, result,
        [data](const Reply& reply, const CallbackResultCpp& converted) { reply(converted, CharacterText(data)); },
        &ReportNoCharacter<Reply>);
}

template <class Reply>
void Fetch(const wchar_t* characterId, const wchar_t* serverId, const Reply& reply)
{
    rt::Submit(
        rt::Order::ParamFirst, kLudex, kFetchCharacter, reply,
        [&] { return BuildFetchParam(characterId, serverId); },
        [](Base::IParam* param, Reply* context) {
            Tessel_Internal_GamingServices_FetchCharacter(
                param, rt::TrampolineFor(context, &FetchTrampoline<Reply>), context);
        },
        &ReportNoCharacter<Reply>);
}

}  // namespace

void tessel::rt::ModuleAttached() {}

extern "C" {

TesselAPIResult TesselAPI_GamingServicesInitialize(void)
{
    return rt::CallC(kLudex, [] { return rt::FinishInitialize(kLudex, Tessel_Internal_GamingServices_Initialize()); });
}

TesselAPIResult TesselAPI_GamingServicesUnInitialize(void)
{
    return rt::CallC(kLudex, [] { return rt::FinishUnInitialize(kLudex, Tessel_Internal_GamingServices_UnInitialize()); });
}

TesselAPIResult TesselAPI_GamingServicesGetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallC(kLudex, [&] { return rt::FinishPlainCall(kLudex, Tessel_GetVersion(buffer, capacity)); });
}

void TesselAPI_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                              TesselFetchCharacterCallback callback, void* context)
{
    Fetch(characterId, serverId, CReply{callback, context});
}

}  // extern "C"

namespace Tessel::PCSDK::GamingServices {

Result GamingServices_Initialize()
{
    return rt::CallCpp(kLudex, [] { return rt::FinishInitialize(kLudex, Tessel_Internal_GamingServices_Initialize()); });
}

Result GamingServices_UnInitialize()
{
    return rt::CallCpp(kLudex, [] { return rt::FinishUnInitialize(kLudex, Tessel_Internal_GamingServices_UnInitialize()); });
}

Result GamingServices_GetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallCpp(kLudex, [&] { return rt::FinishPlainCall(kLudex, Tessel_GetVersion(buffer, capacity)); });
}

void GamingServices_FetchCharacter(const wchar_t* characterId, const wchar_t* serverId,
                                   FetchCharacterCallback callback)
{
    Fetch(characterId, serverId, CppReply{callback});
}

}  // namespace Tessel::PCSDK::GamingServices
