// Sandbox answers for the character fetch and for log sending.
#include <mutex>

#include "core.hpp"
#include "profile.hpp"
#include "text.hpp"

namespace plinth {
namespace {

constexpr uint32_t kOperation = 80;

struct LogStore {
    std::mutex mutex;
    std::vector<Tessel::PCSDK::Log::TesselPCLogSendParamCpp> logs;
};

LogStore& Logs()
{
    static LogStore store;
    return store;
}

void ClearLogs()
{
    std::lock_guard<std::mutex> lock(Logs().mutex);
    Logs().logs.clear();
}

const FeatureReset kResetLogs{&ClearLogs};

// Answers a request with success and, when given, a data object, once the game pumps.
template <class Data>
void Answer(const Sandbox::RequestRecord& request, std::wstring message, std::optional<Data> data)
{
    auto trampoline = request.As<Base::Trampoline>();
    if (trampoline == nullptr) {
        return;
    }
    void* context = request.context;
    uint32_t code = TESSEL_RESULT_SUCCESS;
    ApplyOutcome(code, message);
    if (OutcomeFails()) {
        data.reset();
    }
    PostCompletion(
        [trampoline, context, code, message, data]() mutable {
            Sandbox::CallbackResultObject result(context, kOperation, code, message);
            trampoline(&result, data ? &*data : nullptr);
        },
        {code});
}

void FetchCharacter(const Sandbox::RequestRecord& request)
{
    std::wstring characterId = L"unknown";
    std::wstring serverId = L"unknown";
    if (auto* param = static_cast<Base::ICharacterFetchParam*>(request.param)) {
        characterId = TextOrEmpty(param->GetCharacterId());
        serverId = TextOrEmpty(param->GetServerId());
    }
    const std::shared_ptr<const World> world = CurrentWorld();
    auto own = world->characterTexts.find(characterId);
    const std::wstring text = ExpandText(own != world->characterTexts.end() ? own->second : world->characterText,
                                         {{L"characterId", characterId}, {L"serverId", serverId}});
    Answer(request, L"Character fetched.", std::optional<Sandbox::CharacterData>(Sandbox::CharacterData(text)));
}

void SendLog(const Sandbox::RequestRecord& request)
{
    Tessel::PCSDK::Log::TesselPCLogSendParamCpp log;
    if (auto* p = static_cast<Base::ILogSendParam*>(request.param)) {
        log.auid = p->GetAuid();
        log.cuid = p->GetCuid();
        log.mktType1 = TextFrom(p->GetMktType1());
        log.mktId1 = TextFrom(p->GetMktId1());
        log.mktType2 = TextFrom(p->GetMktType2());
        log.mktId2 = TextFrom(p->GetMktId2());
        log.gameVersion = TextFrom(p->GetGameVersion());
        log.logGroupId = TextFrom(p->GetLogGroupId());
        log.serverCd = TextFrom(p->GetServerCd());
        log.serverCdDet = TextFrom(p->GetServerCdDet());
        log.lvCd = TextFrom(p->GetLvCd());
        log.lvCdDet = TextFrom(p->GetLvCdDet());
        log.sessionId = TextFrom(p->GetSessionId());
        log.contents = TextFrom(p->GetContents());
    }
    if (!OutcomeFails()) {
        std::lock_guard<std::mutex> lock(Logs().mutex);
        Logs().logs.push_back(std::move(log));
    }
    Answer<Sandbox::CharacterData>(request, L"Log record delivered.", std::nullopt);
}

}  // namespace
}  // namespace plinth

using namespace plinth;

void Tessel_Internal_GamingServices_FetchCharacter(Base::IParam* param, Base::Trampoline trampoline,
                                                   void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &FetchCharacter,
                  {TESSEL_SANDBOX_MODULE_LUDEX, kOperation, Shape::Data});
}

void Tessel_SendLog(Base::IParam* param, Base::Trampoline trampoline, void* context)
{
    SubmitRequest(MakeRequest(__func__, param, trampoline, context), &SendLog,
                  {TESSEL_SANDBOX_MODULE_SCRIVO, kOperation, Shape::Data});
}

namespace Tessel::PCSDK::Sandbox {

std::vector<Log::TesselPCLogSendParamCpp> SentLogs()
{
    std::lock_guard<std::mutex> lock(Logs().mutex);
    return Logs().logs;
}

void ClearSentLogs() { ClearLogs(); }

}  // namespace Tessel::PCSDK::Sandbox
