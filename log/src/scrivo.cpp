// Scrivo: sending one game log record.
#include "tessel/runtime/Dispatch.hpp"
#include "tessel/scrivo/Scrivo.hpp"

namespace Base = Tessel::PCSDK::Base;
namespace rt = tessel::rt;
using Tessel::PCSDK::CallbackResultCpp;
using Tessel::PCSDK::Result;
using Tessel::PCSDK::Log::TesselPCLogSendParam;

namespace {

constexpr rt::ModuleIdentity kScrivo{L"Scrivo", L"Scrivo is not Initialized.", nullptr};
constexpr uint32_t kLogSend = TESSEL_SCRIVO_OP_SEND_LOG;

using CReply = rt::CReply<TesselLogSendCallback>;
using CppReply = rt::CppReply<Tessel::PCSDK::Log::LogSendCallback>;

// The record's fields in the order the platform receives them.
struct LogFields {
    int64_t auid;
    int64_t cuid;
    const wchar_t* texts[11];
};

LogFields FieldsOf(const TesselLogSendParam& r)
{
    return {r.auid,
            r.cuid,
            {r.mktType1, r.mktId1, r.mktType2, r.mktId2, r.gameVersion, r.logGroupId, r.serverCd,
             r.serverCdDet, r.lvCd, r.lvCdDet, r.contents}};
}

LogFields FieldsOf(const TesselPCLogSendParam& r)
{
    return {r.GetAuid(),
            r.GetCuid(),
            {r.GetMktType1(), r.GetMktId1(), r.GetMktType2(), r.GetMktId2(), r.GetGameVersion(),
             r.GetLogGroupId(), r.GetServerCd(), r.GetServerCdDet(), r.GetLvCd(), r.GetLvCdDet(),
             r.GetContents()}};
}

// Every value passes unchanged, null texts included. The platform's extra
// text (position 29) is not set.
template <class Record>
rt::ParamPtr<Base::ILogSendParam> BuildLogParam(const Record* record)
{
    auto param = rt::CreateParam<Base::ILogSendParam>(Base::kLogSendParam);
    if (param && record != nullptr) {
        const LogFields f = FieldsOf(*record);
        param->SetAuid(f.auid);
        param->SetCuid(f.cuid);
        param->SetMktType1(f.texts[0]);
        param->SetMktId1(f.texts[1]);
        param->SetMktType2(f.texts[2]);
        param->SetMktId2(f.texts[3]);
        param->SetGameVersion(f.texts[4]);
        param->SetLogGroupId(f.texts[5]);
        param->SetServerCd(f.texts[6]);
        param->SetServerCdDet(f.texts[7]);
        param->SetLvCd(f.texts[8]);
        param->SetLvCdDet(f.texts[9]);
        param->SetContents(f.texts[10]);
    }
    return param;
}

// The callback has no extra arguments: every outcome, the module's own
// answers included, is the result alone.
template <class Reply>
void Answer(const Reply& reply, const CallbackResultCpp& result)
{
    reply(result);
}

template <class Reply>
void SendTrampoline(Base::ICallbackResultObject* result, Base::IObject* /*data*/)
{
    rt::Complete<Reply>(kScrivo, result, &Answer<Reply>, &Answer<Reply>);
}

template <class Record, class Reply>
void Send(const Record* record, const Reply& reply)
{
    rt::Submit(
        rt::Order::DropWhenNotReady, kScrivo, kLogSend, reply, [&] { return BuildLogParam(record); },
        [](Base::IParam* param, Reply* context) {
            Tessel_SendLog(param, rt::TrampolineFor(context, &SendTrampoline<Reply>), context);
        },
        &Answer<Reply>);
}

}  // namespace

void tessel::rt::ModuleAttached() {}

extern "C" {

TesselAPIResult TesselAPI_LogInitialize(void)
{
    return rt::CallC(kScrivo, [] { return rt::FinishInitialize(kScrivo, Tessel_Internal_Log_Initialize()); });
}

TesselAPIResult TesselAPI_LogUnInitialize(void)
{
    return rt::CallC(kScrivo, [] { return rt::FinishUnInitialize(kScrivo, Tessel_Internal_Log_UnInitialize()); });
}

TesselAPIResult TesselAPI_LogGetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallC(kScrivo, [&] { return rt::FinishPlainCall(kScrivo, Tessel_GetVersion(buffer, capacity)); });
}

void TesselAPI_LogSend(const TesselLogSendParam* param, TesselLogSendCallback callback, void* context)
{
    Send(param, CReply{callback, context});
}

}  // extern "C"

namespace Tessel::PCSDK::Log {

Result Log_Initialize()
{
    return rt::CallCpp(kScrivo, [] { return rt::FinishInitialize(kScrivo, Tessel_Internal_Log_Initialize()); });
}

Result Log_UnInitialize()
{
    return rt::CallCpp(kScrivo, [] { return rt::FinishUnInitialize(kScrivo, Tessel_Internal_Log_UnInitialize()); });
}

Result Log_GetVersion(wchar_t* buffer, int32_t capacity)
{
    return rt::CallCpp(kScrivo, [&] { return rt::FinishPlainCall(kScrivo, Tessel_GetVersion(buffer, capacity)); });
}

void Log_Send(const TesselPCLogSendParam* param, LogSendCallback callback)
{
    Send(param, CppReply{callback});
}

}  // namespace Tessel::PCSDK::Log
